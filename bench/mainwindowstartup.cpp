// The program's start, as main() does it, measured up to the main window
// shown and idle.

#include "startupprobe.h"

#include "qtmessagebox.h"
#include "systemclock.h"
#include "systemlocale.h"
#include "windows.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    kaldora::platform::SystemClock clock;
    kaldora::platform::QtMessageBox messages;
    kaldora::main_window::Windows windows(
        {clock, messages, kaldora::platform::systemDecimalSeparator()});
    StartupProbe probe(windows.form2());
    windows.form2()->show();
    return application.exec();
}
