/*
 * The contract every search engine keeps: the setup of a run, its limits,
 * how it ended and what it found, the pacing of its loop and the events its
 * observers hear. The engines (bestfirst.h, layered.h, depthfirst.h,
 * bidirectional.h) implement it; the run (run.h) picks one.
 *
 * An engine takes a problem (problem.h), a setup, limits and an observer,
 * searches from the problem's start until its goal is taken from the
 * frontier, and returns a result; it never writes text and never ends the
 * process. Statuses:
 *  - solved: `solution` holds the moves in playing order;
 *  - outofmemory: expanding the next states could have taken the search's
 *    memory past `limits.memory` bytes;
 *  - noroom: the limits leave no room even for the start state: nothing
 *    was searched;
 *  - stopped: `limits.examined` states were examined without reaching the
 *    goal (a limit for measurements and the comparison);
 *  - cancelled: the observer's progress hook asked the search to stop;
 *  - exhausted: the frontier ran empty (these move rules never allow it);
 *  - cutoff: a depth-limited search (or the last iteration of iterative
 *    deepening under --limite) ended without the goal, and some state was
 *    cut at the limit: no solution within the limit ("corte");
 *  - failed: a search with a limit or bound ended without the goal and
 *    nothing was cut or exceeded its bound: no solution at all ("falha");
 *  - pathlost: the goal was reached but its path could not be told for sure
 *    (only an engine that keeps no move records can meet this; it never
 *    should).
 * In every case `examined` counts the states taken from the frontier (the
 * goal included) and `depth` is the depth of the last one.
 *
 * Events, as an observer (observe.h) hears them; `node` is a state's push
 * number (the start's is 0), `parent` the node it was made from:
 *   taken(node, sets, depth, frontiersize)   a state was taken from the
 *                                      frontier (before it is tested for the
 *                                      goal); frontiersize counts what is left
 *   pushed(node, parent, move, sets, depth, score)   a child was pushed:
 *                                      the move that made it, its position,
 *                                      depth and score (higher is better)
 *   expanded(frontiersize)             every child of the state taken last
 *                                      has been pushed
 *   dropped(node, sets, depth, frontiersize)   graph search only: a state
 *                                      was taken whose position had been
 *                                      examined; it is neither examined nor
 *                                      expanded
 *   progress(examined, depth)          every 100000 states examined, before
 *                                      the state is reported taken; false
 *                                      asks the search to stop (cancelled)
 *   started(iteration, bound, first, firsts)   a pass begins with its first
 *                                      states pushed afresh, numbered from
 *                                      `first`: each iteration of iterative
 *                                      deepening and IDA* (from 1; bound:
 *                                      the depth limit, or the bound on f),
 *                                      with the start alone; bidirectional
 *                                      search's one pass (iteration 0) with
 *                                      the start and the goal
 * The start state is pushed before the loop and reported to no hook but
 * `started`; it is the first state taken. An engine that keeps no move records (layered.h)
 * numbers no node: it reports `unnumbered`.
 */
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "hanoi.h"
#include "heuristics.h"
#include "memory.h"
#include "problem.h"
#include "puzzle.h"

// How a run searches its problem: the method, the estimate, the order among
// equal scores, tree or graph search; the depth limit of depth-first search
// and of iterative deepening (the largest limit it tries), and the weight of
// weighted A* in hundredths (100 W).
struct SearchSetup {
    search_method method = search_method::astar;
    heuristic estimate = heuristic::padrao;
    tie_order ties = tie_order::heap;
    bool graph = false;
    std::int32_t depthlimit = nodepthlimit;
    std::int32_t weight = defaultweight;
};

// How the setup scores a state of `problem` (heuristics.h).
inline Scoring scoringof(const Problem& problem, const SearchSetup& setup)
{
    return {setup.method, setup.estimate, problem, setup.weight};
}

// Whether the setup's search keeps the examined positions: graph search, or
// bidirectional search, which is always one.
constexpr bool searchesgraph(search_method method, bool graph)
{
    return graph || method == search_method::bidirectional;
}

// The classic search: tree search with the heap's tie rule from every piece
// on peg 1 to every piece on peg 3, with the program's own estimate (which
// breadth-first search does not use).
inline bool isclassic(const Problem& problem, const SearchSetup& setup)
{
    const bool bestfirst = setup.method == search_method::astar ||
                           setup.method == search_method::breadth ||
                           setup.method == search_method::greedy;
    return bestfirst &&
           (setup.estimate == heuristic::padrao || setup.method == search_method::breadth) &&
           setup.ties == tie_order::heap && !setup.graph && isclassicproblem(problem);
}

// The node number of an engine that numbers no nodes.
inline constexpr std::uint32_t unnumbered = UINT32_MAX;

// The bytes an engine holds for each entry on its frontier and each move
// record, and besides them for the whole run (the positions examined, in
// graph search).
struct HeldBytes {
    std::uint64_t entry;
    std::uint64_t record;
    std::uint64_t fixed;
};

// The tie below the score that `ties` gives the push numbered `pushes` (from
// 0, the start state's): a higher rank leaves first, so the earliest push for
// fila, the latest for pilha; none for the heap's own rule.
constexpr std::uint32_t tiefor(tie_order ties, std::uint32_t pushes)
{
    switch (ties) {
    case tie_order::fila:
        return ~pushes;
    case tie_order::pilha:
        return pushes;
    case tie_order::heap:
        break;
    }
    return 0;
}

struct SearchLimits {
    std::uint64_t memory = unlimitedmemory;
    std::int64_t examined = INT64_MAX;
    // The budget that follows the room as the search grows, starting from
    // `memory`; none: the budget stays `memory`.
    MemoryBudget* budget = nullptr;
};

enum class SearchStatus {
    solved,
    outofmemory,
    noroom,
    stopped,
    cancelled,
    exhausted,
    pathlost,
    cutoff,
    failed,
};

// No bound (SearchResult::bound).
inline constexpr std::int64_t nobound = -1;

struct SearchResult {
    SearchStatus status;
    std::vector<Step> solution;
    std::int64_t examined;
    std::int32_t depth;
    std::uint64_t memory;  // bytes held by the search at the end
    std::size_t frontier;  // entries left on the frontier
    // Iterative deepening and IDA*: the iterations begun and the last one's
    // bound (depth limit, or bound on f); depth-first search: its limit.
    std::int32_t iterations = 0;
    std::int64_t bound = nobound;
};

// The observer hears of the search's progress every so many examined states.
inline constexpr std::int64_t progressinterval = 100000;

// No position has more legal moves than this.
inline constexpr std::size_t maxsuccessors = 3;

// An engine checks its memory once every so many examined states, looking
// ahead far enough to cover all the states they can generate.
inline constexpr std::int64_t memorycheckinterval = 256;

/*
 * The pacing of an engine's loop, the same in every engine: each state taken
 * is counted (count), and before it is expanded the limits are checked
 * (limitreached). The observer's progress hook is called every
 * `progressinterval` states, before the state is reported as taken; memory
 * is checked at the first state and every `memorycheckinterval` states after
 * it. A state costs an increment and two tests; the rest waits for the next
 * of these checkpoints.
 */
class Pacing {
public:
    explicit Pacing(const SearchLimits& limits)
        : limits_(limits)
    {
    }

    // Counts a state taken at `depth`; false when the observer, told of the
    // progress, asks the search to stop.
    template <class Observer>
    bool count(std::int32_t depth, Observer& observer)
    {
        if (--untilcheckpoint_ != 0) [[likely]]
            return true;
        const bool progressdue = passcheckpoint();
        return !progressdue || observer.progress(examined_, depth);
    }

    // The states counted so far.
    std::int64_t examined() const { return nextcheckpoint_ - untilcheckpoint_; }

    // How many states may be counted at once (countmany) before the next
    // checkpoint, which only count may reach.
    std::int64_t freestates() const { return untilcheckpoint_ - 1; }
    void countmany(std::int64_t states) { untilcheckpoint_ -= states; }

    // Why the state counted last may not be expanded, if it may not: the
    // examined limit is reached, or `footprint(n)`, the bytes the search holds
    // once n more states are stored, would pass the memory limit before the
    // next memory check.
    template <class Footprint>
    std::optional<SearchStatus> limitreached(const Footprint& footprint)
    {
        if (!atcheckpoint_) [[likely]]
            return std::nullopt;
        atcheckpoint_ = false;
        // Checkpoints are the only states these limits can stop at.
        if (examined_ == limits_.examined)
            return SearchStatus::stopped;
        if (examined_ == lastmemorycheck_ && !memoryallows(footprint))
            return SearchStatus::outofmemory;
        return std::nullopt;
    }

    // Whether the search may store its first `states` states at all.
    template <class Footprint>
    bool roomtostart(const Footprint& footprint, std::size_t states) const
    {
        return footprint(states) <= limits_.memory;
    }

    SearchResult finish(SearchStatus status, std::vector<Step>&& solution, std::int32_t depth,
                        std::uint64_t memory, std::size_t frontier) const
    {
        return {status,
                std::move(solution),
                nextcheckpoint_ - untilcheckpoint_,
                depth,
                memory,
                frontier,
                0,
                nobound};
    }

private:
    // Whether the next states may be stored within the budget. Out of the
    // loop's way: it runs once every `memorycheckinterval` states.
    template <class Footprint>
    [[gnu::noinline]] bool memoryallows(const Footprint& footprint) const
    {
        const std::uint64_t needed = footprint(memorycheckinterval * maxsuccessors);
        return limits_.budget ? limits_.budget->allows(needed, [&] { return footprint(0); })
                              : needed <= limits_.memory;
    }

    // Counts the states up to the checkpoint just reached and sets the next;
    // true when the progress is due there.
    bool passcheckpoint()
    {
        atcheckpoint_ = true;
        examined_ = nextcheckpoint_;
        const bool progressdue = examined_ == nextprogress_;
        if (progressdue)
            nextprogress_ += progressinterval;
        if (examined_ == nextmemorycheck_) {
            lastmemorycheck_ = examined_;
            nextmemorycheck_ += memorycheckinterval;
        }
        nextcheckpoint_ = std::min({nextprogress_, nextmemorycheck_, limits_.examined});
        untilcheckpoint_ = nextcheckpoint_ - examined_;
        return progressdue;
    }

    const SearchLimits limits_;
    // States examined up to the last checkpoint, and the next checkpoint; a
    // state taken costs a decrement of the distance between them.
    std::int64_t examined_ = 0;
    std::int64_t nextcheckpoint_ = 1;
    std::int64_t untilcheckpoint_ = 1;
    bool atcheckpoint_ = false;
    std::int64_t nextprogress_ = progressinterval;
    std::int64_t nextmemorycheck_ = 1;
    std::int64_t lastmemorycheck_ = 0;
};
