#pragma once

#include <QTranslator>

namespace kaldora::forms {

// The few texts of Qt's own that the program's windows show, in Serbian
// Latin capitals without diacritics: the context menus of the text boxes,
// of the combo boxes' text parts and of the date pickers. Qt ships no
// Serbian translation of them. Any other text is left to Qt.
class SerbianQtTexts final : public QTranslator {
    Q_OBJECT

public:
    using QTranslator::QTranslator;

    QString translate(const char* context, const char* sourceText,
                      const char* disambiguation = nullptr, int n = -1) const override;
    bool isEmpty() const override;
};

} // namespace kaldora::forms
