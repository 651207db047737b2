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

#include "evaluate.h"
#include "hanoi.h"
#include "heuristics.h"
#include "memory.h"
#include "observe.h"
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

// No position has more legal moves than this.
inline constexpr std::size_t maxsuccessors = 3;

// An engine checks its memory once every so many examined states, looking
// ahead far enough to cover all the states they can generate.
inline constexpr std::int64_t memorycheckinterval = 256;

// The two progress lines, written every `progressinterval` examined states.
void reportprogress(std::ostream& progress, std::int64_t examined, std::int32_t depth);

SearchResult search(search_method method, std::ostream& progress, const SearchLimits& limits = {});

// The same search, watched by `observer` (see observe.h). Each method runs a
// loop of its own, compiled for the observer: one that does nothing costs
// nothing. Instantiated in search.cpp for NoObserver, FunctionObserver and
// Watch; a new observer type adds its own instantiation there.
template <class Observer>
SearchResult search(search_method method, std::ostream& progress, const SearchLimits& limits,
                    Observer& observer);

// What a run searches: the method, the estimate, the order among equal
// scores, tree or graph search, and the start and goal positions.
struct SearchSetup {
    search_method method = search_method::astar;
    heuristic estimate = heuristic::padrao;
    tie_order ties = tie_order::heap;
    bool graph = false;
    std::optional<PegSets> start;  // every piece on peg 1 when not set
    std::optional<PegSets> goal;  // every piece on peg 3 when not set
};

PegSets startof(const SearchSetup& setup);
PegSets goalof(const SearchSetup& setup);
Scoring scoringof(const SearchSetup& setup);

// The classic search: tree search with the heap's tie rule from every piece
// on peg 1 to every piece on peg 3, with the program's own estimate (which
// breadth-first search does not use). It has loops of its own.
bool isclassic(const SearchSetup& setup);

/*
 * Any other setup: one general loop, the classic one's with a position's
 * estimate computed whole (heuristics.h) and the setup's choices made as it
 * goes. In graph search a state taken whose position was examined before is
 * dropped (observer.dropped, not counted as examined), and a child whose
 * position was examined is not pushed. With the tie orders fila and pilha
 * every push gets its own tie (frontier.h), so the order is exact.
 * Preconditions and results as for `search`.
 */
// What `search` or `searchsetup` holds for an entry and a move record.
HeldBytes searchheld(const SearchSetup& setup);

template <class Observer>
SearchResult searchsetup(const SearchSetup& setup, std::ostream& progress,
                         const SearchLimits& limits, Observer& observer);
