/*
 * The estimates by name, for any goal position, and what they are worth.
 *
 *   padrao  the program's own estimate (evaluate.h); defined only for the goal
 *           with every piece on peg 3
 *   zero    h = 0: A* becomes uniform-cost search
 *   fora    the number of pieces not on their goal peg: every such piece must
 *           move at least once, so it never overestimates, and a move changes
 *           it by at most 1 (consistent)
 *   exata   the true number of moves to the goal (movesbetween)
 *
 * movesbetween is computed by the classic recursion over the pieces: the
 * pieces larger than the largest one out of place never move; that piece k
 * moves once (from its peg a to its goal peg b, the smaller pieces gathered
 * on the third peg c before and leaving from there after), or twice (a to c,
 * then c to b, the smaller pieces gathered on b, carried whole to a between
 * the two moves, and leaving from a), whichever is shorter; the largest piece
 * never needs more than two moves. Gathering pieces as a tower is the
 * recursion of the standard solution. Cost: O(N).
 *
 * analyseheuristics checks each estimate against the true distances of every
 * position to the goal with every piece on peg 3, found by a breadth-first
 * search over the 3^N positions from that goal (not by movesbetween).
 *
 * Everything reads N from `pieces` and does no I/O.
 */
#pragma once

#include <cstdint>
#include <vector>

#include "evaluate.h"
#include "hanoi.h"
#include "puzzle.h"

// The fewest moves from `from` to `to`.
std::int32_t movesbetween(const PegSets& from, const PegSets& to);

// h of the position `sets` toward `goal` (padrao ignores `goal`: see above).
std::int32_t estimateof(heuristic kind, const PegSets& sets, const PegSets& goal);

// How a run scores a state: the score rule of its method (evaluate.h) on the
// estimate `estimate` toward `goal`.
struct Scoring {
    search_method method;
    heuristic estimate;
    PegSets goal;

    std::int32_t operator()(const PegSets& sets, std::int32_t depth) const
    {
        return scorefrom(
            method, method == search_method::breadth ? 0 : estimateof(estimate, sets, goal), depth);
    }
};

// What an estimate is worth over every position, toward the goal with every
// piece on peg 3: how many positions it overestimates and by how much at
// most (0 when it never does), and how many moves (between any two
// positions, counted in the direction the estimate falls) lower it by more
// than the move's cost of 1, which makes it inconsistent.
struct HeuristicAnalysis {
    heuristic kind;
    std::int64_t positions;
    std::int64_t overestimated;
    std::int32_t largestexcess;
    std::int64_t inconsistentmoves;
};

// One analysis per heuristic, in the order of `heuristicnames`.
std::vector<HeuristicAnalysis> analyseheuristics();
