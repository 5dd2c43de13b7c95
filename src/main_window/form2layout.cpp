#include "main_window/form2layout.h"

#include <array>

namespace kaldora::main_window {

namespace {

using forms::Align;
using forms::Colour;
using forms::ControlKind;
using forms::ControlSpec;
using forms::FontSpec;

constexpr FontSpec k975{9.75};
constexpr FontSpec k975Bold{9.75, true};
constexpr FontSpec k975Underlined{9.75, false, true};
constexpr FontSpec k12Bold{12, true};
constexpr FontSpec k135Bold{13.5, true};
constexpr FontSpec k18Bold{18, true};

constexpr Align kLeft = Align::Left;
constexpr Align kCentre = Align::Center;

// Frames and shaded labels carry the active-border colour, plain labels the
// button face, text boxes the window colour or the colour of their zone.
constexpr Colour kShaded = Colour::ActiveBorder;
constexpr Colour kPlain = Colour::ButtonFace;
constexpr Colour kBox = Colour::Window;
constexpr Colour kGreen = Colour::Green;
constexpr Colour kBlue = Colour::Blue;
constexpr Colour kRed = Colour::Red;

constexpr int kNoTab = -1;
constexpr const char* kClient = nullptr;

// Left, top, width and height in twips.
struct Twips {
    int left, top, width, height;
};

constexpr ControlSpec entry(const char* name, ControlKind kind, const char* caption, Twips t,
                            FontSpec font, Align align, Colour colour, int tab = kNoTab,
                            const char* parent = kClient, int index = -1)
{
    ControlSpec s{name, kind, caption, t.left, t.top, t.width, t.height, font};
    s.align = align;
    s.background = colour;
    s.tabIndex = tab;
    s.parent = parent;
    s.index = index;
    return s;
}

// The three input frames share their left edge, width and caption font.
constexpr ControlSpec frame(const char* name, const char* caption, int top, int height)
{
    return entry(name, ControlKind::Frame, caption, {0, top, 6735, height}, k12Bold, kLeft,
                 kShaded);
}

constexpr ControlSpec label(const char* name, const char* caption, Twips t, FontSpec font,
                            Align align, Colour colour, const char* parent = kClient,
                            int index = -1)
{
    return entry(name, ControlKind::Label, caption, t, font, align, colour, kNoTab, parent, index);
}

// Text boxes show their text centred.
constexpr ControlSpec box(const char* name, Twips t, FontSpec font, Colour colour, int tab,
                          const char* parent = kClient)
{
    return entry(name, ControlKind::TextBox, nullptr, t, font, kCentre, colour, tab, parent);
}

constexpr ControlSpec combo(const char* name, Twips t, FontSpec font, int tab)
{
    return entry(name, ControlKind::ComboBox, nullptr, t, font, kLeft, Colour::Default, tab,
                 "Frame3");
}

constexpr ControlSpec picker(const char* name, Twips t, int tab, const char* parent)
{
    return entry(name, ControlKind::DatePicker, nullptr, t, k12Bold, kLeft, Colour::Default, tab,
                 parent);
}

// Both buttons stand at the same height and have the same size and font.
constexpr ControlSpec button(const char* name, const char* caption, int left, int tab)
{
    return entry(name, ControlKind::Button, caption, {left, 8760, 3255, 1095}, k18Bold, kCentre,
                 Colour::Default, tab);
}

// Summary captions are left-aligned, shaded, and stand 120 twips lower than
// their boxes.
constexpr ControlSpec summaryCaption(int index, const char* caption, int top)
{
    return label("Label20", caption, {6840, top, 5895, 495}, k135Bold, kLeft, kShaded, kClient,
                 index);
}

constexpr ControlSpec gridHeader(const char* name, const char* caption, int left)
{
    return label(name, caption, {left, 0, 1935, 495}, k135Bold, kCentre, kShaded);
}

constexpr ControlSpec rowLabel(const char* name, const char* caption, int top)
{
    return label(name, caption, {6840, top, 1455, 495}, k135Bold, kCentre, kShaded);
}

constexpr ControlSpec gridBox(const char* name, int left, int top, Colour zone, int tab)
{
    return box(name, {left, top, 1935, 495}, k12Bold, zone, tab);
}

constexpr int kQuantityColumn = 8520;
constexpr int kPriceColumn = 10800;
constexpr int kAmountColumn = 13080;

// The tab indexes give the keyboard order, which starts at the zone 3 M.T.
// amount, Text22, and ends at the number of days, Text32.
constexpr std::array kControls = {
    frame("Frame1", "NOVO STANJE", 120, 2295),
    frame("Frame2", "STARO STANJE", 2520, 2295),
    frame("Frame3", "VRSTA BROJILA I AMPERAZA", 4920, 1935),

    // The new reading.
    label("Label1", "V.T:", {120, 720, 1335, 375}, k18Bold, kCentre, kPlain, "Frame1"),
    box("Text1", {1560, 720, 1935, 375}, k12Bold, kBox, 24, "Frame1"),
    label("Label2", "M.T:", {120, 1320, 1335, 375}, k18Bold, kCentre, kPlain, "Frame1"),
    box("Text2", {1560, 1320, 1935, 375}, k12Bold, kBox, 23, "Frame1"),
    label("Label3", "DATUM OCITAVANJA:", {3600, 720, 2895, 375}, k975Bold, kCentre, kPlain,
          "Frame1"),
    picker("DTPicker1", {3720, 1320, 2655, 375}, 31, "Frame1"),

    // The previous reading. Label4's caption is wider than the label and
    // wraps onto a second line.
    label("Label6", "V.T:", {120, 720, 1335, 375}, k18Bold, kCentre, kPlain, "Frame2"),
    box("Text4", {1560, 720, 1935, 375}, k12Bold, kBox, 21, "Frame2"),
    label("Label5", "M.T:", {120, 1320, 1335, 375}, k18Bold, kCentre, kPlain, "Frame2"),
    box("Text5", {1560, 1320, 1935, 375}, k12Bold, kBox, 22, "Frame2"),
    label("Label4", "DATUM PRETHODNOG OCITAVANJA:", {3600, 480, 3015, 615}, k975Bold, kCentre,
          kPlain, "Frame2"),
    picker("DTPicker2", {3720, 1320, 2775, 375}, 32, "Frame2"),

    // The meter: type and amperage, each echoed by the label beside it.
    label("Label7", "VRSTA BROJILA:", {120, 480, 1815, 375}, k975, kLeft, kPlain, "Frame3"),
    combo("Combo1", {2280, 360, 1935, 360}, k975Bold, 20),
    label("Label18", "VRSTA BROJILA", {4440, 360, 2055, 375}, k975, kCentre, kPlain, "Frame3"),
    label("Label8", "AMPERAZA:", {120, 840, 1815, 375}, k975, kLeft, kPlain, "Frame3"),
    combo("Combo2", {2280, 840, 1935, 420}, k12Bold, 19),
    label("Label19", "AMPERAZA", {4440, 840, 2055, 375}, k975, kCentre, kPlain, "Frame3"),

    // Results grid: quantity, price and amount of each zone and tariff. The
    // zone shows only in the colour of the boxes; the row labels name the
    // tariff.
    gridHeader("Label15", "kWh", kQuantityColumn),
    gridHeader("Label16", "Din/kWh", kPriceColumn),
    gridHeader("Label17", "UKUPNO DIN", kAmountColumn),
    rowLabel("Label9", "V.T:", 600),
    rowLabel("Label10", "M.T:", 1200),
    rowLabel("Label11", "V.T:", 1920),
    rowLabel("Label12", "M.T:", 2520),
    rowLabel("Label13", "V.T:", 3240),
    rowLabel("Label14", "M.T:", 3840),
    gridBox("Text3", kQuantityColumn, 600, kGreen, 17),
    gridBox("Text11", kPriceColumn, 600, kGreen, 11),
    gridBox("Text17", kAmountColumn, 600, kGreen, 5),
    gridBox("Text6", kQuantityColumn, 1200, kGreen, 16),
    gridBox("Text12", kPriceColumn, 1200, kGreen, 10),
    gridBox("Text18", kAmountColumn, 1200, kGreen, 4),
    gridBox("Text7", kQuantityColumn, 1920, kBlue, 15),
    gridBox("Text13", kPriceColumn, 1920, kBlue, 9),
    gridBox("Text19", kAmountColumn, 1920, kBlue, 3),
    gridBox("Text8", kQuantityColumn, 2520, kBlue, 14),
    gridBox("Text14", kPriceColumn, 2520, kBlue, 8),
    gridBox("Text20", kAmountColumn, 2520, kBlue, 2),
    gridBox("Text9", kQuantityColumn, 3240, kRed, 13),
    gridBox("Text15", kPriceColumn, 3240, kRed, 7),
    gridBox("Text21", kAmountColumn, 3240, kRed, 1),
    gridBox("Text10", kQuantityColumn, 3840, kRed, 12),
    gridBox("Text16", kPriceColumn, 3840, kRed, 6),
    gridBox("Text22", kAmountColumn, 3840, kRed, 0),

    // Summary of charges.
    summaryCaption(0, "UTROSENA ELEKTRICNA ENERGIJA:", 4560),
    summaryCaption(1, "NAKNADA ZA MERNO MESTO:", 5160),
    summaryCaption(2, "OBRACUNSKA SNAGA BROJILA:", 5760),
    summaryCaption(3, "UKUPNO ZADUZENJE BEZ PDV-a:", 6360),
    summaryCaption(4, "PDV 18 %:", 6960),
    summaryCaption(5, "UKUPNO ZADUZENJE SA PDV-om:", 7560),
    box("Text23", {kAmountColumn, 4440, 1935, 495}, k12Bold, kBox, 25),
    box("Text24", {kAmountColumn, 5040, 1935, 495}, k12Bold, kBox, 26),
    box("Text25", {kAmountColumn, 5640, 1935, 495}, k12Bold, kBox, 27),
    box("Text26", {kAmountColumn, 6240, 1935, 495}, k12Bold, kBox, 28),
    box("Text27", {kAmountColumn, 6840, 1935, 495}, k12Bold, kBox, 29),
    box("Text28", {kAmountColumn, 7440, 1935, 495}, k12Bold, kBox, 30),

    // Consumption summary under the frames; a line sets the total off like
    // a sum line.
    label("Label21", "V.T:", {120, 6960, 855, 495}, k135Bold, kCentre, kPlain),
    box("Text29", {1200, 6960, 2055, 495}, k135Bold, kBox, 34),
    label("Label26", "kWh", {3360, 6960, 855, 495}, k135Bold, kCentre, kPlain),
    label("Label22", "M.T:", {120, 7560, 855, 495}, k135Bold, kCentre, kPlain),
    box("Text30", {1200, 7560, 2055, 495}, k135Bold, kBox, 35),
    label("Label25", "kWh", {3360, 7560, 855, 495}, k135Bold, kCentre, kPlain),
    // A line runs from (left, top) to (width, height).
    entry("Line1", ControlKind::Line, nullptr, {120, 8160, 3720, 8160}, FontSpec{}, kLeft,
          Colour::WindowText),
    label("Label23", "UKUPNO:", {120, 8280, 855, 495}, k975Underlined, kLeft, kPlain),
    box("Text31", {1200, 8280, 2055, 495}, k135Bold, kBox, 36),
    label("Label27", "kWh", {3360, 8280, 855, 495}, k135Bold, kCentre, kPlain),
    label("Label24", "DANA:", {120, 8880, 855, 495}, k975Underlined, kLeft, kPlain),
    box("Text32", {1200, 8880, 2055, 495}, k135Bold, kBox, 37),
    label("Label28", "DANA", {3360, 8880, 855, 495}, k135Bold, kCentre, kPlain),

    // Neither button is the default (Enter) or the cancel (Escape) button.
    button("Command1", "OBRACUNAJ", 8280, 33),
    button("Command2", "IZLAZ", 11880, 18),
};

// No item has a shortcut or an access key, so no caption holds an '&'.
constexpr std::array kMenus = {
    MenuItemSpec{"PRVI", "GLAVNA OPCIJA", "DRU", "OBRACUNAJ"},
    MenuItemSpec{"PRVI", "GLAVNA OPCIJA", "CEN", "PROMENI CENOVNIK"},
    MenuItemSpec{"PRVI", "GLAVNA OPCIJA", "I", "IZLAZ"},
    MenuItemSpec{"F", "POMOC", "TRECE", "O PROGRAMU"},
    MenuItemSpec{"F", "POMOC", "O", "OBAVESTENJE"},
};

} // namespace

std::span<const forms::ControlSpec> form2Controls()
{
    return kControls;
}

std::span<const MenuItemSpec> form2Menus()
{
    return kMenus;
}

} // namespace kaldora::main_window
