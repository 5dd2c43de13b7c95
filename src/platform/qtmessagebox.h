#pragma once

#include "billing/notice.h"

namespace kaldora::platform {

// The real message box: a QMessageBox with one OK button and no icon, modal
// for the whole application and centred over the window that is active when
// it opens.
class QtMessageBox final : public billing::Notice {
public:
    void show(std::string_view text, std::string_view caption) override;
};

} // namespace kaldora::platform
