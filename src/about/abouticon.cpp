#include "about/abouticon.h"

#include <QString>

namespace kaldora::about {

namespace {

// Where the build puts the icon files in the resource: the same folders as
// in the desktop's icon theme ("32x32/apps/...").
QString iconResource(int size)
{
    return QStringLiteral(":/icons/%1x%1/apps/rs.kaldora.Kaldora.png").arg(size);
}

} // namespace

QImage aboutIcon()
{
    return QImage(iconResource(kAboutIconSize));
}

QIcon applicationIcon()
{
    QIcon icon;
    for (const int size : kApplicationIconSizes) {
        icon.addFile(iconResource(size), QSize(size, size));
    }
    return icon;
}

} // namespace kaldora::about
