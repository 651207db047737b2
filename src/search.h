/*
 * The search: a best-first tree search from the start state until the goal
 * is taken from the frontier. There is no memory of visited positions; the
 * only pruning is that the piece just moved does not move again at once.
 *
 * Preconditions: `pieces` is N (1 to 15) and `optimal` is 2^N - 1.
 * Every 100000 examined states it writes two progress lines to `progress`.
 * Returns a status instead of ending the process:
 *  - solved: `solution` holds the moves in playing order;
 *  - outofmemory: expanding the next states could have taken the frontier
 *    and the move records past `limits.memory` bytes;
 *  - stopped: `limits.examined` states were examined without reaching the
 *    goal (a limit for measurements; the program sets none);
 *  - exhausted: the frontier ran empty (these move rules never allow it);
 *  - pathlost: the goal was reached but its path could not be told for sure
 *    (only an engine that keeps no move records can meet this; it never
 *    should).
 * In every case `examined` counts the states taken from the frontier (the
 * goal included) and `depth` is the depth of the last one.
 */
#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <vector>

#include "hanoi.h"
#include "memory.h"
#include "observe.h"
#include "puzzle.h"

/*
 * A state as the search keeps it on its frontier (24 bytes with its padding):
 * the pegs as bit sets, the move that produced it, and that move's depth and
 * destination, so that expanding the state never reads the move record back.
 */
struct SearchNode {
    const HanoiMove* move;  // null for the start state
    std::int32_t depth;
    std::int16_t lastto;  // move->to; 0 for the start state
    PegSets sets;
};
static_assert(sizeof(SearchNode) == 24);

enum class SearchStatus { solved, outofmemory, stopped, exhausted, pathlost };

struct SearchLimits {
    std::uint64_t memory = unlimitedmemory;
    std::int64_t examined = INT64_MAX;
};

struct SearchResult {
    SearchStatus status;
    std::vector<Step> solution;
    std::int64_t examined;
    std::int32_t depth;
    std::uint64_t memory;  // bytes held by the frontier and move records at the end
    std::size_t frontier;  // entries left on the frontier
};

inline constexpr std::int64_t progressinterval = 100000;

template <class Observer>
SearchResult search(search_method method, std::ostream& progress, const SearchLimits& limits,
                    Observer& observer);

SearchResult search(search_method method, std::ostream& progress, const SearchLimits& limits = {});

// The same search watched by `observer` (see observe.h); instantiated for
// NoObserver and Watch.
template <class Observer>
SearchResult search(search_method method, std::ostream& progress, const SearchLimits& limits,
                    Observer& observer);
