#pragma once

#include "platform/programstarter.h"

namespace kaldora::platform {

// Starts programs on POSIX systems. The program runs as a grandchild in a
// session of its own: the intermediate child ends at once and is reaped at
// once, so no zombie is left for the user interface to collect, and the
// program outlives this one. A failed exec is reported back through a pipe
// that a successful exec closes. It owns nothing between two starts.
class PosixProgramStarter final : public ProgramStarter {
public:
    std::error_code start(const std::string& path) override;
};

} // namespace kaldora::platform
