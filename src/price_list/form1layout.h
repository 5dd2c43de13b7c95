#pragma once

#include "forms/formlayout.h"

#include <span>

namespace kaldora::price_list {

// The data control Adodc1, which the layout builder does not make: the
// price-list window draws it as its navigation bar.
struct DataControlSpec {
    const char* name;
    const char* caption;
    int left, top, width, height;
    forms::FontSpec font;
};

// The layout of the price-list window Form1 as data, in twips.
class Form1Layout {
public:
    static constexpr const char* kCaption = "CENOVNIK";
    static constexpr int kClientWidth = 13020;
    static constexpr int kClientHeight = 6120;

    // Label16, Label9 to Label14, Text11 to Text16 and Command1.
    static std::span<const forms::ControlSpec> controls();
    static const DataControlSpec& dataControl();
};

} // namespace kaldora::price_list
