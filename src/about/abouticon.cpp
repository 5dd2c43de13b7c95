#include "about/abouticon.h"

#include <QPainter>
#include <QPolygon>

namespace kaldora::about {

namespace {

// Colours of the 16-colour palette.
const QColor kBlack(0, 0, 0);
const QColor kNavy(0, 0, 128);
const QColor kSilver(192, 192, 192);
const QColor kYellow(255, 255, 0);

constexpr int kDialMargin = 1;
constexpr int kBoltOutline = 1;

} // namespace

QImage aboutIcon()
{
    QImage icon(kAboutIconSize, kAboutIconSize, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);

    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing, false);

    p.setPen(QPen(kBlack, 1));
    p.setBrush(kNavy);
    const int dial = kAboutIconSize - 2 * kDialMargin - 1;
    p.drawEllipse(kDialMargin, kDialMargin, dial, dial);

    // The dial's scale: short silver ticks round the upper half.
    p.setPen(QPen(kSilver, 1));
    p.drawLine(5, 16, 7, 16);
    p.drawLine(24, 16, 26, 16);
    p.drawLine(8, 8, 9, 9);
    p.drawLine(22, 9, 23, 8);
    p.drawLine(15, 4, 15, 6);

    const QPolygon bolt({QPoint(18, 5), QPoint(9, 18), QPoint(15, 18), QPoint(12, 28),
                         QPoint(23, 13), QPoint(17, 13), QPoint(21, 5)});
    p.setPen(QPen(kBlack, kBoltOutline));
    p.setBrush(kYellow);
    p.drawPolygon(bolt);
    p.end();
    return icon;
}

} // namespace kaldora::about
