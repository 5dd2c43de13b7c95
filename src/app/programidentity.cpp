#include "app/programidentity.h"

#include "about/abouticon.h"

#include <QGuiApplication>

namespace kaldora::app {

QString programVersion()
{
    return QStringLiteral(KALDORA_VERSION);
}

void applyProgramIdentity()
{
    // The name also picks the folder of Qt's own settings; the price list
    // does not depend on it.
    QCoreApplication::setApplicationName(kProgramName);
    QCoreApplication::setApplicationVersion(programVersion());
    QGuiApplication::setDesktopFileName(kApplicationId);
    QGuiApplication::setWindowIcon(about::applicationIcon());
}

} // namespace kaldora::app
