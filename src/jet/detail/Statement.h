// The one statement form the engine runs:
//   select * from <table> [where <column> like <parameter>]
// with keywords in any case, any white space, names optionally in [brackets],
// and the parameter written as "?" or ":name" (bound by position).
#pragma once

#include <string>
#include <string_view>

namespace jet::detail {

struct Statement {
    std::string table;
    std::string column;  // empty: no condition
    bool hasCondition() const { return !column.empty(); }

    // Throws Error(InvalidArgument) naming what was expected where.
    static Statement parse(std::string_view text);
};

}  // namespace jet::detail
