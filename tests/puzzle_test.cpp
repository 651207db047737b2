#include <gtest/gtest.h>

#include <vector>

#include "fixtures.h"
#include "puzzle.h"

namespace {

// The legal moves of `s` as {from, to, piece} triples, in the order visited.
std::vector<std::vector<int>> movesof(const HanoiState& s)
{
    std::vector<std::vector<int>> moves;
    const std::int16_t lastto = s.move ? s.move->to : std::int16_t{0};
    forlegalmoves(pegsets(s), lastto, [&](const PegMove& m) {
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
    const HanoiState start = startstate();
    EXPECT_EQ(start.move, nullptr);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(start.pegs[i], 1);
}

TEST(Puzzle, TopAndBaseOfEachPeg)
{
    struct Case {
        int n;
        std::initializer_list<int> pegs;
        int top[3];
        int base[3];
    };
    const Case cases[] = {
        {3, {1, 1, 1}, {0, 3, 3}, {2, 3, 3}},
        {3, {2, 1, 2}, {1, 0, 3}, {1, 2, 3}},
        {1, {3}, {1, 1, 0}, {1, 1, 0}},
        {5, {3, 2, 3, 1, 3}, {3, 1, 0}, {3, 1, 4}},
    };
    for (const Case& c : cases) {
        const PieceCount n(c.n);
        const HanoiState s = stateof(c.pegs);
        for (std::int16_t peg = 1; peg <= 3; ++peg) {
            EXPECT_EQ(topof(s, peg), c.top[peg - 1]) << "n=" << c.n << " peg " << peg;
            EXPECT_EQ(baseof(s, peg), c.base[peg - 1]) << "n=" << c.n << " peg " << peg;
        }
    }
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
        EXPECT_EQ(hitgoal(stateof(c.pegs)), c.goal) << "n=" << c.n;
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
        const HanoiMove last{0, c.lastto, 1, nullptr};
        const HanoiState s = stateof(c.pegs, c.lastto ? &last : nullptr);
        EXPECT_EQ(movesof(s), c.moves) << "n=" << c.n << " last to " << c.lastto;
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
            HanoiState s = stateof({});
            for (int i = 0, rest = code; i < size; ++i, rest /= 3)
                s.pegs[i] = static_cast<std::int8_t>(1 + rest % 3);
            for (std::int16_t lastto = 0; lastto <= 3; ++lastto) {
                const HanoiMove last{0, lastto, 1, nullptr};
                s.move = lastto ? &last : nullptr;
                std::vector<std::vector<int>> expected;
                for (std::int16_t i = 1; i <= 3; ++i)
                    for (std::int16_t j = 1; j <= 3; ++j)
                        if (i != j && topof(s, i) < topof(s, j) && topof(s, i) != size &&
                            i != lastto)
                            expected.push_back({i, j, topof(s, i)});
                ASSERT_EQ(movesof(s), expected)
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
        const PegSets moved = applymove(pegsets(stateof(c.before)), c.move);
        const PegSets expected = pegsets(stateof(c.after));
        for (int peg = 1; peg <= 3; ++peg)
            EXPECT_EQ(moved.on[peg], expected.on[peg]) << "n=" << c.n << " peg " << peg;
    }
}

}  // namespace
