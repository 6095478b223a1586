// The two percentages the price rules need for the whole run, in percent
// (10 means ten per cent). Both start at 0; PriceRules.h sets them.
#pragma once

namespace dorvak {

// The user's discount on the wholesale price. Any value is allowed: a
// negative discount raises the prices, one above 100 makes them negative.
extern double DiscountPercent;

// The VAT rate added to the discounted price.
extern double VatPercent;

}  // namespace dorvak
