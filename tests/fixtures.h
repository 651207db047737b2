// Helpers shared by the unit tests: positions written as peg lists, and a
// scoped piece count.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

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

// The position with piece i on pegs[i].
inline PegSets setsof(std::initializer_list<int> pegs)
{
    PegSets sets{};
    int i = 0;
    for (int peg : pegs)
        sets.on[peg] |= static_cast<std::uint16_t>(1u << i++);
    return sets;
}

// True when `steps` are legal moves, one after the other, from the start
// position, and end with every piece on peg 3.
inline bool leadstogoal(const std::vector<Step>& steps)
{
    PegSets sets = startstate();
    for (const Step& step : steps) {
        const std::uint32_t source = sets.on[step.from];
        const std::uint32_t target = sets.on[step.to];
        const std::uint32_t moved = source & (0u - source);
        if (moved == 0 || (target != 0 && (target & (0u - target)) < moved))
            return false;
        sets.on[step.from] = static_cast<std::uint16_t>(source & ~moved);
        sets.on[step.to] = static_cast<std::uint16_t>(target | moved);
    }
    return hitgoal(sets);
}
