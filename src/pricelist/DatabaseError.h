// The failure every price-list operation reports: its what() is the UTF-8 text
// the error box shows, already in its final form (component prefix added,
// the engine's trailing punctuation removed).
#pragma once

#include <QString>
#include <optional>
#include <stdexcept>

#include "jet/Error.h"

namespace dorvak {

class DatabaseError : public std::runtime_error {
public:
    explicit DatabaseError(const QString& message);

    // "<component>: <message>", the form the program uses for errors raised by
    // one of its own data components (the query, a field, a parameter).
    static DatabaseError forComponent(const QString& componentName, const QString& message);
    // The engine's own text without trailing blanks, control characters and
    // full stops, so the error box can add its single full stop.
    static DatabaseError fromEngine(const jet::Error& engineError);

    QString message() const;
    // The engine's category when the engine raised the failure.
    std::optional<jet::ErrorCategory> engineCategory() const { return engineCategory_; }

private:
    std::optional<jet::ErrorCategory> engineCategory_;
};

}  // namespace dorvak
