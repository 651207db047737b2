/*
 * The score by which the frontier orders states: the negated estimated cost.
 *
 *   astar    -(estimate + depth)
 *   breadth  -(2^N - 1 + depth)      (a constant estimate: depth alone decides)
 *   greedy   -estimate
 *   weighted -(100 depth + weight estimate), weight = 100 W: f = g + W h in
 *            hundredths, in integers (weightedscore)
 *
 * The depth-first methods and bidirectional search order by no score; their
 * states are scored as A*'s with the estimate of their method (0 for those
 * that use none), so that f = g + h, which IDA* bounds.
 *
 * scorefrom is that rule, and figuresof reads it back (g, h and f of a
 * state from its depth and score).
 *
 * The estimate starts from 2^N - 1. The largest piece on peg 2 (counted only
 * when its number has N's parity) and the largest on peg 3 (counted only with
 * the other parity) give k, the larger of the two, on peg p; it lowers the
 * estimate to 2^N - 2^(k+1), and the pieces smaller than k are then counted
 * toward p: one by one for k <= 4, and for k >= 5 as the greedy estimate of the
 * sub-problem of k pieces with p as its goal peg.
 *
 * A search scores mostly states one move away from a state it has scored:
 * estimateparts() keeps what the estimate of a position leaves for its
 * children (everything but the closing simple count, its k and the pegs that
 * play its parts). A child that moves a piece smaller than that k has the same
 * parts, so its estimate is one table lookup (childestimate); any other child
 * needs estimateparts() of its own.
 *
 * Preconditions: `pieces` is N. Reads nothing but the sets of the first N
 * pieces. Cost: a few bit operations per level of sub-problem; childestimate
 * a table lookup.
 */
#pragma once

#include <cstdint>

#include "hanoi.h"
#include "puzzle.h"

// The estimate of a position split into the part its children can share and
// the closing simple count of the pieces below k, toward `target` with the
// others on `other` or the third peg (`target` and `other` name pegs as the
// bit offsets of their sets in PegSets, 16 per peg). k is 0 when the estimate
// ends without a simple count.
struct EstimateParts {
    std::int16_t partial;  // the estimate less the closing count
    std::uint8_t k;
    std::uint8_t target;
    std::uint8_t other;
};

EstimateParts estimateparts(const PegSets& sets, int pieces);

// The estimate of `sets`, whose parts are `parts`: those of the position
// itself, or of its parent when the move between them moved a piece below
// parts.k.
std::int32_t childestimate(const PegSets& sets, const EstimateParts& parts);

// The estimate breadth-first search gives every state: 2^N - 1, which
// leaves the depth alone to order them.
constexpr std::int32_t breadthestimate(int pieces)
{
    return optimalmoves(pieces);
}

// The score rule itself, for a state `depth` moves deep whose estimate is
// `estimate` (breadthestimate for breadth-first search).
constexpr std::int32_t scorefrom(search_method method, std::int32_t estimate, std::int32_t depth)
{
    return method == search_method::greedy ? -estimate : -(estimate + depth);
}

// Weighted A*'s score, `weight` the hundredths of W: saturated at the lowest
// a score holds, which only a path millions of moves long could reach.
constexpr std::int32_t weightedscore(std::int32_t weight, std::int32_t estimate, std::int32_t depth)
{
    const std::int64_t f = std::int64_t{100} * depth + std::int64_t{weight} * estimate;
    return static_cast<std::int32_t>(-(f < INT32_MAX ? f : INT32_MAX));
}

// g, h and f of a state as its method sees it, from its depth and score:
// f is what the frontier orders by (the smaller first), -score.
struct Figures {
    std::int32_t g;
    std::int32_t h;
    std::int32_t f;
};
constexpr Figures figuresof(std::int32_t depth, std::int32_t score, search_method method)
{
    const std::int32_t f = -score;
    return {depth, method == search_method::greedy ? f : f - depth, f};
}
