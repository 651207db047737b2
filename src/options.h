/*
 * The command line, read with getopt_long into a plain record. With no
 * option the record asks for the classic run: the dialogue, the search and
 * the report, nothing more.
 *
 *   -h, --help             usage, then end
 *   -V, --version          name and version, then end
 *   -e, --estatisticas     statistics after the run
 *   -r[N], --rastro[=N]    trace of the first N states examined (default 20)
 *   -c[M], --comparar[=M]  no dialogue: the table of the three methods, with
 *                          breadth-first search up to M pieces (default 5,
 *                          at most 6)
 *       --csv[=ARQUIVO]    the table, the statistics or the analysis as CSV,
 *                          on standard output or appended to a file
 *       --heuristica=NOME  the estimate of A* and greedy search (heuristics.h);
 *                          with --comparar, names separated by commas
 *       --desempate=ORDEM  the order among equal scores: heap, fila, pilha
 *       --grafo            graph search: a position is examined at most once
 *       --inicio=POS       the start and the goal, a digit (peg) per piece from
 *       --objetivo=POS     the largest down; checked against the piece count
 *                          only once it is known (labsetup, console.h)
 *       --analisar=N       no dialogue: every heuristic against the true
 *                          distances of the 3^N positions (1 <= N <= 12)
 *       --metodo=M         answers the method question: a dialogue code (0 to
 *                          2) or a name of methodtable (hanoi.h); with
 *                          --comparar, names separated by commas
 *       --pecas=N          answers the piece question (1 to 15)
 *       --saida=ARQ        answers the destination question ("." the screen)
 *       --limite=L         the depth limit of profundidade and aprofundamento
 *                          (0 to 1000000)
 *       --peso=W           the weight of ponderado (0.01 to 100, two places)
 *
 * A wrong option, a bad value, an argument that is not an option, or options
 * that do not go together give an error instead of a record: a short reason
 * naming what was wrong. Reads argv only; resets getopt's state first, so it
 * may be called more than once.
 */
#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "hanoi.h"

struct Options {
    bool help = false;
    bool version = false;
    bool statistics = false;
    std::int64_t trace = 0;  // states to trace; 0 for none
    bool compare = false;
    std::int16_t comparebreadth = 5;  // the largest piece count breadth-first search gets
    bool csv = false;
    std::string csvfile;  // --csv=ARQUIVO; empty for standard output
    std::vector<heuristic> heuristics;  // empty when not given: padrao alone
    tie_order ties = tie_order::heap;
    bool graph = false;
    std::string start;  // POS as given; empty for every piece on peg 1
    std::string goal;  // POS as given; empty for every piece on peg 3
    std::int16_t analyse = 0;  // --analisar=N; 0 for none
    std::vector<search_method> methods;  // --metodo; empty when not given
    std::int16_t pieces = 0;  // --pecas; 0 when not given (asked)
    std::optional<std::string> destination;  // --saida; none when not given (asked)
    std::int32_t depthlimit = nodepthlimit;  // --limite
    std::int32_t weight = 0;  // --peso, in hundredths; 0 when not given (defaultweight)
};

inline constexpr std::int64_t defaulttrace = 20;
inline constexpr std::int16_t largestcomparebreadth = 6;
inline constexpr std::int16_t largestanalysis = 12;

// The options, or the reason they were refused.
std::variant<Options, std::string> parseoptions(int argc, char* argv[]);

// "hanoi: opcao invalida: <reason> (veja hanoi --help)".
void explainbadoption(std::ostream& err, const std::string& reason);

// The usage text of --help, and the line of --version.
void writehelp(std::ostream& out);
void writeversion(std::ostream& out);
