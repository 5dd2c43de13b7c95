#pragma once

#include <string_view>

namespace kaldora::billing {

// The program's one way of speaking to the user: a message with one OK
// button and no icon, modal for the whole application. show() returns when
// the user has closed it, however they closed it. Texts are UTF-8.
//
// It lives here, beside the calculation, because the calculation is the one
// user of it that must build without any window system; the windows, the
// about dialog and the batch calculator hand in their own.
class Notice {
public:
    virtual ~Notice() = default;
    virtual void show(std::string_view text, std::string_view caption) = 0;
};

} // namespace kaldora::billing
