#pragma once

#include "messagebox.h"

#include <string>
#include <utility>
#include <vector>

namespace kaldora::about::test {

// Answers every message box at once and keeps its text and caption.
class RecordingMessageBox final : public platform::MessageBox {
public:
    void show(std::string_view text, std::string_view caption) override
    {
        m_shown.emplace_back(std::string(text), std::string(caption));
    }

    const std::vector<std::pair<std::string, std::string>>& shown() const { return m_shown; }

private:
    std::vector<std::pair<std::string, std::string>> m_shown;
};

} // namespace kaldora::about::test
