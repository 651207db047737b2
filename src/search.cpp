#include "search.h"

#include <cstdint>
#include <optional>
#include <type_traits>
#include <utility>
#include <vector>

#include "evaluate.h"
#include "frontier.h"
#include "hugearray.h"
#include "observe.h"
#include "puzzle.h"

namespace {

// A move of the search: source and destination peg, and the number of the
// record of the move made just before it (0 for a first move). Record 0
// stands for "no move"; the path to a state is read back through `prev`.
struct MoveRecord {
    std::uint32_t prev;
    std::int8_t from;
    std::int8_t to;
};

// The `depth` moves that end with record `last`, in playing order.
std::vector<Step> pathto(const HugeArray<MoveRecord>& moves, std::uint32_t last, std::int32_t depth)
{
    std::vector<Step> path(static_cast<std::size_t>(depth));
    for (std::size_t i = path.size(); i-- > 0;) {
        path[i] = {moves[last].from, moves[last].to};
        last = moves[last].prev;
    }
    return path;
}

// The score of a child reached in `depth` moves, with the parts of its
// estimate: its parent's when the moved piece lies below their k, otherwise
// its own. Breadth-first scores need no estimate.
template <search_method Method>
std::int32_t childscore(const PegSets& sets, std::int32_t depth, std::int16_t piece,
                        EstimateParts& parts)
{
    if constexpr (Method == search_method::breadth) {
        return -(optimal + depth);
    } else {
        if (piece >= parts.k)
            parts = estimateparts(sets);
        const std::int32_t estimate = childestimate(sets, parts);
        return Method == search_method::astar ? -(estimate + depth) : -estimate;
    }
}

template <search_method Method, class Observer>
SearchResult searchloop(const SearchLimits& limits, Observer& observer)
{
    Frontier<SearchNode> frontier;
    HugeArray<MoveRecord> moves;
    Pacing pacing(limits);
    std::int32_t depth = 0;
    const std::uint32_t goal = allpieces();
    // Bytes held once `states` more states and their moves are stored; SIZE_MAX
    // when the frontier or the move records cannot number that many, or their
    // depths could pass what a depth holds (maxrecords).
    const auto footprint = [&](std::size_t states) {
        const std::size_t entries = frontier.footprint(states);
        if (entries == SIZE_MAX || moves.size() + states > maxrecords)
            return SIZE_MAX;
        return entries + moves.footprint(moves.size() + states);
    };
    const auto finish = [&](SearchStatus status, std::vector<Step>&& solution = {}) {
        return pacing.finish(status, std::move(solution), depth, footprint(0), frontier.size());
    };
    // Record 0, which stands for no move, and the start state.
    if (!pacing.roomtostart(footprint, 2))
        return finish(SearchStatus::outofmemory);
    moves.push_back({0, 0, 0});
    // The start state's score is never compared: it is alone on the frontier.
    const PegSets start = startstate();
    const EstimateParts startparts =
        Method == search_method::breadth ? EstimateParts{} : estimateparts(start);
    frontier.push(0, SearchNode{0, 0, start, startparts, 0});
    while (!frontier.empty()) {
        const SearchNode cur = frontier.top();
        frontier.pop();
        depth = cur.depth;
        if (!pacing.count(depth, observer))
            return finish(SearchStatus::cancelled);
        observer.taken(cur.sets, depth, frontier.size());
        if (cur.sets.on[3] == goal)
            return finish(SearchStatus::solved, pathto(moves, cur.move, depth));
        if (const std::optional<SearchStatus> stop = pacing.limitreached(footprint))
            return finish(*stop);
        const std::int32_t childdepth = depth + 1;
        forlegalmoves(cur.sets, cur.lastto, [&](const PegMove& m) {
            const PegSets child = applymove(cur.sets, m);
            EstimateParts parts = cur.parts;
            const std::int32_t score = childscore<Method>(child, childdepth, m.piece, parts);
            const auto record = static_cast<std::uint32_t>(moves.size());
            moves.push_back(
                {cur.move, static_cast<std::int8_t>(m.from), static_cast<std::int8_t>(m.to)});
            frontier.push(score, SearchNode{record, childdepth, child, parts,
                                            static_cast<std::int8_t>(m.to)});
            observer.pushed(m, child, childdepth, score);
        });
        observer.expanded(frontier.size());
    }
    return finish(SearchStatus::exhausted);
}

// The loop with everything it calls inlined into it, so that the watched
// loops never make the compiler give up inlining the unwatched one.
template <search_method Method, class Observer>
[[gnu::flatten]] SearchResult flatloop(const SearchLimits& limits, Observer& observer)
{
    return searchloop<Method>(limits, observer);
}

template <search_method Method, class Observer>
SearchResult methodloop(const SearchLimits& limits, Observer& observer)
{
    if constexpr (!watchesstates<Observer>)
        return flatloop<Method>(limits, observer);
    else
        return searchloop<Method>(limits, observer);
}

}  // namespace

template <class Observer>
SearchResult search(search_method method, const SearchLimits& limits, Observer& observer)
{
    switch (method) {
    case search_method::astar:
        return methodloop<search_method::astar>(limits, observer);
    case search_method::breadth:
        return methodloop<search_method::breadth>(limits, observer);
    case search_method::greedy:
        return methodloop<search_method::greedy>(limits, observer);
    }
    return methodloop<search_method::astar>(limits, observer);
}

template SearchResult search(search_method, const SearchLimits&, NoObserver&);
template SearchResult search(search_method, const SearchLimits&, ProgressLines&);
template SearchResult search(search_method, const SearchLimits&, FunctionObserver&);
template SearchResult search(search_method, const SearchLimits&, Watch&);

namespace {

// A state of the general loop: as SearchNode, with the position's number
// (puzzle.h) instead of the estimate's parts.
struct LabNode {
    std::uint32_t move;
    std::int32_t depth;
    PegSets sets;
    std::uint32_t code;
    std::int8_t lastto;
};

// 3^i for the pieces i, to number a child's position from its parent's.
std::uint32_t power3(int i)
{
    std::uint32_t power = 1;
    while (i-- > 0)
        power *= 3;
    return power;
}

// The positions examined so far, one bit each (graph search).
class PositionSet {
public:
    explicit PositionSet(std::uint32_t positions)
        : words_((positions + 63) / 64)
    {
    }
    static std::size_t bytesfor(std::uint32_t positions)
    {
        return (positions + 63) / 64 * sizeof(std::uint64_t);
    }
    bool has(std::uint32_t code) const { return words_[code / 64] >> (code % 64) & 1; }
    void add(std::uint32_t code) { words_[code / 64] |= std::uint64_t{1} << (code % 64); }

private:
    std::vector<std::uint64_t> words_;
};

// The frontier's rank for a tie order: the score alone for the heap's rule,
// the score and the push number otherwise.
template <tie_order Ties>
using LabFrontier =
    Frontier<LabNode, std::conditional_t<Ties == tie_order::heap, std::uint32_t, std::uint64_t>>;

template <tie_order Ties, class Observer>
SearchResult setuploop(const SearchSetup& setup, const SearchLimits& limits, Observer& observer)
{
    LabFrontier<Ties> frontier;
    HugeArray<MoveRecord> moves;
    const Scoring scoring = scoringof(setup);
    const PegSets start = startof(setup);
    std::optional<PositionSet> examinedset;
    if (setup.graph)
        examinedset.emplace(positioncount());
    const std::size_t setbytes = setup.graph ? PositionSet::bytesfor(positioncount()) : 0;
    Pacing pacing(limits);
    std::int32_t depth = 0;
    std::uint32_t pushes = 0;
    const auto footprint = [&](std::size_t states) {
        const std::size_t entries = frontier.footprint(states);
        if (entries == SIZE_MAX || moves.size() + states > maxrecords)
            return SIZE_MAX;
        return entries + moves.footprint(moves.size() + states) + setbytes;
    };
    const auto finish = [&](SearchStatus status, std::vector<Step>&& solution = {}) {
        return pacing.finish(status, std::move(solution), depth, footprint(0), frontier.size());
    };
    if (!pacing.roomtostart(footprint, 2))
        return finish(SearchStatus::outofmemory);
    moves.push_back({0, 0, 0});
    // The start state's score is never compared: it is alone on the frontier.
    frontier.push(0, LabNode{0, 0, start, positioncode(start), 0}, tiefor(Ties, pushes++));
    while (!frontier.empty()) {
        const LabNode cur = frontier.top();
        frontier.pop();
        if (examinedset && examinedset->has(cur.code)) {
            observer.dropped(cur.sets, cur.depth, frontier.size());
            continue;
        }
        depth = cur.depth;
        if (!pacing.count(depth, observer))
            return finish(SearchStatus::cancelled);
        observer.taken(cur.sets, depth, frontier.size());
        if (cur.sets == scoring.goal)
            return finish(SearchStatus::solved, pathto(moves, cur.move, depth));
        if (const std::optional<SearchStatus> stop = pacing.limitreached(footprint))
            return finish(*stop);
        if (examinedset)
            examinedset->add(cur.code);
        const std::int32_t childdepth = depth + 1;
        forlegalmoves(cur.sets, cur.lastto, [&](const PegMove& m) {
            const std::uint32_t code =
                cur.code + static_cast<std::uint32_t>(m.to - m.from) * power3(m.piece);
            if (examinedset && examinedset->has(code))
                return;
            const PegSets child = applymove(cur.sets, m);
            const std::int32_t score = scoring(child, childdepth);
            const auto record = static_cast<std::uint32_t>(moves.size());
            moves.push_back(
                {cur.move, static_cast<std::int8_t>(m.from), static_cast<std::int8_t>(m.to)});
            frontier.push(score,
                          LabNode{record, childdepth, child, code, static_cast<std::int8_t>(m.to)},
                          tiefor(Ties, pushes++));
            observer.pushed(m, child, childdepth, score);
        });
        observer.expanded(frontier.size());
    }
    return finish(SearchStatus::exhausted);
}

}  // namespace

HeldBytes searchheld(const SearchSetup& setup)
{
    constexpr std::uint64_t record = sizeof(MoveRecord);
    if (isclassic(setup))
        return {sizeof(ScoreHeap::Key) + sizeof(SearchNode), record, 0};
    const std::uint64_t key = setup.ties == tie_order::heap
                                  ? sizeof(RankedHeap<std::uint32_t>::Key)
                                  : sizeof(RankedHeap<std::uint64_t>::Key);
    return {key + sizeof(LabNode), record,
            setup.graph ? PositionSet::bytesfor(positioncount()) : 0};
}

template <class Observer>
SearchResult searchsetup(const SearchSetup& setup, const SearchLimits& limits, Observer& observer)
{
    switch (setup.ties) {
    case tie_order::heap:
        return setuploop<tie_order::heap>(setup, limits, observer);
    case tie_order::fila:
        return setuploop<tie_order::fila>(setup, limits, observer);
    case tie_order::pilha:
        return setuploop<tie_order::pilha>(setup, limits, observer);
    }
    return setuploop<tie_order::heap>(setup, limits, observer);
}

template SearchResult searchsetup(const SearchSetup&, const SearchLimits&, NoObserver&);
template SearchResult searchsetup(const SearchSetup&, const SearchLimits&, ProgressLines&);
template SearchResult searchsetup(const SearchSetup&, const SearchLimits&, FunctionObserver&);
template SearchResult searchsetup(const SearchSetup&, const SearchLimits&, Watch&);
