#pragma once

#include "forms/formlayout.h"

#include <span>

namespace kaldora::main_window {

// The main window's client area below the menu bar, in twips: 1045 x 701
// pixels at 96 dots per inch.
inline constexpr int kClientWidthTwips = 15675;
inline constexpr int kClientHeightTwips = 10515;

// Every control of the main window: place, caption, font, colour and place in
// the keyboard order. Frames come before the controls they hold.
std::span<const forms::ControlSpec> form2Controls();

// One item of the menu bar, listed menu by menu in the order they appear.
struct MenuItemSpec {
    const char* menuName;
    const char* menuCaption;
    const char* name;
    const char* caption;
};
std::span<const MenuItemSpec> form2Menus();

// The menus' face and size where the program sets them itself (Windows): the
// size of the window's ordinary captions.
inline constexpr forms::FontSpec kMenuFont{9.75};

} // namespace kaldora::main_window
