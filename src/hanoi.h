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

enum class search_method : std::int8_t {
    astar = 0,
    breadth = 1,
    greedy = 2,
    depthfirst = 3,
    deepening = 4,
    idastar = 5,
    bidirectional = 6,
    weighted = 7,
};

// Every name a method goes by, in the order of its codes (the dialogue asks
// for the first three; --metodo takes any by name): the word of --metodo and
// the page's address, the label of reports, tables and the CSV's `metodo`
// column, and the end of a report file's heading; and which of the options
// apply to it: the estimate (--heuristica), the depth limit (--limite), the
// weight (--peso), the order among equal scores (--desempate: the methods
// that take the best state from a frontier ordered by score).
struct MethodNames {
    search_method method;
    std::string_view option;
    std::string_view label;
    std::string_view heading;
    bool estimates;
    bool depthlimit;
    bool weight;
    bool ties;
};
inline constexpr std::array<MethodNames, 8> methodtable{{
    {search_method::astar, "astar", "A*", "A*.", true, false, false, true},
    {search_method::breadth, "largura", "Largura", "de Busca em Largura.", false, false, false,
     true},
    {search_method::greedy, "guloso", "Guloso", "Guloso.", true, false, false, true},
    {search_method::depthfirst, "profundidade", "Profundidade", "de Busca em Profundidade.", false,
     true, false, false},
    {search_method::deepening, "aprofundamento", "Aprofundamento", "de Aprofundamento Iterativo.",
     false, true, false, false},
    {search_method::idastar, "ida", "IDA*", "IDA*.", true, false, false, false},
    {search_method::bidirectional, "bidirecional", "Bidirecional", "de Busca Bidirecional.", false,
     false, false, false},
    {search_method::weighted, "ponderado", "A* ponderado", "A* Ponderado.", true, false, true,
     true},
}};
// The methods the dialogue offers, by their codes 0 to dialoguemethods - 1.
inline constexpr int dialoguemethods = 3;
constexpr const MethodNames& namesof(search_method method)
{
    return methodtable[static_cast<std::size_t>(method)];
}

// Whether the method's frontier is a stack (the depth-first engine's).
constexpr bool stackmethod(search_method method)
{
    return method == search_method::depthfirst || method == search_method::deepening ||
           method == search_method::idastar;
}

// No depth limit (--limite not given).
inline constexpr std::int32_t nodepthlimit = -1;
// The largest depth limit --limite takes.
inline constexpr std::int32_t largestdepthlimit = 1'000'000;
// The weight W of weighted A* in hundredths: W = 2 without --peso, and the
// range --peso takes (0.01 to 100).
inline constexpr std::int32_t defaultweight = 200;
inline constexpr std::int32_t smallestweight = 1;
inline constexpr std::int32_t largestweight = 10'000;

// The estimate h that A*, greedy search, IDA* and weighted A* use
// (heuristics.h); the other methods use none. Named as the options name them, in this order.
enum class heuristic : std::int8_t { padrao, zero, fora, exata };
inline constexpr std::array<std::string_view, 4> heuristicnames{"padrao", "zero", "fora", "exata"};

// The order among states of equal score on the frontier: the heap's own rule,
// first pushed first, or last pushed first. Named as the options name them.
enum class tie_order : std::int8_t { heap, fila, pilha };
inline constexpr std::array<std::string_view, 3> tieordernames{"heap", "fila", "pilha"};
