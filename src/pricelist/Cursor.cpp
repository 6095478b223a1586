#include "pricelist/Cursor.h"

namespace dorvak {

bool Cursor::open(std::size_t rowCount) {
    open_ = true;
    rowCount_ = rowCount;
    current_ = 0;
    bof_ = true;
    eof_ = rowCount == 0;
    return true;
}

void Cursor::close() { *this = Cursor(); }

void Cursor::markEmpty() {
    current_ = 0;
    bof_ = true;
    eof_ = true;
}

bool Cursor::moveBy(long long distance) {
    if (!open_ || distance == 0) return false;
    if (distance > 0 && eof_) return false;
    if (distance < 0 && bof_) return false;
    bof_ = false;
    eof_ = false;
    if (rowCount_ == 0) {
        markEmpty();
        return true;
    }
    // The marks are set only when the move asked for more rows than there
    // were; landing exactly on the first or last row leaves them clear, so
    // the next move in that direction is still carried out (and notifies).
    if (distance > 0) {
        const std::size_t room = rowCount_ - 1 - current_;
        if (static_cast<unsigned long long>(distance) > room) {
            current_ = rowCount_ - 1;
            eof_ = true;
        } else {
            current_ += static_cast<std::size_t>(distance);
        }
    } else {
        const unsigned long long back = 0ULL - static_cast<unsigned long long>(distance);
        if (back > current_) {
            current_ = 0;
            bof_ = true;
        } else {
            current_ -= static_cast<std::size_t>(back);
        }
    }
    return true;
}

bool Cursor::first() {
    if (!open_) return false;
    current_ = 0;
    bof_ = true;
    eof_ = rowCount_ == 0;
    return true;
}

bool Cursor::last() {
    if (!open_) return false;
    current_ = rowCount_ == 0 ? 0 : rowCount_ - 1;
    eof_ = true;
    bof_ = rowCount_ == 0;
    return true;
}

bool Cursor::setRecNo(long long recNo) {
    if (!hasCurrent()) return false;
    if (recNo < 1 || static_cast<unsigned long long>(recNo) > rowCount_) return false;
    if (recNo == this->recNo()) return false;
    current_ = static_cast<std::size_t>(recNo - 1);
    bof_ = false;
    eof_ = false;
    return true;
}

bool Cursor::removeCurrent() {
    if (!hasCurrent()) return false;
    --rowCount_;
    bof_ = false;
    eof_ = false;
    if (rowCount_ == 0) {
        markEmpty();
    } else if (current_ >= rowCount_) {
        current_ = rowCount_ - 1;
    }
    return true;
}

}  // namespace dorvak
