#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace kaldora::platform {

// An open registry key, or one of the predefined roots. On Windows it holds
// the HKEY itself; a predefined root is the sign-extended 32-bit handle value
// that the system headers define.
enum class RegistryKey : std::intptr_t {};

constexpr RegistryKey predefinedKey(std::int32_t handleValue)
{
    return static_cast<RegistryKey>(static_cast<std::intptr_t>(handleValue));
}
inline constexpr std::int32_t kHKeyLocalMachineValue = static_cast<std::int32_t>(0x80000002u);
inline constexpr RegistryKey kHKeyLocalMachine = predefinedKey(kHKeyLocalMachineValue);

// Status codes of the registry calls: the system's error numbers.
using RegistryStatus = std::int32_t;
inline constexpr RegistryStatus kErrorSuccess = 0;
inline constexpr RegistryStatus kErrorFileNotFound = 2;
inline constexpr RegistryStatus kErrorAccessDenied = 5;
inline constexpr RegistryStatus kErrorInvalidHandle = 6;
inline constexpr RegistryStatus kErrorMoreData = 234;

// Value types.
inline constexpr std::uint32_t kRegNone = 0;
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;

// Access rights for opening a key.
inline constexpr std::uint32_t kKeyQueryValue = 0x0001;
inline constexpr std::uint32_t kKeyEnumerateSubKeys = 0x0008;
inline constexpr std::uint32_t kKeyNotify = 0x0010;
inline constexpr std::uint32_t kReadControl = 0x20000;
// KEY_READ: what Windows grants a standard user on HKEY_LOCAL_MACHINE\SOFTWARE.
inline constexpr std::uint32_t kKeyRead =
    kReadControl | kKeyQueryValue | kKeyEnumerateSubKeys | kKeyNotify;

// Read access to the system registry with the calls and results of the
// system's ANSI registry functions. Key paths, value names and text data
// are bytes in the system's ANSI code page. Nothing is ever written.
class Registry {
public:
    virtual ~Registry() = default;

    // Opens the subkey `path` of `parent`. On success `result` holds a key
    // that must be given back to closeKey.
    virtual RegistryStatus openKey(RegistryKey parent, const std::string& path,
                                   std::uint32_t options, std::uint32_t access,
                                   RegistryKey& result) = 0;

    // Reads the value `name` of an open key into `data`, exactly the bytes
    // the registry holds (text with its terminating zero, if it was stored
    // with one). On success `type` is the value's type and `size` the number
    // of bytes written. A value larger than `data` gives kErrorMoreData,
    // with `size` set to the number of bytes it needs.
    virtual RegistryStatus queryValue(RegistryKey key, const std::string& name, std::uint32_t& type,
                                      std::span<std::byte> data, std::uint32_t& size) = 0;

    virtual RegistryStatus closeKey(RegistryKey key) = 0;
};

} // namespace kaldora::platform
