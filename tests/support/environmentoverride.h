#pragma once

#include <optional>
#include <string>

namespace kaldora::tests {

// Gives one environment variable a value while the object lives, then puts
// back what was there before, or removes the variable again, so a test that
// moves a folder of the user's leaves no trace on the tests after it.
class EnvironmentOverride {
public:
    EnvironmentOverride(std::string name, const std::string& value);
    ~EnvironmentOverride();
    EnvironmentOverride(const EnvironmentOverride&) = delete;
    EnvironmentOverride& operator=(const EnvironmentOverride&) = delete;

private:
    std::string m_name;
    std::optional<std::string> m_previous;
};

} // namespace kaldora::tests
