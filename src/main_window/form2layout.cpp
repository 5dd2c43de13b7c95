#include "main_window/form2layout.h"

#include "forms/layoutentries.h"

#include <array>

namespace kaldora::main_window {

namespace {

using forms::Align;
using forms::Colour;
using forms::ControlKind;
using forms::ControlSpec;
using forms::FontSpec;
using forms::kClientArea;
using forms::label;
using forms::textBox;
using forms::Twips;

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

// The three input frames share their left edge, width and caption font.
constexpr ControlSpec frame(const char* name, const char* caption, int top, int height)
{
    return forms::entry(name, ControlKind::Frame, caption, {0, top, 6735, height}, k12Bold, kLeft,
                        kShaded);
}

constexpr ControlSpec combo(const char* name, Twips place, FontSpec font, int tab)
{
    return forms::entry(name, ControlKind::ComboBox, nullptr, place, font, kLeft, Colour::Default,
                        tab, "Frame3");
}

constexpr ControlSpec picker(const char* name, Twips place, int tab, const char* parent)
{
    return forms::entry(name, ControlKind::DatePicker, nullptr, place, k12Bold, kLeft,
                        Colour::Default, tab, parent);
}

// Both buttons stand at the same height and have the same size and font.
constexpr ControlSpec button(const char* name, const char* caption, int left, int tab)
{
    return forms::button(name, caption, {left, 8760, 3255, 1095}, k18Bold, tab);
}

// Summary captions are left-aligned, shaded, and stand 120 twips lower than
// their boxes; the boxes stand in the amount column.
constexpr ControlSpec summaryCaption(int index, const char* caption, int top)
{
    return forms::entry("Label20", ControlKind::Label, caption, {6840, top, 5895, 495}, k135Bold,
                        kLeft, kShaded, forms::kNoTab, kClientArea, index);
}

constexpr int kQuantityColumn = 8520;
constexpr int kPriceColumn = 10800;
constexpr int kAmountColumn = 13080;

constexpr ControlSpec summaryBox(const char* name, int top, int tab)
{
    return textBox(name, {kAmountColumn, top, 1935, 495}, k12Bold, kBox, tab);
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
    return textBox(name, {left, top, 1935, 495}, k12Bold, zone, tab);
}

// The consumption summary: caption, box and unit of one row.
constexpr ControlSpec summaryRowCaption(const char* name, const char* caption, int top,
                                        FontSpec font, Align align)
{
    return label(name, caption, {120, top, 855, 495}, font, align, kPlain);
}

constexpr ControlSpec consumptionBox(const char* name, int top, int tab)
{
    return textBox(name, {1200, top, 2055, 495}, k135Bold, kBox, tab);
}

constexpr ControlSpec unitLabel(const char* name, const char* unit, int top)
{
    return label(name, unit, {3360, top, 855, 495}, k135Bold, kCentre, kPlain);
}

// The tab indexes give the keyboard order, which starts at the zone 3 M.T.
// amount, Text22, and ends at the number of days, Text32.
// clang-format off
constexpr std::array kControls = {
    frame("Frame1", "NOVO STANJE", 120, 2295),
    frame("Frame2", "STARO STANJE", 2520, 2295),
    frame("Frame3", "VRSTA BROJILA I AMPERAZA", 4920, 1935),

    // The new reading.
    label("Label1", "V.T:", {120, 720, 1335, 375}, k18Bold, kCentre, kPlain, "Frame1"),
    textBox("Text1", {1560, 720, 1935, 375}, k12Bold, kBox, 24, "Frame1"),
    label("Label2", "M.T:", {120, 1320, 1335, 375}, k18Bold, kCentre, kPlain, "Frame1"),
    textBox("Text2", {1560, 1320, 1935, 375}, k12Bold, kBox, 23, "Frame1"),
    label("Label3", "DATUM OCITAVANJA:", {3600, 720, 2895, 375}, k975Bold, kCentre, kPlain, "Frame1"),
    picker("DTPicker1", {3720, 1320, 2655, 375}, 31, "Frame1"),

    // The previous reading. Label4's caption is wider than the label and
    // wraps onto a second line.
    label("Label6", "V.T:", {120, 720, 1335, 375}, k18Bold, kCentre, kPlain, "Frame2"),
    textBox("Text4", {1560, 720, 1935, 375}, k12Bold, kBox, 21, "Frame2"),
    label("Label5", "M.T:", {120, 1320, 1335, 375}, k18Bold, kCentre, kPlain, "Frame2"),
    textBox("Text5", {1560, 1320, 1935, 375}, k12Bold, kBox, 22, "Frame2"),
    label("Label4", "DATUM PRETHODNOG OCITAVANJA:", {3600, 480, 3015, 615}, k975Bold, kCentre, kPlain, "Frame2"),
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
    summaryBox("Text23", 4440, 25),
    summaryBox("Text24", 5040, 26),
    summaryBox("Text25", 5640, 27),
    summaryBox("Text26", 6240, 28),
    summaryBox("Text27", 6840, 29),
    summaryBox("Text28", 7440, 30),

    // Consumption summary under the frames; a line sets the total off like
    // a sum line.
    summaryRowCaption("Label21", "V.T:", 6960, k135Bold, kCentre),
    consumptionBox("Text29", 6960, 34),
    unitLabel("Label26", "kWh", 6960),
    summaryRowCaption("Label22", "M.T:", 7560, k135Bold, kCentre),
    consumptionBox("Text30", 7560, 35),
    unitLabel("Label25", "kWh", 7560),
    forms::line("Line1", -1, {120, 8160}, {3720, 8160}, Colour::WindowText, 1),
    summaryRowCaption("Label23", "UKUPNO:", 8280, k975Underlined, kLeft),
    consumptionBox("Text31", 8280, 36),
    unitLabel("Label27", "kWh", 8280),
    summaryRowCaption("Label24", "DANA:", 8880, k975Underlined, kLeft),
    consumptionBox("Text32", 8880, 37),
    unitLabel("Label28", "DANA", 8880),

    // Neither button is the default (Enter) or the cancel (Escape) button.
    button("Command1", "OBRACUNAJ", 8280, 33),
    button("Command2", "IZLAZ", 11880, 18),
};
// clang-format on

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
