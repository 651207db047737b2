/*
 * The search: a best-first tree search from the start state until the goal
 * is taken from the frontier. There is no memory of visited positions; the
 * only pruning is that the piece just moved does not move again at once.
 *
 * Preconditions: `pieces` is N (1 to 15) and `optimal` is 2^N - 1.
 * Every 100000 examined states it writes two progress lines to `progress`.
 * Returns a status instead of ending the process: `solved` with the moves in
 * playing order (first move on top of `solution`) and the number of states
 * examined, the goal included; `exhausted` if the frontier ever ran empty
 * (which these move rules never allow).
 */
#pragma once

#include <cstdint>
#include <iosfwd>
#include <stack>

#include "hanoi.h"

enum class SearchStatus { solved, exhausted };

struct SearchResult {
    SearchStatus status;
    std::stack<HanoiMove> solution;
    std::int64_t examined;
};

inline constexpr std::int64_t progressinterval = 100000;

SearchResult search(search_method method, std::ostream& progress);
