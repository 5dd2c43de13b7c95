#include "price_list/navigationbar.h"

#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QToolButton>

#include <algorithm>
#include <cmath>

namespace kaldora::price_list {

namespace {

// A button is a little over half as wide as the bar is high, as on the
// classic data control.
constexpr double kButtonWidthPerHeight = 0.6;
// The arrow glyph's height as a share of the button's inner height.
constexpr double kGlyphPerHeight = 0.3;
constexpr int kFrameWidth = 2;

const char* const kButtonNames[] = {"first", "previous", "next", "last"};
// What a screen reader calls the buttons, which show only arrows.
const char* const kSpokenNames[] = {"PRVI ZAPIS", "PRETHODNI ZAPIS", "SLEDECI ZAPIS",
                                    "POSLEDNJI ZAPIS"};

// A tool button that draws the data control's arrows: a triangle pointing
// left or right, with a bar in front of it for first and last.
class MoveButton : public QToolButton {
public:
    MoveButton(NavigationBar::Button kind, QWidget* parent)
        : QToolButton(parent)
        , m_kind(kind)
    {
        setFocusPolicy(Qt::NoFocus);
        setAutoRaise(false);
    }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QToolButton::paintEvent(event);
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QColor ink = palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                                           QPalette::ButtonText);
        const double size = std::max(4.0, height() * kGlyphPerHeight);
        const bool left =
            m_kind == NavigationBar::Button::First || m_kind == NavigationBar::Button::Previous;
        const bool withBar =
            m_kind == NavigationBar::Button::First || m_kind == NavigationBar::Button::Last;
        const double barWidth = withBar ? size / 4 : 0;
        const double total = size / 2 + barWidth;
        const QPointF centre = QRectF(rect()).center();
        const double x0 = centre.x() - total / 2;
        const double top = centre.y() - size / 2;

        QPainterPath path;
        if (left) {
            path.addRect(QRectF(x0, top, barWidth, size));
            const double tipX = x0 + barWidth;
            path.moveTo(tipX, centre.y());
            path.lineTo(tipX + size / 2, top);
            path.lineTo(tipX + size / 2, top + size);
        } else {
            path.moveTo(x0, top);
            path.lineTo(x0 + size / 2, centre.y());
            path.lineTo(x0, top + size);
            path.addRect(QRectF(x0 + size / 2, top, barWidth, size));
        }
        path.closeSubpath();
        painter.fillPath(path, ink);
    }

private:
    NavigationBar::Button m_kind;
};

} // namespace

NavigationBar::NavigationBar(const QString& caption, QWidget* parent)
    : QFrame(parent)
{
    // The bar is drawn in the system window and window-text colours.
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(kFrameWidth);
    QPalette p = palette();
    p.setColor(QPalette::Window, p.color(QPalette::Base));
    setPalette(p);
    setAutoFillBackground(true);

    m_caption = new QLabel(caption, this);
    m_caption->setAlignment(Qt::AlignCenter);
    m_caption->setTextFormat(Qt::PlainText);

    for (int i = 0; i < 4; ++i) {
        auto* b = new MoveButton(static_cast<Button>(i), this);
        b->setObjectName(QLatin1String(kButtonNames[i]));
        b->setAccessibleName(QLatin1String(kSpokenNames[i]));
        m_buttons[i] = b;
    }
    connect(m_buttons[0], &QToolButton::clicked, this, &NavigationBar::firstRequested);
    connect(m_buttons[1], &QToolButton::clicked, this, &NavigationBar::previousRequested);
    connect(m_buttons[2], &QToolButton::clicked, this, &NavigationBar::nextRequested);
    connect(m_buttons[3], &QToolButton::clicked, this, &NavigationBar::lastRequested);
}

QString NavigationBar::caption() const
{
    return m_caption->text();
}

QToolButton* NavigationBar::button(Button which) const
{
    return m_buttons[static_cast<int>(which)];
}

void NavigationBar::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    const QRect inner = contentsRect();
    const int w =
        std::max(1, static_cast<int>(std::lround(inner.height() * kButtonWidthPerHeight)));
    const int h = inner.height();
    m_buttons[0]->setGeometry(inner.left(), inner.top(), w, h);
    m_buttons[1]->setGeometry(inner.left() + w, inner.top(), w, h);
    m_buttons[2]->setGeometry(inner.right() + 1 - 2 * w, inner.top(), w, h);
    m_buttons[3]->setGeometry(inner.right() + 1 - w, inner.top(), w, h);
    m_caption->setGeometry(inner.left() + 2 * w, inner.top(), std::max(0, inner.width() - 4 * w),
                           h);
}

} // namespace kaldora::price_list
