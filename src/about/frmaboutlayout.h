#pragma once

#include "forms/formlayout.h"

#include <span>

namespace kaldora::about {

// The client area of the about dialog, in twips.
inline constexpr int kAboutClientWidth = 5730;
inline constexpr int kAboutClientHeight = 3555;

// The about dialog's controls with their places in twips and their keyboard
// order: the OK button first, so the focus starts there.
std::span<const forms::ControlSpec> frmAboutLayout();

} // namespace kaldora::about
