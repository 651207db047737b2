#include "compare.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <ostream>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

#include "puzzle.h"
#include "run.h"

namespace {

// Takes every character and keeps none: a stream that never fails.
class Discard : public std::streambuf {
protected:
    int_type overflow(int_type c) override { return traits_type::not_eof(c); }
};

// The text table's columns: heading, width, and text aligned left or right.
struct Column {
    std::string_view heading;
    int width;
    bool left;
};
constexpr Column methodcolumn{"Metodo", 8, true};  // wider for longer labels
constexpr Column heuristiccolumn{"Heuristica", 10, true};
constexpr std::array<Column, 6> figurecolumns{{
    {"Pecas", 5, false},
    {"Movimentos", 10, false},
    {"Resultado", 16, true},
    {"Examinados", 11, false},
    {"Gerados", 11, false},
    {"Maior fronteira", 15, false},
}};
constexpr Column droppedcolumn{"Descartados", 11, false};
constexpr Column timecolumn{"Tempo (s)", 10, false};

// One cell of a row: its column and its text.
struct Cell {
    Column column;
    std::string text;
};

void writecells(std::ostream& out, const std::vector<Cell>& cells)
{
    std::string line;
    for (const Cell& cell : cells) {
        const std::size_t width = static_cast<std::size_t>(cell.column.width);
        const std::string padding(cell.text.size() < width ? width - cell.text.size() : 0, ' ');
        line += line.empty() ? "" : "  ";
        line += cell.column.left ? cell.text + padding : padding + cell.text;
    }
    line.erase(line.find_last_not_of(' ') + 1);
    out << line << std::endl;
}

// The row's cells, or with `run` null the headings: the heuristic's column
// when the table names heuristics, the dropped states' in graph search.
std::vector<Cell> rowcells(const RunSummary* run, bool heuristics, bool graph, int methodwidth)
{
    const auto text = [&](const Column& column, std::string value) {
        return Cell{column, run ? std::move(value) : std::string(column.heading)};
    };
    std::vector<Cell> cells;
    cells.push_back(text({methodcolumn.heading, methodwidth, methodcolumn.left},
                         run ? std::string(namesof(run->method).label) : ""));
    if (heuristics)
        cells.push_back(
            text(heuristiccolumn,
                 run && namesof(run->method).estimates
                     ? std::string(heuristicnames[static_cast<std::size_t>(run->estimate)])
                     : "-"));
    const bool solved = run && run->status == SearchStatus::solved;
    const std::string figures[] = {
        run ? std::to_string(run->pieces) : "",    solved ? std::to_string(run->moves) : "-",
        run ? std::string(outcomename(*run)) : "", run ? std::to_string(run->examined) : "",
        run ? std::to_string(run->generated) : "", run ? std::to_string(run->largestfrontier) : "",
    };
    for (std::size_t i = 0; i < figurecolumns.size(); ++i)
        cells.push_back(text(figurecolumns[i], figures[i]));
    if (graph)
        cells.push_back(text(droppedcolumn, run ? std::to_string(run->dropped) : ""));
    char seconds[32] = "";
    if (run)
        std::snprintf(seconds, sizeof seconds, "%.6f", run->seconds);
    cells.push_back(text(timecolumn, seconds));
    return cells;
}

// Heuristics that say little of the goal: the search they lead is as large
// as breadth-first search's.
bool uninformed(heuristic kind)
{
    return kind == heuristic::zero || kind == heuristic::fora;
}

// The methods the comparison runs, in order: those of --metodo, or A*,
// breadth-first and greedy search.
std::vector<search_method> comparedmethods(const Options& options)
{
    if (!options.methods.empty())
        return options.methods;
    return {search_method::astar, search_method::breadth, search_method::greedy};
}

}  // namespace

void comparisonruns(const Options& options, std::uint64_t memory,
                    const std::function<bool(const RunSummary&)>& row)
{
    struct Series {
        search_method method;
        heuristic estimate;
        std::int16_t largest;
    };
    const std::vector<heuristic> heuristics =
        options.heuristics.empty() ? std::vector{heuristic::padrao} : options.heuristics;
    std::vector<Series> series;
    for (const search_method method : comparedmethods(options)) {
        if (!namesof(method).estimates) {
            series.push_back({method, heuristic::padrao, options.comparebreadth});
            continue;
        }
        for (const heuristic kind : heuristics)
            series.push_back({method, kind, uninformed(kind) ? options.comparebreadth : maxpieces});
    }
    Discard discard;
    std::ostream nowhere(&discard);  // the runs' progress lines
    for (const Series& s : series) {
        for (std::int16_t n = 1; n <= s.largest; ++n) {
            const Problem problem = problemof(n);
            const SearchSetup setup = setupof(options, s.method, s.estimate);
            MemoryBudget budget(memory, readmemoryroom);
            const SearchLimits limits{memory, isclassic(problem, setup) ? INT64_MAX : comparelimit,
                                      &budget};
            if (!row(measuredrun(problem, setup, limits, nowhere, 0).summary))
                return;
        }
    }
}

void writecomparison(std::ostream& out, const Options& options, bool csvheader,
                     std::uint64_t memory)
{
    const bool heuristiccolumn = !options.heuristics.empty();
    int methodwidth = methodcolumn.width;
    for (const search_method method : comparedmethods(options))
        methodwidth = std::max(methodwidth, static_cast<int>(namesof(method).label.size()));
    if (options.csv && csvheader)
        writecsvheader(out);
    else if (!options.csv)
        writecells(out, rowcells(nullptr, heuristiccolumn, options.graph, methodwidth));
    if (!out)
        return;
    comparisonruns(options, memory, [&](const RunSummary& run) {
        if (options.csv)
            writecsvrow(out, run);
        else
            writecells(out, rowcells(&run, heuristiccolumn, options.graph, methodwidth));
        // Nobody would see the rest of the table.
        return static_cast<bool>(out);
    });
}

void writeanalysis(std::ostream& out, const std::vector<HeuristicAnalysis>& analyses, bool csv,
                   bool csvheader)
{
    if (csv) {
        if (csvheader)
            out << "heuristica,posicoes,superestimadas,maior_excesso,movimentos_inconsistentes"
                << std::endl;
        for (const HeuristicAnalysis& a : analyses)
            out << heuristicnames[static_cast<std::size_t>(a.kind)] << ',' << a.positions << ','
                << a.overestimated << ',' << a.largestexcess << ',' << a.inconsistentmoves
                << std::endl;
        return;
    }
    constexpr std::array<Column, 5> analysiscolumns{{
        {"Heuristica", 10, true},
        {"Posicoes", 8, false},
        {"Superestimadas", 14, false},
        {"Maior excesso", 13, false},
        {"Movimentos inconsistentes", 25, false},
    }};
    std::vector<Cell> headings;
    headings.reserve(analysiscolumns.size());
    for (const Column& column : analysiscolumns)
        headings.push_back({column, std::string(column.heading)});
    writecells(out, headings);
    for (const HeuristicAnalysis& a : analyses) {
        const std::string texts[] = {
            std::string(heuristicnames[static_cast<std::size_t>(a.kind)]),
            std::to_string(a.positions),
            std::to_string(a.overestimated),
            std::to_string(a.largestexcess),
            std::to_string(a.inconsistentmoves),
        };
        std::vector<Cell> cells;
        cells.reserve(analysiscolumns.size());
        for (std::size_t i = 0; i < analysiscolumns.size(); ++i)
            cells.push_back({analysiscolumns[i], texts[i]});
        writecells(out, cells);
    }
}
