#pragma once

#include <chrono>

namespace kaldora::tests {

// What runApplicationWithin() gives when the limit ended the run.
inline constexpr int kRunAborted = 99;

// Runs the application's event loop as the program does, and ends it with
// kRunAborted after `limit` if it has not ended by itself: a test that waits
// for an end that never comes fails instead of hanging. The limit's timer
// goes with the run, so it never fires into a later test. Returns the
// loop's exit code.
int runApplicationWithin(std::chrono::milliseconds limit);

} // namespace kaldora::tests
