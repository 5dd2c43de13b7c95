#pragma once

#include "platform/filetest.h"

namespace kaldora::platform {

// The ordinary-file test on Windows, by the file's attributes: present and
// neither a folder, nor hidden, nor a system file.
class WindowsFileTest final : public FileTest {
public:
    bool isOrdinaryFile(const std::string& path) override;
};

} // namespace kaldora::platform
