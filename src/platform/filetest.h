#pragma once

#include <string>

namespace kaldora::platform {

// Tells whether an ordinary file exists at a path: a file, not a folder,
// and neither hidden nor a system file.
class FileTest {
public:
    virtual ~FileTest() = default;
    virtual bool isOrdinaryFile(const std::string& path) = 0;
};

} // namespace kaldora::platform
