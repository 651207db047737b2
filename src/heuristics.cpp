#include "heuristics.h"

#include <algorithm>
#include <bit>

#include "evaluate.h"

namespace {

// Moves that bring pieces 0 to count - 1 of `sets` together on `peg`, the
// larger pieces left where they are: each piece out of place, from the
// largest down, moves once after the smaller ones have gone to the third peg
// and costs 2^i with the tower that then follows it.
std::int32_t towermoves(const PegSets& sets, int count, int peg)
{
    std::int32_t moves = 0;
    for (int piece = count - 1; piece >= 0; --piece) {
        const int at = pegof(sets, piece);
        if (at != peg) {
            moves += power2(piece);
            peg = 6 - at - peg;
        }
    }
    return moves;
}

}  // namespace

std::int32_t movesbetween(const PegSets& from, const PegSets& to)
{
    int k = pieces - 1;
    while (k >= 0 && pegof(from, k) == pegof(to, k))
        --k;
    if (k < 0)
        return 0;
    const int a = pegof(from, k);
    const int b = pegof(to, k);
    const int c = 6 - a - b;
    const std::int32_t once = towermoves(from, k, c) + 1 + towermoves(to, k, c);
    const std::int32_t twice =
        towermoves(from, k, b) + 1 + optimalmoves(k) + 1 + towermoves(to, k, a);
    return std::min(once, twice);
}

std::int32_t estimateof(heuristic kind, const PegSets& sets, const PegSets& goal)
{
    switch (kind) {
    case heuristic::padrao:
        return childestimate(sets, estimateparts(sets));
    case heuristic::zero:
        return 0;
    case heuristic::fora:
        return std::popcount(static_cast<std::uint32_t>(sets.on[1] & ~goal.on[1])) +
               std::popcount(static_cast<std::uint32_t>(sets.on[2] & ~goal.on[2])) +
               std::popcount(static_cast<std::uint32_t>(sets.on[3] & ~goal.on[3]));
    case heuristic::exata:
        return movesbetween(sets, goal);
    }
    return 0;
}

std::vector<HeuristicAnalysis> analyseheuristics()
{
    const std::uint32_t count = positioncount();
    const PegSets goal = towerof(3);
    // True distances to the goal: breadth-first from it (every move can be
    // undone, so the distance from the goal is the distance to it).
    constexpr std::int32_t unseen = -1;
    std::vector<std::int32_t> distance(count, unseen);
    std::vector<std::uint32_t> queue{positioncode(goal)};
    distance[queue[0]] = 0;
    for (std::size_t next = 0; next < queue.size(); ++next) {
        const std::uint32_t code = queue[next];
        const PegSets sets = positionofcode(code);
        forlegalmoves(sets, 0, [&](const PegMove& m) {
            const std::uint32_t neighbour = positioncode(applymove(sets, m));
            if (distance[neighbour] == unseen) {
                distance[neighbour] = distance[code] + 1;
                queue.push_back(neighbour);
            }
        });
    }
    std::vector<HeuristicAnalysis> analyses;
    for (std::size_t i = 0; i < heuristicnames.size(); ++i) {
        const auto kind = static_cast<heuristic>(i);
        std::vector<std::int32_t> h(count);
        for (std::uint32_t code = 0; code < count; ++code)
            h[code] = estimateof(kind, positionofcode(code), goal);
        HeuristicAnalysis analysis{kind, count, 0, 0, 0};
        for (std::uint32_t code = 0; code < count; ++code) {
            const std::int32_t excess = h[code] - distance[code];
            if (excess > 0) {
                ++analysis.overestimated;
                analysis.largestexcess = std::max(analysis.largestexcess, excess);
            }
            // Every move from this position; the reverse move is met from the
            // neighbour, so each move is seen once in each direction.
            const PegSets sets = positionofcode(code);
            forlegalmoves(sets, 0, [&](const PegMove& m) {
                if (h[code] - h[positioncode(applymove(sets, m))] > 1)
                    ++analysis.inconsistentmoves;
            });
        }
        analyses.push_back(analysis);
    }
    return analyses;
}
