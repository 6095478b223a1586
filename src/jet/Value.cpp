#include "jet/Value.h"

namespace jet {

double Value::toDouble() const {
    switch (kind) {
        case Kind::Boolean: return boolean ? -1.0 : 0.0;
        case Kind::Integer: return static_cast<double>(integer);
        case Kind::Currency: return static_cast<double>(integer) / 10000.0;
        case Kind::Float: return real;
        default: return 0.0;
    }
}

std::u16string Value::toText() const { return kind == Kind::Text ? text : std::u16string(); }

}  // namespace jet
