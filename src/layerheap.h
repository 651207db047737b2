/*
 * The layered engine's frontier: a binary heap of entries of two depths, d
 * and d + 1, whose top bit is the parity of the depth (the other bits are
 * the engine's and never read here). It pops in exactly the general
 * frontier's order (frontier.h) for scores that are the depth's negation:
 * the last entry is taken out, the hole goes from the root to a leaf along
 * the larger child (the right one on a tie), a lone left child moves up, and
 * the last entry rises past strictly lower parents.
 *
 * Use: top(), then pop(flip) with `flip` the parity bit of depth d (the top's
 * depth), then push() the popped entry's children, all of depth d + 1. A
 * child is never above its parent, so a push appends and never rises: two
 * children are one store. Entries are kept from index 1, so siblings share
 * an aligned pair and a step down reads both with one load. The array grows
 * by remapping (HugeArray): never a copy, never twice the memory.
 *
 * Once the heap holds `pipelinefrom` entries, pops are kept in flight so that
 * their cache misses overlap: a pop starts at the root, and at each top()
 * every pop in flight goes down two levels in lock step, a level for each in
 * turn, the oldest (deepest) first; so each pop is two levels below the next
 * younger one, and reads only children that every older pop has left
 * behind. The order is exact, because every pop in flight is finished first
 * (oldest first) in the three cases that would break it: a pop whose last
 * entry is shallow (it may rise back up past younger pops), a pop that
 * pushed no children (the next last entry may still be moved by an older
 * pop), and the first pop of a new depth (all compare with one parity).
 * Complexity: a pop walks the heap's height; a push is O(1); size() and
 * footprint() O(1).
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
    std::uint64_t footprint(std::size_t extra) const
    {
        return keys_.footprint(size_ + extra == 0 ? 0 : size_ + extra + 2);
    }

    // The root, once every pop in flight has left it far enough behind.
    Entry top()
    {
        if (begin_ != end_) {
            // The last pop had no children: the next last entry is one an
            // earlier pop may still move.
            if (size_ <= reach_) {
                finishall();
            } else {
                advance();
            }
        }
        return keys_[1];
    }

    // Starts popping the root (call top() first); `flip` is the parity bit
    // of the shallower depth on the heap.
    void pop(Entry flip)
    {
        const Entry last = keys_[size_];
        --size_;
        // Every pop in flight compares with one parity: they end before the
        // first pop of a new depth.
        if (flip != flip_) {
            finishall();
            flip_ = flip;
        }
        const Pop pop{1, size_, last};
        // A shallow last entry may rise back up its path, past later pops;
        // a heap that fits in the cache gains nothing from pops in flight.
        if (!deep(last) || (begin_ == end_ && size_ < pipelinefrom_)) {
            finishall();
            finish(pop);
            return;
        }
        if (end_ == slots)
            makeroomforpop();
        holes_[end_] = pop.hole;
        lasts_[end_] = pop.last;
        entries_[end_] = pop.entry;
        ++end_;
        reach_ = std::max(reach_, size_);
    }

    // The holes below this bound have all four levels under them in a heap
    // whose last index is `last` (16 * hole + 15 <= last). Divided, not
    // multiplied: a 32-bit size_t would wrap the product once the heap
    // passes 2^28 entries, and the pop would walk off the array.
    static constexpr std::size_t fourlevelbound(std::size_t last) { return (last + 1) / 16; }

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
    };

    // Slots for pops in flight, used from the front (moved back there when
    // the end is reached): one pop every two levels of a heap of up to 2^64
    // entries is at most 32 in flight.
    static constexpr std::size_t slots = 64;
    static constexpr std::size_t maxinflight = 32;
    // Levels every pop in flight goes down before the next one starts. One
    // would be exact too (the older pop moves first), but the next pop would
    // then load the pair that its elder stored a moment before, which the
    // store buffer cannot hand over in one piece: four times slower.
    static constexpr int stepsapop = 2;

    Entry deep(Entry entry) const { return static_cast<Entry>((entry ^ flip_) & paritybit); }

    // Room for two more entries; the array's whole capacity is in use as room.
    void makeroom()
    {
        keys_.resize(size_ + 3);
        keys_.resize(keys_.capacity());
    }

    // The hole one level down, along the larger child.
    static std::size_t down(Entry* keys, std::size_t hole, Entry flip)
    {
        const std::size_t right = 2 * hole + 1;
        // Siblings share an aligned pair: one load.
        EntryPair<Entry> pair;
        std::memcpy(&pair, &keys[right - 1], sizeof pair);
        // Left only when the right child is deep and the left one is not.
        constexpr EntryPair<Entry> paritybits = paritybit * pairofones<Entry>;
        const std::size_t child =
            right - (((pair ^ flip * pairofones<Entry>)&paritybits) == paritybits - paritybit);
        keys[hole] = keys[child];
        return child;
    }

    // The rest of `pop`, down to a leaf and back up as far as its entry rises.
    void finish(const Pop& pop)
    {
        Entry* const keys = keys_.data();
        const std::size_t last = pop.last;
        std::size_t hole = pop.hole;
        // Four levels at a time while all of them have both children.
        const std::size_t fourlevels = fourlevelbound(last);
        while (hole < fourlevels)
            hole = down(keys, down(keys, down(keys, down(keys, hole, flip_), flip_), flip_), flip_);
        while (2 * hole + 1 <= last)
            hole = down(keys, hole, flip_);
        if (const std::size_t left = 2 * hole; left <= last) {
            keys[hole] = keys[left];
            hole = left;
        }
        while (hole > 1 && deep(keys[hole / 2]) > deep(pop.entry)) {
            keys[hole] = keys[hole / 2];
            hole /= 2;
        }
        keys[hole] = pop.entry;
    }

    void finisholdest()
    {
        finish({holes_[begin_], lasts_[begin_], entries_[begin_]});
        ++begin_;
        if (begin_ == end_) {
            begin_ = end_ = 0;
            reach_ = 0;
        }
    }

    void finishall()
    {
        while (begin_ != end_)
            finisholdest();
    }

    // The pops in flight moved to the front of their slots, or the oldest
    // finished when there are too many.
    void makeroomforpop()
    {
        if (end_ - begin_ == maxinflight)
            finisholdest();
        const std::size_t inflight = end_ - begin_;
        std::copy_n(&holes_[begin_], inflight, holes_.begin());
        std::copy_n(&lasts_[begin_], inflight, lasts_.begin());
        std::copy_n(&entries_[begin_], inflight, entries_.begin());
        begin_ = 0;
        end_ = inflight;
    }

    // Every pop in flight `stepsapop` levels down in lock step: a level for
    // each in turn, the oldest (deepest) first. Every hole below `bound` has
    // both children for every pop (the oldest has the smallest last index);
    // a pop whose hole has not ends, after every older one.
    void advance()
    {
        Entry* const keys = keys_.data();
        const Entry flip = flip_;
        for (int step = 0; step < stepsapop && begin_ != end_; ++step) {
            const std::size_t end = end_;
            std::size_t i = begin_;
            while (i != end) {
                const std::size_t bound = (lasts_[begin_] + 1) / 2;
                for (; i != end && holes_[i] < bound; ++i)
                    holes_[i] = down(keys, holes_[i], flip);
                if (i == end)
                    break;
                for (std::size_t ending = i + 1 - begin_; ending != 0; --ending)
                    finisholdest();
                i = begin_;
                if (i == end_)
                    break;
            }
        }
    }

    std::size_t pipelinefrom_;
    HugeArray<Entry> keys_;  // index 0 unused
    std::size_t size_ = 0;
    Entry flip_ = 0;
    // The pops in flight, oldest first, in slots `begin_` to `end_`: holes,
    // last indexes and last entries.
    std::array<std::size_t, slots> holes_{};
    std::array<std::size_t, slots> lasts_{};
    std::array<Entry, slots> entries_{};
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    // The largest last index of a pop in flight: nothing at or below it may be
    // taken as a last entry or overwritten by a push.
    std::size_t reach_ = 0;
};
