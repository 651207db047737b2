#include "search.h"

#include <ostream>

#include "evaluate.h"
#include "frontier.h"
#include "movestore.h"
#include "puzzle.h"

namespace {

void reportprogress(std::ostream& progress, std::int64_t examined, const HanoiMove* move)
{
    progress << "Nos abertos: " << examined << std::endl;
    progress << "Profundidade instantanea: " << (move ? move->depth : 0) << std::endl;
}

void expand(const HanoiState& cur, search_method method, Frontier& frontier, MoveStore& moves)
{
    const std::int32_t depth = cur.move ? cur.move->depth + 1 : 1;
    for (const PegMove& m : legalmoves(cur)) {
        HanoiState child = applymove(cur, m);
        child.move = moves.add({m.from, m.to, depth, cur.move});
        child.score = eval(child, method);
        frontier.push(child);
    }
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

SearchResult search(search_method method, std::ostream& progress)
{
    Frontier frontier;
    MoveStore moves;
    std::int64_t examined = 0;
    frontier.push(startstate());
    while (!frontier.empty()) {
        const HanoiState cur = frontier.top();
        frontier.pop();
        ++examined;
        if (examined % progressinterval == 0)
            reportprogress(progress, examined, cur.move);
        if (hitgoal(cur))
            return {SearchStatus::solved, pathto(cur.move), examined};
        expand(cur, method, frontier, moves);
    }
    return {SearchStatus::exhausted, {}, examined};
}
