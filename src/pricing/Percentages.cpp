#include "pricing/Percentages.h"

namespace dorvak {

double DiscountPercent = 0;
double VatPercent = 0;

}  // namespace dorvak
