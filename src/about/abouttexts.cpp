#include "about/abouttexts.h"

namespace kaldora::about {

std::string versionLabel(int major, int minor, int revision)
{
    return "Version " + std::to_string(major) + "." + std::to_string(minor) + "." +
           std::to_string(revision);
}

std::string programVersionLabel()
{
    return versionLabel(KALDORA_VERSION_MAJOR, KALDORA_VERSION_MINOR, KALDORA_VERSION_PATCH);
}

} // namespace kaldora::about
