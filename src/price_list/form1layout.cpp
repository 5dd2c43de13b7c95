#include "price_list/form1layout.h"

namespace kaldora::price_list {

namespace {

using forms::Align;
using forms::Colour;
using forms::ControlKind;
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

// The price column of the main window's grid, with the same names, so that
// one number names one price in both windows.
constexpr ControlSpec kControls[] = {
    {"Label16", ControlKind::Label, "Din/kWh", kFieldLeft, 0, kFieldWidth, kRowHeight, kCaptionFont,
     Align::Center, Colour::ActiveBorder},
    {"Label9", ControlKind::Label, "V.T:", kLabelLeft, 600, kLabelWidth, kRowHeight, kCaptionFont,
     Align::Center, Colour::ActiveBorder},
    {"Label10", ControlKind::Label, "M.T:", kLabelLeft, 1200, kLabelWidth, kRowHeight, kCaptionFont,
     Align::Center, Colour::ActiveBorder},
    {"Label11", ControlKind::Label, "V.T:", kLabelLeft, 1920, kLabelWidth, kRowHeight, kCaptionFont,
     Align::Center, Colour::ActiveBorder},
    {"Label12", ControlKind::Label, "M.T:", kLabelLeft, 2520, kLabelWidth, kRowHeight, kCaptionFont,
     Align::Center, Colour::ActiveBorder},
    {"Label13", ControlKind::Label, "V.T:", kLabelLeft, 3240, kLabelWidth, kRowHeight, kCaptionFont,
     Align::Center, Colour::ActiveBorder},
    {"Label14", ControlKind::Label, "M.T:", kLabelLeft, 3840, kLabelWidth, kRowHeight, kCaptionFont,
     Align::Center, Colour::ActiveBorder},
    {"Text11", ControlKind::TextBox, "", kFieldLeft, 600, kFieldWidth, kRowHeight, kPriceFont,
     Align::Center, Colour::Green, 0},
    {"Text12", ControlKind::TextBox, "", kFieldLeft, 1200, kFieldWidth, kRowHeight, kPriceFont,
     Align::Center, Colour::Green, 1},
    {"Text13", ControlKind::TextBox, "", kFieldLeft, 1920, kFieldWidth, kRowHeight, kPriceFont,
     Align::Center, Colour::Blue, 2},
    {"Text14", ControlKind::TextBox, "", kFieldLeft, 2520, kFieldWidth, kRowHeight, kPriceFont,
     Align::Center, Colour::Blue, 3},
    {"Text15", ControlKind::TextBox, "", kFieldLeft, 3240, kFieldWidth, kRowHeight, kPriceFont,
     Align::Center, Colour::Red, 4},
    {"Text16", ControlKind::TextBox, "", kFieldLeft, 3840, kFieldWidth, kRowHeight, kPriceFont,
     Align::Center, Colour::Red, 5},
    {"Command1", ControlKind::Button, "PROMENI CENOVNIK", 960, 1680, 3855, 1095, kButtonFont,
     Align::Center, Colour::Default, 6},
};

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
