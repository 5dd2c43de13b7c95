#pragma once

#include <string>

namespace kaldora::batch {

// What went wrong with a file, in the user's words: the common causes in
// Serbian (no such file, no permission, a folder, a full disk, a closed
// pipe), anything
// else as the system's own text with its number.
std::string systemErrorText(int errorNumber);

} // namespace kaldora::batch
