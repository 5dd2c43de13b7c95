#pragma once

#include "platform/filetest.h"

#include <set>
#include <string>
#include <vector>

namespace kaldora::about::test {

// Ordinary files by a list; it records every path it is asked about.
class FakeFileTest final : public platform::FileTest {
public:
    void addFile(const std::string& path) { m_files.insert(path); }

    bool isOrdinaryFile(const std::string& path) override
    {
        m_asked.push_back(path);
        return m_files.contains(path);
    }

    const std::vector<std::string>& asked() const { return m_asked; }

private:
    std::set<std::string> m_files;
    std::vector<std::string> m_asked;
};

} // namespace kaldora::about::test
