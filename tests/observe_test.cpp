#include <gtest/gtest.h>

#include <cstdint>
#include <sstream>
#include <string>

#include "compare.h"
#include "fixtures.h"
#include "observe.h"
#include "run.h"

namespace {

// The sequence the frontier's tie rule and the scores imply for 2 pieces:
// the start pushes [2, 1] (score -3) and [3, 1] (-4); [2, 1] pushes [2, 3];
// [2, 3] pushes [1, 3] (-4) and [3, 3] (-3); the goal is the fourth state.
const std::string twopiecetrace = "#1  1:[1 0] 2:[] 3:[]  g=0 h=3 f=3  fronteira=0\n"
                                  "    1->2  1:[1] 2:[0] 3:[]  g=1 h=2 f=3\n"
                                  "    1->3  1:[1] 2:[] 3:[0]  g=1 h=3 f=4\n"
                                  "#2  1:[1] 2:[0] 3:[]  g=1 h=2 f=3  fronteira=1\n"
                                  "    1->3  1:[] 2:[0] 3:[1]  g=2 h=1 f=3\n"
                                  "#3  1:[] 2:[0] 3:[1]  g=2 h=1 f=3  fronteira=1\n"
                                  "    2->1  1:[0] 2:[] 3:[1]  g=3 h=1 f=4\n"
                                  "    2->3  1:[] 2:[] 3:[1 0]  g=3 h=0 f=3\n"
                                  "#4  1:[] 2:[] 3:[1 0]  g=3 h=0 f=3  fronteira=2  objetivo\n";

std::string legend(std::int64_t limit)
{
    return "Rastro dos primeiros " + std::to_string(limit) +
           " estados (g = profundidade, h = estimativa, f = ordem na fronteira, menor antes)\n";
}

TEST(Trace, TwoPiecesWithAStarFollowTheFrontierStepByStep)
{
    std::ostringstream out;
    const MeasuredRun run = measuredrun(problemof(2), {search_method::astar}, {}, out, 20);
    EXPECT_EQ(out.str(), legend(20) + twopiecetrace);
    EXPECT_EQ(run.result.examined, 4);
}

TEST(Trace, StopsAfterItsLimitWhileTheSearchGoesOn)
{
    struct Case {
        int n;
        search_method method;
        std::int64_t limit;
        std::string text;
    };
    const Case cases[] = {
        {2, search_method::astar, 3,
         legend(3) + twopiecetrace.substr(0, twopiecetrace.find("#4")) +
             "Rastro interrompido apos 3 estados; a busca continua.\n"},
        {2, search_method::astar, 4, legend(4) + twopiecetrace},
        // The largest limit the options take has no successor to compare with.
        {2, search_method::astar, INT64_MAX, legend(INT64_MAX) + twopiecetrace},
        // h is the constant 2^N - 1 for breadth-first search, and f = g + h.
        {1, search_method::breadth, 1,
         legend(1) + "#1  1:[0] 2:[] 3:[]  g=0 h=1 f=1  fronteira=0\n"
                     "    1->2  1:[] 2:[0] 3:[]  g=1 h=1 f=2\n"
                     "    1->3  1:[] 2:[] 3:[0]  g=1 h=1 f=2\n"
                     "Rastro interrompido apos 1 estados; a busca continua.\n"},
        // Greedy search orders by h alone.
        {1, search_method::greedy, 5,
         legend(5) + "#1  1:[0] 2:[] 3:[]  g=0 h=1 f=1  fronteira=0\n"
                     "    1->2  1:[] 2:[0] 3:[]  g=1 h=1 f=1\n"
                     "    1->3  1:[] 2:[] 3:[0]  g=1 h=0 f=0\n"
                     "#2  1:[] 2:[] 3:[0]  g=1 h=0 f=0  fronteira=1  objetivo\n"},
    };
    for (const Case& c : cases) {
        std::ostringstream out;
        measuredrun(problemof(c.n), {c.method}, {}, out, c.limit);
        EXPECT_EQ(out.str(), c.text) << c.n << " pieces, limit " << c.limit;
    }
}

TEST(Statistics, SmallRunsCountWhatWasWorkedOutByHand)
{
    struct Case {
        int n;
        search_method method;
        std::int64_t examined, generated, largestfrontier;
        std::int32_t depth;
        std::uint64_t memory;
        bool graph = false;
    };
    const Case cases[] = {
        // Start, 2 children; [2, 1], 1 child; [2, 3], 2 children; the goal.
        // The frontier holds 2, then 1 + 1, then 1 + 2 states. Entries of 32
        // bytes (8 of key, 24 of state) and a record of 8 per state generated:
        // largest after the third expansion, 3 * 32 + 6 * 8.
        {2, search_method::astar, 4, 6, 3, 3, 144},
        // Start, 2 children; [2], none; [3], the goal. Two-byte entries, no
        // records: 2 * 2 after the first expansion; and the table of
        // successors, 8 bytes for each position and last peg: 4 + 4 * 3 * 8.
        {1, search_method::breadth, 3, 3, 2, 1, 100},
        // In graph search the state is 24 bytes as well, and the 9 positions
        // take a 64-bit word: the same search, 3 * 32 + 6 * 8 + 8.
        {2, search_method::astar, 4, 6, 3, 3, 152, true},
    };
    for (const Case& c : cases) {
        std::ostringstream out;
        SearchSetup setup{c.method};
        setup.graph = c.graph;
        const RunSummary run = measuredrun(problemof(c.n), setup, {}, out, 0).summary;
        EXPECT_EQ(run.status, SearchStatus::solved);
        EXPECT_EQ(run.examined, c.examined);
        EXPECT_EQ(run.generated, c.generated);
        EXPECT_EQ(run.largestfrontier, c.largestfrontier);
        EXPECT_EQ(run.moves, c.depth);
        EXPECT_EQ(run.depth, c.depth);
        EXPECT_EQ(run.memory, c.memory);
        EXPECT_EQ(run.dropped, 0);
        EXPECT_EQ(out.str(), "");
    }
}

TEST(Statistics, EffectiveBranchingSolvesTheUniformTree)
{
    struct Case {
        std::int64_t generated;
        std::int32_t depth;
        double branching;
    };
    const Case cases[] = {
        {3, 1, 2.0},  // the root and its two children
        {7, 2, 2.0},
        {40, 3, 3.0},
        {4, 3, 1.0},  // a bare path
        {6, 3, 1.2781631},  // b + b^2 + b^3 = 5: two pieces with A*
        {1'000'001, 2, 999.5001249},  // (sqrt(4000001) - 1) / 2
    };
    for (const Case& c : cases)
        EXPECT_NEAR(effectivebranching(c.generated, c.depth), c.branching, 1e-6)
            << c.generated << " generated, depth " << c.depth;
}

}  // namespace
