/*
 * Measured runs and the comparison of the methods.
 *
 * measuredsearch runs one search watched for its statistics (and a trace of
 * its first `tracelimit` states on `out`, none for 0) and times it by the wall
 * clock. Preconditions: `pieces` and `optimal` are set for the run.
 *
 * writecomparison needs no answers: it runs A* and greedy search with 1 to 15
 * pieces and breadth-first search with 1 to `largestbreadth`, one after the
 * other in that order, and writes one row a run as each ends (method, pieces,
 * moves, optimal or not, states examined and generated, largest frontier,
 * time), as a text table or as CSV. A run that stops for memory says so in
 * its row and the table goes on; once `out` fails, no further run starts. It
 * sets `pieces` and `optimal` for each run; progress lines are not written.
 */
#pragma once

#include <cstdint>
#include <iosfwd>

#include "engine.h"
#include "hanoi.h"
#include "observe.h"

struct MeasuredRun {
    SearchResult result;
    RunSummary summary;
};

// The figures of a run of `pieces` pieces that ended with `result`, watched
// by `statistics`, in `seconds` of wall time.
RunSummary summarize(search_method method, const SearchResult& result, const Statistics& statistics,
                     double seconds);

MeasuredRun measuredsearch(search_method method, std::ostream& out, std::uint64_t memory,
                           std::int64_t tracelimit);

void writecomparison(std::ostream& out, std::int16_t largestbreadth, bool csv,
                     std::uint64_t memory);
