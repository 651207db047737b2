#include "layered.h"

#include <gtest/gtest.h>

#include <sstream>

#include "fixtures.h"
#include "observe.h"
#include "run.h"

namespace {

// What a run did: its result and progress, and a running digest of every
// state taken, in order.
struct Outcome {
    SearchResult result;
    std::string progress;
    std::uint64_t digest = 0;
};

FunctionObserver digesting(std::uint64_t& digest, std::ostream& progress)
{
    FunctionObserver observer;
    observer.onprogress = [&progress](std::int64_t examined, std::int32_t depth) {
        return ProgressLines(progress).progress(examined, depth);
    };
    observer.ontaken = [&digest](std::uint32_t, const PegSets& sets, std::int32_t depth,
                                 std::size_t) {
        for (const std::uint64_t part : {std::uint64_t{sets.on[1]}, std::uint64_t{sets.on[2]},
                                         std::uint64_t{sets.on[3]}, std::uint64_t(depth)})
            digest = (digest ^ part) * 0x100000001b3u;
    };
    return observer;
}

// Classic breadth-first search on the best-first engine: the engine for an
// observer that needs its nodes numbered.
Outcome generalrun(int n, std::int64_t limit)
{
    Outcome run;
    std::ostringstream progress;
    FunctionObserver observer = digesting(run.digest, progress);
    run.result =
        runsearch(problemof(n), {search_method::breadth}, {unlimitedmemory, limit}, observer, true);
    run.progress = progress.str();
    return run;
}

Outcome layeredrun(int n, std::int64_t limit)
{
    Outcome run;
    std::ostringstream progress;
    FunctionObserver observer = digesting(run.digest, progress);
    run.result = searchlayered(problemof(n), {unlimitedmemory, limit}, observer);
    run.progress = progress.str();
    return run;
}

TEST(Layered, TakesTheGeneralEnginesStatesInTheSameOrder)
{
    struct Case {
        int n;
        std::int64_t limit;
        SearchStatus status;
    };
    // Whole runs up to 5 pieces; the first states of runs that never finish,
    // on two-byte entries (6 and 8 pieces) and four-byte ones (9 and 15).
    // With 6 pieces the heap keeps pops in flight from 163515 states on
    // (depth 32), and passes four new depths doing so.
    const Case cases[] = {
        {1, INT64_MAX, SearchStatus::solved}, {2, INT64_MAX, SearchStatus::solved},
        {3, INT64_MAX, SearchStatus::solved}, {4, INT64_MAX, SearchStatus::solved},
        {5, INT64_MAX, SearchStatus::solved}, {6, 600000, SearchStatus::stopped},
        {8, 200000, SearchStatus::stopped},   {9, 200000, SearchStatus::stopped},
        {15, 200000, SearchStatus::stopped},
    };
    for (const Case& c : cases) {
        const Outcome general = generalrun(c.n, c.limit);
        const Outcome layered = layeredrun(c.n, c.limit);
        EXPECT_EQ(layered.result.status, c.status) << c.n;
        EXPECT_EQ(general.result.status, c.status) << c.n;
        EXPECT_EQ(layered.digest, general.digest) << c.n;
        EXPECT_EQ(layered.result.examined, general.result.examined) << c.n;
        EXPECT_EQ(layered.result.depth, general.result.depth) << c.n;
        EXPECT_EQ(layered.result.frontier, general.result.frontier) << c.n;
        EXPECT_EQ(layered.progress, general.progress) << c.n;
        EXPECT_EQ(layered.result.solution.size(), general.result.solution.size()) << c.n;
        for (std::size_t i = 0; i < layered.result.solution.size(); ++i) {
            EXPECT_EQ(layered.result.solution[i].from, general.result.solution[i].from);
            EXPECT_EQ(layered.result.solution[i].to, general.result.solution[i].to);
        }
    }
}

// Why two bytes an entry and no move records suffice: states leave in order
// of depth and every child is one deeper, so the frontier holds two depths;
// after an odd number of moves the smallest piece has just moved, so such a
// state has at most one child; and the shortest solution is unique.
TEST(Layered, BreadthFirstKeepsTwoDepthsAndOddDepthsHaveOneChild)
{
    std::int32_t lastdepth = 0;
    std::int32_t takendepth = 0;
    int children = 0;
    bool ordered = true;
    bool onedeeper = true;
    bool oddhasone = true;
    FunctionObserver observer;
    observer.ontaken = [&](std::uint32_t, const PegSets&, std::int32_t depth, std::size_t) {
        ordered = ordered && depth >= lastdepth;
        lastdepth = takendepth = depth;
        children = 0;
    };
    observer.onpushed = [&](std::uint32_t, std::uint32_t, const PegMove&, const PegSets&,
                            std::int32_t depth, std::int32_t) {
        onedeeper = onedeeper && depth == takendepth + 1;
        ++children;
    };
    observer.onexpanded = [&](std::size_t) {
        oddhasone = oddhasone && (takendepth % 2 == 0 || children <= 1);
    };
    searchlayered(problemof(6), {unlimitedmemory, 300000}, observer);
    EXPECT_TRUE(ordered);
    EXPECT_TRUE(onedeeper);
    EXPECT_TRUE(oddhasone);
    EXPECT_GT(lastdepth, 20);
}

TEST(Layered, ShortestPathIsUniqueLegalAndOptimal)
{
    for (int count = 1; count <= 10; ++count) {
        const Problem problem = problemof(count);
        const std::optional<std::vector<Step>> path = shortestpath(problem);
        ASSERT_TRUE(path) << count;
        EXPECT_EQ(path->size(), static_cast<std::size_t>(problem.optimal)) << count;
        EXPECT_TRUE(leadstogoal(problem, *path)) << count;
    }
}

TEST(Layered, StopsBeforeTheMemoryBudgetWouldBePassed)
{
    struct Case {
        std::uint64_t budget;
        SearchStatus status;
        bool examinedany;
    };
    const Case cases[] = {
        {0, SearchStatus::noroom, false},
        {64u << 10, SearchStatus::outofmemory, true},
        // Past the first huge-page mapping (2 MiB) and its first growth.
        {5u << 20, SearchStatus::outofmemory, true},
    };
    for (const Case& c : cases) {
        NoObserver none;
        const SearchResult result = searchlayered(problemof(6), {c.budget}, none);
        EXPECT_EQ(result.status, c.status) << c.budget;
        EXPECT_LE(result.memory, c.budget) << c.budget;
        EXPECT_EQ(result.examined > 0, c.examinedany) << c.budget;
        EXPECT_TRUE(result.solution.empty()) << c.budget;
    }
}

}  // namespace
