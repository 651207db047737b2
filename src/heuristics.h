/*
 * The estimates by name, for any goal position, and what they are worth.
 *
 *   padrao  the program's own estimate (evaluate.h); defined only for the goal
 *           with every piece on peg 3
 *   zero    h = 0: A* becomes uniform-cost search
 *   fora    the number of pieces not on their goal peg: every such piece must
 *           move at least once, so it never overestimates, and a move changes
 *           it by at most 1 (consistent)
 *   exata   the true number of moves to the goal (movesbetween, problem.h)
 *
 * analyseheuristics checks each estimate against the true distances of every
 * position to the goal with every piece on peg 3, found by a breadth-first
 * search over the 3^N positions from that goal (not by movesbetween).
 *
 * Everything takes N from its arguments and does no I/O.
 */
#pragma once

#include <cstdint>
#include <vector>

#include "evaluate.h"
#include "hanoi.h"
#include "problem.h"
#include "puzzle.h"

// h of the position `sets` toward `goal` (padrao ignores `goal`: see above).
std::int32_t estimateof(heuristic kind, const PegSets& sets, const PegSets& goal, int pieces);

// How a run scores a state: the score rule of its method (evaluate.h) on the
// estimate `estimate` toward the problem's goal (none for the methods that use
// no estimate: h = 0, and breadthestimate for breadth-first search), with the
// weight of weighted A* in hundredths.
struct Scoring {
    search_method method;
    heuristic estimate;
    Problem problem;
    std::int32_t weight = defaultweight;

    std::int32_t operator()(const PegSets& sets, std::int32_t depth) const
    {
        if (method == search_method::breadth)
            return scorefrom(method, breadthestimate(problem.pieces), depth);
        const std::int32_t h = namesof(method).estimates
                                   ? estimateof(estimate, sets, problem.goal, problem.pieces)
                                   : 0;
        return method == search_method::weighted ? weightedscore(weight, h, depth)
                                                 : scorefrom(method, h, depth);
    }
    // g, h and f of a state `depth` moves deep scored `score` (figuresof);
    // weighted A*'s f in hundredths.
    Figures figures(std::int32_t depth, std::int32_t score) const
    {
        if (method != search_method::weighted)
            return figuresof(depth, score, method);
        return {depth, (-score - 100 * depth) / weight, -score};
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

// One analysis per heuristic, in the order of `heuristicnames`, for `pieces`
// pieces.
std::vector<HeuristicAnalysis> analyseheuristics(int pieces);
