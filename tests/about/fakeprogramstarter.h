#pragma once

#include "platform/programstarter.h"

#include <set>
#include <string>
#include <vector>

namespace kaldora::about::test {

// Starts nothing: it records every path it is asked to start and succeeds
// only for the paths it was told are programs.
class FakeProgramStarter final : public platform::ProgramStarter {
public:
    void addProgram(const std::string& path) { m_programs.insert(path); }

    std::error_code start(const std::string& path) override
    {
        m_attempts.push_back(path);
        if (!m_programs.contains(path)) {
            return std::make_error_code(std::errc::no_such_file_or_directory);
        }
        m_started.push_back(path);
        return {};
    }

    const std::vector<std::string>& attempts() const { return m_attempts; }
    const std::vector<std::string>& started() const { return m_started; }

private:
    std::set<std::string> m_programs;
    std::vector<std::string> m_attempts;
    std::vector<std::string> m_started;
};

} // namespace kaldora::about::test
