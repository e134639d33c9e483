#include "core/platform/BigMemory.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <sys/mman.h>
#include <unistd.h>

namespace platform {

namespace {
constexpr std::size_t kLargePage = std::size_t(2) << 20;
}

std::size_t bigPageRound(std::size_t bytes)
{
    const std::size_t page = bytes >= kLargePage / 2 ? kLargePage : std::size_t(::sysconf(_SC_PAGESIZE));
    return (bytes + page - 1) / page * page;
}

BigBlock::BigBlock(std::size_t bytes)
{
    if (bytes == 0)
        return;
    // Aligned to a large page, so that the system can back it with them.
    mapped_ = (bytes + kLargePage - 1) / kLargePage * kLargePage + kLargePage;
    base_ = ::mmap(nullptr, mapped_, PROT_READ | PROT_WRITE,
                   MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (base_ == MAP_FAILED) {
        base_ = nullptr;
        mapped_ = 0;
        throw std::bad_alloc();
    }
    const auto address = reinterpret_cast<std::uintptr_t>(base_);
    data_ = reinterpret_cast<char *>((address + kLargePage - 1) / kLargePage * kLargePage);
    reserved_ = bytes;
#ifdef MADV_HUGEPAGE
    ::madvise(data_, (bytes + kLargePage - 1) / kLargePage * kLargePage, MADV_HUGEPAGE);
#endif
}

BigBlock::~BigBlock()
{
    if (base_)
        ::munmap(base_, mapped_);
}

void BigBlock::keep(std::size_t bytes)
{
    if (!base_ || bytes >= reserved_)
        return;
    // Whole large pages after the kept bytes go back; the mapping's end moves.
    const std::size_t kept = (bytes + kLargePage - 1) / kLargePage * kLargePage;
    char *end = static_cast<char *>(base_) + mapped_;
    char *from = data_ + kept;
    if (from < end) {
        ::munmap(from, std::size_t(end - from));
        mapped_ = std::size_t(from - static_cast<char *>(base_));
    }
    reserved_ = std::min(reserved_, kept);
}

} // namespace platform
