#include "fakeregistry.h"

#include <algorithm>

namespace kaldora::about::test {

using namespace platform;

void FakeRegistry::addKey(const std::string& path)
{
    m_keys[path];
}

void FakeRegistry::setValue(const std::string& path, const std::string& name, Value value)
{
    m_keys[path].values[name] = std::move(value);
}

void FakeRegistry::setText(const std::string& path, const std::string& name,
                           const std::string& text)
{
    Value v{kRegSz, {}};
    for (char c : text) {
        v.data.push_back(static_cast<std::byte>(c));
    }
    v.data.push_back(std::byte{0});
    setValue(path, name, std::move(v));
}

void FakeRegistry::limitAccess(const std::string& path, std::uint32_t allowed)
{
    m_keys[path].allowedAccess = allowed;
}

RegistryStatus FakeRegistry::openKey(RegistryKey parent, const std::string& path,
                                     std::uint32_t options, std::uint32_t access,
                                     RegistryKey& result)
{
    m_openCalls.push_back({parent, path, options, access});
    if (parent != kHKeyLocalMachine) {
        return kErrorInvalidHandle;
    }
    const auto key = m_keys.find(path);
    if (key == m_keys.end()) {
        return kErrorFileNotFound;
    }
    if ((access & ~key->second.allowedAccess) != 0) {
        return kErrorAccessDenied;
    }
    const std::intptr_t handle = m_nextHandle++;
    m_open.emplace(handle, path);
    ++m_handedOut;
    result = static_cast<RegistryKey>(handle);
    return kErrorSuccess;
}

RegistryStatus FakeRegistry::queryValue(RegistryKey key, const std::string& name,
                                        std::uint32_t& type, std::span<std::byte> data,
                                        std::uint32_t& size)
{
    m_lastCapacity = data.size();
    const auto open = m_open.find(static_cast<std::intptr_t>(key));
    if (open == m_open.end()) {
        return kErrorInvalidHandle;
    }
    const Key& k = m_keys.at(open->second);
    const auto value = k.values.find(name);
    if (value == k.values.end()) {
        return kErrorFileNotFound;
    }
    const std::vector<std::byte>& bytes = value->second.data;
    type = value->second.type;
    size = static_cast<std::uint32_t>(bytes.size());
    if (bytes.size() > data.size()) {
        return kErrorMoreData;
    }
    std::copy(bytes.begin(), bytes.end(), data.begin());
    return kErrorSuccess;
}

RegistryStatus FakeRegistry::closeKey(RegistryKey key)
{
    if (m_open.erase(static_cast<std::intptr_t>(key)) != 1) {
        ++m_badCloses;
        return kErrorInvalidHandle;
    }
    ++m_closed;
    return m_closeStatus;
}

} // namespace kaldora::about::test
