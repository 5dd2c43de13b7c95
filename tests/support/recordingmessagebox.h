#pragma once

#include "billing/notice.h"

#include <string>
#include <vector>

namespace kaldora::tests {

// Answers every message box at once and remembers what it showed.
class RecordingMessageBox final : public billing::Notice {
public:
    struct Shown {
        std::string text;
        std::string caption;
    };
    void show(std::string_view text, std::string_view caption) override
    {
        m_shown.push_back({std::string(text), std::string(caption)});
    }
    const std::vector<Shown>& shown() const { return m_shown; }

private:
    std::vector<Shown> m_shown;
};

} // namespace kaldora::tests
