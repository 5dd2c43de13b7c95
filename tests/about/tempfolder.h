#pragma once

#include <filesystem>
#include <string>

namespace kaldora::about::test {

// A fresh folder under the system's temporary folder, removed with all it
// holds when the object goes.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::string operator/(const std::string& name) const { return (m_path / name).string(); }

    // Writes a file; `executable` gives it the owner's execute permission.
    std::string write(const std::string& name, const std::string& content,
                      bool executable = false) const;

private:
    std::filesystem::path m_path;
};

} // namespace kaldora::about::test
