#pragma once

#include "platform/filetest.h"

namespace kaldora::platform {

// The ordinary-file test on POSIX systems: a regular file (a link counts as
// what it points to) whose name does not start with a dot, the desktop's
// mark of a hidden file. There is no system attribute to test.
class PosixFileTest final : public FileTest {
public:
    bool isOrdinaryFile(const std::string& path) override;
};

} // namespace kaldora::platform
