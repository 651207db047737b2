/*
 * Iterative deepening on the classic problem (isclassicproblem, problem.h):
 * tree search by depth-limited searches with the limits 0, 1, 2, ..., each
 * from the start with an empty stack, until one takes the goal. Few bytes,
 * many states: with 6 pieces about 21 billion examined over 64 iterations.
 *
 * A depth-limited search with limit L pushes the start, then takes the top
 * of its stack until it runs empty: the state is counted, tested for the
 * goal, and unless it lies at depth L (it is then "cut", whether or not it
 * has children) its children are pushed in reverse move order, so that the
 * child of the first legal move (puzzle.h's order, the piece just moved
 * staying put) is taken next. Each iteration pushes the start again; the
 * figures are summed over the iterations, but the largest frontier, the
 * stack's largest size in any iteration. The run ends with
 *  - solved in the first iteration that takes the goal (its path in
 *    playing order, as long as that iteration's limit: the fewest moves);
 *  - failed when an iteration cut nothing (no state reached its limit);
 *  - cutoff when the iteration with the largest limit allowed cut states;
 *  - stopped, cancelled, noroom and outofmemory as engine.h says; memory is
 *    the arrays of the iteration: 20 bytes for each depth up to its limit
 *    (the stack, the path, and what a child's entry adds at each depth),
 *    and 16 more. Each iteration's are checked against the limit before it
 *    starts.
 * The observer hears only the progress hook (engine.h's pacing, summed over
 * the iterations), with the depth of the state counted there.
 *
 * The states are those of that plain loop, in its order, but most are not
 * pushed: near the limit a state's subtree (the one or two levels above the
 * limit, and the limit's own states) is taken as one batch, read from a row
 * made before the search: how many states it has, how far the stack would
 * grow, and whether the goal is among them. A batch with a pacing
 * checkpoint or the goal among its states is taken state by state instead,
 * so progress, limits and the solution fall on the very same states. A
 * position and the peg its last move went to make an entry; the rows of
 * every entry are a table up to 8 pieces (a 16-byte row for each of 4
 * levels of each of 4 * 3^N entries: 187 KB for 6 pieces, 1.7 MB for 8,
 * left out of the memory limit as layered.h's table is), and are worked out
 * as entries are taken beyond.
 *
 * Complexity: O(b^L) states an iteration, b about 1.41; O(L) memory.
 */
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "engine.h"

// The result with the iterations begun and the last one's depth limit
// (`iterations`, `bound`), and what the statistics count besides.
struct DeepeningResult : SearchResult {
    std::int64_t generated;  // states pushed, each iteration's start included
    std::size_t largestfrontier;  // the largest size of the stack in any iteration
};

// Iterative deepening of the classic `problem` with the limits 0 up to
// `largestlimit` (>= 0; none: no bound). Instantiated in deepening.cpp for
// the observers of observe.h that hear no state (NoObserver, ProgressLines)
// and for FunctionObserver, whose progress hook alone it calls.
template <class Observer>
DeepeningResult deepening(const Problem& problem, std::optional<std::int32_t> largestlimit,
                          const SearchLimits& limits, Observer& observer);
