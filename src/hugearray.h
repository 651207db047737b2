/*
 * A growable array of trivially copyable elements in memory mapped from the
 * system, for the search's large arrays. It is one contiguous run of memory,
 * indexed like any array, and past 64 KiB it grows without copying:
 * the kernel remaps its pages (mremap), in place when it can, so growth never
 * needs room for two copies.
 *
 * Small arrays stay small: the first mapping is one 4 KiB page and doubles up
 * to 64 KiB, so a small run within a tight memory budget still fits. Past that
 * the mapping is a whole number of 2 MiB huge pages, starting on a 2 MiB
 * boundary, grows by an eighth (at least one huge page) and asks for
 * transparent huge pages (madvise MADV_HUGEPAGE): the first touch of a huge
 * page costs a fraction of what touching its 512 small pages one by one would.
 *
 * footprint(n) is the exact number of bytes mapped once the array holds n
 * elements, known before it grows, so a memory budget can be checked first;
 * for more than a mapping can hold, the bytes the elements need, and growing
 * to them throws std::bad_alloc.
 * Growing may move the array: pointers into it do not survive resize() or
 * push_back(). Elements added by resize() hold unspecified values (zero when
 * that memory was never written). Failure to map throws std::bad_alloc.
 * Complexity: indexing O(1); push_back amortised O(1); growing costs a system
 * call or two and never copies more than 64 KiB.
 *
 * WebAssembly (the page's build) has no mremap and maps no pages of its own:
 * there the array lives on the heap and grows with realloc, which may copy
 * it, so the old and the new block coexist while it grows. footprint(n) then
 * counts both whenever holding n elements means growing, so that a budget
 * checked with it allows for that moment. Sizes are the same as above.
 */
#pragma once

#if !defined(__EMSCRIPTEN__)
#include <sys/mman.h>
#endif

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <type_traits>
#include <utility>

namespace hugearray {

inline constexpr std::size_t pagebytes = std::size_t{4} << 10;
inline constexpr std::size_t hugepagebytes = std::size_t{2} << 20;

// Up to this size a mapping is made of small pages and doubles.
inline constexpr std::size_t smallbytes = std::size_t{64} << 10;

// The largest size a mapping of whole huge pages can have: a size_t counts
// its bytes.
inline constexpr std::uint64_t largestbytes = SIZE_MAX / hugepagebytes * hugepagebytes;

// The bytes a mapping of `capacity` bytes grows to so that it holds `needed`:
// one page, doubling up to 64 KiB, then whole huge pages, at least an eighth
// more each time. Past largestbytes, `needed` itself: no mapping grows that
// far (a 32-bit size_t comes near it), and the sizes stay in 64 bits so that
// they never wrap to small ones there.
constexpr std::uint64_t grownbytes(std::uint64_t capacity, std::uint64_t needed)
{
    if (needed <= capacity)
        return capacity;
    if (needed <= smallbytes)
        return std::max<std::uint64_t>({std::bit_ceil(needed), 2 * capacity, pagebytes});
    if (needed > largestbytes)
        return needed;
    const std::uint64_t eighthmore =
        capacity > largestbytes - capacity / 8 ? largestbytes : capacity + capacity / 8;
    const std::uint64_t next = std::max(needed, eighthmore);
    return (next + hugepagebytes - 1) / hugepagebytes * hugepagebytes;
}

#if defined(__EMSCRIPTEN__)

// Growing may copy: the old block is only freed once the new one holds it.
inline constexpr bool growthcopies = true;

inline void* grow(void* old, std::size_t /*oldbytes*/, std::size_t /*usedbytes*/, std::size_t bytes)
{
    void* const grown = std::realloc(old, bytes);
    if (!grown)
        throw std::bad_alloc();
    return grown;
}

inline void release(void* start, std::size_t /*bytes*/)
{
    std::free(start);
}

#else

inline constexpr bool growthcopies = false;

// Asks for transparent huge pages for a mapping that spans them (before its
// memory is touched, so that a first touch maps a whole huge page).
inline void askhugepages(void* start, std::size_t bytes)
{
    if (bytes >= hugepagebytes)
        ::madvise(start, bytes, MADV_HUGEPAGE);
}

// Maps `bytes` of fresh memory, on a huge-page boundary when it spans huge
// pages: the larger mapping is trimmed to the aligned run.
inline void* mapfresh(std::size_t bytes)
{
    const std::size_t slack = bytes >= hugepagebytes ? hugepagebytes : 0;
    void* raw =
        ::mmap(nullptr, bytes + slack, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED)
        throw std::bad_alloc();
    // Whole pages before the aligned run and after its end go back.
    char* const start = static_cast<char*>(raw);
    const std::uintptr_t misalignment = slack ? reinterpret_cast<std::uintptr_t>(raw) % slack : 0;
    const std::size_t before = misalignment ? slack - misalignment : 0;
    if (before)
        ::munmap(start, before);
    if (const std::size_t after = slack - before; slack && after)
        ::munmap(start + before + bytes, after);
    char* const fresh = start + before;
    askhugepages(fresh, bytes);
    return fresh;
}

// The mapping `old` of `oldbytes`, whose first `usedbytes` matter, grown to
// `bytes`. A mapping smaller than a huge page moves to a fresh aligned one
// (a copy of 64 KiB at most); a larger one is remapped: in place when
// the addresses after it are free, otherwise moved by the kernel, not copied.
inline void* grow(void* old, std::size_t oldbytes, std::size_t usedbytes, std::size_t bytes)
{
    if (oldbytes < hugepagebytes) {
        void* const fresh = mapfresh(bytes);
        if (old) {
            std::memcpy(fresh, old, usedbytes);
            ::munmap(old, oldbytes);
        }
        return fresh;
    }
    void* grown = ::mremap(old, oldbytes, bytes, 0);
    if (grown == MAP_FAILED)
        grown = ::mremap(old, oldbytes, bytes, MREMAP_MAYMOVE);
    if (grown == MAP_FAILED)
        throw std::bad_alloc();
    askhugepages(grown, bytes);
    return grown;
}

inline void release(void* start, std::size_t bytes)
{
    ::munmap(start, bytes);
}

#endif

}  // namespace hugearray

template <class T>
class HugeArray {
    static_assert(std::is_trivially_copyable_v<T>);

public:
    HugeArray() = default;
    ~HugeArray()
    {
        if (data_)
            hugearray::release(data_, capacitybytes_);
    }
    HugeArray(HugeArray&& other) noexcept
        : data_(std::exchange(other.data_, nullptr))
        , size_(std::exchange(other.size_, 0))
        , capacity_(std::exchange(other.capacity_, 0))
        , capacitybytes_(std::exchange(other.capacitybytes_, 0))
    {
    }
    HugeArray& operator=(HugeArray&& other) noexcept
    {
        std::swap(data_, other.data_);
        std::swap(size_, other.size_);
        std::swap(capacity_, other.capacity_);
        std::swap(capacitybytes_, other.capacitybytes_);
        return *this;
    }
    HugeArray(const HugeArray&) = delete;
    HugeArray& operator=(const HugeArray&) = delete;

    T* data() { return data_; }
    const T* data() const { return data_; }
    T& operator[](std::size_t i) { return data_[i]; }
    const T& operator[](std::size_t i) const { return data_[i]; }
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    std::size_t capacity() const { return capacity_; }

    // Bytes mapped once the array holds `n` elements (never fewer than now,
    // nor than the elements take); where growth copies, the peak while it
    // grows to hold them. In 64 bits whatever size_t is: footprints added up
    // never wrap where it has 32 (WebAssembly), nor pass for small there.
    std::uint64_t footprint(std::size_t n) const
    {
        const std::uint64_t grown = capacityfor(n);
        if (hugearray::growthcopies && grown > capacitybytes_)
            return grown > UINT64_MAX - capacitybytes_ ? UINT64_MAX : grown + capacitybytes_;
        return grown;
    }

    // Holds `n` elements: the first min(n, size()) keep their values.
    void resize(std::size_t n)
    {
        if (n > capacity_) [[unlikely]]
            growto(capacityfor(n));
        size_ = n;
    }

    void push_back(const T& element)
    {
        if (size_ == capacity_) [[unlikely]]
            growto(capacityfor(size_ + 1));
        data_[size_++] = element;
    }
    void pop_back() { --size_; }

private:
    // Bytes of capacity once the array holds `n` elements (grownbytes);
    // UINT64_MAX when not even 64 bits count them.
    std::uint64_t capacityfor(std::size_t n) const
    {
        if (n > UINT64_MAX / sizeof(T))
            return UINT64_MAX;
        return hugearray::grownbytes(capacitybytes_, std::uint64_t{n} * sizeof(T));
    }

    // Out of line: growing is rare, and the callers stay small enough to
    // inline. Not marked cold: the first growth of an empty array is certain,
    // and a certain call to a cold function would make all that follows it
    // cold too (the search loop, after its first push).
    [[gnu::noinline]] void growto(std::uint64_t bytes)
    {
        if (bytes > hugearray::largestbytes)
            throw std::bad_alloc();
        const auto grown = static_cast<std::size_t>(bytes);
        data_ = static_cast<T*>(hugearray::grow(data_, capacitybytes_, size_ * sizeof(T), grown));
        capacitybytes_ = grown;
        capacity_ = grown / sizeof(T);
    }

    T* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;  // elements
    std::size_t capacitybytes_ = 0;
};
