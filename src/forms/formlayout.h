#pragma once

#include <QColor>
#include <QFont>
#include <QHash>
#include <QRect>
#include <QString>

#include <span>

class QWidget;

namespace kaldora::forms {

// Positions and sizes of the windows are kept in twips, 1/1440 inch: 15
// twips make one logical pixel at 96 dots per inch.
inline constexpr int kTwipsPerPixel = 15;
constexpr int toPixels(int twips)
{
    return twips >= 0 ? (twips + kTwipsPerPixel / 2) / kTwipsPerPixel
                      : -((-twips + kTwipsPerPixel / 2) / kTwipsPerPixel);
}
QRect twipsRect(int left, int top, int width, int height);

enum class ControlKind { Frame, Label, TextBox, ComboBox, DatePicker, Button, Line, Picture };

// The colours a control can carry: system colours, mapped onto the nearest
// roles of the program's classic light palette (classicPalette()), and fixed
// colours.
enum class Colour {
    Default,             // what the control kind has of its own
    InactiveCaptionText, // window background
    ActiveBorder,        // frames and shaded labels
    ButtonFace,          // plain labels
    Window,              // text boxes
    WindowText,          // lines
    Green,               // zone 1, RGB 0, 128, 0
    Blue,                // zone 2, RGB 0, 0, 255
    Red,                 // zone 3, RGB 192, 0, 0
    Grey,                // RGB 128, 128, 128
    White,
};
QColor colourValue(Colour c);

enum class Align { Left, Center };

struct FontSpec {
    double points = 8.25;
    bool bold = false;
    bool underline = false;
};

// One control of a window. Left, top, width and height are in twips within
// the parent's client area (a frame's area includes its caption band). A
// line uses them as its two end points: (left, top) to (width, height).
struct ControlSpec {
    const char* name;
    ControlKind kind;
    const char* caption;
    int left, top, width, height;
    FontSpec font;
    Align align = Align::Left;
    Colour background = Colour::Default;
    int tabIndex = -1;            // place in the keyboard order, -1 for none
    const char* parent = nullptr; // a frame's name, or none for the client area
    int index = -1;               // index within a control array such as Label20
    int penWidth = 1;             // lines only, in pixels
    // What a screen reader calls a control the user can reach: built from
    // the captions that describe it, never from its value. A button without
    // one is called by its caption.
    const char* accessibleName = nullptr;
    // Labels only: the control this label captions, which becomes its buddy.
    const char* buddy = nullptr;
};

// The key under which a control is found: its name, or "Label20(3)" for an
// element of a control array.
QString controlKey(const ControlSpec& entry);

// The font a control is drawn with: the layout's face where the system has
// it, otherwise the nearest sans-serif face with the same metrics.
QFont layoutFont(const FontSpec& entry);

// Creates the controls of one window's layout table on `client` and returns
// them by key. Controls get their entry's name as objectName (and the array
// index as the property "index") and their accessible names, labels their
// buddies, the keyboard order follows the tab indexes, and nothing is laid
// out by a layout manager: every control keeps the place the table gives it,
// whatever the window's size.
QHash<QString, QWidget*> buildControls(QWidget* client, std::span<const ControlSpec> entries);

} // namespace kaldora::forms
