/*
 * The score by which the frontier orders states: the negated estimated cost.
 *
 *   astar    -(estimate + depth)
 *   breadth  -(2^N - 1 + depth)      (a constant estimate: depth alone decides)
 *   greedy   -estimate
 *
 * The estimate starts from 2^N - 1. The largest piece on peg 2 (counted only
 * when its number has N's parity) and the largest on peg 3 (counted only with
 * the other parity) give k, the larger of the two, on peg p; it lowers the
 * estimate to 2^N - 2^(k+1), and the pieces smaller than k are then counted
 * toward p: one by one for k <= 4, and for k >= 5 as the greedy estimate of the
 * sub-problem of k pieces with p as its goal peg.
 *
 * Preconditions: `pieces` is N; the state has a move unless `method` is
 * greedy. Reads nothing but the first N pegs and the move's depth, and never
 * changes `pieces`. Cost: a few bit operations per level of sub-problem.
 */
#pragma once

#include <cstdint>

#include "hanoi.h"
#include "puzzle.h"

std::int32_t eval(const HanoiState& state, search_method method);

// The same score for the position `sets` reached in `depth` moves, as a
// search keeps them.
std::int32_t score(const PegSets& sets, std::int32_t depth, search_method method);
