#pragma once

#include "platform/filetest.h"
#include "billing/notice.h"
#include "platform/osservices.h"
#include "platform/programstarter.h"
#include "platform/registry.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace kaldora::about {

// Truth values of the program's own routines: all bits set for true.
inline constexpr int kTrue = -1;
inline constexpr int kFalse = 0;

// The root key HKEY_LOCAL_MACHINE as the 32-bit value that GetKeyValue takes.
inline constexpr std::int32_t kLocalMachineRoot = platform::kHKeyLocalMachineValue;

inline constexpr std::string_view kSysInfoUnavailable =
    "System Information Is Unavailable At This Time";

// Where the System Information tool is registered: first the full path of
// its program file, then the folder that holds MSINFO32.EXE.
inline constexpr std::string_view kMsinfoPathKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
inline constexpr std::string_view kMsinfoPathValue = "PATH";
inline constexpr std::string_view kMsinfoFolderKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
inline constexpr std::string_view kMsinfoFolderValue = "MSINFO";
inline constexpr std::string_view kMsinfoFileName = "\\MSINFO32.EXE";

// Finds the System Information tool through the registry and starts it.
// It owns nothing: the registry, the program start, the file test and the
// message box are lent to it and must outlive it.
class SystemInformation {
public:
    // Registry values are read into a buffer of this size; a larger value
    // counts as missing.
    static constexpr std::uint32_t kValueBufferSize = 1024;

    SystemInformation(const platform::OsServices& services, billing::Notice& messages);

    // Starts the tool, or shows the one message that it is unavailable,
    // whatever went wrong. It never reports a failure to its caller.
    void StartSysInfo();

    // Reads one registry value as text into `keyValue` and returns kTrue, or
    // empties it and returns kFalse when the key or the value cannot be read
    // (also when the value is larger than the buffer). A text value loses one
    // terminating zero. A number value (type 4) is written as "&h" and the
    // hexadecimal codes of its bytes, last byte first, one digit for codes
    // below 16, after whatever `keyValue` held; the program's number texts
    // are decimal, so that text is not a number to them and stays as it
    // is. A value of any other type leaves `keyValue` unchanged.
    //
    // Throws std::out_of_range for a value without any data, after the key
    // has been closed.
    int GetKeyValue(const std::int32_t& keyRoot, const std::string& keyName,
                    const std::string& subKeyRef, std::string& keyValue);

private:
    platform::Registry& m_registry;
    platform::ProgramStarter& m_programs;
    platform::FileTest& m_files;
    billing::Notice& m_messages;
};

} // namespace kaldora::about
