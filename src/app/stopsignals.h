#pragma once

namespace kaldora::app::stopsignals {

// SIGTERM, SIGHUP and SIGINT, turned into something an event loop can wait
// for: the handler writes a byte into a pipe, and the pipe's reading end is
// watched. Windows has no such signals (its session's end comes through the
// window system), so there nothing is caught.

// Catches the stop signals. Returns the file descriptor that becomes
// readable when one arrives, or -1 when they cannot be caught.
int catchAll();

// Reads away the notes of the signals that have arrived.
void drain();

// What the stop signals do once they are no longer caught.
enum class Afterwards {
    Default, // the program goes on without having ended in order
    Ignored, // the orderly end has begun: one still on its way is absorbed
};
void release(Afterwards afterwards);

} // namespace kaldora::app::stopsignals
