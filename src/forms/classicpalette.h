#pragma once

#include <QPalette>

class QWidget;

namespace kaldora::forms {

// The light palette the windows were drawn for: dialog grey behind black
// text, white text boxes. The windows keep it whatever the desktop's theme,
// since their fixed colours (the zone colours, the black captions of the
// about dialog) are only readable on it.
QPalette classicPalette();

// Gives a top-level window the classic palette. Every control inside
// inherits it, and so do the pop-ups that follow their owner's palette (the
// list of a combo box, the calendar of a date picker).
void useClassicPalette(QWidget* window);

} // namespace kaldora::forms
