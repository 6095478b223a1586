// Every Jet 4 offset, size and mask the engine relies on, in one place.
// Offsets are from the start of a page unless they say otherwise; all
// multi-byte fields are little-endian except index entry pointers.
#pragma once

#include <cstddef>
#include <cstdint>

namespace jet::detail::format {

enum class PageType : std::uint8_t {
    Database = 0x00,      // page 0 only
    Data = 0x01,          // rows, and long values ("LVAL" pages)
    TableDefinition = 0x02,
    IndexNode = 0x03,     // intermediate index page
    IndexLeaf = 0x04,
    UsageMap = 0x05,      // bitmap page behind an indirect usage map
};

inline constexpr std::size_t kPageSize = 4096;

// --- Page 0 -----------------------------------------------------------------
inline constexpr std::size_t kMagicOffset = 0x00;         // 4 bytes: 00 01 00 00
inline constexpr std::size_t kFormatIdOffset = 0x04;      // 16 bytes: "Standard Jet DB\0" / "Standard ACE DB\0"
inline constexpr std::size_t kVersionOffset = 0x14;       // 1 byte: 0 Jet 3, 1 Jet 4, 2+ ACE
inline constexpr std::uint8_t kVersionJet3 = 0x00;
inline constexpr std::uint8_t kVersionJet4 = 0x01;
inline constexpr std::size_t kMaskedHeaderOffset = 0x18;  // start of the RC4-masked area
inline constexpr std::size_t kMaskedHeaderLength = 128;   // bytes masked in Jet 4
inline constexpr std::uint32_t kHeaderRc4Key = 0x6b39dac7;  // fixed key of that mask
inline constexpr std::size_t kCodePageOffset = 0x3C;      // 2 bytes (inside the masked area)
inline constexpr std::size_t kSortOrderOffset = 0x6E;     // 4 bytes (inside the masked area)

// --- Pages that carry rows (data, long value, table definition overflow) ---
inline constexpr std::size_t kPageTypeOffset = 0;           // 1 byte
inline constexpr std::size_t kDataFreeSpaceOffset = 2;      // 2 bytes
inline constexpr std::size_t kDataOwnerOffset = 4;          // 4 bytes: table definition page ("LVAL" on long-value pages)
inline constexpr std::size_t kDataRowCountOffset = 12;      // 2 bytes
inline constexpr std::size_t kDataRowTableOffset = 14;      // 2 bytes per row slot
inline constexpr std::uint16_t kRowOffsetMask = 0x1FFF;     // slot: offset of the row in the page
inline constexpr std::uint16_t kRowDeletedFlag = 0x8000;    // slot: row deleted
inline constexpr std::uint16_t kRowOverflowFlag = 0x4000;   // slot: row holds a pointer to the moved row
inline constexpr std::size_t kRowPointerSize = 4;           // 1 byte row, 3 bytes page (little-endian)
inline constexpr std::uint32_t kLongValueOwner = 0x4C41564C;  // "LVAL"

// --- Rows -------------------------------------------------------------------
inline constexpr std::size_t kRowColumnCountSize = 2;  // at the row's start
inline constexpr std::size_t kRowVarEntrySize = 2;     // eod, var offsets and var count

// --- Table definition (offsets into the concatenated definition) ----------
inline constexpr std::size_t kTdefNextPageOffset = 4;     // 4 bytes: next definition page, 0 if none
inline constexpr std::size_t kTdefHeaderSize = 8;         // header repeated on every definition page
inline constexpr std::size_t kTdefLengthOffset = 8;       // 4 bytes
inline constexpr std::size_t kTdefRowCountOffset = 16;    // 4 bytes: live rows of the table
inline constexpr std::size_t kTdefAutoNumberOffset = 20;  // 4 bytes
inline constexpr std::size_t kTdefTableTypeOffset = 40;   // 1 byte: 0x4E user, 0x53 system
inline constexpr std::size_t kTdefMaxColumnsOffset = 41;  // 2 bytes: columns ever (deleted included)
inline constexpr std::size_t kTdefVarColumnsOffset = 43;  // 2 bytes
inline constexpr std::size_t kTdefColumnCountOffset = 45; // 2 bytes
inline constexpr std::size_t kTdefLogicalIndexCountOffset = 47;   // 4 bytes
inline constexpr std::size_t kTdefPhysicalIndexCountOffset = 51;  // 4 bytes
inline constexpr std::size_t kTdefUsedPagesOffset = 55;   // 4 bytes: row pointer to the usage map
inline constexpr std::size_t kTdefFreePagesOffset = 59;   // 4 bytes: row pointer to the free-space map
inline constexpr std::size_t kTdefIndexCountsStart = 63;  // per physical index: 12 bytes
inline constexpr std::size_t kTdefIndexCountEntrySize = 12;

// Column descriptor, 25 bytes each.
inline constexpr std::size_t kColumnEntrySize = 25;
inline constexpr std::size_t kColumnTypeOffset = 0;         // 1 byte
inline constexpr std::size_t kColumnNumberOffset = 5;       // 2 bytes: null-mask bit (deleted columns counted)
inline constexpr std::size_t kColumnVarIndexOffset = 7;     // 2 bytes: slot in the row's var offset table
inline constexpr std::size_t kColumnPrecisionOffset = 11;   // 1 byte (decimal)
inline constexpr std::size_t kColumnScaleOffset = 12;       // 1 byte (decimal)
inline constexpr std::size_t kColumnSortOrderOffset = 11;   // 2 bytes (text)
inline constexpr std::size_t kColumnFlagsOffset = 15;       // 1 byte
inline constexpr std::size_t kColumnFixedOffsetOffset = 21; // 2 bytes: from the end of the column count
inline constexpr std::size_t kColumnLengthOffset = 23;      // 2 bytes
inline constexpr std::uint8_t kColumnFixedFlag = 0x01;
inline constexpr std::uint8_t kColumnAutoNumberFlag = 0x04;
inline constexpr std::size_t kNameLengthSize = 2;           // before each column and index name

// Physical index descriptor, 52 bytes each.
inline constexpr std::size_t kPhysicalIndexEntrySize = 52;
inline constexpr std::size_t kPhysicalIndexColumnsOffset = 4;   // 10 x (2 bytes column number, 1 byte order)
inline constexpr std::size_t kIndexMaxColumns = 10;
inline constexpr std::size_t kIndexColumnEntrySize = 3;
inline constexpr std::uint16_t kIndexNoColumn = 0xFFFF;
inline constexpr std::size_t kPhysicalIndexUsedPagesOffset = 34;  // 4 bytes
inline constexpr std::size_t kPhysicalIndexRootOffset = 38;       // 4 bytes: root (first) index page
inline constexpr std::size_t kPhysicalIndexFlagsOffset = 42;      // 1 byte
inline constexpr std::uint8_t kIndexUniqueFlag = 0x01;
inline constexpr std::uint8_t kIndexIgnoreNullsFlag = 0x02;
inline constexpr std::uint8_t kIndexRequiredFlag = 0x08;

// Logical index descriptor, 28 bytes each.
inline constexpr std::size_t kLogicalIndexEntrySize = 28;
inline constexpr std::size_t kLogicalIndexNumberOffset = 4;      // 4 bytes
inline constexpr std::size_t kLogicalIndexPhysicalOffset = 8;    // 4 bytes: which physical index
inline constexpr std::size_t kLogicalIndexRelTableTypeOffset = 12;  // 1 byte
inline constexpr std::size_t kLogicalIndexRelIndexOffset = 13;   // 4 bytes: -1 when not a foreign key
inline constexpr std::size_t kLogicalIndexRelTableOffset = 17;   // 4 bytes: definition page of the other table
inline constexpr std::size_t kLogicalIndexCascadeUpdatesOffset = 21;  // 1 byte
inline constexpr std::size_t kLogicalIndexCascadeDeletesOffset = 22;  // 1 byte
inline constexpr std::size_t kLogicalIndexTypeOffset = 23;       // 1 byte: 1 primary, 2 foreign key

// --- Usage maps ----------------------------------------------------------------
inline constexpr std::uint8_t kUsageMapInline = 0x00;    // 1 byte type, 4 bytes first page, bitmap
inline constexpr std::uint8_t kUsageMapIndirect = 0x01;  // 1 byte type, then 4-byte map page numbers
inline constexpr std::size_t kUsageMapInlineStartOffset = 1;  // within the map row
inline constexpr std::size_t kUsageMapInlineBitmapOffset = 5;
inline constexpr std::size_t kUsageMapPageBitmapOffset = 4;   // within a usage map page
inline constexpr std::size_t kUsageMapPagesPerMapPage = (kPageSize - kUsageMapPageBitmapOffset) * 8;

// --- Index pages ----------------------------------------------------------------
inline constexpr std::size_t kIndexOwnerOffset = 4;        // 4 bytes: table definition page
inline constexpr std::size_t kIndexPrevPageOffset = 12;     // 4 bytes
inline constexpr std::size_t kIndexNextPageOffset = 16;     // 4 bytes
inline constexpr std::size_t kIndexTailPageOffset = 20;     // 4 bytes: last child of a node page
inline constexpr std::size_t kIndexPrefixLengthOffset = 24; // 2 bytes: bytes shared with the first entry
inline constexpr std::size_t kIndexEntryMaskOffset = 27;    // bit n set: an entry ends n bytes into the entry area
inline constexpr std::size_t kIndexEntryMaskSize = 453;
inline constexpr std::size_t kIndexEntriesOffset = kIndexEntryMaskOffset + kIndexEntryMaskSize;  // 480
inline constexpr std::size_t kIndexRowPointerSize = 4;      // 3 bytes page, 1 byte row, big-endian
inline constexpr std::size_t kIndexChildPointerSize = 4;    // node pages only, big-endian

// --- Long values (memo, OLE) ----------------------------------------------------
inline constexpr std::size_t kLongValueHeaderSize = 12;     // 3 bytes length, 1 byte kind, 4 bytes row pointer, 4 unused
inline constexpr std::uint8_t kLongValueInline = 0x80;      // data follows the header
inline constexpr std::uint8_t kLongValueSinglePage = 0x40;  // data is one long-value row
inline constexpr std::uint8_t kLongValueChain = 0x00;       // rows of 4-byte next pointer + data
inline constexpr std::size_t kLongValueNextPointerSize = 4;

// --- Text ----------------------------------------------------------------
inline constexpr std::uint8_t kCompressedTextMarker0 = 0xFF;  // a value starting FF FE holds one-byte runs
inline constexpr std::uint8_t kCompressedTextMarker1 = 0xFE;

// --- Catalog (MSysObjects) ------------------------------------------------------
inline constexpr std::uint32_t kCatalogPage = 2;
inline constexpr std::int32_t kObjectTypeTable = 1;
inline constexpr std::uint32_t kObjectSystemFlags = 0x80000002u;
inline constexpr std::uint32_t kObjectIdPageMask = 0x00FFFFFFu;

}  // namespace jet::detail::format
