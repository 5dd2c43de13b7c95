#include "platform/windowsregistry.h"

#include <windows.h>

#include <limits>

namespace kaldora::platform {

namespace {

HKEY toHandle(RegistryKey key)
{
    return reinterpret_cast<HKEY>(static_cast<std::intptr_t>(key));
}

} // namespace

RegistryStatus WindowsRegistry::openKey(RegistryKey parent, const std::string& path,
                                        std::uint32_t options, std::uint32_t access,
                                        RegistryKey& result)
{
    HKEY opened = nullptr;
    const LSTATUS status = RegOpenKeyExA(toHandle(parent), path.c_str(), options, access, &opened);
    if (status == ERROR_SUCCESS) {
        result = static_cast<RegistryKey>(reinterpret_cast<std::intptr_t>(opened));
    }
    return static_cast<RegistryStatus>(status);
}

RegistryStatus WindowsRegistry::queryValue(RegistryKey key, const std::string& name,
                                           std::uint32_t& type, std::span<std::byte> data,
                                           std::uint32_t& size)
{
    if (data.size() > std::numeric_limits<DWORD>::max()) {
        return ERROR_INVALID_PARAMETER;
    }
    // Without a buffer the call would only measure the value and report
    // success; an empty buffer must give "more data" like any other too small.
    BYTE empty = 0;
    BYTE* target = data.empty() ? &empty : reinterpret_cast<BYTE*>(data.data());
    DWORD valueType = REG_NONE;
    DWORD byteCount = static_cast<DWORD>(data.size());
    const LSTATUS status =
        RegQueryValueExA(toHandle(key), name.c_str(), nullptr, &valueType, target, &byteCount);
    type = valueType;
    size = byteCount;
    return static_cast<RegistryStatus>(status);
}

RegistryStatus WindowsRegistry::closeKey(RegistryKey key)
{
    return static_cast<RegistryStatus>(RegCloseKey(toHandle(key)));
}

} // namespace kaldora::platform
