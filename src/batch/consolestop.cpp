#include "batch/consolestop.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace kaldora::batch {

namespace {

std::atomic<bool> g_stopRequested{false};

#ifdef _WIN32
// Windows gives a closing console's handler five seconds in all.
constexpr DWORD kWaitForTheRunMs = 4000;

// Set when the run is over; a handler that must not return before then
// waits for it. Made before the handler is installed.
HANDLE g_runFinished = nullptr;

BOOL WINAPI onConsoleEvent(DWORD event)
{
    switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
        // Handled: the run stops by itself.
        g_stopRequested = true;
        return TRUE;
    case CTRL_CLOSE_EVENT:
        // The console closes: the program ends when this returns. An error
        // here leaves the wait to the timeout, which ends it as well.
        g_stopRequested = true;
        if (WaitForSingleObject(g_runFinished, kWaitForTheRunMs) == WAIT_FAILED) {
            Sleep(kWaitForTheRunMs);
        }
        return TRUE;
    default:
        // Not sent to this program (see the class); were it, the next
        // handler, Windows' own, would deal with it.
        return FALSE;
    }
}
#endif

} // namespace

const std::atomic<bool>& ConsoleStop::install()
{
#ifdef _WIN32
    g_runFinished = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    // Without the event or the handler the program keeps Windows' default:
    // it is ended at once, as on the other systems.
    if (g_runFinished != nullptr && !SetConsoleCtrlHandler(onConsoleEvent, TRUE)) {
        CloseHandle(g_runFinished);
        g_runFinished = nullptr;
    }
#endif
    return g_stopRequested;
}

void ConsoleStop::runFinished()
{
#ifdef _WIN32
    if (g_runFinished != nullptr) {
        // Should it fail, a closing console waits for its timeout instead.
        const BOOL set = SetEvent(g_runFinished);
        static_cast<void>(set);
    }
#endif
}

} // namespace kaldora::batch
