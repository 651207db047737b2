/*
 * The frontier: every generated state not yet examined, as a binary max-heap
 * ordered by score alone. The heap counts from 1 (index h has children 2h and
 * 2h+1); index 0 holds a sentinel that ranks above every score, so a key
 * climbing to the root stops there without testing for it.
 *
 * Tie rule, which decides which solution a search finds:
 *  - push sifts the new entry up past parents whose score is strictly lower,
 *    so among equal scores the earlier entry stays nearer the root;
 *  - pop takes the last entry out, carries the hole from the root down to a
 *    leaf along the larger child (the right one when the two are equal), and
 *    then sifts the last entry up from there. It never compares the last
 *    entry on the way down.
 * Five equal scores pushed A..E pop as A, C, E, B, D.
 *
 * RankedHeap holds the mechanics on keys of a rank and a slot number;
 * Frontier keeps each entry's payload (a state) in a slot, reused once its
 * entry is popped, so the heap's inner loops never move whole states. Keys,
 * slots and free slots live in HugeArrays.
 *
 * The rank is the score (ScoreHeap: 8-byte keys), or, in a 64-bit rank, the
 * score followed by 32 bits that order equal scores (`tie`): given a
 * different tie for every push, no two keys are equal and the tie rule above
 * never decides, so the order is exactly the one the ties set (the push
 * number for first pushed first, its complement for last pushed first).
 * Complexity: push and pop O(log n); top() and pop() need a non-empty heap.
 */
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>

#include "hugearray.h"

template <class Rank>
class RankedHeap {
public:
    // A score kept as its rank: the score with its sign bit flipped, so that
    // unsigned order is the scores' order and a pop can choose a child with a
    // borrow instead of a flag and a select; then the tie, if the rank has
    // room for it.
    struct Key {
        Rank rank;
        std::uint32_t slot;
    };
    static constexpr int tiebits = 8 * static_cast<int>(sizeof(Rank)) - 32;
    static constexpr Rank rankof(std::int32_t score, std::uint32_t tie = 0)
    {
        return static_cast<Rank>(static_cast<Rank>(static_cast<std::uint32_t>(score) ^ 0x80000000u)
                                 << tiebits) |
               tie;
    }
    static constexpr std::int32_t scoreof(Rank rank)
    {
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(rank >> tiebits) ^ 0x80000000u);
    }

    void push(Key key)
    {
        // The sentinel comes with the first key, so an unused heap maps nothing.
        if (keys_.empty()) [[unlikely]]
            keys_.push_back({std::numeric_limits<Rank>::max(), 0});
        const std::size_t hole = keys_.size();
        keys_.resize(hole + 1);
        siftup(hole, key);
    }
    const Key& top() const { return keys_[1]; }
    // The key at heap position i, 1 to size(): the heap's shape, for showing.
    const Key& at(std::size_t i) const { return keys_[i]; }
    void pop();
    bool empty() const { return keys_.size() <= 1; }
    std::size_t size() const { return empty() ? 0 : keys_.size() - 1; }

    // Bytes held once `extra` more keys have been pushed.
    std::uint64_t footprint(std::size_t extra) const
    {
        return extra == 0 ? keys_.footprint(keys_.size()) : keys_.footprint(size() + 1 + extra);
    }

private:
    void siftup(std::size_t hole, Key key)
    {
        Key* const keys = keys_.data();
        for (std::size_t parent = hole / 2; keys[parent].rank < key.rank; parent = hole / 2) {
            keys[hole] = keys[parent];
            hole = parent;
        }
        keys[hole] = key;
    }

    HugeArray<Key> keys_;
};

extern template class RankedHeap<std::uint32_t>;
extern template class RankedHeap<std::uint64_t>;
using ScoreHeap = RankedHeap<std::uint32_t>;

template <class Payload, class Rank = std::uint32_t>
class Frontier {
public:
    // `tie` orders equal scores in a 64-bit rank (see above); 0 otherwise.
    void push(std::int32_t score, const Payload& payload, std::uint32_t tie = 0)
    {
        const std::uint32_t slot = takeslot();
        slots_[slot] = payload;
        heap_.push({Heap::rankof(score, tie), slot});
    }
    const Payload& top() const { return slots_[heap_.top().slot]; }
    std::int32_t topscore() const { return Heap::scoreof(heap_.top().rank); }
    // The entry at heap position i (1 to size(); the children of i are at 2i
    // and 2i + 1), for showing the heap's shape.
    const Payload& at(std::size_t i) const { return slots_[heap_.at(i).slot]; }
    void pop()
    {
        freeslots_.push_back(heap_.top().slot);
        heap_.pop();
    }
    bool empty() const { return heap_.empty(); }
    std::size_t size() const { return heap_.size(); }

    // Bytes held once `extra` more entries have been pushed (and as many
    // popped); UINT64_MAX when the frontier cannot number that many.
    std::uint64_t footprint(std::size_t extra) const
    {
        const std::size_t newslots = extra > freeslots_.size() ? extra - freeslots_.size() : 0;
        if (slots_.size() + newslots > UINT32_MAX)
            return UINT64_MAX;
        return heap_.footprint(extra) + slots_.footprint(slots_.size() + newslots) +
               freeslots_.footprint(freeslots_.size() + extra);
    }

private:
    std::uint32_t takeslot()
    {
        if (freeslots_.empty()) {
            slots_.resize(slots_.size() + 1);
            return static_cast<std::uint32_t>(slots_.size() - 1);
        }
        const std::uint32_t slot = freeslots_[freeslots_.size() - 1];
        freeslots_.pop_back();
        return slot;
    }

    using Heap = RankedHeap<Rank>;
    Heap heap_;
    HugeArray<Payload> slots_;
    HugeArray<std::uint32_t> freeslots_;
};
