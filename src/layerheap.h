/*
 * The layered engine's frontier: a heap of entries whose top bit is the
 * parity of the depth (the other bits are the engine's and never read here),
 * stored from index 1 so that the descendants of entry h k levels down are the 2^k entries from h *
 * 2^k on: a cache line holds a whole level of them, which a pop fetches a few levels ahead. The
 * array grows by remapping (HugeArray): never a copy, never twice the memory.
 *
 * A pop is the general frontier's: the last entry is taken out, the hole
 * goes from the root to a leaf along the larger child (the right one on a
 * tie), a lone left child moves up, and the last entry rises past strictly
 * lower parents. A push appends: a child is always deep, so it never rises.
 *
 * Deep or shallow: `flip` is the parity bit of the shallower depth on the
 * frontier, and an entry is deep when its parity differs.
 *
 * Several pops are in flight at once, each at least two levels behind the
 * one before, so that their cache misses overlap. This is exact: a pop reads
 * only the children of its hole, which every earlier pop has left behind,
 * and writes only its own path. Two cases would break that, and then every
 * pop in flight is finished first (oldest first, so none overtakes another):
 * a pop whose last entry is shallow may rise back up its path past later
 * pops, and a last entry or a child that falls inside an earlier pop's part
 * of the heap could still be moved by it.
 */
#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "hugearray.h"

// Two entries side by side, the first in the low half.
template <class Entry>
using EntryPair = std::conditional_t<sizeof(Entry) == 2, std::uint32_t, std::uint64_t>;

// A pair whose entries are both 1: times an entry, a pair of that entry.
template <class Entry>
inline constexpr EntryPair<Entry> pairofones = EntryPair<Entry>{1} << 8 * sizeof(Entry) | 1;

template <class Entry>
class LayerHeap {
public:
    static constexpr int paritybitshift = 8 * sizeof(Entry) - 1;
    static constexpr Entry paritybit = Entry{1} << paritybitshift;

    // Pops are kept in flight once the heap holds `pipelinefrom` entries.
    explicit LayerHeap(std::size_t pipelinefrom = std::size_t{1} << 16)
        : pipelinefrom_(pipelinefrom)
    {
    }

    std::size_t size() const { return size_; }

    // Bytes held once `extra` more entries have been pushed.
    std::size_t footprint(std::size_t extra) const
    {
        return keys_.footprint(size_ + extra == 0 ? 0 : size_ + extra + 2);
    }

    // The root, once every pop in flight has left it far enough behind.
    Entry top()
    {
        if (inflight_ != 0 && size_ <= reach_)
            finishall();
        advanceall();
        return keys_[1];
    }

    // Starts popping the root (call top() first).
    void pop(Entry flip)
    {
        const Entry last = keys_[size_];
        --size_;
        // A heap that fits in the cache gains nothing from pops in flight.
        if (inflight_ == 0 && size_ < pipelinefrom_) {
            Pop pop{1, size_, last, flip};
            finish(pop);
            return;
        }
        if (inflight_ == maxinflight)
            finisholdest();
        pops_[(first_ + inflight_) % maxinflight] = {1, size_, last, flip};
        ++inflight_;
        reach_ = std::max(reach_, size_);
        if (!deep(last, flip))
            finishall();
    }

    // Appends the first `count` (0 to 2) entries of `entries`. Both are
    // written, as one store; a second one not counted lies past the end.
    void push(EntryPair<Entry> entries, unsigned count)
    {
        if (size_ + 2 >= keys_.size())
            makeroom();
        std::memcpy(&keys_[size_ + 1], &entries, sizeof entries);
        size_ += count;
    }

private:
    static_assert(std::endian::native == std::endian::little);

    struct Pop {
        std::size_t hole;
        std::size_t last;  // the heap's last index while this pop runs
        Entry entry;  // the last entry, placed where the hole ends
        Entry flip;
    };

    static constexpr std::size_t maxinflight = 32;
    // Levels a pop goes down in a round: at least two, so that the next pop
    // only reads what this one has left behind.
    static constexpr int levelsaround = 4;
    // A cache line of descendants lies this many levels below an entry.
    static constexpr int prefetchlevels = std::bit_width(64 / sizeof(Entry)) - 1;

    static Entry deep(Entry entry, Entry flip)
    {
        return static_cast<Entry>((entry ^ flip) & paritybit);
    }

    // Room for two more entries; the array's whole capacity is in use as room.
    void makeroom()
    {
        keys_.resize(size_ + 3);
        keys_.resize(keys_.capacity());
    }

    // The hole one level down, along the larger child; `fetchahead`: fetch
    // the cache line of its descendants a few levels further down.
    template <bool fetchahead>
    static std::size_t down(Entry* keys, std::size_t hole, Entry flip)
    {
        if constexpr (fetchahead)
            __builtin_prefetch(&keys[hole << prefetchlevels]);
        const std::size_t right = 2 * hole + 1;
        // Siblings share an aligned pair: one load.
        EntryPair<Entry> pair;
        std::memcpy(&pair, &keys[right - 1], sizeof pair);
        const auto leftentry = static_cast<Entry>(pair);
        const auto rightentry = static_cast<Entry>(pair >> (8 * sizeof(Entry)));
        // Left only when the right child is deep and the left one is not.
        const std::size_t child =
            right - static_cast<std::size_t>(((rightentry ^ leftentry) & (rightentry ^ flip)) >>
                                             paritybitshift);
        keys[hole] = keys[child];
        return child;
    }

    // `levelsaround` levels down; false when the hole reaches a leaf first.
    bool descendround(Pop& pop)
    {
        Entry* const keys = keys_.data();
        std::size_t hole = pop.hole;
        // Every level has both children: no check on the way.
        const bool inner = ((hole + 1) << levelsaround) - 1 <= pop.last;
        for (int level = 0; level < levelsaround; ++level) {
            if (!inner && 2 * hole + 1 > pop.last) {
                pop.hole = hole;
                return false;
            }
            hole = down<true>(keys, hole, pop.flip);
        }
        pop.hole = hole;
        return true;
    }

    void finish(const Pop& pop)
    {
        Entry* const keys = keys_.data();
        const std::size_t last = pop.last;
        const Entry flip = pop.flip;
        std::size_t hole = pop.hole;
        // Four levels at a time while all of them have both children.
        while (((hole + 1) << 4) - 1 <= last)
            hole = down<false>(
                keys,
                down<false>(keys, down<false>(keys, down<false>(keys, hole, flip), flip), flip),
                flip);
        while (2 * hole + 1 <= last)
            hole = down<false>(keys, hole, flip);
        if (const std::size_t left = 2 * hole; left <= last) {
            keys[hole] = keys[left];
            hole = left;
        }
        while (hole > 1 && deep(keys[hole / 2], pop.flip) > deep(pop.entry, pop.flip)) {
            keys[hole] = keys[hole / 2];
            hole /= 2;
        }
        keys[hole] = pop.entry;
    }

    void finisholdest()
    {
        finish(pops_[first_]);
        first_ = (first_ + 1) % maxinflight;
        --inflight_;
        if (inflight_ == 0)
            reach_ = 0;
    }

    void finishall()
    {
        while (inflight_ != 0)
            finisholdest();
    }

    // Every pop in flight a few levels down, the oldest (deepest) first, which
    // keeps them that many levels apart and leaves the root to the next pop. A
    // pop whose hole has reached a leaf is finished, after every older one.
    void advanceall()
    {
        std::size_t i = 0;
        while (i < inflight_) {
            if (descendround(pops_[(first_ + i) % maxinflight])) {
                ++i;
                continue;
            }
            for (std::size_t older = 0; older <= i; ++older)
                finisholdest();
            i = 0;
        }
    }

    std::size_t pipelinefrom_;
    HugeArray<Entry> keys_;  // index 0 unused
    std::size_t size_ = 0;
    std::array<Pop, maxinflight> pops_{};
    std::size_t first_ = 0;
    std::size_t inflight_ = 0;
    // The largest last index of a pop in flight: nothing at or below it may be
    // taken as a last entry or overwritten by a push.
    std::size_t reach_ = 0;
};
