/*
 * The entry for a run: what the options ask to search, the engine that
 * searches it, and the figures of the run. Every front end (the console, the
 * comparison, the benchmark, the page) searches through here.
 *
 * The engine is picked once, by enginefor: the layered engine (layered.h)
 * for classic breadth-first search, the best-first engine's classic rules
 * for classic A* and greedy search, its setup rules for every other
 * best-first search, weighted A* included (bestfirst.h); the depth-first
 * engine for depth-first search, iterative deepening and IDA*
 * (depthfirst.h), the bidirectional engine for bidirectional search
 * (bidirectional.h). An observer that needs node numbers (`numbered`) never
 * gets the layered engine, which numbers none.
 */
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <variant>

#include "engine.h"
#include "observe.h"
#include "options.h"
#include "problem.h"

enum class Engine { layered, classic, general, depthfirst, deepening, bidirectional };
Engine enginefor(const Problem& problem, const SearchSetup& setup, bool numbered);

// What the engine enginefor picks holds for an entry, a record and the run.
HeldBytes heldby(const Problem& problem, const SearchSetup& setup, bool numbered = false);

// The search of `problem` that `setup` asks for, watched by `observer`.
// Instantiated in run.cpp for the observers of observe.h.
template <class Observer>
SearchResult runsearch(const Problem& problem, const SearchSetup& setup, const SearchLimits& limits,
                       Observer& observer, bool numbered = false);

// CPU time of the process so far, in seconds: what the statistics time.
// Where there is no CPU clock (WebAssembly), the monotonic clock's time.
double cpuseconds();

// The figures of a run of `setup` on `problem` that ended with `result`,
// watched by `statistics`, in `seconds` of CPU time.
RunSummary summarize(const Problem& problem, const SearchSetup& setup, const SearchResult& result,
                     const Statistics& statistics, double seconds);

struct MeasuredRun {
    SearchResult result;
    RunSummary summary;
};

// One search watched for its statistics, with its progress lines and a trace
// of its first `tracelimit` states (none for 0) on `out`, timed by the CPU
// time of the process.
MeasuredRun measuredrun(const Problem& problem, const SearchSetup& setup,
                        const SearchLimits& limits, std::ostream& out, std::int64_t tracelimit);

// Why a search ended without a solution, as the program says it on
// standard error ("hanoi: memoria esgotada ..."); empty for a solved search
// and for one cancelled by its observer, which knows why.
std::string whyunsolved(const SearchResult& result);

// How `method` searches with the options' tie order, graph search, depth
// limit and weight (those that apply to it) and the estimate `estimate`;
// bidirectional search is always a graph search.
SearchSetup setupof(const Options& options, search_method method, heuristic estimate);

// What a run searches and how.
struct RunChoice {
    Problem problem;
    SearchSetup setup;
};

// What the options ask to search with `pieces` pieces and `method`; or why
// they cannot: a start or goal whose length is not the piece count, or the
// estimate padrao for a method that uses an estimate toward another goal
// than every piece on peg 3. The depth limit and weight are the options'
// (checked by parseoptions); bidirectional search is always a graph search.
std::variant<RunChoice, std::string> chooserun(const Options& options, int pieces,
                                               search_method method);
