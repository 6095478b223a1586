// The rules that load, change and save the two percentages and derive the
// shown prices from a list price. They take and give plain values and texts;
// the window reads its controls and writes the results back. None of them
// reports a failure: each falls back as described.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace dorvak {

// Reads "Rabat" and "PDV" of section "Postavke" in "Set.ini" into
// DiscountPercent and VatPercent, each becoming 0 on its own when missing,
// malformed or outside the range of a double. Returns DiscountPercent in
// the general float format, the discount box's new text.
std::string LoadPercentSettings();

// Parses the discount box's text into DiscountPercent and saves the text,
// exactly as typed, under "Rabat". Returns nullopt when both succeed. On any
// failure DiscountPercent becomes 0, the file keeps its previous content and
// the result is "0", the box's new text.
std::optional<std::string> CommitDiscount(const std::string& boxText);

// Derives from listPrice the net price (less DiscountPercent) and the retail
// price (net plus VatPercent, computed again from listPrice), in extended
// precision, and hands each to FormatNumber(1, 2, ...). setNet receives its
// text before the retail price is computed. A failure (a result too large
// for a double, or a throwing callback) is swallowed and the callbacks not
// yet called are not called.
void UpdatePrices(double listPrice, const std::function<void(const std::string&)>& setNet,
                  const std::function<void(const std::string&)>& setRetail);

}  // namespace dorvak
