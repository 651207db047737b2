/*
 * The console front end: the dialogue that collects a run's answers, the
 * opening lines, and the run that searches and hands the solution to the
 * report (report.h). Every function writes to the streams it is given; only
 * `run` (and the comparison it may hand over to) touches `pieces` and
 * `optimal`. Each line is flushed as it ends.
 */
#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "hanoi.h"
#include "search.h"

struct Answers {
    std::int16_t pieces;
    search_method method;
    std::string destination;  // "." for the screen, otherwise a file name
};

// Asks for the piece count (1 to 15) and the method (0 to 2) until each is a
// whole integer in range, then reads the destination word. Returns nothing
// when the input ends before the destination is read; a read error from the
// input's buffer (std::system_error, see FileInput) passes through. Either
// way the last prompt's line is ended first.
std::optional<Answers> dialogue(std::istream& in, std::ostream& out);

// "<N> pecas: Solucao otima <2^N - 1> movimentos." and "Pensando... ".
void writeopening(std::ostream& out);

// internalfault: the search ended in a way these rules never allow (the
// frontier ran empty, or the solution's path was lost).
enum class RunStatus { solved, outputfailed, inputended, outofmemory, internalfault, badoptions };

struct Options;

// "hanoi: opcao invalida: <reason> (veja hanoi --help)".
void explainbadoption(std::ostream& err, const std::string& reason);

// What the options ask to search with `method`, once `pieces` is known; or
// why they cannot: a start or goal whose length is not the piece count, or
// the estimate padrao for A* or greedy search toward another goal than every
// piece on peg 3.
std::variant<SearchSetup, std::string> labsetup(const Options& options, search_method method);

// The whole run: dialogue, search with progress on `out` within `memory`
// bytes, and the report on `out` or in the named file. Failures are
// explained on `err`; a failed read of `in` ends the run as `inputended`. A
// report file is only created once the search is solved. The options choose
// what is searched (labsetup; checked after the dialogue, `badoptions` and
// nothing searched when refused, and `optimal` is then the fewest moves from
// the start to the goal), add a trace during the search and statistics after
// it (also after a memory stop), or replace the run by the help, the
// version, the comparison of the methods or the analysis of the heuristics.
// The CSV of --csv=ARQUIVO is appended to that file (opened before the
// search: a file that cannot be opened ends the run as `outputfailed` with
// nothing searched), with the header only when the file was empty. Once
// `out` fails, the search stops at its next progress lines and the run ends
// as `outputfailed`, leaving the reason to finishoutput.
RunStatus run(const Options& options, std::istream& in, std::ostream& out, std::ostream& err,
              std::uint64_t memory);

struct SearchResult;

// Explains on `err` why a search ended without a solution (what the search
// reached, or that it could not start), and gives the run's status; solved
// for a solved search, which needs no word.
RunStatus explainunsolved(const SearchResult& result, std::ostream& err);

// The line for answers that ended before the dialogue did.
void explaininputended(std::ostream& err);

// The last words when an allocation failed outside the search's own budget.
void explainallocationfailure(std::ostream& err);

class FileOutput;

// Flushes standard output after the last write. A failure turns a solved run
// into `outputfailed`; it is explained on `err` in any case.
RunStatus finishoutput(RunStatus status, FileOutput& stdoutput, std::ostream& err);
