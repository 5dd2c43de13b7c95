#pragma once

#include "platform/registry.h"

#include <array>
#include <map>
#include <optional>
#include <string_view>

namespace kaldora::platform {

// A small read-only stand-in for the registry on desktops that have none.
// It knows only what the about dialog looks up, and answers it from the
// desktop itself:
//   HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Shared Tools\MSINFO, value "PATH":
//     the absolute path of the first system information program found on
//     the search path, as text with its terminating zero; no value when
//     none is installed;
//   HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Shared Tools Location: a key
//     without the value "MSINFO" (a folder of the Windows tool's file means
//     nothing here).
// Every other key is missing. Key paths and value names compare without
// regard to case, as the registry's do. It owns the table of keys it has
// handed out and nothing else.
class DesktopRegistry final : public Registry {
public:
    // Graphical programs that show the hardware and the operating system,
    // in order of preference. Only programs that open their overview when
    // started without arguments qualify: the path is started as it stands.
    // GNOME's settings would need the panel name as an argument, and
    // terminal tools (hwinfo, inxi) would show nothing without a terminal.
    static constexpr std::array<std::string_view, 6> kSystemInformationPrograms = {
        "hardinfo2",   // HardInfo2, the maintained fork of HardInfo
        "hardinfo",    // HardInfo, "System Information and Benchmark"
        "kinfocenter", // KDE's Info Center
        "cpu-x",       // CPU-X, processor, board, memory and system
        "i-nex",       // I-Nex, hardware and system overview
        "lshw-gtk",    // the graphical front end of lshw
    };

    // Searches the PATH of the environment at each lookup.
    DesktopRegistry() = default;
    // Searches the given list of folders (separated by ':') instead.
    explicit DesktopRegistry(std::string searchPath);

    RegistryStatus openKey(RegistryKey parent, const std::string& path, std::uint32_t options,
                           std::uint32_t access, RegistryKey& result) override;
    RegistryStatus queryValue(RegistryKey key, const std::string& name, std::uint32_t& type,
                              std::span<std::byte> data, std::uint32_t& size) override;
    RegistryStatus closeKey(RegistryKey key) override;

    // Keys opened and not yet closed.
    std::size_t openKeyCount() const { return m_openKeys.size(); }

private:
    enum class KnownKey { SharedToolsMsinfo, SharedToolsLocation };

    std::optional<std::string> systemInformationProgram() const;

    std::optional<std::string> m_searchPath;
    std::map<std::intptr_t, KnownKey> m_openKeys;
    std::intptr_t m_nextHandle = 1;
};

} // namespace kaldora::platform
