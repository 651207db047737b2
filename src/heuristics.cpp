#include "heuristics.h"

#include <algorithm>
#include <bit>
#include <vector>

#include "evaluate.h"

std::int32_t estimateof(heuristic kind, const PegSets& sets, const PegSets& goal, int pieces)
{
    switch (kind) {
    case heuristic::padrao:
        return childestimate(sets, estimateparts(sets, pieces));
    case heuristic::zero:
        return 0;
    case heuristic::fora:
        return std::popcount(static_cast<std::uint32_t>(sets.on[1] & ~goal.on[1])) +
               std::popcount(static_cast<std::uint32_t>(sets.on[2] & ~goal.on[2])) +
               std::popcount(static_cast<std::uint32_t>(sets.on[3] & ~goal.on[3]));
    case heuristic::exata:
        return movesbetween(pieces, sets, goal);
    }
    return 0;
}

std::vector<HeuristicAnalysis> analyseheuristics(int pieces)
{
    const Problem problem = problemof(pieces);
    const std::uint32_t count = problem.positions();
    const std::vector<std::int32_t> distance = distancesfrom(problem, problem.code(problem.goal));
    std::vector<HeuristicAnalysis> analyses;
    for (std::size_t i = 0; i < heuristicnames.size(); ++i) {
        const auto kind = static_cast<heuristic>(i);
        std::vector<std::int32_t> h(count);
        for (std::uint32_t code = 0; code < count; ++code)
            h[code] = estimateof(kind, problem.position(code), problem.goal, pieces);
        HeuristicAnalysis analysis{kind, count, 0, 0, 0};
        for (std::uint32_t code = 0; code < count; ++code) {
            const std::int32_t excess = h[code] - distance[code];
            if (excess > 0) {
                ++analysis.overestimated;
                analysis.largestexcess = std::max(analysis.largestexcess, excess);
            }
            // Every move from this position; the reverse move is met from the
            // neighbour, so each move is seen once in each direction.
            forlegalmoves(problem.position(code), 0, [&](const PegMove& m) {
                if (h[code] - h[movedcode(code, m)] > 1)
                    ++analysis.inconsistentmoves;
            });
        }
        analyses.push_back(analysis);
    }
    return analyses;
}
