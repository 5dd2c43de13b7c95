#include "support/privatehome.h"

namespace kaldora::tests {

namespace {

// Each folder where the XDG base directory rules put it by default, below
// the new home; set explicitly, so that values the caller has set for the
// user's own folders do not reach the tests.
struct Folder {
    const char* variable;
    const char* below;
};
constexpr Folder kFolders[] = {
    {"XDG_DATA_HOME", ".local/share"},
    {"XDG_CONFIG_HOME", ".config"},
    {"XDG_CACHE_HOME", ".cache"},
    {"XDG_STATE_HOME", ".local/state"},
#ifdef _WIN32
    // Where Windows programs keep their users' data and settings.
    {"USERPROFILE", "."},
    {"APPDATA", "AppData/Roaming"},
    {"LOCALAPPDATA", "AppData/Local"},
#endif
};

} // namespace

PrivateHome::PrivateHome()
    : m_folder("kaldora-home")
{
    m_variables.emplace_back("HOME", path().string());
    for (const Folder& folder : kFolders) {
        m_variables.emplace_back(folder.variable, (path() / folder.below).string());
    }
}

} // namespace kaldora::tests
