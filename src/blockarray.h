/*
 * A growable array of trivially copyable records kept in blocks of a fixed
 * size (a power-of-two number of records, about 1 MiB). Growing adds one
 * block: it never copies or moves what is stored (pointers to elements stay
 * valid), never needs twice the memory for a moment, and its footprint is
 * known before it grows.
 *
 * Complexity: indexing and push_back O(1); one allocation per block.
 */
#pragma once

#include <bit>
#include <cstddef>
#include <memory>
#include <type_traits>
#include <vector>

template <class T, std::size_t MaxBlockBytes = std::size_t{1} << 20>
class BlockArray {
    static_assert(std::is_trivially_copyable_v<T>);
    // A power of two, so that an index splits into block and offset by bits.
    static constexpr std::size_t blockrecords = std::bit_floor(MaxBlockBytes / sizeof(T));
    static constexpr std::size_t blockbytes = blockrecords * sizeof(T);
    static constexpr std::size_t shift = std::bit_width(blockrecords) - 1;

public:
    T& operator[](std::size_t i) { return blocks_[i >> shift][i & (blockrecords - 1)]; }
    const T& operator[](std::size_t i) const { return blocks_[i >> shift][i & (blockrecords - 1)]; }

    T& push_back(const T& record)
    {
        if (next_ == blockend_)
            addblock();
        ++size_;
        *next_ = record;
        return *next_++;
    }

    std::size_t size() const { return size_; }

    // Bytes held once `extra` more records have been added (blocks are only
    // ever added as records need them).
    std::size_t footprint(std::size_t extra) const
    {
        return (size_ + extra + blockrecords - 1) / blockrecords * blockbytes;
    }

private:
    void addblock()
    {
        blocks_.push_back(std::make_unique_for_overwrite<T[]>(blockrecords));
        next_ = blocks_.back().get();
        blockend_ = next_ + blockrecords;
    }

    std::vector<std::unique_ptr<T[]>> blocks_;
    std::size_t size_ = 0;
    // Where the next record goes, and the end of its block.
    T* next_ = nullptr;
    T* blockend_ = nullptr;
};
