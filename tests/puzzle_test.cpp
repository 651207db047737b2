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

TEST(Puzzle, StartStateHasEveryPieceOnPegOne)
{
    const PieceCount n(4);
    const PegSets start = startstate();
    EXPECT_EQ(start.on[1], 0b1111);
    EXPECT_EQ(start.on[2], 0);
    EXPECT_EQ(start.on[3], 0);
}

TEST(Puzzle, HitGoalOnlyWithEveryPieceOnPegThree)
{
    struct Case {
        int n;
        std::initializer_list<int> pegs;
        bool goal;
    };
    const Case cases[] = {
        {1, {3}, true},        {1, {2}, false},
        {3, {3, 3, 3}, true},  {3, {3, 3, 1}, false},
        {3, {2, 3, 3}, false}, {15, {3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3}, true},
    };
    for (const Case& c : cases) {
        const PieceCount n(c.n);
        EXPECT_EQ(hitgoal(setsof(c.pegs)), c.goal) << "n=" << c.n;
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
        const PieceCount n(c.n);
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
        const PieceCount n(size);
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
        const PieceCount n(c.n);
        const PegSets moved = applymove(setsof(c.before), c.move);
        const PegSets expected = setsof(c.after);
        for (int peg = 1; peg <= 3; ++peg)
            EXPECT_EQ(moved.on[peg], expected.on[peg]) << "n=" << c.n << " peg " << peg;
    }
}

}  // namespace
