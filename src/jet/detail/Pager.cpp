#include "jet/detail/Pager.h"

#include "jet/Error.h"

#include <algorithm>

namespace jet::detail {

void Pager::refresh() {
    cache_.clear();
    std::uint64_t size = file_.size();
    pageCount_ = static_cast<std::uint32_t>(std::min<std::uint64_t>(size / format::kPageSize, 0xFFFFFFFFu));
}

PagePtr Pager::page(std::uint32_t number, const char* what) {
    if (auto it = cache_.find(number); it != cache_.end()) return it->second;
    if (number >= pageCount_)
        throw Error(ErrorCategory::Corruption, "The database file '" + fileName_ + "' is damaged: " + what +
                                                   " " + std::to_string(number) + " lies beyond its " +
                                                   std::to_string(pageCount_) + " pages.");
    auto p = std::make_shared<Page>(format::kPageSize);
    file_.read(std::uint64_t(number) * format::kPageSize, *p);
    if (cache_.size() >= kCacheLimit) cache_.clear();
    cache_.emplace(number, p);
    return p;
}

PagePtr Pager::page(std::uint32_t number, format::PageType type, const char* what) {
    PagePtr p = page(number, what);
    if ((*p)[format::kPageTypeOffset] != static_cast<std::uint8_t>(type))
        throw Error(ErrorCategory::Corruption,
                    "The database file '" + fileName_ + "' is damaged: " + what + " " + std::to_string(number) +
                        " has page type " + std::to_string((*p)[0]) + ", expected " +
                        std::to_string(static_cast<int>(type)) + ".");
    return p;
}

void Pager::prefetch(std::uint32_t first, std::uint32_t count) {
    if (first >= pageCount_) return;
    count = std::min<std::uint32_t>({count, pageCount_ - first, std::uint32_t(kCacheLimit / 2)});
    if (count < 2) return;
    if (cache_.size() + count > kCacheLimit) cache_.clear();
    buffer_.resize(std::size_t(count) * format::kPageSize);
    file_.read(std::uint64_t(first) * format::kPageSize, buffer_);
    for (std::uint32_t i = 0; i < count; ++i) {
        auto p = std::make_shared<Page>(buffer_.begin() + std::ptrdiff_t(i) * format::kPageSize,
                                        buffer_.begin() + std::ptrdiff_t(i + 1) * format::kPageSize);
        cache_[first + i] = std::move(p);
    }
}

ByteReader Pager::reader(const PagePtr& page, std::uint32_t number) const {
    return ByteReader(*page, "'" + fileName_ + "' page " + std::to_string(number));
}

}  // namespace jet::detail
