#pragma once

#include <atomic>

namespace kaldora::batch {

// Ctrl+C, Ctrl+Break and closing the console window ask a Windows console
// program to stop. By default Windows then ends it from another thread
// while its own threads may be halfway through a block of bills, and runs
// the program's clean-up under their feet. The batch calculator notes the
// request instead: the run stops after the block it is billing, writes that
// block's bills whole and says it was stopped. When the console window
// closes, Windows ends the program as soon as the handler returns, so the
// handler waits, a few seconds at most, for the run to finish.
//
// The user's logoff and the system's shutdown never reach the handler: a
// console program that loads user32 (Qt does) gets no such events, and the
// system ends it as it would end a program without a handler.
//
// Elsewhere the stop signals keep their default: the system ends every
// thread at once, and nothing runs halfway.
class ConsoleStop {
public:
    // Starts listening; the flag turns true when a stop is asked for. It
    // never does where there is nothing to listen for.
    static const std::atomic<bool>& install();

    // The run is over and its output written: a closing console may end
    // the program now.
    static void runFinished();
};

} // namespace kaldora::batch
