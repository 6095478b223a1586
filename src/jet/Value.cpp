#include "jet/Value.h"

#include <charconv>

namespace jet {

double Value::toDouble() const {
    switch (kind) {
        case Kind::Boolean: return boolean ? -1.0 : 0.0;
        case Kind::Integer: return static_cast<double>(integer);
        case Kind::Currency: return static_cast<double>(integer) / 10000.0;
        case Kind::Float: return real;
        case Kind::Numeric: {
            // from_chars rounds the exact digits once and, unlike strtod, does
            // not depend on the process locale's decimal separator.
            double d = 0.0;
            std::from_chars(numeric.data(), numeric.data() + numeric.size(), d);
            return d;
        }
        default: return 0.0;
    }
}

std::u16string Value::toText() const { return kind == Kind::Text ? text : std::u16string(); }

}  // namespace jet
