#pragma once

#include "support/environmentoverride.h"
#include "support/tempfolder.h"

#include <deque>
#include <filesystem>

namespace kaldora::tests {

// Points the user's home and their data, configuration, cache and state
// folders at a fresh temporary folder while the object lives. Every test
// program makes one before anything asks where those folders are (before
// QApplication and QStandardPaths), so no test reads or changes the files of
// whoever runs it, the price list in the data folder above all, and every run
// starts from the same empty home whatever CTest or the shell hands it.
class PrivateHome {
public:
    PrivateHome();

    const std::filesystem::path& path() const { return m_folder.path(); }

private:
    // Declared first, so it is removed after the variables are put back.
    TempFolder m_folder;
    std::deque<EnvironmentOverride> m_variables;
};

} // namespace kaldora::tests
