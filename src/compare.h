/*
 * The comparison of the methods, and the analysis's table.
 *
 * writecomparison needs no answers: it runs A* and greedy search with 1 to 15
 * pieces and breadth-first search with 1 to `comparebreadth`, one after the
 * other in that order, and writes one row a run as each ends (method,
 * pieces, moves, optimal or not, states examined and generated, largest
 * frontier, time), as a text table or as CSV. With heuristics named, A* and
 * greedy search run once with each, in the order given; those that know
 * little of the goal (zero, fora) leave the search as large as breadth-first
 * search's, so they too run only up to `comparebreadth` pieces. Every run
 * has the options' tie order and graph or tree search; the text table gains
 * a column for the heuristic when heuristics are named and one for the
 * states dropped in graph search. A run that stops for memory, or at
 * `comparelimit`, says so in its row and the table goes on; once `out` fails, no further run
 * starts. Progress lines are not written.
 */
#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <vector>

#include "heuristics.h"
#include "observe.h"
#include "options.h"

// A row of the comparison that is not a classic search (isclassic) stops
// after this many states examined: some never end (greedy tree search with
// the estimate fora or zero goes round for ever) and would otherwise hold
// the machine's memory for minutes.
inline constexpr std::int64_t comparelimit = 5'000'000;

// The comparison's runs of `options` (comparebreadth, heuristics, ties,
// graph), in order, each handed to `row` as it ends; false from `row` stops
// the comparison before the next run.
void comparisonruns(const Options& options, std::uint64_t memory,
                    const std::function<bool(const RunSummary&)>& row);

// The table of `options` (as comparisonruns, and csv); the CSV header only
// when `csvheader`.
void writecomparison(std::ostream& out, const Options& options, bool csvheader,
                     std::uint64_t memory);

// The analysis of the heuristics (heuristics.h) as a text table, one row per
// heuristic, or as CSV rows under the header
// heuristica,posicoes,superestimadas,maior_excesso,movimentos_inconsistentes
// (written only when `csvheader`).
void writeanalysis(std::ostream& out, const std::vector<HeuristicAnalysis>& analyses, bool csv,
                   bool csvheader);
