#pragma once

#include <string_view>

namespace kaldora::platform {

// Holds the end of the desktop session while the program asks the user
// whether it may end (prices that cannot be saved). Windows ends a program
// that has not answered within a few seconds unless it says why it waits:
// its reason then stands on the screen that lists the programs keeping the
// session from ending, and the user can go back to the question. The
// session managers of the other systems wait for the program's interaction
// by themselves, and there holding does nothing.
class SessionEndHold {
public:
    virtual ~SessionEndHold() = default;

    // The session's end waits, for `reason`, until release().
    virtual void hold(std::string_view reason) = 0;
    virtual void release() = 0;
};

// The system's own: on Windows the reason is given for the program's active
// window (or its first visible one); elsewhere nothing is done.
SessionEndHold& systemSessionEndHold();

} // namespace kaldora::platform
