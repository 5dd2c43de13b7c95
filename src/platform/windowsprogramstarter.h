#pragma once

#include "platform/programstarter.h"

namespace kaldora::platform {

// Starts programs on Windows with CreateProcess: the file is named as the
// application itself, so neither a shell nor the search order for a bare
// command line takes part, and the window opens normally with the focus.
// Both handles of the new process are closed at once; it owns nothing.
class WindowsProgramStarter final : public ProgramStarter {
public:
    std::error_code start(const std::string& path) override;
};

} // namespace kaldora::platform
