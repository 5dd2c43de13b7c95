#pragma once

#include "billing/notice.h"

namespace kaldora::platform {

// The real message box: a QMessageBox with one OK button and no icon, modal
// for the whole application and centred over the window that is active when
// it opens.
//
// At the program's end nobody may be there to answer a box (the program was
// asked to stop, the session is ending): from setUnattended() on, messages
// are written to the error output instead, and show() returns at once.
class QtMessageBox final : public billing::Notice {
public:
    void show(std::string_view text, std::string_view caption) override;
    void setUnattended() { m_unattended = true; }

private:
    bool m_unattended = false;
};

} // namespace kaldora::platform
