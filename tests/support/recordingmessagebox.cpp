#include "support/recordingmessagebox.h"

namespace kaldora::tests {

void RecordingMessageBox::show(std::string_view text, std::string_view caption)
{
    m_shown.push_back({std::string(text), std::string(caption)});
    if (m_onShow) {
        m_onShow();
    }
}

} // namespace kaldora::tests
