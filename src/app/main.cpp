#include "app/displaycheck.h"
#include "app/endactions.h"
#include "app/orderlyshutdown.h"
#include "app/programidentity.h"
#include "app/programoptions.h"
#include "app/startupguard.h"
#include "forms/applicationsetup.h"
#include "main_window/windowowner.h"
#include "platform/qtmessagebox.h"
#include "platform/sessionendhold.h"
#include "platform/systemclock.h"
#include "platform/systemlocale.h"
#include "price_list/pricelistfile.h"

#include <QApplication>

#include <csignal>
#include <cstdio>
#include <memory>

namespace {

using kaldora::app::ProgramOptions;

constexpr int kExitDone = 0;
constexpr int kExitUsage = 1;
constexpr int kExitNoDisplay = 2;

// Prints the help or the version; a failed write is a failure, so that a
// script that reads the text learns that it got none.
int print(const QString& text)
{
    const bool written = std::fputs(qUtf8Printable(text), stdout) >= 0 && std::fflush(stdout) == 0;
    if (!written) {
        std::fprintf(stderr, "kaldora: izlaz nije mogao da se upise\n");
        return kExitUsage;
    }
    return kExitDone;
}

QStringList argumentList(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    return arguments;
}

} // namespace

// The program starts the window system's loop with the main window; it ends
// when the last of its windows is closed. The command line is read first:
// the help and the version are printed without a window and need no display.
int main(int argc, char* argv[])
{
#ifdef SIGXFSZ
    // A save of the price list beyond a file-size limit then fails and is
    // reported like a full disk; the signal would end the program unasked.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
#ifdef SIGPIPE
    // The error output may be a pipe whose reader has gone (`kaldora 2>&1 |
    // logger`, logger ended). A write to it then fails, and the program still
    // ends in order with its exit status; the signal would end it at the
    // first message. Programs started from here get the signal's default back.
    std::signal(SIGPIPE, SIG_IGN);
#endif

    const ProgramOptions options = ProgramOptions::parse(argumentList(argc, argv));
    switch (options.request()) {
    case ProgramOptions::Request::Help:
        return print(ProgramOptions::helpText(kaldora::price_list::PriceListFile::defaultPath()));
    case ProgramOptions::Request::Version:
        return print(ProgramOptions::versionText());
    case ProgramOptions::Request::Invalid:
        std::fprintf(stderr, "kaldora: %s\nPomoc: kaldora --help\n",
                     qUtf8Printable(options.error()));
        return kExitUsage;
    case ProgramOptions::Request::Start:
        break;
    }

    if (const auto problem = kaldora::app::missingDisplay()) {
        std::fprintf(stderr, "kaldora: %s\n", problem->c_str());
        return kExitNoDisplay;
    }

    auto guard = std::make_unique<kaldora::app::StartupGuard>();
    kaldora::forms::choosePlatformOptions();
    QApplication application(argc, argv);
    guard.reset();
    kaldora::app::applyProgramIdentity();
    kaldora::forms::prepareApplication(application);

    kaldora::platform::SystemClock clock;
    kaldora::platform::QtMessageBox messages;
    kaldora::main_window::WindowOwner windows(
        {clock, messages, kaldora::platform::systemDecimalSeparator()});
    // The end of the session, SIGTERM, SIGHUP and SIGINT and every other end
    // save the price list's pending edits without a message box: nobody may
    // be there to answer one. What cannot be saved goes to the error output;
    // at the session's end the user is asked first where the session allows
    // it (always on Windows, whose session waits for the answer).
    const kaldora::app::OrderlyShutdown shutdown(kaldora::app::endActions(
        windows, messages, kaldora::platform::systemSessionEndHold(), stderr));
    // Making the main window reads the price list, and a problem with it is
    // shown in a message that waits for an answer.
    auto* mainWindow = windows.form2();
    if (shutdown.stopRequested()) {
        return shutdown.exitCode(kExitDone);
    }
    mainWindow->show();
    return shutdown.exitCode(application.exec());
}
