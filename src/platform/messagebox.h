#pragma once

#include <string_view>

namespace kaldora::platform {

// The program's one way of speaking to the user: a message box with one OK
// button and no icon, modal for the whole application. show() returns when
// the user has closed the box, however they closed it. Texts are UTF-8.
class MessageBox {
public:
    virtual ~MessageBox() = default;
    virtual void show(std::string_view text, std::string_view caption) = 0;
};

} // namespace kaldora::platform
