/*
 * The console front end: the dialogue that collects a run's answers, the
 * opening lines, and the solution report on the screen or in a file. Every
 * function writes to the streams it is given; only `run` (and the comparison
 * it may hand over to) touches `pieces` and `optimal`. Each line is flushed as it ends, except the
 * moves of a report, which go out with the report's last line.
 */
#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "hanoi.h"

struct Answers {
    std::int16_t pieces;
    search_method method;
    std::string destination;  // "." for the screen, otherwise a file name
};

// Asks for the piece count (1 to 15) and the method (0 to 2) until each is a
// whole integer in range, then reads the destination word. Returns nothing
// when the input ends (or fails) before the destination is read.
std::optional<Answers> dialogue(std::istream& in, std::ostream& out);

// "<N> pecas: Solucao otima <2^N - 1> movimentos." and "Pensando... ".
void writeopening(std::ostream& out);

// The report body: optimal or not, the length, every move in playing order
// and the number of states examined.
void writereport(std::ostream& out, const std::vector<Step>& solution, std::int64_t examined);

// The heading line of a report file: "<N> pecas com o metodo <label>".
void writeheading(std::ostream& out, search_method method);

enum class RunStatus { solved, outputfailed, inputended, outofmemory, exhausted, badoptions };

struct Options;

// The whole run: dialogue, search with progress on `out` within `memory`
// bytes, and the report on `out` or in the named file. Failures are
// explained on `err`. A report file is only created once the search is solved.
// The options add a trace during the search and statistics after it (also
// after a memory stop), or replace the run by the help, the version or the
// comparison of the methods.
RunStatus run(const Options& options, std::istream& in, std::ostream& out, std::ostream& err,
              std::uint64_t memory);

class FileOutput;

// Flushes standard output after the last write. A failure turns a solved run
// into `outputfailed`; it is explained on `err` in any case.
RunStatus finishoutput(RunStatus status, FileOutput& stdoutput, std::ostream& err);
