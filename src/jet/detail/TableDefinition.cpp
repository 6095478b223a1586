#include "jet/detail/TableDefinition.h"

#include <algorithm>
#include <unordered_set>

#include "jet/Error.h"
#include "jet/detail/Format.h"

namespace jet::detail {

namespace f = format;

void decodeText(std::span<const std::uint8_t> b, std::u16string& out) {
    out.clear();
    if (b.size() >= 2 && b[0] == f::kCompressedTextMarker0 && b[1] == f::kCompressedTextMarker1) {
        out.reserve(b.size() - 2);
        bool compressed = true;
        std::size_t i = 2;
        while (i < b.size()) {
            if (b[i] == 0x00) {
                compressed = !compressed;
                ++i;
            } else if (compressed) {
                out.push_back(char16_t(b[i]));
                ++i;
            } else {
                if (i + 1 >= b.size()) break;  // a dangling half character carries nothing
                out.push_back(char16_t(b[i] | (b[i + 1] << 8)));
                i += 2;
            }
        }
        return;
    }
    out.resize(b.size() / 2);
    for (std::size_t i = 0; i < out.size(); ++i) out[i] = char16_t(b[2 * i] | (b[2 * i + 1] << 8));
}

std::string utf16ToUtf8(std::u16string_view s) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        char32_t c = s[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (s[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c < 0xE000) {
            c = 0xFFFD;  // a lone surrogate cannot be written as UTF-8
        }
        if (c < 0x80) {
            out.push_back(char(c));
        } else if (c < 0x800) {
            out.push_back(char(0xC0 | (c >> 6)));
            out.push_back(char(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            out.push_back(char(0xE0 | (c >> 12)));
            out.push_back(char(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(char(0x80 | (c & 0x3F)));
        } else {
            out.push_back(char(0xF0 | (c >> 18)));
            out.push_back(char(0x80 | ((c >> 12) & 0x3F)));
            out.push_back(char(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(char(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

std::u16string utf8ToUtf16(std::string_view s) {
    std::u16string out;
    for (std::size_t i = 0; i < s.size();) {
        unsigned char c = s[i];
        char32_t cp;
        std::size_t n;
        if (c < 0x80) { cp = c; n = 1; }
        else if ((c >> 5) == 6) { cp = c & 0x1F; n = 2; }
        else if ((c >> 4) == 14) { cp = c & 0x0F; n = 3; }
        else if ((c >> 3) == 30) { cp = c & 0x07; n = 4; }
        else { out.push_back(0xFFFD); ++i; continue; }
        if (i + n > s.size()) { out.push_back(0xFFFD); break; }
        for (std::size_t k = 1; k < n; ++k) cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
        i += n;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(char16_t(0xD800 + (cp >> 10)));
            out.push_back(char16_t(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(char16_t(cp));
        }
    }
    return out;
}

bool equalsIgnoreAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = char(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = char(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

int TableDefinition::findColumn(std::string_view n) const {
    for (std::size_t i = 0; i < columns.size(); ++i)
        if (equalsIgnoreAsciiCase(columns[i].column.name, n)) return int(i);
    return -1;
}

namespace {

// A definition is at most this many pages; a longer chain is taken for a cycle.
constexpr std::size_t kMaxDefinitionPages = 64;

std::string readName(const ByteReader& r, std::size_t& pos) {
    std::uint16_t len = r.u16(pos, "name length");
    auto bytes = r.slice(pos + 2, len, "name");
    pos += 2 + len;
    std::u16string wide;
    decodeText(bytes, wide);
    return utf16ToUtf8(wide);
}

}  // namespace

TableDefinition TableDefinition::read(Pager& pager, std::uint32_t first, const std::string& name) {
    TableDefinition t;
    t.name = name;
    t.firstPage = first;
    std::vector<std::uint8_t> def;
    std::unordered_set<std::uint32_t> seen;
    for (std::uint32_t p = first; p != 0;) {
        if (!seen.insert(p).second || seen.size() > kMaxDefinitionPages)
            throw Error(ErrorCategory::Corruption, "The database file '" + pager.fileName() +
                                                       "' is damaged: the definition of table '" + name +
                                                       "' has a page chain that loops (page " + std::to_string(p) + ").");
        PagePtr page = pager.page(p, f::PageType::TableDefinition, "table definition page");
        t.pages.push_back(p);
        if (def.empty()) def.insert(def.end(), page->begin(), page->end());
        else def.insert(def.end(), page->begin() + f::kTdefHeaderSize, page->end());
        p = loadU32(page->data() + f::kTdefNextPageOffset);
    }
    ByteReader r(def, "'" + pager.fileName() + "' definition of table '" + name + "' (page " +
                          std::to_string(first) + ")");
    t.rowCount = r.u32(f::kTdefRowCountOffset);
    t.maxColumns = r.u16(f::kTdefMaxColumnsOffset);
    t.varColumnCount = r.u16(f::kTdefVarColumnsOffset);
    std::uint16_t columnCount = r.u16(f::kTdefColumnCountOffset);
    std::uint32_t logicalCount = r.u32(f::kTdefLogicalIndexCountOffset);
    std::uint32_t physicalCount = r.u32(f::kTdefPhysicalIndexCountOffset);
    t.usedPagesPointer = r.u32(f::kTdefUsedPagesOffset);
    t.freePagesPointer = r.u32(f::kTdefFreePagesOffset);
    // Counts are bounded by what could fit at all, so a damaged count cannot
    // make us allocate or loop without end.
    if (physicalCount > def.size() / f::kPhysicalIndexEntrySize ||
        logicalCount > def.size() / f::kLogicalIndexEntrySize || columnCount > def.size() / f::kColumnEntrySize)
        throw Error(ErrorCategory::Corruption, r.place() + ": impossible column or index counts.");

    std::size_t pos = f::kTdefIndexCountsStart + std::size_t(physicalCount) * f::kTdefIndexCountEntrySize;
    r.require(pos, std::size_t(columnCount) * f::kColumnEntrySize, "column descriptors");
    for (std::uint16_t i = 0; i < columnCount; ++i, pos += f::kColumnEntrySize) {
        ColumnDefinition c;
        std::uint8_t type = r.u8(pos + f::kColumnTypeOffset);
        c.column.type = static_cast<ColumnType>(type);
        c.number = r.u16(pos + f::kColumnNumberOffset);
        c.varIndex = r.u16(pos + f::kColumnVarIndexOffset);
        c.flags = r.u8(pos + f::kColumnFlagsOffset);
        c.fixed = c.flags & f::kColumnFixedFlag;
        c.compressedText = r.u8(pos + f::kColumnFlagsOffset + 1) & 0x01;
        c.fixedOffset = r.u16(pos + f::kColumnFixedOffsetOffset);
        c.column.length = r.u16(pos + f::kColumnLengthOffset);
        if (c.column.type == ColumnType::Numeric) {
            c.column.precision = r.u8(pos + f::kColumnPrecisionOffset);
            c.column.scale = r.u8(pos + f::kColumnScaleOffset);
        }
        t.columns.push_back(c);
    }
    for (auto& c : t.columns) c.column.name = readName(r, pos);

    for (std::uint32_t i = 0; i < physicalCount; ++i, pos += f::kPhysicalIndexEntrySize) {
        r.require(pos, f::kPhysicalIndexEntrySize, "index descriptor");
        PhysicalIndex ix;
        ix.definitionOffset = pos;
        for (std::size_t k = 0; k < f::kIndexMaxColumns; ++k) {
            std::size_t e = pos + f::kPhysicalIndexColumnsOffset + k * f::kIndexColumnEntrySize;
            std::uint16_t col = r.u16(e);
            if (col == f::kIndexNoColumn) continue;
            ix.columns.push_back({col, r.u8(e + 2) == 0x01});
        }
        ix.usedPagesPointer = r.u32(pos + f::kPhysicalIndexUsedPagesOffset);
        ix.rootPage = r.u32(pos + f::kPhysicalIndexRootOffset);
        ix.flags = r.u8(pos + f::kPhysicalIndexFlagsOffset);
        t.physicalIndexes.push_back(ix);
    }
    for (std::uint32_t i = 0; i < logicalCount; ++i, pos += f::kLogicalIndexEntrySize) {
        r.require(pos, f::kLogicalIndexEntrySize, "logical index descriptor");
        LogicalIndex li;
        li.number = r.u32(pos + f::kLogicalIndexNumberOffset);
        li.physical = r.u32(pos + f::kLogicalIndexPhysicalOffset);
        li.relatedTableType = r.u8(pos + f::kLogicalIndexRelTableTypeOffset);
        li.relatedIndex = static_cast<std::int32_t>(r.u32(pos + f::kLogicalIndexRelIndexOffset));
        li.relatedTablePage = r.u32(pos + f::kLogicalIndexRelTableOffset);
        li.cascadeUpdates = r.u8(pos + f::kLogicalIndexCascadeUpdatesOffset);
        li.cascadeDeletes = r.u8(pos + f::kLogicalIndexCascadeDeletesOffset);
        li.type = r.u8(pos + f::kLogicalIndexTypeOffset);
        if (li.physical >= t.physicalIndexes.size())
            throw Error(ErrorCategory::Corruption, r.place() + ": logical index " + std::to_string(i) +
                                                       " refers to physical index " + std::to_string(li.physical) +
                                                       " of " + std::to_string(t.physicalIndexes.size()) + ".");
        t.logicalIndexes.push_back(li);
    }
    for (auto& li : t.logicalIndexes) li.name = readName(r, pos);

    std::stable_sort(t.columns.begin(), t.columns.end(),
                     [](const ColumnDefinition& a, const ColumnDefinition& b) { return a.number < b.number; });
    return t;
}

}  // namespace jet::detail
