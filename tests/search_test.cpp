#include <gtest/gtest.h>

#include <limits>
#include <sstream>
#include <string>

#include "bestfirst.h"
#include "fixtures.h"
#include "observe.h"
#include "run.h"

namespace {

// The best-first engine's classic search of `n` pieces (the layered engine
// numbers no nodes, so it is not taken), its progress lines on `progress`.
SearchResult searchshowing(int n, search_method method, std::ostream& progress,
                           const SearchLimits& limits = {})
{
    ProgressLines lines(progress);
    return runsearch(problemof(n), {method}, limits, lines, true);
}

std::string movesof(const std::vector<Step>& solution)
{
    std::string moves;
    for (const Step& step : solution)
        moves += std::to_string(step.from) + "->" + std::to_string(step.to) + " ";
    return moves;
}

TEST(Search, SmallRunsFindTheKnownSolutions)
{
    struct Case {
        int n;
        search_method method;
        std::string moves;
        std::int64_t examined;
    };
    const std::string three = "1->3 1->2 3->2 1->3 2->1 2->3 1->3 ";
    const Case cases[] = {
        {1, search_method::astar, "1->3 ", 2},
        {1, search_method::breadth, "1->3 ", 3},
        {1, search_method::greedy, "1->3 ", 2},
        {2, search_method::astar, "1->2 1->3 2->3 ", 4},
        {2, search_method::breadth, "1->2 1->3 2->3 ", 9},
        {2, search_method::greedy, "1->2 1->3 2->3 ", 4},
        {3, search_method::astar, three, 9},
        {3, search_method::breadth, three, 35},
        {3, search_method::greedy, three, 8},
    };
    for (const Case& c : cases) {
        std::ostringstream progress;
        const SearchResult result = searchshowing(c.n, c.method, progress);
        EXPECT_EQ(result.status, SearchStatus::solved);
        EXPECT_EQ(movesof(result.solution), c.moves) << "n=" << c.n;
        EXPECT_EQ(result.examined, c.examined) << "n=" << c.n;
        EXPECT_EQ(progress.str(), "");
    }
}

TEST(Search, SuboptimalSolutionsStillLeadToTheGoal)
{
    const int n = 4;
    std::ostringstream progress;
    const SearchResult result = searchshowing(n, search_method::greedy, progress);
    ASSERT_EQ(result.solution.size(), 19u);
    EXPECT_TRUE(leadstogoal(problemof(n), result.solution));
}

TEST(Search, ProgressEveryHundredThousandStates)
{
    const int n = 5;
    std::ostringstream progress;
    const SearchResult result = searchshowing(n, search_method::breadth, progress);
    EXPECT_EQ(result.examined, 118435);
    EXPECT_EQ(progress.str(), "Nos abertos: 100000\nProfundidade instantanea: 31\n");
}

}  // namespace

namespace {

TEST(Search, StopsBeforeTheMemoryBudgetWouldBePassed)
{
    struct Case {
        std::uint64_t budget;
        SearchStatus status;
    };
    // A few pages are the least a search holds; this run needs several MiB.
    const Case cases[] = {
        {0, SearchStatus::noroom},
        {1u << 20, SearchStatus::outofmemory},
        {2u << 20, SearchStatus::outofmemory},
        {3u << 20, SearchStatus::outofmemory},
        {64u << 20, SearchStatus::solved},
    };
    for (const Case& c : cases) {
        const int n = 5;
        std::ostringstream progress;
        const SearchResult result = searchshowing(n, search_method::breadth, progress, {c.budget});
        EXPECT_EQ(result.status, c.status) << c.budget;
        EXPECT_LE(result.memory, c.budget) << c.budget;
        if (c.status != SearchStatus::solved) {
            EXPECT_TRUE(result.solution.empty());
        }
    }
}

TEST(Search, MemoryStopReportsWhereItStopped)
{
    const int n = 6;
    std::ostringstream progress;
    const SearchResult result = searchshowing(n, search_method::breadth, progress, {24u << 20});
    ASSERT_EQ(result.status, SearchStatus::outofmemory);
    // Frontier entries of 32 bytes (slot and key) and move records of 8: a
    // breadth-first run holds about 30 bytes per examined state.
    EXPECT_GT(result.examined, 600000);
    EXPECT_LT(result.examined, 900000);
    EXPECT_GT(result.depth, 10);
    EXPECT_TRUE(progress.str().starts_with("Nos abertos: 100000\n"));
}

}  // namespace

namespace {

TEST(Search, StopsAfterTheGivenNumberOfExaminedStates)
{
    struct Case {
        int n;
        std::int64_t limit;
        SearchStatus status;
        std::int64_t examined;
    };
    const Case cases[] = {
        {5, 1, SearchStatus::stopped, 1},
        {5, 1000, SearchStatus::stopped, 1000},
        {5, 118435, SearchStatus::solved, 118435},  // the goal counts before the limit
        {5, 118436, SearchStatus::solved, 118435},
    };
    for (const Case& c : cases) {
        std::ostringstream progress;
        const SearchResult result =
            searchshowing(c.n, search_method::breadth, progress, {unlimitedmemory, c.limit});
        EXPECT_EQ(result.status, c.status) << c.limit;
        EXPECT_EQ(result.examined, c.examined) << c.limit;
    }
}

// A state is at most one move deeper than the deepest state examined before
// it, so its depth is at most the states examined, each of which but the
// start has a move record. Greedy tree search with fora goes about 0.86 deeper
// a state, so the memory stop for the records' count must come before a depth
// could pass its range: a bound on the records within that range.
TEST(Search, RecordsStopTheSearchBeforeADepthCouldOverflow)
{
    constexpr auto deepest = std::numeric_limits<decltype(SearchResult::depth)>::max();
    EXPECT_LE(maxrecords, static_cast<std::size_t>(deepest));
    NoObserver nothing;
    const SearchResult result = runsearch(problemof(4), {search_method::greedy, heuristic::fora},
                                          {unlimitedmemory, 300000}, nothing);
    EXPECT_EQ(result.status, SearchStatus::stopped);
    EXPECT_LE(result.depth, result.examined);
}

}  // namespace
