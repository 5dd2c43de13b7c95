#pragma once

#include "price_list/pricetable.h"

namespace kaldora::price_list {

// What the price-list window hands its six texts to when the price list is
// applied: the main window's price fields Text11 to Text16. The texts come
// in row order and are written unchanged, without any conversion.
class PriceTarget {
public:
    virtual ~PriceTarget() = default;
    virtual void setPriceTexts(const PriceTexts& texts) = 0;
};

} // namespace kaldora::price_list
