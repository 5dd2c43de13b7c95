#include "displaycheck.h"
#include "qtmessagebox.h"
#include "startupguard.h"
#include "systemclock.h"
#include "systemlocale.h"
#include "windows.h"

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
    kaldora::main_window::Windows windows(
        {clock, messages, kaldora::platform::systemDecimalSeparator()});
    windows.form2()->show();
    return application.exec();
}
