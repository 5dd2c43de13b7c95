#pragma once

#include "platform/registry.h"

namespace kaldora::platform {

// The Windows registry through advapi32's ANSI calls. It holds no state: the
// keys it opens belong to the caller until closeKey.
class WindowsRegistry final : public Registry {
public:
    RegistryStatus openKey(RegistryKey parent, const std::string& path, std::uint32_t options,
                           std::uint32_t access, RegistryKey& result) override;
    RegistryStatus queryValue(RegistryKey key, const std::string& name, std::uint32_t& type,
                              std::span<std::byte> data, std::uint32_t& size) override;
    RegistryStatus closeKey(RegistryKey key) override;
};

} // namespace kaldora::platform
