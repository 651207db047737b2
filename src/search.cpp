#include "search.h"

#include <ostream>

#include "blockarray.h"
#include "evaluate.h"
#include "frontier.h"
#include "puzzle.h"

namespace {

// Records of every move generated; they live as long as the search.
using MoveStore = BlockArray<HanoiMove>;

// No position has more legal moves than this.
constexpr std::size_t maxsuccessors = 3;

// The memory check runs once every so many examined states, looking ahead far
// enough to cover all the states they can generate.
constexpr std::int64_t memorycheckinterval = 256;

std::int32_t depthof(const HanoiState& state)
{
    return state.move ? state.move->depth : 0;
}

void reportprogress(std::ostream& progress, std::int64_t examined, std::int32_t depth)
{
    progress << "Nos abertos: " << examined << std::endl;
    progress << "Profundidade instantanea: " << depth << std::endl;
}

void expand(const HanoiState& cur, search_method method, Frontier& frontier, MoveStore& moves)
{
    const std::int32_t depth = depthof(cur) + 1;
    const PegSets sets = pegsets(cur);
    forlegalmoves(cur, sets, [&](const PegMove& m) {
        HanoiState child = applymove(cur, m);
        child.move = &moves.push_back({m.from, m.to, depth, cur.move});
        child.score = eval(child, applymove(sets, m), method);
        frontier.push(child);
    });
}

// The path to `last`, first move on top.
std::stack<HanoiMove> pathto(const HanoiMove* last)
{
    std::stack<HanoiMove> path;
    for (const HanoiMove* m = last; m; m = m->prev)
        path.push(*m);
    return path;
}

}  // namespace

SearchResult search(search_method method, std::ostream& progress, const SearchLimits& limits)
{
    Frontier frontier;
    MoveStore moves;
    std::int64_t examined = 0;
    std::int64_t untilprogress = progressinterval;
    std::int32_t depth = 0;
    // Bytes held once `states` more states and their moves are stored.
    const auto footprint = [&](std::size_t states) {
        return frontier.footprint(states) + moves.footprint(states);
    };
    const auto finish = [&](SearchStatus status, std::stack<HanoiMove> solution = {}) {
        return SearchResult{status, std::move(solution), examined, depth, footprint(0)};
    };
    if (footprint(1) > limits.memory)
        return finish(SearchStatus::outofmemory);
    frontier.push(startstate());
    while (!frontier.empty()) {
        const HanoiState cur = frontier.top();
        frontier.pop();
        ++examined;
        depth = depthof(cur);
        if (--untilprogress == 0) {
            reportprogress(progress, examined, depth);
            untilprogress = progressinterval;
        }
        if (hitgoal(cur))
            return finish(SearchStatus::solved, pathto(cur.move));
        if (examined == limits.examined)
            return finish(SearchStatus::stopped);
        if (examined % memorycheckinterval == 1 &&
            footprint(memorycheckinterval * maxsuccessors) > limits.memory)
            return finish(SearchStatus::outofmemory);
        expand(cur, method, frontier, moves);
    }
    return finish(SearchStatus::exhausted);
}
