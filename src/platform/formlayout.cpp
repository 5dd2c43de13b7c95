#include "formlayout.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <limits>
#include <vector>

namespace kaldora::platform {

namespace {

constexpr int kRgbGreen[] = {0, 128, 0};
constexpr int kRgbBlue[] = {0, 0, 255};
constexpr int kRgbRed[] = {192, 0, 0};
constexpr int kGrey = 128;

// The windows were drawn for "MS Sans Serif". Liberation Sans has the
// metrics of the face that replaced it, so captions keep inside their labels;
// DejaVu Sans runs too wide for the narrow ones.
const QStringList kFontFamilies = {QStringLiteral("MS Sans Serif"),
                                   QStringLiteral("Microsoft Sans Serif"),
                                   QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                                   QStringLiteral("Helvetica"), QStringLiteral("sans-serif")};

const QDate kFirstPickerDate(1601, 1, 1);
const QDate kLastPickerDate(9999, 12, 31);
// Qt would take the month names of the user's locale, and drops "@latin"
// from sr_RS@latin; numbers read the same in every locale.
const QString kPickerFormat = QStringLiteral("dd.MM.yyyy");

void setBackground(QWidget* w, Colour c)
{
    if (c == Colour::Default) {
        return;
    }
    QPalette p = w->palette();
    const QColor colour = colourValue(c, w);
    p.setColor(QPalette::Window, colour);
    p.setColor(QPalette::Base, colour);
    p.setColor(QPalette::Button, colour);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

Qt::Alignment alignment(Align a)
{
    return a == Align::Center ? Qt::AlignHCenter : Qt::AlignLeft;
}

QWidget* create(const ControlSpec& s, QWidget* parent)
{
    const QString caption = QString::fromUtf8(s.caption ? s.caption : "");
    switch (s.kind) {
    case ControlKind::Frame: {
        auto* w = new QGroupBox(caption, parent);
        w->setFocusPolicy(Qt::NoFocus);
        setBackground(w, s.background);
        return w;
    }
    case ControlKind::Label: {
        auto* w = new QLabel(caption, parent);
        w->setWordWrap(true);
        w->setAlignment(alignment(s.align) | Qt::AlignTop);
        w->setTextFormat(Qt::PlainText);
        setBackground(w, s.background == Colour::Default ? Colour::ButtonFace : s.background);
        return w;
    }
    case ControlKind::TextBox: {
        auto* w = new QLineEdit(parent);
        w->setAlignment(Qt::AlignHCenter);
        // No length limit: QLineEdit's default is 32767 characters.
        w->setMaxLength(std::numeric_limits<int>::max());
        setBackground(w, s.background);
        return w;
    }
    case ControlKind::ComboBox: {
        auto* w = new QComboBox(parent);
        w->setEditable(true);
        w->setInsertPolicy(QComboBox::NoInsert);
        return w;
    }
    case ControlKind::DatePicker: {
        auto* w = new QDateEdit(parent);
        w->setDateRange(kFirstPickerDate, kLastPickerDate);
        w->setDisplayFormat(kPickerFormat);
        w->setCalendarPopup(true);
        return w;
    }
    case ControlKind::Button: {
        auto* w = new QPushButton(caption, parent);
        w->setAutoDefault(false);
        w->setDefault(false);
        return w;
    }
    case ControlKind::Line: {
        auto* w = new QWidget(parent);
        w->setFocusPolicy(Qt::NoFocus);
        setBackground(w, s.background == Colour::Default ? Colour::WindowText : s.background);
        return w;
    }
    case ControlKind::Picture: {
        auto* w = new QLabel(parent);
        w->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return w;
    }
    }
    return nullptr;
}

QRect geometry(const ControlSpec& s)
{
    if (s.kind != ControlKind::Line) {
        return twipsRect(s.left, s.top, s.width, s.height);
    }
    // A horizontal or vertical line from (left, top) to (width, height),
    // as thick as its pen.
    const int x1 = toPixels(std::min(s.left, s.width));
    const int x2 = toPixels(std::max(s.left, s.width));
    const int y1 = toPixels(std::min(s.top, s.height));
    const int y2 = toPixels(std::max(s.top, s.height));
    return QRect(x1, y1, std::max(x2 - x1, s.penWidth), std::max(y2 - y1, s.penWidth));
}

} // namespace

QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(toPixels(left), toPixels(top), toPixels(width), toPixels(height));
}

QColor colourValue(Colour c, const QWidget* context)
{
    const QPalette& p = context->palette();
    switch (c) {
    case Colour::Default:
    case Colour::InactiveCaptionText:
    case Colour::ActiveBorder:
        // In the classic desktop scheme these system colours are the same
        // dialog grey as the button face; the palette's window colour is
        // that grey here.
        return p.color(QPalette::Window);
    case Colour::ButtonFace:
        return p.color(QPalette::Button);
    case Colour::Window:
        return p.color(QPalette::Base);
    case Colour::WindowText:
        return p.color(QPalette::WindowText);
    case Colour::Green:
        return QColor(kRgbGreen[0], kRgbGreen[1], kRgbGreen[2]);
    case Colour::Blue:
        return QColor(kRgbBlue[0], kRgbBlue[1], kRgbBlue[2]);
    case Colour::Red:
        return QColor(kRgbRed[0], kRgbRed[1], kRgbRed[2]);
    case Colour::Grey:
        return QColor(kGrey, kGrey, kGrey);
    case Colour::White:
        return QColor(Qt::white);
    }
    return p.color(QPalette::Window);
}

QString controlKey(const ControlSpec& spec)
{
    const QString name = QString::fromLatin1(spec.name);
    return spec.index < 0 ? name : QStringLiteral("%1(%2)").arg(name).arg(spec.index);
}

QFont layoutFont(const FontSpec& spec)
{
    QFont f;
    f.setFamilies(kFontFamilies);
    f.setStyleHint(QFont::SansSerif);
    f.setPointSizeF(spec.points);
    f.setWeight(spec.bold ? QFont::Bold : QFont::Normal);
    f.setUnderline(spec.underline);
    f.setItalic(false);
    return f;
}

QHash<QString, QWidget*> buildControls(QWidget* client, std::span<const ControlSpec> specs)
{
    QHash<QString, QWidget*> controls;
    std::vector<std::pair<int, QWidget*>> tabOrder;
    for (const ControlSpec& s : specs) {
        QWidget* parent = client;
        if (s.parent != nullptr) {
            parent = controls.value(QString::fromLatin1(s.parent), client);
        }
        QWidget* w = create(s, parent);
        w->setObjectName(QString::fromLatin1(s.name));
        if (s.index >= 0) {
            w->setProperty("index", s.index);
        }
        w->setFont(layoutFont(s.font));
        w->setGeometry(geometry(s));
        if (s.tabIndex >= 0) {
            w->setFocusPolicy(Qt::StrongFocus);
            tabOrder.emplace_back(s.tabIndex, w);
        } else if (s.kind == ControlKind::Label || s.kind == ControlKind::Picture) {
            w->setFocusPolicy(Qt::NoFocus);
        }
        controls.insert(controlKey(s), w);
    }
    std::sort(tabOrder.begin(), tabOrder.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 1; i < tabOrder.size(); ++i) {
        QWidget::setTabOrder(tabOrder[i - 1].second, tabOrder[i].second);
    }
    return controls;
}

} // namespace kaldora::platform
