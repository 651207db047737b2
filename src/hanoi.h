/*
 * Records shared by every unit of the program: a move of a solution, the
 * search strategies, and the two process-wide values that every query reads.
 *
 * Pegs are numbered 1, 2, 3; pieces by size from 0 (the smallest) to N - 1.
 * The piece number N itself stands for "no piece" (an empty peg), so it
 * compares larger than every real piece.
 */
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

inline constexpr std::int16_t maxpieces = 15;

// One move of a solution as the report writes it: source and destination peg.
struct Step {
    std::int8_t from;
    std::int8_t to;
};

enum class search_method : std::int8_t { astar = 0, breadth = 1, greedy = 2 };

// The estimate h that A* and greedy search use (heuristics.h); breadth-first
// search uses none. Named as the options name them, in this order.
enum class heuristic : std::int8_t { padrao, zero, fora, exata };
inline constexpr std::array<std::string_view, 4> heuristicnames{"padrao", "zero", "fora", "exata"};

// The order among states of equal score on the frontier: the heap's own rule,
// first pushed first, or last pushed first. Named as the options name them.
enum class tie_order : std::int8_t { heap, fila, pilha };
inline constexpr std::array<std::string_view, 3> tieordernames{"heap", "fila", "pilha"};

// N, the run's piece count (1 to 15 once the dialogue is over).
extern std::int16_t pieces;
// 2^N - 1, the length of the optimal solution.
extern std::int32_t optimal;
