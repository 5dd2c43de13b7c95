#include "platform/posixfiletest.h"

#include <sys/stat.h>

namespace kaldora::platform {

bool PosixFileTest::isOrdinaryFile(const std::string& path)
{
    if (path.empty() || path.find('\0') != std::string::npos) {
        return false;
    }
    const std::size_t slash = path.rfind('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    if (nameStart < path.size() && path[nameStart] == '.') {
        return false;
    }
    // Any failure of stat (missing, no permission to look) means that no
    // ordinary file can be found there.
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

} // namespace kaldora::platform
