#include "forms/formlayout.h"

#include "forms/classicpalette.h"
#include "forms/combobox.h"
#include "forms/controllookup.h"
#include "forms/datepicker.h"
#include "forms/pushbutton.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>

#include <algorithm>
#include <limits>
#include <vector>

namespace kaldora::forms {

namespace {

constexpr int kRgbGreen[] = {0, 128, 0};
constexpr int kRgbBlue[] = {0, 0, 255};
constexpr int kRgbRed[] = {192, 0, 0};
constexpr int kGrey = 128;

// The windows were drawn for "MS Sans Serif". Liberation Sans has the
// metrics of the face that replaced it, so captions keep inside their labels;
// DejaVu Sans runs too wide for the narrow ones. On Windows "MS Sans Serif"
// is a bitmap face in a few pixel sizes; its outline successor, with the
// same metrics, comes first there.
const QStringList kFontFamilies = {
#ifdef Q_OS_WIN
    QStringLiteral("Microsoft Sans Serif"),
    QStringLiteral("MS Sans Serif"),
#else
    QStringLiteral("MS Sans Serif"),   QStringLiteral("Microsoft Sans Serif"),
#endif
    QStringLiteral("Liberation Sans"),
    QStringLiteral("Arial"),
    QStringLiteral("Helvetica"),
    QStringLiteral("sans-serif")};

// The stand-in face runs a little wider than the original in places (a
// caption such as "UKUPNO:" in 9.75 points needs 59 of its label's 57
// pixels). Such a caption is drawn condensed, in steps, rather than cut off;
// its point size, weight and underlining stay.
constexpr int kNarrowestStretch = 85;
constexpr int kStretchStep = 1;

// Where a frame's caption starts, and the gap left around it in the border.
constexpr int kFrameCaptionIndent = 8;
constexpr int kFrameCaptionGap = 2;

// A frame drawn as the layout means it: an etched border whose top runs
// through the middle of the caption, the caption on the frame's own
// background, and the inside untinted. Fusion shades a group box's panel,
// which would set the labels inside it off as light patches.
class Frame final : public QGroupBox {
public:
    using QGroupBox::QGroupBox;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        const QFontMetrics metrics(font());
        const QRect border = rect().adjusted(0, metrics.height() / 2, -1, -1);
        painter.setPen(palette().color(QPalette::Dark));
        painter.drawRect(border.adjusted(0, 0, -1, -1));
        painter.setPen(palette().color(QPalette::Light));
        painter.drawRect(border.adjusted(1, 1, 0, 0));

        const int captionWidth = metrics.horizontalAdvance(title()) + 2 * kFrameCaptionGap;
        const QRect caption(kFrameCaptionIndent, 0, captionWidth, metrics.height());
        painter.fillRect(caption, palette().color(backgroundRole()));
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(caption, Qt::AlignCenter | Qt::TextSingleLine, title());
    }
};

void setBackground(QWidget* w, Colour c)
{
    if (c == Colour::Default) {
        return;
    }
    // Only the roles the control paints its own background with: a palette
    // is inherited, and a frame's colour must not reach the text boxes and
    // combo boxes inside it.
    QPalette p = w->palette();
    const QColor colour = colourValue(c);
    p.setColor(QPalette::Window, colour);
    if (qobject_cast<QLineEdit*>(w) != nullptr) {
        p.setColor(QPalette::Base, colour);
    }
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
        auto* w = new Frame(caption, parent);
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
    case ControlKind::ComboBox:
        return new ComboBox(parent);
    case ControlKind::DatePicker:
        return new DatePicker(parent);
    case ControlKind::Button: {
        auto* w = new PushButton(caption, parent);
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

// A caption fits when it needs no more than the label's width and either
// fits its height or stands on one line: a single line may be taller than a
// label drawn for a bitmap face (18 points in 25 pixels), and the capitals
// of these captions still show whole.
bool captionFits(const QLabel* label, const QFont& font)
{
    const QFontMetrics metrics(font);
    const QRect available(QPoint(0, 0), label->size());
    const QRect needed = metrics.boundingRect(
        available, static_cast<int>(label->alignment()) | Qt::TextWordWrap, label->text());
    return needed.width() <= available.width() &&
           (needed.height() <= available.height() || needed.height() <= metrics.lineSpacing());
}

void fitCaption(QLabel* label)
{
    if (label->text().isEmpty() || captionFits(label, label->font())) {
        return;
    }
    QFont font = label->font();
    // Start from the stretch the width ratio suggests, then narrow further
    // until the caption fits; wrapping can need a little more.
    const QFontMetrics metrics(font);
    const int widest = metrics.horizontalAdvance(label->text());
    int first = QFont::Unstretched - kStretchStep;
    if (!label->wordWrap() || !label->text().contains(QLatin1Char(' '))) {
        first = std::min(first, QFont::Unstretched * label->width() / std::max(widest, 1));
    }
    for (int stretch = first; stretch >= kNarrowestStretch; stretch -= kStretchStep) {
        font.setStretch(stretch);
        if (captionFits(label, font)) {
            label->setFont(font);
            return;
        }
    }
}

// A caption without the '&' that marks its access key ("&&" stands for
// an '&' of its own).
QString withoutAccessKey(const QString& caption)
{
    QString plain;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&') && i + 1 < caption.size()) {
            ++i;
        }
        plain += caption[i];
    }
    return plain;
}

QString accessibleNameOf(const ControlSpec& s)
{
    if (s.accessibleName != nullptr) {
        return QString::fromUtf8(s.accessibleName);
    }
    if (s.kind == ControlKind::Button && s.caption != nullptr) {
        return withoutAccessKey(QString::fromUtf8(s.caption));
    }
    return {};
}

// Names a control for screen readers, and with it the parts Qt made inside
// it that take the focus in its stead (the text part of a combo box or of a
// date picker) and the list a combo box drops down: otherwise a reader
// would call them by their text or by nothing.
void nameForScreenReaders(QWidget* w, const QString& name)
{
    w->setAccessibleName(name);
    for (QWidget* inner : w->findChildren<QWidget*>()) {
        if (inner->focusProxy() == w) {
            inner->setAccessibleName(name);
        }
    }
    if (auto* combo = qobject_cast<QComboBox*>(w)) {
        combo->view()->setAccessibleName(name);
    }
}

} // namespace

QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(toPixels(left), toPixels(top), toPixels(width), toPixels(height));
}

QColor colourValue(Colour c)
{
    // System colours come from the classic palette, never from a parent's
    // palette that the layout has coloured, nor from the desktop's.
    const QPalette p = classicPalette();
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

QString controlKey(const ControlSpec& entry)
{
    const QString name = QString::fromLatin1(entry.name);
    return entry.index < 0 ? name : QStringLiteral("%1(%2)").arg(name).arg(entry.index);
}

// The first face of the list that the system has, looked up once: naming
// faces the system lacks on every font would make each new size search for
// a substitute again.
const QString& layoutFamily()
{
    static const QString family = [] {
        const QStringList available = QFontDatabase::families();
        for (const QString& candidate : kFontFamilies) {
            if (available.contains(candidate, Qt::CaseInsensitive)) {
                return candidate;
            }
        }
        return QString();
    }();
    return family;
}

QFont layoutFont(const FontSpec& entry)
{
    QFont f;
    if (layoutFamily().isEmpty()) {
        f.setFamilies(kFontFamilies);
    } else {
        f.setFamily(layoutFamily());
    }
    f.setStyleHint(QFont::SansSerif);
    f.setPointSizeF(entry.points);
    f.setWeight(entry.bold ? QFont::Bold : QFont::Normal);
    f.setUnderline(entry.underline);
    f.setItalic(false);
    return f;
}

QHash<QString, QWidget*> buildControls(QWidget* client, std::span<const ControlSpec> entries)
{
    QHash<QString, QWidget*> controls;
    std::vector<std::pair<int, QWidget*>> tabOrder;
    for (const ControlSpec& s : entries) {
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
        if (s.kind == ControlKind::Label) {
            fitCaption(static_cast<QLabel*>(w));
        }
        if (s.tabIndex >= 0) {
            w->setFocusPolicy(Qt::StrongFocus);
            tabOrder.emplace_back(s.tabIndex, w);
        } else if (s.kind == ControlKind::Label || s.kind == ControlKind::Picture) {
            w->setFocusPolicy(Qt::NoFocus);
        }
        if (const QString name = accessibleNameOf(s); !name.isEmpty()) {
            nameForScreenReaders(w, name);
        }
        controls.insert(controlKey(s), w);
    }
    // A label's buddy may stand further down the table.
    for (const ControlSpec& s : entries) {
        if (s.buddy != nullptr) {
            control<QLabel>(controls, controlKey(s))->setBuddy(control<QWidget>(controls, s.buddy));
        }
    }
    std::sort(tabOrder.begin(), tabOrder.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 1; i < tabOrder.size(); ++i) {
        QWidget::setTabOrder(tabOrder[i - 1].second, tabOrder[i].second);
    }
    return controls;
}

} // namespace kaldora::forms
