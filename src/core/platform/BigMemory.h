#pragma once
// Memory for the large results of a scan (the lines of a list, the cells of
// an export grid). It is reserved at its largest possible size up front but
// taken from the system only as it is written, in large pages where the
// system offers them: on a machine where every fresh small page costs a
// fault, the result of a scan over 100,000 cards would otherwise cost more
// than reading the file.

#include <QtGlobal>
#include <algorithm>
#include <cstddef>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <type_traits>
#include <utility>

namespace platform {

class BigBlock {
public:
    BigBlock() = default;
    // Reserves room for `bytes`; throws std::bad_alloc when none is left.
    explicit BigBlock(std::size_t bytes);
    ~BigBlock();
    BigBlock(BigBlock &&other) noexcept { swap(other); }
    BigBlock &operator=(BigBlock &&other) noexcept
    {
        BigBlock(std::move(other)).swap(*this);
        return *this;
    }
    BigBlock(const BigBlock &) = delete;
    BigBlock &operator=(const BigBlock &) = delete;

    char *data() const { return data_; }
    std::size_t reserved() const { return reserved_; }
    // Gives the room after the first `bytes` back to the system.
    void keep(std::size_t bytes);

private:
    void swap(BigBlock &other) noexcept
    {
        std::swap(base_, other.base_);
        std::swap(mapped_, other.mapped_);
        std::swap(data_, other.data_);
        std::swap(reserved_, other.reserved_);
    }

    void *base_ = nullptr;
    std::size_t mapped_ = 0;
    char *data_ = nullptr;
    std::size_t reserved_ = 0;
};

// An array of plain values in a BigBlock, filled at its end.
template <typename T>
class BigArray {
    static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_destructible_v<T>);

public:
    BigArray() = default;
    explicit BigArray(std::size_t most) : block_(most * sizeof(T)) {}
    BigArray(BigArray &&other) noexcept : block_(std::move(other.block_)), size_(std::exchange(other.size_, 0)) {}
    BigArray &operator=(BigArray &&other) noexcept
    {
        block_ = std::move(other.block_);
        size_ = std::exchange(other.size_, 0);
        return *this;
    }

    void push_back(const T &value)
    {
        std::memcpy(room(1), &value, sizeof(T));
        ++size_;
    }
    T *grow(std::size_t count) // room for `count` more, returned uninitialised
    {
        T *at = room(count);
        size_ += count;
        return at;
    }
    // Where the next `count` values go, with room for them; the size stays.
    T *room(std::size_t count)
    {
        // The callers reserve what a scan can write at the most; one that
        // reserved too little is caught here in a debug build, and gets a
        // larger block in any other.
        Q_ASSERT_X(count <= capacity() - size_, "BigArray", "less room reserved than written");
        if (count > capacity() - size_)
            moveToLarger(count);
        return data() + size_;
    }
    // Shrinks, or grows into values already written through room().
    void resize(std::size_t count)
    {
        if (count > capacity())
            throw std::length_error("BigArray::resize past its room");
        size_ = count;
    }
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    std::size_t capacity() const { return block_.reserved() / sizeof(T); }
    T *data() { return reinterpret_cast<T *>(block_.data()); }
    const T *data() const { return reinterpret_cast<const T *>(block_.data()); }
    T &operator[](std::size_t i) { return data()[i]; }
    const T &operator[](std::size_t i) const { return data()[i]; }
    T *begin() { return data(); }
    T *end() { return data() + size_; }
    const T *begin() const { return data(); }
    const T *end() const { return data() + size_; }
    // Gives the room after the values back to the system.
    void trim() { block_.keep(size_ * sizeof(T)); }
    // Bytes taken from the system at most (whole pages).
    std::size_t heldBytes() const;

private:
    // A block of twice the room (at least the room needed), the values
    // copied over.
    void moveToLarger(std::size_t count)
    {
        const std::size_t most = std::numeric_limits<std::size_t>::max() / sizeof(T);
        if (count > most - size_)
            throw std::length_error("BigArray too large");
        const std::size_t needed = size_ + count;
        const std::size_t doubled = capacity() > most / 2 ? most : capacity() * 2;
        BigBlock larger(std::max(needed, doubled) * sizeof(T));
        if (size_ > 0)
            std::memcpy(larger.data(), block_.data(), size_ * sizeof(T));
        block_ = std::move(larger);
    }

    BigBlock block_;
    std::size_t size_ = 0;
};

std::size_t bigPageRound(std::size_t bytes);

template <typename T>
std::size_t BigArray<T>::heldBytes() const
{
    return bigPageRound(size_ * sizeof(T));
}

} // namespace platform
