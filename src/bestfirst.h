/*
 * The best-first engine: one loop that takes the best state from the
 * frontier until the goal is taken (engine.h: statuses, limits, result,
 * events), specialised at compile time by its rules:
 *
 *  - ClassicRules<Method>: the classic search (isclassic, engine.h). A
 *    state's estimate is kept in parts that its children share
 *    (evaluate.h), so most children's scores are one table lookup; the goal
 *    is every piece on peg 3.
 *  - SetupRules<Ties, Graph>: any other setup. A position's estimate is
 *    computed whole (Scoring, heuristics.h) and every state carries its
 *    position's number (problem.h). With the tie orders fila and pilha every
 *    push gets its own tie (frontier.h), so the order is exact. In graph
 *    search a state taken whose position was examined before is dropped
 *    (the `dropped` event; not counted as examined), and a child whose
 *    position was examined is not pushed; the examined positions take a bit
 *    each, counted in `memory`.
 *
 * Both are tree searches unless Graph: no memory of visited positions, the
 * only pruning that the piece just moved does not move again at once. Every
 * state pushed gets a move record; a node's number is its record's, so the
 * start is node 0 and each push numbers the next. `memory` in the result is
 * the bytes the frontier, the records and the examined positions hold.
 *
 * An observer that lists the frontier (`listsfrontier`, observe.h) is shown
 * it before each state is taken. Complexity: O(log n) a state.
 */
#pragma once

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "engine.h"
#include "evaluate.h"
#include "frontier.h"
#include "heuristics.h"
#include "hugearray.h"
#include "observe.h"
#include "problem.h"
#include "puzzle.h"

// A move of the search: source and destination peg, and the number of the
// record of the move made just before it (0 for a first move). Record 0
// stands for "no move"; the path to a state is read back through `prev`.
struct MoveRecord {
    std::uint32_t prev;
    std::int8_t from;
    std::int8_t to;
};

/*
 * A state as the search keeps it on its frontier (24 bytes): the number of
 * the record of the move that produced it, that move's depth and
 * destination, the pegs as bit sets, and what the rules carry from a state
 * to its children, so that expanding the state reads nothing else.
 */
template <class Carry>
struct BestFirstNode {
    std::uint32_t move;  // 0 for the start state, which has no move
    std::int32_t depth;
    PegSets sets;
    Carry carry;
    std::int8_t lastto;  // the move's destination; 0 for the start state
};

// The most move records a search makes; past them it stops as out of
// memory. A state's depth is at most the number of states examined before
// it, each of which but the start has a record: under this bound every depth
// fits in its signed 32 bits, as every record number does in its unsigned
// ones. (Greedy tree search with `fora` goes about 0.86 deeper a state.)
inline constexpr std::size_t maxrecords = INT32_MAX;

// The classic search's node, and the setup rules' (24 bytes each).
using SearchNode = BestFirstNode<EstimateParts>;
static_assert(sizeof(SearchNode) == 24);
static_assert(sizeof(BestFirstNode<std::uint32_t>) == 24);

// The classic search's rules. Breadth-first scores need no estimate.
template <search_method Method>
struct ClassicRules {
    using Carry = EstimateParts;
    using Rank = std::uint32_t;
    static constexpr tie_order ties = tie_order::heap;

    explicit ClassicRules(const Problem& problem)
        : pieces(problem.pieces)
        , goal(problem.all())
        , breadthh(breadthestimate(problem.pieces))
    {
    }
    static constexpr std::uint64_t fixedbytes(const Problem& /*problem*/) { return 0; }

    Carry startcarry(const PegSets& start) const
    {
        return Method == search_method::breadth ? Carry{} : estimateparts(start, pieces);
    }
    bool seen(const Carry& /*carry*/) const { return false; }
    void examine(const Carry& /*carry*/) { }
    bool isgoal(const PegSets& sets) const { return sets.on[3] == goal; }
    bool admits(const PegMove& /*move*/, Carry& /*carry*/) const { return true; }

    // The child's score, with the parts of its estimate: its parent's when
    // the moved piece lies below their k, otherwise its own.
    std::int32_t score(const PegSets& child, std::int32_t depth, const PegMove& move,
                       Carry& parts) const
    {
        if constexpr (Method == search_method::breadth) {
            return scorefrom(Method, breadthh, depth);
        } else {
            if (move.piece >= parts.k)
                parts = estimateparts(child, pieces);
            return scorefrom(Method, childestimate(child, parts), depth);
        }
    }

    int pieces;
    std::uint32_t goal;
    std::int32_t breadthh;
};

// Any other setup's rules: the score rule on a whole estimate, ties by
// `Ties`, and in graph search the examined positions.
template <tie_order Ties, bool Graph>
struct SetupRules {
    using Carry = std::uint32_t;  // the position's number
    // The score alone for the heap's rule, the score and the push number
    // otherwise.
    using Rank = std::conditional_t<Ties == tie_order::heap, std::uint32_t, std::uint64_t>;
    static constexpr tie_order ties = Ties;

    SetupRules(const Problem& problem, const SearchSetup& setup)
        : problem_(problem)
        , scoring_(scoringof(problem, setup))
        , examined_(Graph ? problem.positions() : 0)
    {
    }
    static std::uint64_t fixedbytes(const Problem& problem)
    {
        return Graph ? PositionSet::bytesfor(problem.positions()) : 0;
    }

    Carry startcarry(const PegSets& start) const { return problem_.code(start); }
    bool seen(Carry code) const { return Graph && examined_.has(code); }
    void examine(Carry code)
    {
        if constexpr (Graph)
            examined_.add(code);
    }
    bool isgoal(const PegSets& sets) const { return sets == problem_.goal; }
    // Numbers the child `move` leads to; false when graph search leaves it out.
    bool admits(const PegMove& move, Carry& code) const
    {
        code = movedcode(code, move);
        return !seen(code);
    }
    std::int32_t score(const PegSets& child, std::int32_t depth, const PegMove& /*move*/,
                       Carry& /*code*/) const
    {
        return scoring_(child, depth);
    }

private:
    Problem problem_;
    Scoring scoring_;
    PositionSet examined_;
};

// What the engine holds under `Rules` for a frontier entry, a move record
// and the whole run.
template <class Rules>
HeldBytes bestfirstheld(const Problem& problem)
{
    using Node = BestFirstNode<typename Rules::Carry>;
    using Key = typename RankedHeap<typename Rules::Rank>::Key;
    return {sizeof(Key) + sizeof(Node), sizeof(MoveRecord), Rules::fixedbytes(problem)};
}

namespace bestfirstdetail {

// The `depth` moves that end with record `last`, in playing order.
inline std::vector<Step> pathto(const HugeArray<MoveRecord>& moves, std::uint32_t last,
                                std::int32_t depth)
{
    std::vector<Step> path(static_cast<std::size_t>(depth));
    for (std::size_t i = path.size(); i-- > 0;) {
        path[i] = {moves[last].from, moves[last].to};
        last = moves[last].prev;
    }
    return path;
}

template <class Rules, class Observer>
SearchResult loop(const Problem& problem, Rules rules, const SearchLimits& limits,
                  Observer& observer)
{
    using Node = BestFirstNode<typename Rules::Carry>;
    Frontier<Node, typename Rules::Rank> frontier;
    HugeArray<MoveRecord> moves;
    Pacing pacing(limits);
    std::int32_t depth = 0;
    const std::uint64_t fixed = Rules::fixedbytes(problem);
    // Bytes held once `states` more states and their moves are stored;
    // UINT64_MAX when the frontier or the move records cannot number that
    // many, or their depths could pass what a depth holds (maxrecords).
    const auto footprint = [&](std::size_t states) -> std::uint64_t {
        const std::uint64_t entries = frontier.footprint(states);
        if (entries == UINT64_MAX || moves.size() + states > maxrecords)
            return UINT64_MAX;
        return entries + moves.footprint(moves.size() + states) + fixed;
    };
    const auto finish = [&](SearchStatus status, std::vector<Step>&& solution = {}) {
        return pacing.finish(status, std::move(solution), depth, footprint(0), frontier.size());
    };
    // Record 0, which stands for no move, and the start state.
    if (!pacing.roomtostart(footprint, 2))
        return finish(SearchStatus::noroom);
    moves.push_back({0, 0, 0});
    // The start state's score is never compared: it is alone on the frontier.
    frontier.push(0, Node{0, 0, problem.start, rules.startcarry(problem.start), 0},
                  tiefor(Rules::ties, 0));
    while (!frontier.empty()) {
        if constexpr (listsfrontier<Observer>)
            observer.frontier(FrontierView(frontier));
        const Node cur = frontier.top();
        frontier.pop();
        if (rules.seen(cur.carry)) {
            observer.dropped(cur.move, cur.sets, cur.depth, frontier.size());
            continue;
        }
        depth = cur.depth;
        if (!pacing.count(depth, observer))
            return finish(SearchStatus::cancelled);
        observer.taken(cur.move, cur.sets, depth, frontier.size());
        if (rules.isgoal(cur.sets))
            return finish(SearchStatus::solved, pathto(moves, cur.move, depth));
        if (const std::optional<SearchStatus> stop = pacing.limitreached(footprint))
            return finish(*stop);
        rules.examine(cur.carry);
        const std::int32_t childdepth = depth + 1;
        forlegalmoves(cur.sets, cur.lastto, [&](const PegMove& m) {
            typename Rules::Carry carry = cur.carry;
            if (!rules.admits(m, carry))
                return;
            const PegSets child = applymove(cur.sets, m);
            const std::int32_t score = rules.score(child, childdepth, m, carry);
            const auto record = static_cast<std::uint32_t>(moves.size());
            moves.push_back(
                {cur.move, static_cast<std::int8_t>(m.from), static_cast<std::int8_t>(m.to)});
            frontier.push(score,
                          Node{record, childdepth, child, carry, static_cast<std::int8_t>(m.to)},
                          tiefor(Rules::ties, record));
            observer.pushed(record, cur.move, m, child, childdepth, score);
        });
        observer.expanded(frontier.size());
    }
    return finish(SearchStatus::exhausted);
}

// The loop with everything it calls inlined into it, so that the watched
// loops never make the compiler give up inlining the unwatched one.
template <class Rules, class Observer>
[[gnu::flatten]] SearchResult flatloop(const Problem& problem, Rules rules,
                                       const SearchLimits& limits, Observer& observer)
{
    return loop(problem, std::move(rules), limits, observer);
}

}  // namespace bestfirstdetail

// The search under `rules`, watched by `observer`: an observer that does
// nothing per state gets the loop with everything inlined.
template <class Rules, class Observer>
SearchResult bestfirst(const Problem& problem, Rules rules, const SearchLimits& limits,
                       Observer& observer)
{
    if constexpr (!watchesstates<Observer>)
        return bestfirstdetail::flatloop(problem, std::move(rules), limits, observer);
    else
        return bestfirstdetail::loop(problem, std::move(rules), limits, observer);
}
