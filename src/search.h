/*
 * The general engine: a best-first tree search from the start state until
 * the goal is taken from the frontier (engine.h: statuses, limits, result).
 * There is no memory of visited positions; the only pruning is that the
 * piece just moved does not move again at once. `memory` in its result is
 * the bytes its frontier and move records hold.
 */
#pragma once

#include <cstdint>

#include "engine.h"
#include "evaluate.h"
#include "hanoi.h"
#include "puzzle.h"

/*
 * A state as the search keeps it on its frontier (24 bytes): the pegs as bit
 * sets, the number of the record of the move that produced it, that move's
 * depth and destination, and what the state's estimate leaves for its
 * children, so that expanding the state reads nothing else.
 */
struct SearchNode {
    std::uint32_t move;  // 0 for the start state, which has no move
    std::int32_t depth;
    PegSets sets;
    EstimateParts parts;  // unused by breadth-first search
    std::int8_t lastto;  // the move's destination; 0 for the start state
};
static_assert(sizeof(SearchNode) == 24);

// The search, watched by `observer` (see observe.h). Each method runs a loop
// of its own, compiled for the observer: one that does nothing costs nothing.
// Instantiated in search.cpp for the observers of observe.h.
template <class Observer>
SearchResult search(search_method method, const SearchLimits& limits, Observer& observer);
