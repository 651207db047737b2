#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <new>

#include "hugearray.h"

namespace {

TEST(HugeArray, FootprintIsKnownBeforeGrowingAndExactAfter)
{
    struct Case {
        std::size_t elements;
        std::size_t bytes;  // mapped once the array holds that many 4-byte elements
    };
    constexpr std::size_t mib = std::size_t{1} << 20;
    // One page first, doubling to 64 KiB, then whole huge pages growing by an
    // eighth at least.
    const Case cases[] = {
        {1, 4096},
        {1024, 4096},
        {1025, 8192},
        {5000, 32 << 10},
        {(64 << 10) / 4, 64 << 10},
        {(64 << 10) / 4 + 1, 2 * mib},
        {(2 * mib) / 4, 2 * mib},
        {(2 * mib) / 4 + 1, 4 * mib},
        {(17 * mib) / 4, 18 * mib},
        {(18 * mib) / 4 + 1, 22 * mib},
    };
    HugeArray<std::uint32_t> array;
    std::size_t held = 0;
    for (const Case& c : cases) {
        // Where growth copies, the block it leaves counts until it is freed.
        const std::size_t growing = hugearray::growthcopies && c.bytes > held ? held : 0;
        EXPECT_EQ(array.footprint(c.elements), c.bytes + growing) << c.elements;
        array.resize(c.elements);
        held = c.bytes;
        EXPECT_EQ(array.footprint(c.elements), c.bytes) << c.elements;
        EXPECT_EQ(array.capacity(), c.bytes / 4) << c.elements;
    }
    // Sizes past what a size_t counts, or whole huge pages could: more than
    // any mapping, and never mapped.
    EXPECT_GT(array.footprint(SIZE_MAX / 2), hugearray::largestbytes);
    EXPECT_GT(array.footprint(SIZE_MAX / 4 - 10), hugearray::largestbytes);
    EXPECT_THROW(array.resize(SIZE_MAX / 4 - 10), std::bad_alloc);
    EXPECT_EQ(hugearray::grownbytes(hugearray::largestbytes - (1 << 20), hugearray::largestbytes),
              hugearray::largestbytes);
}

// Near and past 4 GiB, all that a 32-bit size_t counts (the page's): a
// footprint is never below the bytes its elements take (and, where growth
// copies, the block it grows from), nor is a sum of footprints below theirs.
TEST(HugeArray, FootprintsNearFourGibibytesNeverWrap)
{
    HugeArray<std::uint64_t> records;
    records.push_back(1);
    const std::uint64_t copied = hugearray::growthcopies ? records.capacity() * 8 : 0;
    const HugeArray<std::array<std::uint32_t, 6>> slots;
    for (const std::size_t n : {0x0aaa'aaaau, 0x0aaa'aaabu, 0x1fff'ffffu, 0x2000'0001u}) {
        const std::uint64_t record = records.footprint(n);
        const std::uint64_t slot = slots.footprint(n);
        EXPECT_GE(record, 8 * std::uint64_t{n} + copied) << n;
        EXPECT_GE(slot, 24 * std::uint64_t{n}) << n;
        EXPECT_GE(record + slot, 32 * std::uint64_t{n} + copied) << n;
    }
}

TEST(HugeArray, GrowingKeepsEveryElement)
{
    HugeArray<std::uint64_t> array;
    for (std::uint64_t i = 0; i < 3'000'000; ++i)
        array.push_back(i * 2654435761u);
    array.resize(5'000'000);
    bool same = true;
    for (std::uint64_t i = 0; i < 3'000'000; ++i)
        same = same && array[i] == i * 2654435761u;
    EXPECT_TRUE(same);
    EXPECT_EQ(array.size(), 5'000'000u);

    HugeArray<std::uint64_t> moved(std::move(array));
    EXPECT_EQ(moved[2'999'999], std::uint64_t{2'999'999} * 2654435761u);
}

TEST(HugeArray, LargeFirstMappingStartsOnAHugePage)
{
    if (hugearray::growthcopies)
        GTEST_SKIP() << "the array lives on the heap, not in mappings of its own";
    HugeArray<char> array;
    array.resize(hugearray::hugepagebytes * 3);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(array.data()) % hugearray::hugepagebytes, 0u);
    array[array.size() - 1] = 'x';
    EXPECT_EQ(array[array.size() - 1], 'x');
}

}  // namespace
