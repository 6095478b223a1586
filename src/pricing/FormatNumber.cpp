#include "pricing/FormatNumber.h"

#include "pricing/NumberText.h"

namespace dorvak {

std::string FormatNumber(int Mode, int Decimals, double Value) {
    std::string picture;
    if (Decimals <= 0) {
        picture = "#0";
    } else {
        picture.assign(static_cast<std::size_t>(Decimals), '0');
        if (Mode == 1) picture.insert(0, "#########0.");
        if (Mode == 2) picture.insert(0, "####,###,##0.");
    }
    return FormatFloat(picture, Value);
}

}  // namespace dorvak
