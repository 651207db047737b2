/*
 * Records shared by every unit of the program: a puzzle position, a move, the
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

/*
 * One move, chained to the move made just before it on the same path.
 * A record is shared by every state and later move that descends from it, so
 * the path is never copied. `depth` counts the moves from the start up to and
 * including this one (1 for a first move, whose `prev` is null).
 * Fields are ordered for a 16-byte record.
 */
struct HanoiMove {
    std::int16_t from;
    std::int16_t to;
    std::int32_t depth;
    const HanoiMove* prev;
};

/*
 * One position with its score and the move that produced it: what the peg
 * queries and `eval` take. Copied by value; copying shares `move`, never the
 * chain behind it. `pegs[i]` is the peg of piece i; only the first N entries
 * mean anything. `score` is the evaluation for the run's strategy (higher is
 * better). The search keeps its states more compactly (SearchNode).
 */
struct HanoiState {
    std::array<std::int8_t, maxpieces> pegs;
    std::int32_t score;
    const HanoiMove* move;  // null for the start state
};

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
