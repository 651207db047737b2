/*
 * The depth-first engine: the stack methods (engine.h: statuses, limits,
 * result, events). One loop, a pass, takes the state on top of a stack until
 * the goal is taken or the stack is empty, under a bound; the methods are
 * the bounds and the passes around it:
 *
 *  - depth-first search (profundidade): one pass, no bound but the depth
 *    limit when one is given (depth-limited search);
 *  - iterative deepening (aprofundamento): passes under the depth limits 0,
 *    1, 2, ... up to the setup's limit (none: until the goal);
 *  - IDA* (ida): passes under a bound on f = g + h, the first f of the
 *    start, then the smallest f that exceeded the bound in the pass before.
 *
 * A pass: the start is pushed; a state taken is counted, reported and tested
 * for the goal; a state at the depth limit is then cut (its children are not
 * pushed); otherwise its children are made in move order and pushed in the
 * reverse order, so that the first move's child is taken next. Under a bound
 * on f, a child whose f exceeds it is not pushed (not generated), and the
 * smallest such f is the next bound. Graph search (Graph) keeps today's rule
 * within a pass: a state taken whose position was examined is dropped, a
 * child whose position was examined is not made; each pass starts with no
 * position examined. A pass ends with the goal, with cut states (cutoff),
 * or with neither (failed): iterative deepening and IDA* then stop, with no
 * solution.
 *
 * The path to the state taken is kept as the moves down to it (a state of
 * depth d was pushed by the state of depth d - 1 taken last), so a pass holds
 * no move records: its memory is the stack, the path and, in graph search,
 * the examined positions. Nodes are numbered in push order over the whole
 * run (the start of each pass too), modulo 2^32. Complexity: O(1) a state.
 */
#pragma once

#include <algorithm>
#include <climits>
#include <cstdint>
#include <optional>
#include <vector>

#include "engine.h"
#include "heuristics.h"
#include "hugearray.h"
#include "observe.h"
#include "problem.h"
#include "puzzle.h"

// A state on the stack (24 bytes): its pegs, its node number, its
// position's number (graph search), its depth and the move that made it.
struct StackNode {
    PegSets sets;
    std::uint32_t node;
    std::uint32_t code;
    std::int32_t depth;
    std::int8_t from;  // 0 for the start state
    std::int8_t to;
};
static_assert(sizeof(StackNode) == 24);

// What the engine holds for an entry on its stack and the whole run (no
// move records: the path is a move a level).
inline HeldBytes depthfirstheld(const Problem& problem, bool graph)
{
    return {sizeof(StackNode), 0, graph ? PositionSet::bytesfor(problem.positions()) : 0};
}

namespace depthfirstdetail {

// The engine's run. CostBound: the bound is on f (IDA*), else on the depth.
template <bool CostBound, bool Graph, class Observer>
class Run {
public:
    Run(const Problem& problem, const SearchSetup& setup, const SearchLimits& limits,
        Observer& observer)
        : problem_(problem)
        , setup_(setup)
        , scoring_(scoringof(problem, setup))
        , observer_(observer)
        , pacing_(limits)
        , examined_(Graph ? problem.positions() : 0)
    {
    }

    SearchResult search()
    {
        if (!pacing_.roomtostart([&](std::size_t n) { return footprint(n); }, 1))
            return finish(SearchStatus::noroom);
        if (setup_.method == search_method::depthfirst) {
            const std::int32_t limit =
                setup_.depthlimit == nodepthlimit ? INT32_MAX : setup_.depthlimit;
            SearchResult result = pass(limit);
            if (result.status == SearchStatus::exhausted)
                result.status = cut_ ? SearchStatus::cutoff : SearchStatus::failed;
            if (setup_.depthlimit != nodepthlimit)
                result.bound = setup_.depthlimit;
            return result;
        }
        // The first bound: depth 0, or the start's f.
        std::int32_t bound = CostBound ? -scoring_(problem_.start, 0) : 0;
        for (std::int32_t iteration = 1;; ++iteration) {
            observer_.started(iteration, bound, nodes_, 1);
            SearchResult result = pass(bound);
            result.iterations = iteration;
            result.bound = bound;
            if (result.status != SearchStatus::exhausted)
                return result;
            const bool last =
                CostBound ? nextbound_ == INT32_MAX : !cut_ || bound == setup_.depthlimit;
            if (last) {
                result.status = cut_ ? SearchStatus::cutoff : SearchStatus::failed;
                return result;
            }
            bound = CostBound ? nextbound_ : bound + 1;
        }
    }

private:
    // Bytes held once `states` more states are stored.
    std::size_t footprint(std::size_t states = 0) const
    {
        return stack_.footprint(stack_.size() + states) +
               (path_.capacity() + states) * sizeof(Step) +
               (Graph ? PositionSet::bytesfor(problem_.positions()) : 0);
    }

    SearchResult finish(SearchStatus status, std::vector<Step>&& solution = {})
    {
        return pacing_.finish(status, std::move(solution), depth_, footprint(), stack_.size());
    }

    // One pass from the start under `bound`; exhausted when the stack ran
    // empty.
    SearchResult pass(std::int32_t bound)
    {
        cut_ = false;
        nextbound_ = INT32_MAX;
        if constexpr (Graph)
            examined_.clear();
        stack_.resize(0);
        stack_.push_back({problem_.start, nodes_++, problem_.code(problem_.start), 0, 0, 0});
        while (!stack_.empty()) {
            const StackNode cur = stack_[stack_.size() - 1];
            stack_.pop_back();
            if (Graph && examined_.has(cur.code)) {
                observer_.dropped(cur.node, cur.sets, cur.depth, stack_.size());
                continue;
            }
            depth_ = cur.depth;
            if (!pacing_.count(depth_, observer_))
                return finish(SearchStatus::cancelled);
            path_.resize(static_cast<std::size_t>(depth_));
            if (depth_ > 0)
                path_.back() = {cur.from, cur.to};
            observer_.taken(cur.node, cur.sets, depth_, stack_.size());
            if (cur.sets == problem_.goal)
                return finish(SearchStatus::solved, std::vector<Step>(path_));
            if (const std::optional<SearchStatus> stop =
                    pacing_.limitreached([&](std::size_t n) { return footprint(n); }))
                return finish(*stop);
            if constexpr (Graph)
                examined_.add(cur.code);
            if (!CostBound && depth_ == bound)
                cut_ = true;
            else
                expand(cur, bound);
            observer_.expanded(stack_.size());
        }
        return finish(SearchStatus::exhausted);
    }

    // Pushes the children of `cur` that the rules admit, the first move's
    // last.
    void expand(const StackNode& cur, std::int32_t bound)
    {
        PegMove moves[maxsuccessors];
        std::size_t count = 0;
        forlegalmoves(cur.sets, cur.to, [&](const PegMove& m) { moves[count++] = m; });
        const std::int32_t childdepth = depth_ + 1;
        while (count-- > 0) {
            const PegMove& m = moves[count];
            const std::uint32_t code = Graph ? movedcode(cur.code, m) : 0;
            if (Graph && examined_.has(code))
                continue;
            const PegSets child = applymove(cur.sets, m);
            const std::int32_t score = scoring_(child, childdepth);
            if (CostBound && -score > bound) {
                nextbound_ = std::min(nextbound_, -score);
                continue;
            }
            const std::uint32_t node = nodes_++;
            stack_.push_back({child, node, code, childdepth, static_cast<std::int8_t>(m.from),
                              static_cast<std::int8_t>(m.to)});
            observer_.pushed(node, cur.node, m, child, childdepth, score);
        }
    }

    Problem problem_;
    SearchSetup setup_;
    Scoring scoring_;
    Observer& observer_;
    Pacing pacing_;
    PositionSet examined_;
    HugeArray<StackNode> stack_;
    std::vector<Step> path_;  // the moves down to the state taken last
    std::uint32_t nodes_ = 0;  // states pushed
    std::int32_t depth_ = 0;  // of the state taken last
    bool cut_ = false;  // a state of the pass was cut at the depth limit
    std::int32_t nextbound_ = INT32_MAX;  // the smallest f over the bound
};

}  // namespace depthfirstdetail

// The search of `setup` (depth-first search, iterative deepening or IDA*;
// CostBound for IDA*, Graph for graph search), watched by `observer`.
template <bool CostBound, bool Graph, class Observer>
SearchResult depthfirst(const Problem& problem, const SearchSetup& setup,
                        const SearchLimits& limits, Observer& observer)
{
    return depthfirstdetail::Run<CostBound, Graph, Observer>(problem, setup, limits, observer)
        .search();
}
