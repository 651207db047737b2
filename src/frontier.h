/*
 * The frontier: every generated state not yet examined, as a binary max-heap
 * ordered by score alone (index h has children 2h+1 and 2h+2).
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
 * ScoreHeap holds the mechanics on 8-byte keys (a score and a slot number);
 * Frontier keeps each entry's payload (a state) in a slot, reused once its
 * entry is popped, so the heap's inner loops never move whole states.
 * Complexity: push and pop O(log n); top() and pop() need a non-empty heap.
 */
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "blockarray.h"

class ScoreHeap {
public:
    struct Key {
        std::int32_t score;
        std::uint32_t slot;
    };

    ScoreHeap() = default;
    ~ScoreHeap();
    ScoreHeap(const ScoreHeap&) = delete;
    ScoreHeap& operator=(const ScoreHeap&) = delete;

    void push(Key key);
    const Key& top() const { return keys_[0]; }
    void pop();
    bool empty() const { return size_ == 0; }
    std::size_t size() const { return size_; }

    // Bytes held once `extra` more keys have been pushed.
    std::size_t footprint(std::size_t extra) const;

private:
    static std::size_t grown(std::size_t capacity, std::size_t needed);
    void siftup(std::size_t hole, Key key);

    // Grown with realloc: a large array is remapped rather than copied.
    Key* keys_ = nullptr;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

template <class Payload>
class Frontier {
public:
    void push(std::int32_t score, const Payload& payload)
    {
        const std::uint32_t slot = takeslot();
        slots_[slot] = payload;
        heap_.push({score, slot});
    }
    const Payload& top() const { return slots_[heap_.top().slot]; }
    std::int32_t topscore() const { return heap_.top().score; }
    void pop()
    {
        freeslots_.push_back(heap_.top().slot);
        heap_.pop();
    }
    bool empty() const { return heap_.empty(); }
    std::size_t size() const { return heap_.size(); }

    // Bytes held once `extra` more entries have been pushed; SIZE_MAX when
    // the frontier cannot number that many.
    std::size_t footprint(std::size_t extra) const
    {
        const std::size_t newslots = extra > freeslots_.size() ? extra - freeslots_.size() : 0;
        if (slots_.size() + newslots > UINT32_MAX)
            return SIZE_MAX;
        return heap_.footprint(extra) + slots_.footprint(newslots) +
               freeslots_.capacity() * sizeof(std::uint32_t);
    }

private:
    std::uint32_t takeslot()
    {
        if (freeslots_.empty()) {
            slots_.push_back({});
            return static_cast<std::uint32_t>(slots_.size() - 1);
        }
        const std::uint32_t slot = freeslots_.back();
        freeslots_.pop_back();
        return slot;
    }

    ScoreHeap heap_;
    BlockArray<Payload> slots_;
    std::vector<std::uint32_t> freeslots_;
};
