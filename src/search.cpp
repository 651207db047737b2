#include "search.h"

#include <cstdint>
#include <ostream>

#include "blockarray.h"
#include "evaluate.h"
#include "frontier.h"
#include "observe.h"
#include "puzzle.h"

namespace {

// Records of every move generated; they live as long as the search.
using MoveStore = BlockArray<HanoiMove>;

// No position has more legal moves than this.
constexpr std::size_t maxsuccessors = 3;

// The memory check runs once every so many examined states, looking ahead far
// enough to cover all the states they can generate.
constexpr std::int64_t memorycheckinterval = 256;

void reportprogress(std::ostream& progress, std::int64_t examined, std::int32_t depth)
{
    progress << "Nos abertos: " << examined << std::endl;
    progress << "Profundidade instantanea: " << depth << std::endl;
}

template <class Observer>
void expand(const SearchNode& cur, search_method method, Frontier<SearchNode>& frontier,
            MoveStore& moves, Observer& observer)
{
    const std::int32_t depth = cur.depth + 1;
    forlegalmoves(cur.sets, cur.lastto, [&](const PegMove& m) {
        const PegSets child = applymove(cur.sets, m);
        const HanoiMove* move = &moves.push_back({m.from, m.to, depth, cur.move});
        const std::int32_t childscore = score(child, depth, method);
        frontier.push(childscore, SearchNode{move, depth, m.to, child});
        observer.pushed(m, child, depth, childscore);
    });
    observer.expanded(frontier.size());
}

// The path that ends with `last`, in playing order.
std::vector<Step> pathto(const HanoiMove* last)
{
    std::vector<Step> path(last ? static_cast<std::size_t>(last->depth) : 0);
    for (const HanoiMove* m = last; m; m = m->prev)
        path[static_cast<std::size_t>(m->depth - 1)] = {static_cast<std::int8_t>(m->from),
                                                        static_cast<std::int8_t>(m->to)};
    return path;
}

}  // namespace

template <class Observer>
SearchResult search(search_method method, std::ostream& progress, const SearchLimits& limits,
                    Observer& observer)
{
    Frontier<SearchNode> frontier;
    MoveStore moves;
    std::int64_t examined = 0;
    std::int64_t untilprogress = progressinterval;
    std::int32_t depth = 0;
    // Bytes held once `states` more states and their moves are stored; SIZE_MAX
    // when the frontier cannot number that many.
    const auto footprint = [&](std::size_t states) {
        const std::size_t entries = frontier.footprint(states);
        return entries == SIZE_MAX ? SIZE_MAX : entries + moves.footprint(states);
    };
    const auto finish = [&](SearchStatus status, std::vector<Step> solution = {}) {
        return SearchResult{status, std::move(solution), examined,
                            depth,  footprint(0),        frontier.size()};
    };
    if (footprint(1) > limits.memory)
        return finish(SearchStatus::outofmemory);
    // The start state's score is never compared: it is alone on the frontier.
    frontier.push(0, SearchNode{nullptr, 0, 0, pegsets(startstate())});
    while (!frontier.empty()) {
        const SearchNode cur = frontier.top();
        frontier.pop();
        ++examined;
        depth = cur.depth;
        if (--untilprogress == 0) {
            reportprogress(progress, examined, depth);
            untilprogress = progressinterval;
        }
        observer.taken(cur.sets, depth, frontier.size());
        if (hitgoal(cur.sets))
            return finish(SearchStatus::solved, pathto(cur.move));
        if (examined == limits.examined)
            return finish(SearchStatus::stopped);
        if (examined % memorycheckinterval == 1 &&
            footprint(memorycheckinterval * maxsuccessors) > limits.memory)
            return finish(SearchStatus::outofmemory);
        expand(cur, method, frontier, moves, observer);
    }
    return finish(SearchStatus::exhausted);
}

template SearchResult search(search_method, std::ostream&, const SearchLimits&, NoObserver&);
template SearchResult search(search_method, std::ostream&, const SearchLimits&, FunctionObserver&);
template SearchResult search(search_method, std::ostream&, const SearchLimits&, Watch&);

SearchResult search(search_method method, std::ostream& progress, const SearchLimits& limits)
{
    NoObserver none;
    return search(method, progress, limits, none);
}
