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
 *                          breadth-first search up to M pieces (default 5)
 *       --csv              the table or the statistics as CSV
 *
 * A wrong option, a bad value, an argument that is not an option, or options
 * that do not go together give an error instead of a record: a short reason
 * naming what was wrong. Reads argv only; resets getopt's state first, so it
 * may be called more than once.
 */
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <variant>

struct Options {
    bool help = false;
    bool version = false;
    bool statistics = false;
    std::int64_t trace = 0;  // states to trace; 0 for none
    bool compare = false;
    std::int16_t comparebreadth = 5;  // the largest piece count breadth-first search gets
    bool csv = false;
};

inline constexpr std::int64_t defaulttrace = 20;

// The options, or the reason they were refused.
std::variant<Options, std::string> parseoptions(int argc, char* argv[]);

// The usage text of --help, and the line of --version.
void writehelp(std::ostream& out);
void writeversion(std::ostream& out);
