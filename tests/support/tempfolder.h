#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace kaldora::tests {

// A fresh folder of its own under the system's temporary folder, removed
// with all it holds when the object goes.
class TempFolder {
public:
    explicit TempFolder(std::string_view prefix = "kaldora-test");
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

} // namespace kaldora::tests
