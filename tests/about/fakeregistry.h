#pragma once

#include "platform/registry.h"

#include <cstddef>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace kaldora::about::test {

// A registry in memory under HKEY_LOCAL_MACHINE, with the calls' Windows
// results, that counts what is done to it: every key it hands out must come
// back to closeKey exactly once. As Windows does for a standard user, it
// refuses a key opened with more than the right to read it (KEY_READ).
class FakeRegistry final : public platform::Registry {
public:
    struct Value {
        std::uint32_t type;
        std::vector<std::byte> data;
    };

    void addKey(const std::string& path);
    void setValue(const std::string& path, const std::string& name, Value value);
    // Text stored the usual way, with its terminating zero.
    void setText(const std::string& path, const std::string& name, const std::string& text);
    // The key may be opened with no more than `allowed` rights instead of
    // KEY_READ; asking for more is refused.
    void limitAccess(const std::string& path, std::uint32_t allowed);
    // Every close reports this status (the key is closed all the same).
    void failCloses(platform::RegistryStatus status) { m_closeStatus = status; }

    platform::RegistryStatus openKey(platform::RegistryKey parent, const std::string& path,
                                     std::uint32_t options, std::uint32_t access,
                                     platform::RegistryKey& result) override;
    platform::RegistryStatus queryValue(platform::RegistryKey key, const std::string& name,
                                        std::uint32_t& type, std::span<std::byte> data,
                                        std::uint32_t& size) override;
    platform::RegistryStatus closeKey(platform::RegistryKey key) override;

    struct OpenCall {
        platform::RegistryKey parent;
        std::string path;
        std::uint32_t options;
        std::uint32_t access;
    };
    const std::vector<OpenCall>& openCalls() const { return m_openCalls; }
    int keysHandedOut() const { return m_handedOut; }
    int keysClosed() const { return m_closed; }
    int badCloses() const { return m_badCloses; }
    std::size_t stillOpen() const { return m_open.size(); }
    std::optional<std::size_t> lastQueryCapacity() const { return m_lastCapacity; }

private:
    struct Key {
        std::map<std::string, Value> values;
        std::uint32_t allowedAccess = platform::kKeyRead;
    };

    std::map<std::string, Key> m_keys;
    std::map<std::intptr_t, std::string> m_open;
    std::intptr_t m_nextHandle = 0x100;
    std::vector<OpenCall> m_openCalls;
    int m_handedOut = 0;
    int m_closed = 0;
    int m_badCloses = 0;
    platform::RegistryStatus m_closeStatus = platform::kErrorSuccess;
    std::optional<std::size_t> m_lastCapacity;
};

} // namespace kaldora::about::test
