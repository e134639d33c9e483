#include "core/platform/BigMemory.h"

#include "core/platform/System.h"

#include <algorithm>
#include <cstdint>
#include <new>

namespace platform {

namespace {
constexpr std::size_t kLargePage = std::size_t(2) << 20;
}

std::size_t bigPageRound(std::size_t bytes)
{
    const std::size_t page = bytes >= kLargePage / 2 ? kLargePage : pageSize();
    return (bytes + page - 1) / page * page;
}

BigBlock::BigBlock(std::size_t bytes)
{
    if (bytes == 0)
        return;
    // Aligned to a large page, so that the system can back it with them.
    mapped_ = (bytes + kLargePage - 1) / kLargePage * kLargePage + kLargePage;
    base_ = reserveMemory(mapped_);
    if (!base_) {
        mapped_ = 0;
        throw std::bad_alloc();
    }
    const auto address = reinterpret_cast<std::uintptr_t>(base_);
    data_ = reinterpret_cast<char *>((address + kLargePage - 1) / kLargePage * kLargePage);
    reserved_ = bytes;
    adviseLargePages(data_, (bytes + kLargePage - 1) / kLargePage * kLargePage);
}

BigBlock::~BigBlock()
{
    if (base_)
        releaseMemory(base_, mapped_);
}

void BigBlock::keep(std::size_t bytes)
{
    if (!base_ || bytes >= reserved_)
        return;
    // Whole large pages after the kept bytes go back; the mapping's end moves.
    const std::size_t kept = (bytes + kLargePage - 1) / kLargePage * kLargePage;
    char *end = static_cast<char *>(base_) + mapped_;
    char *from = data_ + kept;
    if (from < end && releaseMemoryTail(base_, mapped_, from))
        mapped_ = std::size_t(from - static_cast<char *>(base_));
    reserved_ = std::min(reserved_, kept);
}

} // namespace platform
