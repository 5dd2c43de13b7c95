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

// A reading: its tariff's caption and its box, in the frame of the new or of
// the previous reading.
constexpr ControlSpec readingCaption(const char* name, const char* caption, int top,
                                     const char* frame, const char* box)
{
    return forms::caption(name, -1, caption, {120, top, 1335, 375}, k18Bold, kCentre, kPlain, frame,
                          box);
}

constexpr ControlSpec readingBox(const char* name, int top, int tab, const char* frame,
                                 const char* accessibleName)
{
    return textBox(name, {1560, top, 1935, 375}, k12Bold, kBox, tab, frame, accessibleName);
}

constexpr ControlSpec dateCaption(const char* name, const char* caption, Twips place,
                                  const char* frame, const char* picker)
{
    return forms::caption(name, -1, caption, place, k975Bold, kCentre, kPlain, frame, picker);
}

constexpr ControlSpec picker(const char* name, Twips place, int tab, const char* frame,
                             const char* accessibleName)
{
    return forms::entry(name, ControlKind::DatePicker, nullptr, place, k12Bold, kLeft,
                        Colour::Default, tab, frame, -1, accessibleName);
}

// The meter: a caption, a combo box and the label that echoes its pick.
constexpr ControlSpec meterCaption(const char* name, const char* caption, int top,
                                   const char* combo)
{
    return forms::caption(name, -1, caption, {120, top, 1815, 375}, k975, kLeft, kPlain, "Frame3",
                          combo);
}

constexpr ControlSpec combo(const char* name, Twips place, FontSpec font, int tab,
                            const char* accessibleName)
{
    return forms::entry(name, ControlKind::ComboBox, nullptr, place, font, kLeft, Colour::Default,
                        tab, "Frame3", -1, accessibleName);
}

constexpr ControlSpec echo(const char* name, const char* caption, int top)
{
    return label(name, caption, {4440, top, 2055, 375}, k975, kCentre, kPlain, "Frame3");
}

// Both buttons stand at the same height and have the same size and font.
constexpr ControlSpec button(const char* name, const char* caption, int left, int tab)
{
    return forms::button(name, caption, {left, 8760, 3255, 1095}, k18Bold, tab);
}

constexpr int kQuantityColumn = 8520;
constexpr int kPriceColumn = 10800;
constexpr int kAmountColumn = 13080;

// Summary captions are left-aligned, shaded, and stand 120 twips lower than
// their boxes; the boxes stand in the amount column.
constexpr ControlSpec summaryCaption(int index, const char* caption, int top, const char* box)
{
    return forms::caption("Label20", index, caption, {6840, top, 5895, 495}, k135Bold, kLeft,
                          kShaded, kClientArea, box);
}

constexpr ControlSpec summaryBox(const char* name, int top, int tab, const char* accessibleName)
{
    return textBox(name, {kAmountColumn, top, 1935, 495}, k12Bold, kBox, tab, kClientArea,
                   accessibleName);
}

constexpr ControlSpec gridHeader(const char* name, const char* caption, int left)
{
    return label(name, caption, {left, 0, 1935, 495}, k135Bold, kCentre, kShaded);
}

constexpr ControlSpec rowLabel(const char* name, const char* caption, int top)
{
    return label(name, caption, {6840, top, 1455, 495}, k135Bold, kCentre, kShaded);
}

// A grid box is named after its zone, its tariff and its column's header.
constexpr ControlSpec gridBox(const char* name, int left, int top, Colour zone, int tab,
                              const char* accessibleName)
{
    return textBox(name, {left, top, 1935, 495}, k12Bold, zone, tab, kClientArea, accessibleName);
}

// The consumption summary: caption, box and unit of one row.
constexpr ControlSpec consumptionCaption(const char* name, const char* caption, int top,
                                         FontSpec font, Align align, const char* box)
{
    return forms::caption(name, -1, caption, {120, top, 855, 495}, font, align, kPlain, kClientArea,
                          box);
}

constexpr ControlSpec consumptionBox(const char* name, int top, int tab, const char* accessibleName)
{
    return textBox(name, {1200, top, 2055, 495}, k135Bold, kBox, tab, kClientArea, accessibleName);
}

constexpr ControlSpec unitLabel(const char* name, const char* unit, int top)
{
    return label(name, unit, {3360, top, 855, 495}, k135Bold, kCentre, kPlain);
}

// The tab indexes give the keyboard order, which starts at the zone 3 M.T.
// amount, Text22, and ends at the number of days, Text32. The last column
// is what a screen reader calls a box, or the control a label captions.
// clang-format off
constexpr std::array kControls = {
    frame("Frame1", "NOVO STANJE", 120, 2295),
    frame("Frame2", "STARO STANJE", 2520, 2295),
    frame("Frame3", "VRSTA BROJILA I AMPERAZA", 4920, 1935),

    // The new reading.
    readingCaption("Label1", "V.T:", 720, "Frame1", "Text1"),
    readingBox("Text1", 720, 24, "Frame1", "NOVO STANJE V.T."),
    readingCaption("Label2", "M.T:", 1320, "Frame1", "Text2"),
    readingBox("Text2", 1320, 23, "Frame1", "NOVO STANJE M.T."),
    dateCaption("Label3", "DATUM OCITAVANJA:", {3600, 720, 2895, 375}, "Frame1", "DTPicker1"),
    picker("DTPicker1", {3720, 1320, 2655, 375}, 31, "Frame1", "DATUM OCITAVANJA"),

    // The previous reading. Label4's caption is wider than the label and
    // wraps onto a second line.
    readingCaption("Label6", "V.T:", 720, "Frame2", "Text4"),
    readingBox("Text4", 720, 21, "Frame2", "STARO STANJE V.T."),
    readingCaption("Label5", "M.T:", 1320, "Frame2", "Text5"),
    readingBox("Text5", 1320, 22, "Frame2", "STARO STANJE M.T."),
    dateCaption("Label4", "DATUM PRETHODNOG OCITAVANJA:", {3600, 480, 3015, 615}, "Frame2", "DTPicker2"),
    picker("DTPicker2", {3720, 1320, 2775, 375}, 32, "Frame2", "DATUM PRETHODNOG OCITAVANJA"),

    // The meter: type and amperage, each echoed by the label beside it.
    meterCaption("Label7", "VRSTA BROJILA:", 480, "Combo1"),
    combo("Combo1", {2280, 360, 1935, 360}, k975Bold, 20, "VRSTA BROJILA"),
    echo("Label18", "VRSTA BROJILA", 360),
    meterCaption("Label8", "AMPERAZA:", 840, "Combo2"),
    combo("Combo2", {2280, 840, 1935, 420}, k12Bold, 19, "AMPERAZA"),
    echo("Label19", "AMPERAZA", 840),

    // Results grid: quantity, price and amount of each zone and tariff. The
    // zone shows only in the colour of the boxes; the row labels name the
    // tariff. A screen reader names the zone by its number.
    gridHeader("Label15", "kWh", kQuantityColumn),
    gridHeader("Label16", "Din/kWh", kPriceColumn),
    gridHeader("Label17", "UKUPNO DIN", kAmountColumn),
    rowLabel("Label9", "V.T:", 600),
    rowLabel("Label10", "M.T:", 1200),
    rowLabel("Label11", "V.T:", 1920),
    rowLabel("Label12", "M.T:", 2520),
    rowLabel("Label13", "V.T:", 3240),
    rowLabel("Label14", "M.T:", 3840),
    gridBox("Text3", kQuantityColumn, 600, kGreen, 17, "ZONA 1 V.T. kWh"),
    gridBox("Text11", kPriceColumn, 600, kGreen, 11, "ZONA 1 V.T. Din/kWh"),
    gridBox("Text17", kAmountColumn, 600, kGreen, 5, "ZONA 1 V.T. UKUPNO DIN"),
    gridBox("Text6", kQuantityColumn, 1200, kGreen, 16, "ZONA 1 M.T. kWh"),
    gridBox("Text12", kPriceColumn, 1200, kGreen, 10, "ZONA 1 M.T. Din/kWh"),
    gridBox("Text18", kAmountColumn, 1200, kGreen, 4, "ZONA 1 M.T. UKUPNO DIN"),
    gridBox("Text7", kQuantityColumn, 1920, kBlue, 15, "ZONA 2 V.T. kWh"),
    gridBox("Text13", kPriceColumn, 1920, kBlue, 9, "ZONA 2 V.T. Din/kWh"),
    gridBox("Text19", kAmountColumn, 1920, kBlue, 3, "ZONA 2 V.T. UKUPNO DIN"),
    gridBox("Text8", kQuantityColumn, 2520, kBlue, 14, "ZONA 2 M.T. kWh"),
    gridBox("Text14", kPriceColumn, 2520, kBlue, 8, "ZONA 2 M.T. Din/kWh"),
    gridBox("Text20", kAmountColumn, 2520, kBlue, 2, "ZONA 2 M.T. UKUPNO DIN"),
    gridBox("Text9", kQuantityColumn, 3240, kRed, 13, "ZONA 3 V.T. kWh"),
    gridBox("Text15", kPriceColumn, 3240, kRed, 7, "ZONA 3 V.T. Din/kWh"),
    gridBox("Text21", kAmountColumn, 3240, kRed, 1, "ZONA 3 V.T. UKUPNO DIN"),
    gridBox("Text10", kQuantityColumn, 3840, kRed, 12, "ZONA 3 M.T. kWh"),
    gridBox("Text16", kPriceColumn, 3840, kRed, 6, "ZONA 3 M.T. Din/kWh"),
    gridBox("Text22", kAmountColumn, 3840, kRed, 0, "ZONA 3 M.T. UKUPNO DIN"),

    // Summary of charges.
    summaryCaption(0, "UTROSENA ELEKTRICNA ENERGIJA:", 4560, "Text23"),
    summaryCaption(1, "NAKNADA ZA MERNO MESTO:", 5160, "Text24"),
    summaryCaption(2, "OBRACUNSKA SNAGA BROJILA:", 5760, "Text25"),
    summaryCaption(3, "UKUPNO ZADUZENJE BEZ PDV-a:", 6360, "Text26"),
    summaryCaption(4, "PDV 18 %:", 6960, "Text27"),
    summaryCaption(5, "UKUPNO ZADUZENJE SA PDV-om:", 7560, "Text28"),
    summaryBox("Text23", 4440, 25, "UTROSENA ELEKTRICNA ENERGIJA"),
    summaryBox("Text24", 5040, 26, "NAKNADA ZA MERNO MESTO"),
    summaryBox("Text25", 5640, 27, "OBRACUNSKA SNAGA BROJILA"),
    summaryBox("Text26", 6240, 28, "UKUPNO ZADUZENJE BEZ PDV-a"),
    summaryBox("Text27", 6840, 29, "PDV 18 %"),
    summaryBox("Text28", 7440, 30, "UKUPNO ZADUZENJE SA PDV-om"),

    // Consumption summary under the frames; a line sets the total off like
    // a sum line.
    consumptionCaption("Label21", "V.T:", 6960, k135Bold, kCentre, "Text29"),
    consumptionBox("Text29", 6960, 34, "V.T. kWh"),
    unitLabel("Label26", "kWh", 6960),
    consumptionCaption("Label22", "M.T:", 7560, k135Bold, kCentre, "Text30"),
    consumptionBox("Text30", 7560, 35, "M.T. kWh"),
    unitLabel("Label25", "kWh", 7560),
    forms::line("Line1", -1, {120, 8160}, {3720, 8160}, Colour::WindowText, 1),
    consumptionCaption("Label23", "UKUPNO:", 8280, k975Underlined, kLeft, "Text31"),
    consumptionBox("Text31", 8280, 36, "UKUPNO kWh"),
    unitLabel("Label27", "kWh", 8280),
    consumptionCaption("Label24", "DANA:", 8880, k975Underlined, kLeft, "Text32"),
    consumptionBox("Text32", 8880, 37, "DANA"),
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
