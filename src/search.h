/*
 * The general engine: a best-first search from the start state until the
 * goal is taken from the frontier (engine.h: statuses, limits, result). The
 * classic runs are tree searches, with no memory of visited positions: the
 * only pruning is that the piece just moved does not move again at once. The
 * lab's setups (searchsetup below) may ask for graph search instead. `memory`
 * in its result is the bytes its frontier and move records hold.
 */
#pragma once

#include <cstddef>
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

// The most move records a search makes; past them it stops as out of
// memory. A state's depth is at most the number of states examined before
// it, each of which but the start has a record: under this bound every depth
// fits in its signed 32 bits, as every record number does in its unsigned
// ones. (Greedy tree search with `fora` goes about 0.86 deeper a state.)
inline constexpr std::size_t maxrecords = INT32_MAX;

// The search, watched by `observer` (see observe.h). Each method runs a loop
// of its own, compiled for the observer: one that does nothing costs nothing.
// Instantiated in search.cpp for the observers of observe.h.
template <class Observer>
SearchResult search(search_method method, const SearchLimits& limits, Observer& observer);

// What `search` or `searchsetup` holds for a frontier entry and a move
// record.
HeldBytes searchheld(const SearchSetup& setup);

/*
 * Any setup other than the classic one (isclassic, engine.h): one general
 * loop, the classic one's with a position's estimate computed whole
 * (heuristics.h) and the setup's choices made as it goes. In graph search a
 * state taken whose position was examined before is dropped (the observer's
 * `dropped`; not counted as examined), and a child whose position was
 * examined is not pushed. With the tie orders fila and pilha every push gets
 * its own tie (frontier.h), so the order is exact. The examined positions
 * take a bit each, counted in `memory`.
 */
template <class Observer>
SearchResult searchsetup(const SearchSetup& setup, const SearchLimits& limits, Observer& observer);
