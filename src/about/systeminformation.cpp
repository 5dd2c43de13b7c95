#include "about/systeminformation.h"

#include "platform/apptitle.h"

#include <array>
#include <cstddef>
#include <exception>
#include <stdexcept>

namespace kaldora::about {

namespace {

// Keys are opened with options 0 and only the right to read their values.
// Windows refuses any process that is not elevated (a standard user, or an
// administrator under UAC) write rights to HKEY_LOCAL_MACHINE, so a key
// opened for more than reading would count as missing on every such PC.
constexpr std::uint32_t kOpenOptions = 0;
constexpr std::uint32_t kOpenAccess = platform::kKeyQueryValue;

constexpr char kHexDigits[] = "0123456789ABCDEF";

// The byte's code in upper-case hexadecimal, without a leading zero.
void appendHex(std::string& text, unsigned char code)
{
    if (code >= 16) {
        text += kHexDigits[code / 16];
    }
    text += kHexDigits[code % 16];
}

// Closes the key on every way out of GetKeyValue, the exception included.
class OpenKey {
public:
    OpenKey(platform::Registry& registry, platform::RegistryKey key)
        : m_registry(registry)
        , m_key(key)
    {
    }
    ~OpenKey()
    {
        // The outcome of the close is of no use to the reader: the value
        // has been read or not, and nothing else can be done with the key.
        static_cast<void>(m_registry.closeKey(m_key));
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;

private:
    platform::Registry& m_registry;
    platform::RegistryKey m_key;
};

} // namespace

SystemInformation::SystemInformation(const platform::OsServices& services,
                                     billing::Notice& messages)
    : m_registry(services.registry)
    , m_programs(services.programs)
    , m_files(services.files)
    , m_messages(messages)
{
}

void SystemInformation::StartSysInfo()
{
    // One way out for every failure, also one thrown by GetKeyValue: the
    // user is told the tool is unavailable, and a later lookup is not tried.
    bool started = false;
    try {
        std::string sysInfoPath;
        if (GetKeyValue(kLocalMachineRoot, std::string(kMsinfoPathKey),
                        std::string(kMsinfoPathValue), sysInfoPath) == kFalse) {
            if (GetKeyValue(kLocalMachineRoot, std::string(kMsinfoFolderKey),
                            std::string(kMsinfoFolderValue), sysInfoPath) == kFalse) {
                sysInfoPath.clear();
            } else {
                // The folder and the file name are joined as they stand.
                std::string candidate = sysInfoPath + std::string(kMsinfoFileName);
                sysInfoPath = m_files.isOrdinaryFile(candidate) ? candidate : std::string();
            }
        }
        // A path taken from "PATH" is started without a check that it names
        // a file; the start itself reports it if not.
        started = !sysInfoPath.empty() && !m_programs.start(sysInfoPath);
    } catch (const std::exception&) {
        started = false;
    }
    if (!started) {
        m_messages.show(kSysInfoUnavailable, platform::kApplicationTitle);
    }
}

int SystemInformation::GetKeyValue(const std::int32_t& keyRoot, const std::string& keyName,
                                   const std::string& subKeyRef, std::string& keyValue)
{
    platform::RegistryKey key{};
    if (m_registry.openKey(platform::predefinedKey(keyRoot), keyName, kOpenOptions, kOpenAccess,
                           key) != platform::kErrorSuccess) {
        keyValue.clear();
        return kFalse;
    }
    const OpenKey closer(m_registry, key);

    std::array<std::byte, kValueBufferSize> buffer{};
    std::uint32_t type = platform::kRegNone;
    std::uint32_t size = kValueBufferSize;
    if (m_registry.queryValue(key, subKeyRef, type, buffer, size) != platform::kErrorSuccess) {
        keyValue.clear();
        return kFalse;
    }
    // A value without data has no last byte to look at. A size beyond the
    // buffer cannot come from a working registry; it is no less a fault.
    if (size == 0 || size > kValueBufferSize) {
        throw std::out_of_range("registry value without data in the buffer");
    }

    // One character per byte; exactly one terminating zero is dropped.
    const char* bytes = reinterpret_cast<const char*>(buffer.data());
    const std::size_t length = buffer[size - 1] == std::byte{0} ? size - 1 : size;
    const std::string text(bytes, length);

    switch (type) {
    case platform::kRegSz:
        keyValue = text;
        break;
    case platform::kRegDword: {
        std::string digits = keyValue;
        for (auto c = text.rbegin(); c != text.rend(); ++c) {
            appendHex(digits, static_cast<unsigned char>(*c));
        }
        keyValue = "&h" + digits;
        break;
    }
    default:
        break;
    }
    return kTrue;
}

} // namespace kaldora::about
