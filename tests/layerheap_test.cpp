#include "layerheap.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "frontier.h"

namespace {

/*
 * A breadth-first run in miniature on both heaps: `roots` entries of depth 0,
 * then `steps` times the top is taken and 0 to 2 children one depth deeper
 * are pushed, each tagged with a number of its own. The heap first grows to
 * about `peak` entries (mostly two children), then shrinks to nothing (mostly
 * none), so it passes through every depth change, shallow last entries and
 * pops without children. Returns the tags in the order each heap gave them.
 */
struct Orders {
    std::vector<std::uint32_t> general;
    std::vector<std::uint32_t> layered;
};

template <class Entry>
Orders runboth(std::size_t pipelinefrom, std::uint32_t roots, std::size_t peak, unsigned seed)
{
    constexpr Entry paritybit = Entry{1} << (8 * sizeof(Entry) - 1);
    constexpr Entry tagmask = paritybit - 1;
    std::mt19937 random(seed);
    Frontier<std::uint32_t> general;
    LayerHeap<Entry> layered(pipelinefrom);
    std::uint32_t nexttag = 0;
    // `count` entries (0 to 2) of `depth`, pushed as the engine does.
    const auto push = [&](unsigned count, std::int32_t depth, Entry parity) {
        EntryPair<Entry> entries = 0;
        for (unsigned i = 0; i < count; ++i, ++nexttag) {
            general.push(-depth, nexttag);
            entries |= EntryPair<Entry>((nexttag & tagmask) | parity) << 8 * sizeof(Entry) * i;
        }
        layered.push(entries, count);
    };
    for (std::uint32_t i = 0; i < roots; ++i)
        push(1, 0, 0);
    Orders orders;
    std::int32_t depth = 0;
    Entry shallow = 0;
    bool growing = true;
    while (!general.empty()) {
        const std::int32_t depthtaken = -general.topscore();
        orders.general.push_back(general.top() & tagmask);
        general.pop();
        const Entry top = layered.top();
        if ((top ^ shallow) & paritybit) {
            shallow ^= paritybit;
            ++depth;
        }
        EXPECT_EQ(depth, depthtaken);
        orders.layered.push_back(top & tagmask);
        layered.pop(shallow);
        growing = growing && general.size() < peak;
        // Growing: 0, 1 or 2 children with 1 : 3 : 4; shrinking: 5 : 2 : 1.
        const unsigned draw = random() % 8;
        unsigned children = growing ? (draw >= 4) + (draw >= 1) : (draw >= 5) + (draw >= 7);
        if (growing && general.empty() && children == 0)
            children = 1;
        push(children, depth + 1, static_cast<Entry>(shallow ^ paritybit));
        if (layered.size() != general.size()) {
            ADD_FAILURE() << "sizes differ after " << orders.general.size() << " pops";
            break;
        }
    }
    return orders;
}

TEST(LayerHeap, PopsInTheGeneralFrontiersOrder)
{
    struct Case {
        bool wide;  // four-byte entries
        std::size_t pipelinefrom;
        std::uint32_t roots;
        std::size_t peak;
    };
    // From one pop at a time (a pipeline that never starts) to pops in flight
    // from the smallest heaps on; a peak of 50000 entries is 16 levels.
    const Case cases[] = {
        {false, SIZE_MAX, 1, 5000}, {false, 1, 1, 5000},        {false, 2, 3, 50000},
        {false, 16, 100, 50000},    {false, 64, 1, 20000},      {true, 1, 1, 5000},
        {true, 8, 7, 50000},        {true, SIZE_MAX, 5, 20000},
    };
    unsigned seed = 1;
    for (const Case& c : cases) {
        const Orders orders = c.wide
                                  ? runboth<std::uint32_t>(c.pipelinefrom, c.roots, c.peak, seed)
                                  : runboth<std::uint16_t>(c.pipelinefrom, c.roots, c.peak, seed);
        ++seed;
        ASSERT_EQ(orders.layered.size(), orders.general.size()) << c.pipelinefrom;
        EXPECT_GT(orders.general.size(), c.peak);
        // The first place they part, if any: far clearer than a whole vector.
        std::size_t same = 0;
        while (same < orders.general.size() && orders.layered[same] == orders.general[same])
            ++same;
        EXPECT_EQ(same, orders.general.size())
            << "wide " << c.wide << ", pipeline from " << c.pipelinefrom << ": pop " << same;
    }
}

// A pop goes down four levels at a time above the bound: exactly the holes
// whose four levels below lie within the heap, also past 2^28 entries and
// near 4 GiB of them, where a 32-bit size_t would wrap 16 * hole.
TEST(LayerHeap, FourLevelsAtATimeOnlyWithinTheHeap)
{
    for (const std::size_t last :
         {0u, 14u, 15u, 16u, 31u, 0x1000'000eu, 0x1100'0000u, 0xffff'fffeu}) {
        const std::uint64_t bound = LayerHeap<std::uint16_t>::fourlevelbound(last);
        EXPECT_GT(16 * bound + 15, last) << last;
        if (bound > 0) {
            EXPECT_LE(16 * (bound - 1) + 15, last) << last;
        }
    }
}

}  // namespace
