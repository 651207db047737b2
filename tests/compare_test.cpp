#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "compare.h"
#include "fixtures.h"
#include "run.h"

namespace {

std::vector<std::string> fields(const std::string& row)
{
    std::vector<std::string> cells;
    std::istringstream in(row);
    for (std::string cell; std::getline(in, cell, ',');)
        cells.push_back(cell);
    if (row.ends_with(','))
        cells.emplace_back();
    return cells;
}

TEST(Comparison, ReproducesTheKnownResultsAndShowsAMemoryStopInItsRow)
{
    // Pieces -> moves, examined for each method, from the runs to completion.
    using Known = std::map<std::tuple<std::string, int>, std::pair<long, long>>;
    const Known known = {
        {{"A*", 1}, {1, 2}},
        {{"Largura", 1}, {1, 3}},
        {{"Guloso", 1}, {1, 2}},
        {{"A*", 2}, {3, 4}},
        {{"Largura", 2}, {3, 9}},
        {{"Guloso", 2}, {3, 4}},
        {{"A*", 3}, {7, 9}},
        {{"Largura", 3}, {7, 35}},
        {{"Guloso", 3}, {7, 8}},
        {{"A*", 4}, {15, 24}},
        {{"Largura", 4}, {15, 653}},
        {{"Guloso", 4}, {19, 24}},
        {{"A*", 5}, {31, 120}},
        {{"Largura", 5}, {31, 118435}},
        {{"Guloso", 5}, {37, 53}},
        {{"A*", 6}, {63, 224}},
        {{"Guloso", 6}, {75, 107}},
        {{"A*", 8}, {255, 960}},
        {{"Guloso", 8}, {293, 426}},
        {{"A*", 10}, {1023, 3840}},
        {{"Guloso", 10}, {1159, 1707}},
        {{"A*", 15}, {32767, 122880}},
        {{"Guloso", 15}, {36875, 55993}},
    };
    std::ostringstream out;
    // Enough for every default run; breadth-first search with 6 pieces stops.
    Options options;
    options.comparebreadth = 6;
    options.csv = true;
    writecomparison(out, options, true, 8u << 20);
    std::istringstream rows(out.str());
    std::string row;
    std::getline(rows, row);
    EXPECT_EQ(row, "metodo,pecas,resultado,movimentos,examinados,gerados,maior_fronteira,"
                   "profundidade,ramificacao_efetiva,memoria_bytes,tempo_s,examinados_por_s,"
                   "heuristica,desempate,grafo,descartados,penetrancia,limite,iteracoes,peso");
    std::vector<std::string> order;
    std::size_t checked = 0;
    while (std::getline(rows, row)) {
        const std::vector<std::string> cells = fields(row);
        ASSERT_EQ(cells.size(), 20u) << row;
        EXPECT_EQ(cells[12], cells[0] == "Largura" ? "" : "padrao") << row;
        EXPECT_EQ(cells[13] + cells[14] + cells[15], "heapnao0") << row;
        order.push_back(cells[0] + cells[1]);
        if (cells[0] == "Largura" && cells[1] == "6") {
            EXPECT_EQ(cells[2], "memoria esgotada");
            EXPECT_EQ(cells[3], "");
            EXPECT_GT(std::stol(cells[4]), 100000);
            continue;
        }
        const long optimal = (1L << std::stoi(cells[1])) - 1;
        EXPECT_EQ(cells[2], std::stol(cells[3]) == optimal ? "otima" : "subotima") << row;
        EXPECT_GE(std::stol(cells[5]), std::stol(cells[4])) << row;
        if (const auto it = known.find({cells[0], std::stoi(cells[1])}); it != known.end()) {
            EXPECT_EQ(std::stol(cells[3]), it->second.first) << row;
            EXPECT_EQ(std::stol(cells[4]), it->second.second) << row;
            ++checked;
        }
    }
    EXPECT_EQ(checked, known.size());
    ASSERT_EQ(order.size(), 15u + 6u + 15u);
    EXPECT_EQ(order[0], "A*1");
    EXPECT_EQ(order[15], "Largura1");
    EXPECT_EQ(order[20], "Largura6");
    EXPECT_EQ(order[21], "Guloso1");
}

// A row that is not a classic search stops at the comparison's limit and
// says so: greedy tree search with fora goes round for ever from 4 pieces.
TEST(Comparison, ARowStoppedAtTheLimitSaysInterrompida)
{
    Options options;
    options.comparebreadth = 4;
    options.heuristics = {heuristic::fora};
    options.csv = true;
    std::ostringstream out;
    writecomparison(out, options, false, std::uint64_t{1} << 30);
    std::istringstream rows(out.str());
    std::string row;
    std::vector<std::string> greedyfour;
    while (std::getline(rows, row))
        if (row.starts_with("Guloso,4,"))
            greedyfour = fields(row);
    ASSERT_EQ(greedyfour.size(), csvcolumns.size()) << out.str();
    EXPECT_EQ(greedyfour[2], "interrompida");
    EXPECT_EQ(greedyfour[3], "");
    EXPECT_EQ(greedyfour[4], std::to_string(comparelimit));
}

// The statistics' clock runs wherever the program does: a search of
// milliseconds takes time on it (WebAssembly, with no CPU clock, times it
// by another).
TEST(Comparison, TheStatisticsClockRuns)
{
    std::ostringstream out;
    EXPECT_GT(measuredrun(problemof(13), {search_method::astar}, {}, out, 0).summary.seconds, 0);
}

}  // namespace
