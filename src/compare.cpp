#include "compare.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <ostream>
#include <streambuf>
#include <string>
#include <string_view>

#include "puzzle.h"

namespace {

// Takes every character and keeps none: a stream that never fails.
class Discard : public std::streambuf {
protected:
    int_type overflow(int_type c) override { return traits_type::not_eof(c); }
};

Outcome outcomeof(const SearchResult& result)
{
    if (noroomtostart(result))
        return Outcome::noroom;
    switch (result.status) {
    case SearchStatus::solved:
        return Outcome::solved;
    case SearchStatus::outofmemory:
        return Outcome::outofmemory;
    case SearchStatus::stopped:
    case SearchStatus::cancelled:
    case SearchStatus::exhausted:
    case SearchStatus::pathlost:
        return Outcome::unsolved;
    }
    return Outcome::unsolved;
}

// The text table's columns: heading, width, and text aligned left or right.
struct Column {
    std::string_view heading;
    int width;
    bool left;
};
constexpr std::array<Column, 8> columns{{
    {"Metodo", 8, true},
    {"Pecas", 5, false},
    {"Movimentos", 10, false},
    {"Resultado", 16, true},
    {"Examinados", 11, false},
    {"Gerados", 11, false},
    {"Maior fronteira", 15, false},
    {"Tempo (s)", 10, false},
}};

void writecells(std::ostream& out, const std::array<std::string, columns.size()>& cells)
{
    std::string line;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const std::string_view cell = cells[i];
        const std::string padding(cell.size() < static_cast<std::size_t>(columns[i].width)
                                      ? columns[i].width - cell.size()
                                      : 0,
                                  ' ');
        line += i > 0 ? "  " : "";
        line += columns[i].left ? std::string(cell) + padding : padding + std::string(cell);
    }
    line.erase(line.find_last_not_of(' ') + 1);
    out << line << std::endl;
}

void writetableheader(std::ostream& out)
{
    std::array<std::string, columns.size()> cells;
    for (std::size_t i = 0; i < columns.size(); ++i)
        cells[i] = columns[i].heading;
    writecells(out, cells);
}

void writetablerow(std::ostream& out, const RunSummary& run)
{
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.6f", run.seconds);
    writecells(out, {std::string(methodname(run.method)), std::to_string(run.pieces),
                     run.outcome == Outcome::solved ? std::to_string(run.moves) : "-",
                     std::string(outcomename(run)), std::to_string(run.examined),
                     std::to_string(run.generated), std::to_string(run.largestfrontier), seconds});
}

}  // namespace

RunSummary summarize(search_method method, const SearchResult& result, const Statistics& statistics,
                     double seconds)
{
    // The statistics count the start state as generated, but a search with
    // no room for it generated nothing.
    const bool started = !noroomtostart(result);
    return {method,
            pieces,
            outcomeof(result),
            static_cast<std::int64_t>(result.solution.size()),
            result.examined,
            started ? statistics.generated : 0,
            started ? static_cast<std::int64_t>(statistics.largestfrontier) : 0,
            result.depth,
            result.memory,
            seconds};
}

MeasuredRun measuredsearch(search_method method, std::ostream& out, std::uint64_t memory,
                           std::int64_t tracelimit)
{
    Watch watch(out, method, tracelimit);
    const auto start = std::chrono::steady_clock::now();
    SearchResult result = searchwith({method}, {memory}, watch);
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    const RunSummary summary = summarize(method, result, watch.statistics(), elapsed.count());
    return {std::move(result), summary};
}

void writecomparison(std::ostream& out, std::int16_t largestbreadth, bool csv, std::uint64_t memory)
{
    struct Series {
        search_method method;
        std::int16_t largest;
    };
    const Series series[] = {
        {search_method::astar, maxpieces},
        {search_method::breadth, largestbreadth},
        {search_method::greedy, maxpieces},
    };
    if (csv)
        writecsvheader(out);
    else
        writetableheader(out);
    Discard discard;
    std::ostream nowhere(&discard);  // the runs' progress lines
    for (const Series& s : series) {
        for (std::int16_t n = 1; n <= s.largest; ++n) {
            if (!out)  // nobody would see the rest of the table
                return;
            pieces = n;
            optimal = optimalmoves(n);
            const RunSummary run = measuredsearch(s.method, nowhere, memory, 0).summary;
            if (csv)
                writecsvrow(out, run);
            else
                writetablerow(out, run);
        }
    }
}
