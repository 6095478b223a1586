// dorvak-db: the engine on the command line, for support work and for
// comparing what the engine reads with other readers of the format.
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "jet/Database.h"
#include "jet/Error.h"
#include "jet/ResultSet.h"
#include "jet/Value.h"

namespace {

std::string toUtf8(std::u16string_view s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        char32_t c = s[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (s[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c < 0xE000) {
            c = 0xFFFD;
        }
        if (c < 0x80) out += char(c);
        else if (c < 0x800) { out += char(0xC0 | (c >> 6)); out += char(0x80 | (c & 0x3F)); }
        else if (c < 0x10000) { out += char(0xE0 | (c >> 12)); out += char(0x80 | ((c >> 6) & 0x3F)); out += char(0x80 | (c & 0x3F)); }
        else { out += char(0xF0 | (c >> 18)); out += char(0x80 | ((c >> 12) & 0x3F)); out += char(0x80 | ((c >> 6) & 0x3F)); out += char(0x80 | (c & 0x3F)); }
    }
    return out;
}

std::u16string fromUtf8(std::string_view s) {
    std::u16string out;
    for (std::size_t i = 0; i < s.size();) {
        unsigned char c = s[i];
        char32_t cp = c;
        std::size_t n = 1;
        if ((c >> 5) == 6) { cp = c & 0x1F; n = 2; }
        else if ((c >> 4) == 14) { cp = c & 0x0F; n = 3; }
        else if ((c >> 3) == 30) { cp = c & 0x07; n = 4; }
        if (i + n > s.size()) break;
        for (std::size_t k = 1; k < n; ++k) cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
        i += n;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += char16_t(0xD800 + (cp >> 10));
            out += char16_t(0xDC00 + (cp & 0x3FF));
        } else {
            out += char16_t(cp);
        }
    }
    return out;
}

std::string escape(const std::string& s) {
    std::string out;
    out.reserve(s.size());
    for (char c : s) {
        switch (c) {
            case '\\': out += "\\\\"; break;
            case '\t': out += "\\t"; break;
            case '\r': out += "\\r"; break;
            case '\n': out += "\\n"; break;
            default: out += c;
        }
    }
    return out;
}

std::string shortest(double d) {
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, d);
    return std::string(buf, r.ptr);
}

// Exact decimal text of `units` / 10^scale, trailing fraction zeros dropped.
std::string trimDecimal(std::string s) {
    if (s.find('.') == std::string::npos) return s;
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
    if (s == "-0") s = "0";
    return s;
}

std::string currency(std::int64_t units) {
    bool neg = units < 0;
    unsigned long long mag = neg ? 0ULL - static_cast<unsigned long long>(units) : static_cast<unsigned long long>(units);
    std::string frac = std::to_string(mag % 10000);
    frac.insert(0, 4 - frac.size(), '0');
    return trimDecimal((neg ? "-" : "") + std::to_string(mag / 10000) + "." + frac);
}

// Days since 1899-12-30 plus the time of day as a fraction that, before that
// day, counts away from zero.
std::string isoDate(double v) {
    if (!std::isfinite(v) || std::fabs(v) > 3e6) return shortest(v);
    double whole = std::trunc(v);
    long long secs = std::llround(std::fabs(v - whole) * 86400.0);
    long long total = static_cast<long long>(whole) * 86400 + secs;
    long long days = total >= 0 ? total / 86400 : -((-total + 86399) / 86400);
    long long sod = total - days * 86400;
    // Civil date from a day count (1899-12-30 is day 0).
    long long z = days + 693899 - 1 + 1;  // days from 0000-03-01 to 1899-12-30 is 693899
    long long era = (z >= 0 ? z : z - 146096) / 146097;
    long long doe = z - era * 146097;
    long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    long long y = yoe + era * 400;
    long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    long long mp = (5 * doy + 2) / 153;
    long long d = doy - (153 * mp + 2) / 5 + 1;
    long long m = mp < 10 ? mp + 3 : mp - 9;
    if (m <= 2) ++y;
    char buf[128];
    std::snprintf(buf, sizeof buf, "%04lld-%02lld-%02lldT%02lld:%02lld:%02lld", y, m, d, sod / 3600, sod / 60 % 60,
                  sod % 60);
    return buf;
}

std::string field(const jet::ResultSet& rs, std::size_t row, std::size_t col) {
    if (rs.isNull(row, col)) return "\\N";
    jet::Value v = rs.value(row, col);
    using K = jet::Value::Kind;
    switch (v.kind) {
        case K::Null: return "\\N";
        case K::Boolean: return v.boolean ? "1" : "0";
        case K::Integer: return std::to_string(v.integer);
        case K::Currency: return currency(v.integer);
        case K::Float: return v.type == jet::ColumnType::DateTime ? isoDate(v.real) : shortest(v.real);
        case K::Text:
        case K::Guid: return escape(toUtf8(v.text));
        case K::Numeric: return trimDecimal(v.numeric);
        case K::Binary: {
            static const char* hex = "0123456789ABCDEF";
            std::string out;
            for (auto b : v.bytes) { out += hex[b >> 4]; out += hex[b & 15]; }
            return out;
        }
    }
    return "";
}

void print(const jet::ResultSet& rs, bool withLocation) {
    std::string line;
    if (withLocation) line = "page:row\t";
    for (std::size_t c = 0; c < rs.columns().size(); ++c) {
        if (c) line += '\t';
        line += escape(rs.columns()[c].name);
    }
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), stdout);
    for (std::size_t r = 0; r < rs.rowCount(); ++r) {
        line.clear();
        if (withLocation) {
            auto l = rs.location(r);
            line += std::to_string(l.page) + ":" + std::to_string(l.row) + "\t";
        }
        for (std::size_t c = 0; c < rs.columns().size(); ++c) {
            if (c) line += '\t';
            line += field(rs, r, c);
        }
        line += '\n';
        std::fwrite(line.data(), 1, line.size(), stdout);
    }
}

int exportTable(const std::vector<std::string>& a) {
    auto db = jet::Database::open(a[0]);
    print(db->readTable(a[1]), false);
    return 0;
}

int search(const std::vector<std::string>& a) {
    auto db = jet::Database::open(a[0]);
    // The program's own statement, with the typed text and "%" as it binds them.
    print(db->execute("select * from Dorvak\r\nwhere SIFRA like :sifra", {fromUtf8(a[1]) + u"%"}), true);
    return 0;
}

int tables(const std::vector<std::string>& a) {
    auto db = jet::Database::open(a[0]);
    for (const auto& t : db->tableNames()) std::cout << t << '\n';
    return 0;
}

int check(const std::vector<std::string>& a) {
    auto db = jet::Database::open(a[0]);
    auto problems = db->check();
    if (problems.empty()) {
        std::cout << "ok\n";
        return 0;
    }
    for (const auto& p : problems) std::cout << p << '\n';
    return 1;
}

// Deletes the first row in physical order whose COLUMN prints as VALUE,
// through the same engine call as the grid's delete.
int deleteRow(const std::vector<std::string>& a) {
    auto db = jet::Database::open(a[0]);
    jet::ResultSet rs = db->readTable(a[1]);
    int column = rs.columnIndex(a[2]);
    if (column < 0) {
        std::cerr << "No column '" << a[2] << "' in table '" << a[1] << "'.\n";
        return 1;
    }
    for (std::size_t r = 0; r < rs.rowCount(); ++r) {
        if (rs.isNull(r, std::size_t(column)) || field(rs, r, std::size_t(column)) != escape(a[3])) continue;
        db->deleteRow(rs, r);
        std::cout << "deleted 1 row\n";
        return 0;
    }
    std::cerr << "No row of '" << a[1] << "' has " << a[2] << " = '" << a[3] << "'.\n";
    return 2;
}

struct Command {
    const char* name;
    std::size_t arguments;
    const char* usage;
    int (*run)(const std::vector<std::string>&);
};

const Command kCommands[] = {
    {"check", 1, "check FILE", check},
    {"delete", 4, "delete FILE TABLE COLUMN VALUE", deleteRow},
    {"export", 2, "export FILE TABLE", exportTable},
    {"search", 2, "search FILE PREFIX", search},
    {"tables", 1, "tables FILE", tables},
};

int usage() {
    std::cerr << "usage:\n";
    for (const auto& c : kCommands) std::cerr << "  dorvak-db " << c.usage << '\n';
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return usage();
    for (const auto& c : kCommands) {
        if (std::strcmp(argv[1], c.name) != 0) continue;
        if (std::size_t(argc - 2) != c.arguments) return usage();
        try {
            int rc = c.run(std::vector<std::string>(argv + 2, argv + argc));
            std::fflush(stdout);
            return rc;
        } catch (const std::exception& e) {
            std::fflush(stdout);
            std::cerr << e.what() << '\n';
            return 1;
        }
    }
    return usage();
}
