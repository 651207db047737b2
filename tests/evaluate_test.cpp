#include <gtest/gtest.h>

#include "evaluate.h"
#include "fixtures.h"
#include "heuristics.h"

namespace {

// The program's own score of `sets` of `pieces` reached in `depth` moves,
// toward every piece on peg 3.
std::int32_t score(const PegSets& sets, std::int32_t depth, search_method method, int pieces)
{
    return Scoring{method, heuristic::padrao, problemof(pieces)}(sets, depth);
}

TEST(Evaluate, ScoresOfKnownPositions)
{
    struct Case {
        int n;
        std::initializer_list<int> pegs;
        int depth;
        int astar, breadth, greedy;
    };
    const Case cases[] = {
        {1, {3}, 1, -1, -2, 0},
        {1, {2}, 1, -2, -2, -1},
        {3, {2, 1, 1}, 1, -8, -8, -7},
        {3, {3, 1, 1}, 1, -7, -8, -6},
        {6, {2, 2, 2, 2, 2, 1}, 0, -32, -63, -32},
        {6, {1, 1, 1, 1, 2, 1}, 0, -42, -63, -42},
        {6, {1, 1, 1, 1, 1, 3}, 0, -31, -63, -31},
        {6, {1, 2, 3, 1, 2, 3}, 0, -20, -63, -20},
        {7, {3, 3, 3, 3, 3, 2, 1}, 0, -95, -127, -95},
        {3, {1, 1, 1}, 5, -12, -12, -7},
    };
    for (const Case& c : cases) {
        const PegSets s = setsof(c.pegs);
        EXPECT_EQ(score(s, c.depth, search_method::astar, c.n), c.astar)
            << "n=" << c.n << " row " << &c - cases;
        EXPECT_EQ(score(s, c.depth, search_method::breadth, c.n), c.breadth)
            << "n=" << c.n << " row " << &c - cases;
        EXPECT_EQ(score(s, c.depth, search_method::greedy, c.n), c.greedy)
            << "n=" << c.n << " row " << &c - cases;
    }
}

TEST(Evaluate, GoalHasNoEstimateAtAnySize)
{
    for (int size = 1; size <= maxpieces; ++size) {
        EXPECT_EQ(score(towerof(size, 3), 0, search_method::greedy, size), 0) << "n=" << size;
    }
}

}  // namespace

namespace {

TEST(Evaluate, AStarScoresAlongTheTwoPieceTrace)
{
    struct Case {
        std::initializer_list<int> pegs;
        int depth;
        int score;
    };
    const Case cases[] = {
        {{2, 1}, 1, -3}, {{3, 1}, 1, -4}, {{2, 3}, 2, -3}, {{1, 3}, 3, -4}, {{3, 3}, 3, -3},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(score(setsof(c.pegs), c.depth, search_method::astar, 2), c.score)
            << "row " << &c - cases;
    }
}

}  // namespace

#include <random>

#include "reference_eval.h"

namespace {

TEST(Evaluate, AgreesWithTheStepByStepEvaluationEverywhere)
{
    std::mt19937 random(2026);
    for (int size = 1; size <= maxpieces; ++size) {
        for (int round = 0; round < 20000; ++round) {
            reference::Position s{{}, 17};
            // Positions of every kind: spread over all pegs, or mostly on one.
            const int bias = static_cast<int>(random() % 4);
            for (int i = 0; i < size; ++i) {
                const int peg = static_cast<int>(random() % 3) + 1;
                s.pegs[i] = static_cast<std::int8_t>(bias && random() % 3 ? bias : peg);
            }
            for (search_method m :
                 {search_method::astar, search_method::breadth, search_method::greedy})
                ASSERT_EQ(score(reference::setsof(s, size), s.depth, m, size),
                          reference::eval(s, m, size))
                    << "n=" << size << " round " << round;
        }
    }
}

}  // namespace

namespace {

// Random walks over legal moves: wherever a move moves a piece below the
// parent's k, the parent's parts must give the child's full estimate.
TEST(Evaluate, ChildrenSharingTheirParentsPartsGetTheFullEstimate)
{
    std::mt19937 random(9);
    std::int64_t shared = 0;
    std::int64_t moves = 0;
    for (int size = 1; size <= maxpieces; ++size) {
        PegSets sets = towerof(size, 1);
        for (int step = 0; step < 200000; ++step, ++moves) {
            const EstimateParts parts = estimateparts(sets, size);
            ASSERT_EQ(childestimate(sets, parts), -score(sets, 0, search_method::greedy, size));
            PegMove choices[3];
            int count = 0;
            forlegalmoves(sets, 0, [&](const PegMove& m) { choices[count++] = m; });
            const PegMove move = choices[random() % static_cast<unsigned>(count)];
            sets = applymove(sets, move);
            if (move.piece < parts.k) {
                ++shared;
                ASSERT_EQ(childestimate(sets, parts), -score(sets, 0, search_method::greedy, size))
                    << "n=" << size << " step " << step;
            }
        }
    }
    // The shortcut is taken often enough to be tested well: over a million
    // times (more than a third of these random moves; 96% in a search).
    EXPECT_GT(shared, moves / 3);
}

}  // namespace
