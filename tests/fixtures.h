// Helpers shared by the unit tests: positions written as peg lists, and a
// scoped piece count.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "hanoi.h"
#include "puzzle.h"

// Sets `pieces` (and `optimal`) for one test and restores both afterwards.
class PieceCount {
public:
    explicit PieceCount(int n)
        : savedpieces_(pieces)
        , savedoptimal_(optimal)
    {
        pieces = static_cast<std::int16_t>(n);
        optimal = optimalmoves(n);
    }
    ~PieceCount()
    {
        pieces = savedpieces_;
        optimal = savedoptimal_;
    }
    PieceCount(const PieceCount&) = delete;
    PieceCount& operator=(const PieceCount&) = delete;

private:
    std::int16_t savedpieces_;
    std::int32_t savedoptimal_;
};

// A state with piece i on pegs[i], the given move, and score 0.
inline HanoiState stateof(std::initializer_list<int> pegs, const HanoiMove* move = nullptr)
{
    HanoiState state{};
    int i = 0;
    for (int peg : pegs)
        state.pegs[i++] = static_cast<std::int8_t>(peg);
    state.move = move;
    return state;
}
