#pragma once

#include <string>
#include <system_error>

namespace kaldora::platform {

// Starts a program by the path of its file, in a normal window that takes
// the focus, without waiting for it and without arguments. The path is
// handed to the system as it stands: no shell, no search along PATH.
class ProgramStarter {
public:
    virtual ~ProgramStarter() = default;

    // An empty result when the program was started; otherwise why not (the
    // file is missing, not a program, not allowed to run, ...). A path with
    // a zero byte in it names no file and is refused.
    virtual std::error_code start(const std::string& path) = 0;
};

} // namespace kaldora::platform
