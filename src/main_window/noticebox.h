#pragma once

#include "billing/obracun.h"
#include "platform/messagebox.h"

namespace kaldora::main_window {

// Hands the calculation's message to the program's message box, so that the
// window and its tests choose how a message is shown.
class NoticeBox final : public billing::Notice {
public:
    explicit NoticeBox(platform::MessageBox& box)
        : m_box(box)
    {
    }
    void show(std::string_view text, std::string_view caption) override
    {
        m_box.show(text, caption);
    }

private:
    platform::MessageBox& m_box;
};

} // namespace kaldora::main_window
