#include "platform/desktopregistry.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace kaldora::platform {

namespace {

constexpr std::string_view kMsinfoKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr std::string_view kLocationKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
constexpr std::string_view kPathValue = "PATH";
constexpr char kSearchPathSeparator = ':';

bool equalIgnoringCase(std::string_view a, std::string_view b)
{
    const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return lower(x) == lower(y); });
}

bool isExecutableFile(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

} // namespace

DesktopRegistry::DesktopRegistry(std::string searchPath)
    : m_searchPath(std::move(searchPath))
{
}

std::optional<std::string> DesktopRegistry::systemInformationProgram() const
{
    std::string searchPath;
    if (m_searchPath) {
        searchPath = *m_searchPath;
    } else if (const char* fromEnvironment = std::getenv("PATH")) {
        searchPath = fromEnvironment;
    }

    for (std::string_view program : kSystemInformationPrograms) {
        std::string_view rest = searchPath;
        while (true) {
            const std::size_t end = rest.find(kSearchPathSeparator);
            const std::string_view folder = rest.substr(0, end);
            // An empty or relative entry would mean the working folder; the
            // value must be an absolute path that means the same wherever
            // the program is started from.
            if (!folder.empty() && folder.front() == '/') {
                std::string candidate(folder);
                if (candidate.back() != '/') {
                    candidate += '/';
                }
                candidate += program;
                if (isExecutableFile(candidate)) {
                    return candidate;
                }
            }
            if (end == std::string_view::npos) {
                break;
            }
            rest.remove_prefix(end + 1);
        }
    }
    return std::nullopt;
}

RegistryStatus DesktopRegistry::openKey(RegistryKey parent, const std::string& path,
                                        std::uint32_t /*options*/, std::uint32_t /*access*/,
                                        RegistryKey& result)
{
    // Nothing here can be written, so no access mask is refused: a request
    // for write access gets a key that still cannot change anything.
    if (parent != kHKeyLocalMachine) {
        return m_openKeys.contains(static_cast<std::intptr_t>(parent)) ? kErrorFileNotFound
                                                                       : kErrorInvalidHandle;
    }
    KnownKey known;
    if (equalIgnoringCase(path, kMsinfoKey)) {
        known = KnownKey::SharedToolsMsinfo;
    } else if (equalIgnoringCase(path, kLocationKey)) {
        known = KnownKey::SharedToolsLocation;
    } else {
        return kErrorFileNotFound;
    }
    const std::intptr_t handle = m_nextHandle++;
    m_openKeys.emplace(handle, known);
    result = static_cast<RegistryKey>(handle);
    return kErrorSuccess;
}

RegistryStatus DesktopRegistry::queryValue(RegistryKey key, const std::string& name,
                                           std::uint32_t& type, std::span<std::byte> data,
                                           std::uint32_t& size)
{
    const auto open = m_openKeys.find(static_cast<std::intptr_t>(key));
    if (open == m_openKeys.end()) {
        return kErrorInvalidHandle;
    }
    if (open->second != KnownKey::SharedToolsMsinfo || !equalIgnoringCase(name, kPathValue)) {
        return kErrorFileNotFound;
    }
    const std::optional<std::string> program = systemInformationProgram();
    if (!program) {
        return kErrorFileNotFound;
    }

    // Text is stored with its terminating zero.
    const std::size_t needed = program->size() + 1;
    type = kRegSz;
    size = static_cast<std::uint32_t>(needed);
    if (needed > data.size()) {
        return kErrorMoreData;
    }
    std::memcpy(data.data(), program->c_str(), needed);
    return kErrorSuccess;
}

RegistryStatus DesktopRegistry::closeKey(RegistryKey key)
{
    return m_openKeys.erase(static_cast<std::intptr_t>(key)) == 1 ? kErrorSuccess
                                                                  : kErrorInvalidHandle;
}

} // namespace kaldora::platform
