// The price rules never bother the user with a message: a figure they cannot
// produce falls back to 0 or stays as it was, and the window goes on.

#include "pricing/PriceRules.h"

#include "pricing/FormatNumber.h"
#include "pricing/NumberText.h"
#include "pricing/Percentages.h"
#include "settings/IniFile.h"

#include <cmath>
#include <stdexcept>

namespace dorvak {

namespace {

const char* const kSection = "Postavke";
const char* const kFile = "Set.ini";

double LoadPercent(const char* key) {
    try {
        return ParseDouble(ReadIniValue(kSection, key, kFile));
    } catch (...) {
        return 0;
    }
}

// Handing an extended result to FormatNumber narrows it; a result beyond
// the range of a double (or no number at all) fails the step instead of
// printing "INF" in a price label.
double Narrow(long double value) {
    double narrowed = static_cast<double>(value);
    if (!std::isfinite(narrowed)) throw std::overflow_error("Floating point overflow");
    return narrowed;
}

}  // namespace

std::string LoadPercentSettings() {
    DiscountPercent = LoadPercent("Rabat");
    VatPercent = LoadPercent("PDV");
    return FormatGeneral(DiscountPercent);
}

std::optional<std::string> CommitDiscount(const std::string& boxText) {
    try {
        DiscountPercent = ParseDouble(boxText);
        WriteIniValue(kSection, "Rabat", boxText, kFile);
        return std::nullopt;
    } catch (...) {
        DiscountPercent = 0;
        return std::string("0");
    }
}

void UpdatePrices(double listPrice, const std::function<void(const std::string&)>& setNet,
                  const std::function<void(const std::string&)>& setRetail) {
    try {
        const long double price = listPrice;
        const long double discount = DiscountPercent;
        const long double vat = VatPercent;
        const long double net = price * (1 - discount / 100);
        if (setNet) setNet(FormatNumber(1, 2, Narrow(net)));
        // From the list price again, not from the rounded net text.
        const long double retail = price * (1 - discount / 100) * (vat / 100 + 1);
        if (setRetail) setRetail(FormatNumber(1, 2, Narrow(retail)));
    } catch (...) {
    }
}

}  // namespace dorvak
