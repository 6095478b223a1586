// Page-sized reads of the database file with a small cache that lives for
// one statement, so every statement sees the file as it is now.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "jet/detail/ByteReader.h"
#include "jet/detail/Format.h"
#include "jet/detail/PageFile.h"

namespace jet::detail {

using Page = std::vector<std::uint8_t>;
using PagePtr = std::shared_ptr<const Page>;

class Pager {
public:
    Pager(PageFile& file, std::string fileName) : file_(file), fileName_(std::move(fileName)) {}

    // Forgets cached pages and re-reads the file size; call at each statement.
    void refresh();
    std::uint32_t pageCount() const { return pageCount_; }
    // Page `number`; Error(Corruption) when it lies outside the file.
    PagePtr page(std::uint32_t number, const char* what = "page");
    // Same, and also checks the page type byte.
    PagePtr page(std::uint32_t number, format::PageType type, const char* what);
    // Reads pages [first, first + count) in one request into the cache, so a
    // scan over neighbouring pages costs one system call, not one per page.
    void prefetch(std::uint32_t first, std::uint32_t count);
    ByteReader reader(const PagePtr& page, std::uint32_t number) const;
    const std::string& fileName() const { return fileName_; }
    PageFile& file() { return file_; }

private:
    static constexpr std::size_t kCacheLimit = 512;

    PageFile& file_;
    std::string fileName_;
    std::uint32_t pageCount_ = 0;
    std::unordered_map<std::uint32_t, PagePtr> cache_;
    std::vector<std::uint8_t> buffer_;
};

}  // namespace jet::detail
