#include "forms/serbianqttexts.h"

#include <cstring>

namespace kaldora::forms {

namespace {

struct Text {
    const char* context;
    const char* source;
    const char* serbian;
};

// The '&' marks the key that picks an entry from the open menu; no two
// entries of one menu share it. A date picker's menu holds the entries of a
// text box and three of its own.
constexpr Text kTexts[] = {
    {"QLineEdit", "&Undo", "&PONISTI"},
    {"QLineEdit", "&Redo", "P&ONOVI"},
    {"QLineEdit", "Cu&t", "&ISECI"},
    {"QLineEdit", "&Copy", "&KOPIRAJ"},
    {"QLineEdit", "&Paste", "&NALEPI"},
    {"QLineEdit", "Delete", "OBRISI"},
    {"QLineEdit", "Select All", "IZABERI SVE"},
    {"QAbstractSpinBox", "&Select All", "IZABERI &SVE"},
    {"QAbstractSpinBox", "&Step up", "PO&VECAJ"},
    {"QAbstractSpinBox", "Step &down", "S&MANJI"},
    // The same menu of text that can be selected elsewhere, such as a
    // selectable label.
    {"QWidgetTextControl", "&Undo", "&PONISTI"},
    {"QWidgetTextControl", "&Redo", "P&ONOVI"},
    {"QWidgetTextControl", "Cu&t", "&ISECI"},
    {"QWidgetTextControl", "&Copy", "&KOPIRAJ"},
    {"QWidgetTextControl", "&Paste", "&NALEPI"},
    {"QWidgetTextControl", "Delete", "OBRISI"},
    {"QWidgetTextControl", "Select All", "IZABERI SVE"},
};

} // namespace

QString SerbianQtTexts::translate(const char* context, const char* sourceText,
                                  const char* /*disambiguation*/, int /*n*/) const
{
    if (context == nullptr || sourceText == nullptr) {
        return {};
    }
    for (const Text& text : kTexts) {
        if (std::strcmp(context, text.context) == 0 && std::strcmp(sourceText, text.source) == 0) {
            return QString::fromLatin1(text.serbian);
        }
    }
    // An empty answer leaves the text to the next translator, or to Qt.
    return {};
}

bool SerbianQtTexts::isEmpty() const
{
    return false;
}

} // namespace kaldora::forms
