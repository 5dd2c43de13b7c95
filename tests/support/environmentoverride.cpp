#include "support/environmentoverride.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <system_error>
#include <utility>

namespace kaldora::tests {

namespace {

// 0 on success, as both C libraries report it. On Windows an empty value
// removes the variable.
int setVariable(const std::string& name, const std::string& value)
{
#ifdef _WIN32
    return ::_putenv_s(name.c_str(), value.c_str());
#else
    return ::setenv(name.c_str(), value.c_str(), 1);
#endif
}

int removeVariable(const std::string& name)
{
#ifdef _WIN32
    return ::_putenv_s(name.c_str(), "");
#else
    return ::unsetenv(name.c_str());
#endif
}

} // namespace

EnvironmentOverride::EnvironmentOverride(std::string name, const std::string& value)
    : m_name(std::move(name))
{
    if (const char* previous = std::getenv(m_name.c_str())) {
        m_previous = previous;
    }
    if (setVariable(m_name, value) != 0) {
        throw std::system_error(errno, std::generic_category(), "set " + m_name);
    }
}

EnvironmentOverride::~EnvironmentOverride()
{
    const int failed = m_previous ? setVariable(m_name, *m_previous) : removeVariable(m_name);
    if (failed != 0) {
        // A destructor cannot throw; say it, since later tests would see
        // the wrong folder.
        std::fprintf(stderr, "cannot restore the environment variable %s\n", m_name.c_str());
    }
}

} // namespace kaldora::tests
