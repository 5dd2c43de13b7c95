#pragma once

#include "forms/formlayout.h"

namespace kaldora::forms {

// Builders for the rows of a window's layout table, so that a row reads like
// the control it describes: its name, caption, place, font and colour, its
// place in the keyboard order and, last, the name a screen reader speaks for
// it (or, for a label, the control it captions). A window's own layout file
// adds builders for what its controls share (a grid column, a row of
// captions).

// Left, top, width and height in twips.
struct Twips {
    int left, top, width, height;
};

// A point in twips, for the two ends of a line.
struct Point {
    int x, y;
};

inline constexpr int kNoTab = -1;
inline constexpr const char* kClientArea = nullptr;

constexpr ControlSpec entry(const char* name, ControlKind kind, const char* caption, Twips place,
                            FontSpec font, Align align, Colour colour, int tab = kNoTab,
                            const char* parent = kClientArea, int index = -1,
                            const char* accessibleName = nullptr)
{
    ControlSpec s{name, kind, caption, place.left, place.top, place.width, place.height, font};
    s.align = align;
    s.background = colour;
    s.tabIndex = tab;
    s.parent = parent;
    s.index = index;
    s.accessibleName = accessibleName;
    return s;
}

constexpr ControlSpec label(const char* name, const char* caption, Twips place, FontSpec font,
                            Align align, Colour colour, const char* parent = kClientArea)
{
    return entry(name, ControlKind::Label, caption, place, font, align, colour, kNoTab, parent);
}

// A label that captions one control, `buddy`; `index` places it in a control
// array.
constexpr ControlSpec caption(const char* name, int index, const char* text, Twips place,
                              FontSpec font, Align align, Colour colour, const char* parent,
                              const char* buddy)
{
    ControlSpec s =
        entry(name, ControlKind::Label, text, place, font, align, colour, kNoTab, parent, index);
    s.buddy = buddy;
    return s;
}

// Text boxes show their text centred.
constexpr ControlSpec textBox(const char* name, Twips place, FontSpec font, Colour colour, int tab,
                              const char* parent, const char* accessibleName)
{
    return entry(name, ControlKind::TextBox, nullptr, place, font, Align::Center, colour, tab,
                 parent, -1, accessibleName);
}

// A screen reader calls a button by its caption.
constexpr ControlSpec button(const char* name, const char* caption, Twips place, FontSpec font,
                             int tab)
{
    return entry(name, ControlKind::Button, caption, place, font, Align::Center, Colour::Default,
                 tab);
}

// A horizontal or vertical line; `index` places it in a control array.
constexpr ControlSpec line(const char* name, int index, Point from, Point to, Colour colour,
                           int penWidth)
{
    ControlSpec s = entry(name, ControlKind::Line, nullptr, {from.x, from.y, to.x, to.y},
                          FontSpec{}, Align::Left, colour, kNoTab, kClientArea, index);
    s.penWidth = penWidth;
    return s;
}

} // namespace kaldora::forms
