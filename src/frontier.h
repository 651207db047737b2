/*
 * The frontier: every generated state not yet examined, as a binary max-heap
 * ordered by `score` alone (index h has children 2h+1 and 2h+2).
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
 * The heap itself moves 8-byte keys (score and slot number); each state waits
 * in a slot, reused once its state is popped. Complexity: push and pop
 * O(log n); top() and pop() need a non-empty frontier.
 */
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "blockarray.h"
#include "hanoi.h"

class Frontier {
public:
    Frontier() = default;
    ~Frontier();
    Frontier(const Frontier&) = delete;
    Frontier& operator=(const Frontier&) = delete;

    void push(const HanoiState& state);
    HanoiState top() const;
    void pop();
    bool empty() const { return size_ == 0; }
    std::size_t size() const { return size_; }

    // Bytes held once `extra` more states have been pushed; SIZE_MAX when the
    // frontier cannot number that many.
    std::size_t footprint(std::size_t extra) const;

private:
    struct Key {
        std::int32_t score;
        std::uint32_t slot;
    };
    struct Slot {
        const HanoiMove* move;
        std::array<std::int8_t, maxpieces> pegs;
    };

    static std::size_t grownkeys(std::size_t capacity, std::size_t needed);
    void siftup(std::size_t hole, Key key);
    std::uint32_t takeslot();

    // Grown with realloc: a large array is remapped rather than copied.
    Key* keys_ = nullptr;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
    BlockArray<Slot> slots_;
    std::vector<std::uint32_t> freeslots_;
};
