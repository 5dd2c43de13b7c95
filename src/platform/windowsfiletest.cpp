#include "platform/windowsfiletest.h"

#include <windows.h>

namespace kaldora::platform {

bool WindowsFileTest::isOrdinaryFile(const std::string& path)
{
    if (path.empty() || path.find('\0') != std::string::npos) {
        return false;
    }
    // INVALID_FILE_ATTRIBUTES covers every failure (missing, bad name, no
    // access): no ordinary file can be found there.
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return false;
    }
    constexpr DWORD kNotOrdinary =
        FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    return (attributes & kNotOrdinary) == 0;
}

} // namespace kaldora::platform
