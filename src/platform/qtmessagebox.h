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
//
// ask() is the one question the program puts: a box of the same kind with
// two answers, for the moment the program must not decide alone (the
// session ends while prices cannot be saved).
class QtMessageBox final : public billing::Notice {
public:
    void show(std::string_view text, std::string_view caption) override;
    // True when the user picks the button `yes`. The button `no` is the
    // answer of Enter, Esc and the close box, so that a hasty key keeps what
    // the question is about. Unattended, nobody can answer: false.
    bool ask(std::string_view text, std::string_view caption, std::string_view yes,
             std::string_view no);
    void setUnattended() { m_unattended = true; }

private:
    bool m_unattended = false;
};

} // namespace kaldora::platform
