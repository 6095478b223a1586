// One decoded column value of a Jet row, and the column description it came from.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace jet {

// Jet 4 column type codes, as stored in the table definition.
enum class ColumnType : std::uint8_t {
    Boolean = 0x01,
    Byte = 0x02,
    Integer = 0x03,
    Long = 0x04,
    Currency = 0x05,
    Single = 0x06,
    Double = 0x07,
    DateTime = 0x08,
    Binary = 0x09,
    Text = 0x0A,
    Ole = 0x0B,
    Memo = 0x0C,
    Guid = 0x0F,
    Numeric = 0x10,
    Complex = 0x12,
};

struct Column {
    std::string name;  // UTF-8
    ColumnType type = ColumnType::Text;
    std::uint8_t precision = 0;  // Numeric only
    std::uint8_t scale = 0;      // Numeric only
    std::uint16_t length = 0;    // declared size in bytes (text: 2 per character)
};

// A value as read from the file. Integers of every width are widened to
// int64; Single and DateTime are held as the double they convert to, with
// the original type kept in `type`. Currency keeps its exact 1/10000 count;
// Numeric keeps its exact digits.
class Value {
public:
    enum class Kind { Null, Boolean, Integer, Currency, Float, Text, Binary, Numeric, Guid };

    Kind kind = Kind::Null;
    ColumnType type = ColumnType::Text;
    bool boolean = false;
    std::int64_t integer = 0;      // Boolean/Byte/Integer/Long; Currency: units of 1/10000
    double real = 0.0;             // Single, Double, DateTime
    std::u16string text;           // Text, Memo; Guid as "{XXXXXXXX-...}"
    std::vector<std::uint8_t> bytes;  // Binary, Ole
    std::string numeric;           // Numeric: exact decimal text, e.g. "-12.34"

    bool isNull() const { return kind == Kind::Null; }
    // The value as a double: numbers convert (Currency, Numeric exactly rounded),
    // null gives 0. Text and binary give 0.
    double toDouble() const;
    // The value as wide text: text as stored; null gives "".
    std::u16string toText() const;
};

}  // namespace jet
