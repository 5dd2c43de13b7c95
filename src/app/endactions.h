#pragma once

#include "app/orderlyshutdown.h"
#include "main_window/windowowner.h"
#include "platform/qtmessagebox.h"
#include "price_list/form1.h"

#include <cstdio>
#include <optional>

namespace kaldora::app {

// What the program's orderly end does with its windows: saves the price
// list's pending edits for the session manager, and at the end switches the
// message boxes to `errorOutput` and closes every window. What cannot be
// saved is written to `errorOutput` by reportUnsaved().
OrderlyShutdown::Actions endActions(main_window::WindowOwner& windows,
                                    platform::QtMessageBox& messages, std::FILE* errorOutput);

// Writes what the price-list window could not save at the program's end to
// `out` (the error output, as no message box can be answered then): the
// reason, and the six prices as they were typed, each with its row's name,
// so that the user can type them again. Returns true when everything was
// saved and nothing was written.
bool reportUnsaved(std::FILE* out, const std::optional<price_list::Form1::Unsaved>& unsaved);

} // namespace kaldora::app
