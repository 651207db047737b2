// Helpers shared by the unit tests: positions written as peg lists, and a
// check of a solution.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "hanoi.h"
#include "problem.h"
#include "puzzle.h"

// The position with piece i on pegs[i].
inline PegSets setsof(std::initializer_list<int> pegs)
{
    PegSets sets{};
    int i = 0;
    for (int peg : pegs)
        sets.on[peg] |= static_cast<std::uint16_t>(1u << i++);
    return sets;
}

// True when `steps` are legal moves, one after the other, from the problem's
// start, and end at its goal.
inline bool leadstogoal(const Problem& problem, const std::vector<Step>& steps)
{
    PegSets sets = problem.start;
    for (const Step& step : steps) {
        const std::uint32_t source = sets.on[step.from];
        const std::uint32_t target = sets.on[step.to];
        const std::uint32_t moved = source & (0u - source);
        if (moved == 0 || (target != 0 && (target & (0u - target)) < moved))
            return false;
        sets.on[step.from] = static_cast<std::uint16_t>(source & ~moved);
        sets.on[step.to] = static_cast<std::uint16_t>(target | moved);
    }
    return sets == problem.goal;
}
