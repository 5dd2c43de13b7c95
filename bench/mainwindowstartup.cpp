// The program's start, as main() does it, measured up to the main window
// shown and idle.

#include "startupprobe.h"

#include "app/endactions.h"
#include "app/orderlyshutdown.h"
#include "app/programidentity.h"
#include "forms/applicationsetup.h"
#include "main_window/windowowner.h"
#include "platform/qtmessagebox.h"
#include "platform/sessionendhold.h"
#include "platform/systemclock.h"
#include "platform/systemlocale.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    kaldora::forms::choosePlatformOptions();
    QApplication application(argc, argv);
    kaldora::app::applyProgramIdentity();
    kaldora::forms::prepareApplication(application);
    kaldora::platform::SystemClock clock;
    kaldora::platform::QtMessageBox messages;
    kaldora::main_window::WindowOwner windows(
        {clock, messages, kaldora::platform::systemDecimalSeparator()});
    const kaldora::app::OrderlyShutdown shutdown(kaldora::app::endActions(
        windows, messages, kaldora::platform::systemSessionEndHold(), stderr));
    StartupProbe probe(windows.form2());
    windows.form2()->show();
    return application.exec();
}
