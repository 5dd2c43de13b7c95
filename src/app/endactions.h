#pragma once

#include "app/orderlyshutdown.h"
#include "main_window/windowowner.h"
#include "platform/qtmessagebox.h"
#include "platform/sessionendhold.h"
#include "price_list/form1.h"

#include <cstdio>

namespace kaldora::app {

// What the program's orderly end does with its windows: saves the price
// list's pending edits for the session manager, and asks the user, where the
// session manager allows it, whether the session may end without what could
// not be saved, holding the session's end with its reason while the
// question is open; at the end it switches the message boxes to `errorOutput`
// and closes every window. What cannot be saved is reported on `errorOutput`,
// the reason and the six prices as typed, once however often the same
// prices fail.
OrderlyShutdown::Actions endActions(main_window::WindowOwner& windows,
                                    platform::QtMessageBox& messages,
                                    platform::SessionEndHold& hold, std::FILE* errorOutput);

} // namespace kaldora::app
