/*
 * The frontier: every generated state not yet examined, as a binary max-heap
 * of whole state copies ordered by `score` alone (index h has children 2h+1
 * and 2h+2).
 *
 * Tie rule, which decides which solution a search finds:
 *  - push sifts the new state up past parents whose score is strictly lower,
 *    so among equal scores the earlier state stays nearer the root;
 *  - pop takes the last entry out, carries the hole from the root down to a
 *    leaf along the larger child (the right one when the two are equal), and
 *    then sifts the last entry up from there. It never compares the last
 *    entry on the way down.
 * Five equal scores pushed A..E pop as A, C, E, B, D.
 *
 * Complexity: push and pop O(log n). top() and pop() need a non-empty heap.
 * Storage grows a block at a time (see BlockArray).
 */
#pragma once

#include <cstddef>

#include "blockarray.h"
#include "hanoi.h"

class Frontier {
public:
    void push(HanoiState state);
    const HanoiState& top() const { return heap_[0]; }
    void pop();
    bool empty() const { return heap_.empty(); }
    std::size_t size() const { return heap_.size(); }

    // Bytes held once `extra` more states have been pushed.
    std::size_t footprint(std::size_t extra) const { return heap_.footprint(extra); }

private:
    void siftup(std::size_t hole, const HanoiState& state);

    BlockArray<HanoiState> heap_;
};
