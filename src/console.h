/*
 * The console front end: the dialogue that collects a run's answers, the
 * opening lines, and the run that searches and hands the solution to the
 * report (report.h). Every function writes to the streams it is given. Each
 * line is flushed as it ends.
 */
#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "hanoi.h"
#include "options.h"
#include "problem.h"

struct Answers {
    std::int16_t pieces;
    search_method method;
    std::string destination;  // "." for the screen, otherwise a file name
};

// Asks for the piece count (1 to 15) and the method (0 to 2) until each is a
// whole integer in range, then reads the destination word; a question that
// `options` answers (--pecas, --metodo, --saida) is not asked. Returns
// nothing when the input ends before the last answer is read; a read error
// from the input's buffer (std::system_error, see FileInput) passes through.
// Either way the last prompt's line is ended first.
std::optional<Answers> dialogue(std::istream& in, std::ostream& out, const Options& options = {});

// "<N> pecas: Solucao otima <optimal> movimentos." and "Pensando... ".
void writeopening(std::ostream& out, const Problem& problem);

// internalfault: the search ended in a way these rules never allow (the
// frontier ran empty, or the solution's path was lost); nosolution: a
// search with a depth limit or bound ended without the goal (corte, falha).
enum class RunStatus {
    solved,
    outputfailed,
    inputended,
    outofmemory,
    internalfault,
    badoptions,
    nosolution,
};

// The whole run: dialogue, search with progress on `out` within `memory`
// bytes, and the report on `out` or in the named file. Failures are
// explained on `err`; a failed read of `in` ends the run as `inputended`. A
// report file is only created once the search is solved. The options choose
// what is searched (chooserun, run.h; checked after the dialogue,
// `badoptions` and nothing searched when refused), add a trace during the search and statistics
// after it (also after a memory stop), or replace the run by the help, the version, the comparison
// of the methods or the analysis of the heuristics. The CSV of --csv=ARQUIVO is appended to that
// file (opened before the search: a file that cannot be opened ends the run as `outputfailed` with
// nothing searched), with the header only when the file was empty. Once
// `out` fails, the search stops at its next progress lines and the run ends
// as `outputfailed`, leaving the reason to finishoutput.
RunStatus run(const Options& options, std::istream& in, std::ostream& out, std::ostream& err,
              std::uint64_t memory);

struct SearchResult;

// Explains on `err` why a search ended without a solution (whyunsolved,
// run.h), and gives the run's status: the one place a search's status
// becomes the run's; solved for a solved search, which needs no word.
RunStatus explainunsolved(const SearchResult& result, std::ostream& err);

// The line for answers that ended before the dialogue did.
void explaininputended(std::ostream& err);

// The last words when an allocation failed outside the search's own budget.
void explainallocationfailure(std::ostream& err);

class FileOutput;

// Flushes standard output after the last write. A failure turns a solved run
// into `outputfailed`; it is explained on `err` in any case.
RunStatus finishoutput(RunStatus status, FileOutput& stdoutput, std::ostream& err);
