// The yardstick of the start-up benchmark: a Qt Widgets program that shows
// one empty window of the main window's size.

#include "startupprobe.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("KALDORA"));
    window.resize(1045, 720);
    StartupProbe probe(&window);
    window.show();
    return application.exec();
}
