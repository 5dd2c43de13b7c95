#include "app/displaycheck.h"
#include "app/startupguard.h"
#include "main_window/windowowner.h"
#include "platform/qtmessagebox.h"
#include "platform/systemclock.h"
#include "platform/systemlocale.h"

#include <QApplication>

#include <cstdio>
#include <memory>

namespace {

constexpr int kExitNoDisplay = 2;

} // namespace

// The program starts the window system's loop with the main window; it ends
// when the last of its windows is closed.
int main(int argc, char* argv[])
{
    if (const auto problem = kaldora::app::missingDisplay()) {
        std::fprintf(stderr, "kaldora: %s\n", problem->c_str());
        return kExitNoDisplay;
    }

    auto guard = std::make_unique<kaldora::app::StartupGuard>();
    QApplication application(argc, argv);
    guard.reset();

    kaldora::platform::SystemClock clock;
    kaldora::platform::QtMessageBox messages;
    kaldora::main_window::WindowOwner windows(
        {clock, messages, kaldora::platform::systemDecimalSeparator()});
    windows.form2()->show();
    return application.exec();
}
