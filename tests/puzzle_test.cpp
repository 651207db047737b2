#include <gtest/gtest.h>

#include <vector>

#include "fixtures.h"
#include "puzzle.h"

namespace {

// The legal moves of `sets` after a move to `lastto` (0 for none) as
// {from, to, piece} triples, in the order visited.
std::vector<std::vector<int>> movesof(const PegSets& sets, std::int16_t lastto)
{
    std::vector<std::vector<int>> moves;
    forlegalmoves(sets, lastto, [&](const PegMove& m) {
        moves.push_back({m.from, m.to, m.piece});
    });
    return moves;
}

TEST(Puzzle, OptimalMoves)
{
    EXPECT_EQ(optimalmoves(1), 1);
    EXPECT_EQ(optimalmoves(3), 7);
    EXPECT_EQ(optimalmoves(15), 32767);
}

TEST(Problem, StartGoalAndOptimalLength)
{
    struct Case {
        int n;
        const char* start;  // empty: every piece on peg 1
        const char* goal;  // empty: every piece on peg 3
        std::int32_t optimal;
    };
    for (const Case& c :
         {Case{1, "", "", 1}, Case{4, "", "", 15}, Case{15, "", "", 32767},
          Case{3, "312", "123", 5}, Case{3, "231", "", 7}, Case{4, "2131", "2131", 0}}) {
        const auto position = [&](const char* digits, int peg) {
            return *digits ? *parseposition(digits) : towerof(c.n, peg);
        };
        const Problem problem = problemof(c.n, position(c.start, 1), position(c.goal, 3));
        EXPECT_EQ(problem.optimal, c.optimal) << c.start << " -> " << c.goal;
        EXPECT_EQ(problemof(c.n).start.on[1], allpieces(c.n));
        EXPECT_EQ(problemof(c.n).goal.on[3], allpieces(c.n));
    }
}

// Positions numbered in base 3, digit i the peg of piece i less one: the
// number of a child is its parent's moved by movedcode.
TEST(Problem, PositionNumbersRoundTripAndFollowMoves)
{
    for (int n : {1, 3, 8, 9, 15}) {
        const Problem problem = problemof(n);
        EXPECT_EQ(problem.code(problem.start), 0u);
        EXPECT_EQ(problem.code(problem.goal), problem.positions() - 1);
        const std::uint32_t step = n > 9 ? 997 : 1;
        for (std::uint32_t code = 0; code < problem.positions(); code += step) {
            const PegSets sets = problem.position(code);
            ASSERT_EQ(problem.code(sets), code) << n;
            forlegalmoves(sets, 0, [&](const PegMove& m) {
                EXPECT_EQ(problem.code(applymove(sets, m)), movedcode(code, m)) << n;
            });
        }
    }
}

TEST(Puzzle, LegalMovesInFixedOrderWithoutMovingTheLastPieceAgain)
{
    struct Case {
        int n;
        std::initializer_list<int> pegs;
        std::int16_t lastto;  // 0: the start state, no last move
        std::vector<std::vector<int>> moves;  // {from, to, piece}
    };
    const Case cases[] = {
        {3, {1, 1, 1}, 0, {{1, 2, 0}, {1, 3, 0}}},
        {1, {2}, 2, {}},
        {1, {1}, 0, {{1, 2, 0}, {1, 3, 0}}},
        {3, {2, 1, 1}, 2, {{1, 3, 1}}},
        {3, {2, 3, 1}, 3, {{2, 1, 0}, {2, 3, 0}}},
        {3, {2, 3, 1}, 1, {{2, 1, 0}, {2, 3, 0}, {3, 1, 1}}},
        {3, {3, 3, 3}, 3, {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(movesof(setsof(c.pegs), c.lastto), c.moves)
            << "n=" << c.n << " last to " << c.lastto;
    }
}

TEST(Puzzle, LegalMovesFollowTheRuleInEveryPosition)
{
    // The rule as stated: i->j when the top of i is smaller than the top of j
    // (an empty peg's top is N), i is not empty and is not where the last
    // move went; tried for i, then j, in peg order.
    for (int size = 1; size <= 6; ++size) {
        int positions = 1;
        for (int i = 0; i < size; ++i)
            positions *= 3;
        for (int code = 0; code < positions; ++code) {
            int pegs[maxpieces];
            PegSets sets{};
            for (int i = 0, rest = code; i < size; ++i, rest /= 3) {
                pegs[i] = 1 + rest % 3;
                sets.on[pegs[i]] |= static_cast<std::uint16_t>(1u << i);
            }
            // The smallest piece on `peg`, scanning up from piece 0; N when none.
            const auto topof = [&](int peg) {
                int piece = 0;
                while (piece < size && pegs[piece] != peg)
                    ++piece;
                return piece;
            };
            for (std::int16_t lastto = 0; lastto <= 3; ++lastto) {
                std::vector<std::vector<int>> expected;
                for (int i = 1; i <= 3; ++i)
                    for (int j = 1; j <= 3; ++j)
                        if (i != j && topof(i) < topof(j) && topof(i) != size && i != lastto)
                            expected.push_back({i, j, topof(i)});
                ASSERT_EQ(movesof(sets, lastto), expected)
                    << "n=" << size << " position " << code << " last to " << lastto;
            }
        }
    }
}

TEST(Puzzle, ApplyMoveMovesOnePieceBetweenSets)
{
    struct Case {
        int n;
        std::initializer_list<int> before;
        PegMove move;
        std::initializer_list<int> after;
    };
    const Case cases[] = {
        {3, {2, 1, 1}, {1, 3, 1}, {2, 3, 1}},
        {1, {1}, {1, 3, 0}, {3}},
        {15,
         {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1},
         {1, 2, 0},
         {2, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}},
        {4, {3, 3, 2, 1}, {1, 2, 3}, {3, 3, 2, 2}},
    };
    for (const Case& c : cases) {
        const PegSets moved = applymove(setsof(c.before), c.move);
        const PegSets expected = setsof(c.after);
        for (int peg = 1; peg <= 3; ++peg)
            EXPECT_EQ(moved.on[peg], expected.on[peg]) << "n=" << c.n << " peg " << peg;
    }
}

}  // namespace
