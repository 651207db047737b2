/*
 * The score by which the frontier orders states: the negated estimated cost.
 *
 *   astar    -(estimate + depth)
 *   breadth  -(2^N - 1 + depth)      (a constant estimate: depth alone decides)
 *   greedy   -estimate
 *
 * The estimate starts from 2^N - 1. The largest piece k that already sits on
 * peg 2 or 3 where an optimal solution would want it (peg 2 for pieces of N's
 * parity, peg 3 for the others) lowers it to 2^N - 2^(k+1), and the pieces
 * smaller than k are then counted toward that peg p: one by one for k <= 4,
 * and for k >= 5 as a greedy sub-problem of k pieces with p as the goal peg,
 * evaluated with `pieces` lowered to k and restored afterwards.
 *
 * Preconditions: `pieces` is N; the state has a move unless `method` is
 * greedy. Reads nothing but the first N pegs and the move's depth.
 */
#pragma once

#include <cstdint>

#include "hanoi.h"
#include "puzzle.h"

std::int32_t eval(const HanoiState& state, search_method method);

// The same score for the position `sets` reached in `depth` moves, as a
// search keeps them.
std::int32_t score(const PegSets& sets, std::int32_t depth, search_method method);
