/*
 * The bidirectional engine (engine.h: statuses, limits, result, events): two
 * breadth-first searches, one from the start and one from the goal, that
 * meet in the middle. Always a graph search. Moves can be undone, so the
 * goal's side makes its children by the same moves and rules.
 *
 * Each side has a first-in-first-out queue, its next layer, and the set of
 * positions it reached (every position it pushed, its first state
 * included). The side whose queue holds fewer states (the start's on a tie)
 * expands the whole of it: each state is taken (counted, reported), its
 * children are made in move order; a child whose position the other side
 * reached ends the search (it is generated, never queued), a child whose
 * position its own side reached is not pushed. The solution is the start
 * side's path to the meeting position followed by the goal side's path to
 * it reversed, each move's pegs swapped. The start equal to the goal is
 * taken, alone, as the goal.
 *
 * The start is node 0 and the goal node 1 (the `started` event, iteration
 * 0); the frontier size the events carry is the two queues' total, and
 * `expanded` comes after the children of each state taken, the one where
 * the sides meet included. Each side
 * keeps for each position the move that reached it first (a byte), from
 * which its paths are read back; that and the queues are its memory.
 * Complexity: O(1) a state, O(3^N) bytes.
 */
#pragma once

#include <algorithm>
#include <bit>
#include <cstdint>
#include <optional>
#include <vector>

#include "engine.h"
#include "heuristics.h"
#include "observe.h"
#include "problem.h"
#include "puzzle.h"

// A state on a side's queue (20 bytes).
struct QueueNode {
    PegSets sets;
    std::uint32_t code;
    std::uint32_t node;
    std::int32_t depth;
    std::int8_t lastto;
};

// What the engine holds for a queue entry and the whole run: a byte per
// position on each side.
inline HeldBytes bidirectionalheld(const Problem& problem)
{
    return {sizeof(QueueNode), 0, 2 * std::uint64_t{problem.positions()}};
}

namespace bidirectionaldetail {

// The mark of a position no side reached, and of a side's first state;
// any other mark is the move that reached it: 4 from + to.
inline constexpr std::uint8_t unreached = 0;
inline constexpr std::uint8_t firststate = 0xff;

struct Side {
    std::vector<std::uint8_t> reached;  // a mark per position
    std::vector<QueueNode> queue;

    // The moves from the side's first state to the position `code`.
    std::vector<Step> pathto(const Problem& problem, std::uint32_t code) const
    {
        std::vector<Step> path;
        while (reached[code] != firststate) {
            const auto from = static_cast<std::int16_t>(reached[code] >> 2);
            const auto to = static_cast<std::int16_t>(reached[code] & 3);
            path.push_back({static_cast<std::int8_t>(from), static_cast<std::int8_t>(to)});
            const auto piece = static_cast<std::int16_t>(
                std::countr_zero(static_cast<std::uint32_t>(problem.position(code).on[to])));
            code = movedcode(code, PegMove{to, from, piece});
        }
        std::reverse(path.begin(), path.end());
        return path;
    }
};

template <class Observer>
class Run {
public:
    Run(const Problem& problem, const SearchSetup& setup, const SearchLimits& limits,
        Observer& observer)
        : problem_(problem)
        , scoring_(scoringof(problem, setup))
        , observer_(observer)
        , pacing_(limits)
    {
    }

    SearchResult search()
    {
        if (!pacing_.roomtostart(
                [&](std::size_t n) { return footprint(n) + 2 * problem_.positions(); }, 2))
            return finish(SearchStatus::noroom);
        const std::uint32_t startcode = problem_.code(problem_.start);
        if (problem_.start == problem_.goal) {
            if (!pacing_.count(0, observer_))
                return finish(SearchStatus::cancelled);
            observer_.taken(0, problem_.start, 0, 0);
            return finish(SearchStatus::solved);
        }
        const std::uint32_t goalcode = problem_.code(problem_.goal);
        for (Side& side : sides_)
            side.reached.assign(problem_.positions(), unreached);
        sides_[0].reached[startcode] = firststate;
        sides_[1].reached[goalcode] = firststate;
        sides_[0].queue.push_back({problem_.start, startcode, 0, 0, 0});
        sides_[1].queue.push_back({problem_.goal, goalcode, 1, 0, 0});
        nodes_ = 2;
        observer_.started(0, nobound, 0, 2);
        while (!sides_[0].queue.empty() && !sides_[1].queue.empty()) {
            const int s = sides_[1].queue.size() < sides_[0].queue.size() ? 1 : 0;
            layer_.swap(sides_[s].queue);
            sides_[s].queue.clear();
            for (std::size_t i = 0; i < layer_.size(); ++i) {
                if (const std::optional<SearchResult> end = expand(s, layer_[i], layer_.size() - i))
                    return *end;
            }
        }
        return finish(SearchStatus::failed);
    }

private:
    // Bytes held once `states` more states are queued, but the marks.
    std::size_t footprint(std::size_t states) const
    {
        return (sides_[0].queue.capacity() + sides_[1].queue.capacity() + layer_.capacity() +
                states) *
                   sizeof(QueueNode) +
               sides_[0].reached.capacity() + sides_[1].reached.capacity();
    }

    SearchResult finish(SearchStatus status, std::vector<Step>&& solution = {})
    {
        return pacing_.finish(status, std::move(solution), depth_, footprint(0), queued(0));
    }

    // The states on the queues, `inlayer` of them still in the layer.
    std::size_t queued(std::size_t inlayer) const
    {
        return sides_[0].queue.size() + sides_[1].queue.size() + inlayer;
    }

    // Takes `cur` from side `s`'s layer, `inlayer` states of which (it
    // among them) are left; the run's end when its children meet the other
    // side or a limit stops it.
    std::optional<SearchResult> expand(int s, const QueueNode cur, std::size_t inlayer)
    {
        Side& own = sides_[s];
        const Side& other = sides_[1 - s];
        depth_ = cur.depth;
        if (!pacing_.count(depth_, observer_))
            return finish(SearchStatus::cancelled);
        observer_.taken(cur.node, cur.sets, depth_, queued(inlayer - 1));
        if (const std::optional<SearchStatus> stop =
                pacing_.limitreached([&](std::size_t n) { return footprint(n); }))
            return finish(*stop);
        PegMove moves[maxsuccessors];
        std::size_t count = 0;
        forlegalmoves(cur.sets, cur.lastto, [&](const PegMove& m) { moves[count++] = m; });
        const std::int32_t childdepth = depth_ + 1;
        for (std::size_t i = 0; i < count; ++i) {
            const PegMove& m = moves[i];
            const std::uint32_t code = movedcode(cur.code, m);
            const bool met = other.reached[code] != unreached;
            if (!met && own.reached[code] != unreached)
                continue;
            const PegSets child = applymove(cur.sets, m);
            const std::uint32_t node = nodes_++;
            const std::int32_t score = scoring_(child, childdepth);
            if (met) {
                observer_.pushed(node, cur.node, m, child, childdepth, score);
                observer_.expanded(queued(inlayer - 1));
                return finish(SearchStatus::solved, meeting(s, cur.code, m, code));
            }
            own.reached[code] = static_cast<std::uint8_t>(4 * m.from + m.to);
            own.queue.push_back({child, code, node, childdepth, static_cast<std::int8_t>(m.to)});
            observer_.pushed(node, cur.node, m, child, childdepth, score);
        }
        observer_.expanded(queued(inlayer - 1));
        return std::nullopt;
    }

    // The solution through the position `met`, reached by side `s` with the
    // move `m` from the position `from`, and by the other side before.
    std::vector<Step> meeting(int s, std::uint32_t from, const PegMove& m, std::uint32_t met)
    {
        std::vector<Step> near = sides_[s].pathto(problem_, from);
        near.push_back({static_cast<std::int8_t>(m.from), static_cast<std::int8_t>(m.to)});
        const std::vector<Step> far = sides_[1 - s].pathto(problem_, met);
        std::vector<Step> forward = s == 0 ? near : far;
        const std::vector<Step>& backward = s == 0 ? far : near;
        for (std::size_t i = backward.size(); i-- > 0;)
            forward.push_back({backward[i].to, backward[i].from});
        depth_ = static_cast<std::int32_t>(forward.size());
        return forward;
    }

    Problem problem_;
    Scoring scoring_;
    Observer& observer_;
    Pacing pacing_;
    Side sides_[2];
    std::vector<QueueNode> layer_;  // the layer being expanded
    std::uint32_t nodes_ = 1;  // states pushed
    std::int32_t depth_ = 0;  // of the state taken last (of the solution, once solved)
};

}  // namespace bidirectionaldetail

// Bidirectional search of `problem`, watched by `observer` (the setup gives
// only the scores the events carry).
template <class Observer>
SearchResult bidirectional(const Problem& problem, const SearchSetup& setup,
                           const SearchLimits& limits, Observer& observer)
{
    return bidirectionaldetail::Run<Observer>(problem, setup, limits, observer).search();
}
