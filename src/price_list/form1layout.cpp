#include "price_list/form1layout.h"

#include "forms/layoutentries.h"

namespace kaldora::price_list {

namespace {

using forms::Align;
using forms::Colour;
using forms::ControlSpec;
using forms::FontSpec;

constexpr FontSpec kCaptionFont{13.5, true};
constexpr FontSpec kPriceFont{12.0, true};
constexpr FontSpec kButtonFont{8.25, false};

constexpr int kLabelLeft = 7080;
constexpr int kLabelWidth = 1455;
constexpr int kFieldLeft = 8760;
constexpr int kFieldWidth = 1935;
constexpr int kRowHeight = 495;

// The column header and the row labels are shaded, as in the main window.
constexpr ControlSpec header(const char* name, const char* caption)
{
    return forms::label(name, caption, {kFieldLeft, 0, kFieldWidth, kRowHeight}, kCaptionFont,
                        Align::Center, Colour::ActiveBorder);
}

constexpr ControlSpec rowLabel(const char* name, const char* caption, int top)
{
    return forms::label(name, caption, {kLabelLeft, top, kLabelWidth, kRowHeight}, kCaptionFont,
                        Align::Center, Colour::ActiveBorder);
}

constexpr ControlSpec priceBox(const char* name, int top, Colour zone, int tab)
{
    return forms::textBox(name, {kFieldLeft, top, kFieldWidth, kRowHeight}, kPriceFont, zone, tab);
}

// The price column of the main window's grid, with the same names, so that
// one number names one price in both windows.
// clang-format off
constexpr ControlSpec kControls[] = {
    header("Label16", "Din/kWh"),
    rowLabel("Label9", "V.T:", 600),
    rowLabel("Label10", "M.T:", 1200),
    rowLabel("Label11", "V.T:", 1920),
    rowLabel("Label12", "M.T:", 2520),
    rowLabel("Label13", "V.T:", 3240),
    rowLabel("Label14", "M.T:", 3840),
    priceBox("Text11", 600, Colour::Green, 0),
    priceBox("Text12", 1200, Colour::Green, 1),
    priceBox("Text13", 1920, Colour::Blue, 2),
    priceBox("Text14", 2520, Colour::Blue, 3),
    priceBox("Text15", 3240, Colour::Red, 4),
    priceBox("Text16", 3840, Colour::Red, 5),
    forms::button("Command1", "PROMENI CENOVNIK", {960, 1680, 3855, 1095}, kButtonFont, 6),
};
// clang-format on

constexpr DataControlSpec kAdodc1{"Adodc1", "Adodc1", 840, 4440, 3615, 735, kButtonFont};

} // namespace

std::span<const ControlSpec> Form1Layout::controls()
{
    return kControls;
}

const DataControlSpec& Form1Layout::dataControl()
{
    return kAdodc1;
}

} // namespace kaldora::price_list
