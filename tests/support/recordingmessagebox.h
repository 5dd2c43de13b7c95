#pragma once

#include "billing/notice.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kaldora::tests {

// Stands in for the program's message box: answers every message at once,
// so nothing modal ever opens, and remembers the text and caption of each
// in the order they were shown.
class RecordingMessageBox final : public billing::Notice {
public:
    struct Shown {
        std::string text;
        std::string caption;
    };

    void show(std::string_view text, std::string_view caption) override;

    const std::vector<Shown>& shown() const { return m_shown; }

    // Runs `reaction` while each later message is on screen, to look at
    // what the program has or has not done by the time the user reads it.
    void setOnShow(std::function<void()> reaction) { m_onShow = std::move(reaction); }

private:
    std::vector<Shown> m_shown;
    std::function<void()> m_onShow;
};

} // namespace kaldora::tests
