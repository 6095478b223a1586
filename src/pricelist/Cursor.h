// Where a result's cursor stands and which move requests it carries out.
// Kept apart from the query and free of Qt and of the engine so that the
// exact notification rules the price labels depend on can be checked on a
// bare row count.
#pragma once

#include <cstddef>

namespace dorvak {

class Cursor {
public:
    // A closed cursor: no rows, no current row, no marks.
    Cursor() = default;

    // Every mutator returns true when the request was carried out, which is
    // exactly when the data source must notify once.

    // A fresh result of `rowCount` rows: the first row current, at-beginning
    // set, at-end too when there are no rows. Always carried out.
    bool open(std::size_t rowCount);
    // Back to the closed state. Never notifies.
    void close();
    // Moves by `distance` rows. Refused for 0, for a forward move while at-end
    // and for a backward move while at-beginning; otherwise clears both marks,
    // moves as far as the rows allow and sets the mark of the end it ran into.
    bool moveBy(long long distance);
    // Always carried out on an open cursor, also when already there.
    bool first();
    bool last();
    // Goes to 1-based record number `recNo`. Carried out only when it differs
    // from the current one and lies in 1..rowCount().
    bool setRecNo(long long recNo);
    // The current row was removed from the rows: the one that followed it is
    // current, else the one before it, else none. Carried out when a row was
    // current.
    bool removeCurrent();

    bool isOpen() const { return open_; }
    std::size_t rowCount() const { return rowCount_; }
    bool hasCurrent() const { return open_ && rowCount_ > 0; }
    // 0-based current row; meaningful only when hasCurrent().
    std::size_t current() const { return current_; }
    // 1-based record number; 0 when there is no current row.
    long long recNo() const { return hasCurrent() ? static_cast<long long>(current_) + 1 : 0; }
    bool bof() const { return bof_; }
    bool eof() const { return eof_; }

private:
    void markEmpty();

    bool open_ = false;
    std::size_t rowCount_ = 0;
    std::size_t current_ = 0;
    bool bof_ = false;
    bool eof_ = false;
};

}  // namespace dorvak
