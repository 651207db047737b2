/*
 * Records shared by every unit of the program: a move of a solution, the
 * search strategies and their names, the estimates and the tie orders.
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

// Every name a method goes by, in the order of its dialogue codes: the word
// the page's address and a future option give, the label of reports, tables
// and the CSV's `metodo` column, and the end of a report file's heading.
struct MethodNames {
    search_method method;
    std::string_view option;
    std::string_view label;
    std::string_view heading;
};
inline constexpr std::array<MethodNames, 3> methodtable{{
    {search_method::astar, "astar", "A*", "A*."},
    {search_method::breadth, "largura", "Largura", "de Busca em Largura."},
    {search_method::greedy, "guloso", "Guloso", "Guloso."},
}};
constexpr const MethodNames& namesof(search_method method)
{
    return methodtable[static_cast<std::size_t>(method)];
}

// The estimate h that A* and greedy search use (heuristics.h); breadth-first
// search uses none. Named as the options name them, in this order.
enum class heuristic : std::int8_t { padrao, zero, fora, exata };
inline constexpr std::array<std::string_view, 4> heuristicnames{"padrao", "zero", "fora", "exata"};

// The order among states of equal score on the frontier: the heap's own rule,
// first pushed first, or last pushed first. Named as the options name them.
enum class tie_order : std::int8_t { heap, fila, pilha };
inline constexpr std::array<std::string_view, 3> tieordernames{"heap", "fila", "pilha"};
