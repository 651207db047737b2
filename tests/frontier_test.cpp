#include <gtest/gtest.h>

#include <random>
#include <string>

#include "fixtures.h"
#include "frontier.h"

namespace {

HanoiState tagged(char tag, int score)
{
    HanoiState s = stateof({});
    s.pegs[0] = static_cast<std::int8_t>(tag);
    s.score = score;
    return s;
}

std::string popall(Frontier& frontier)
{
    std::string order;
    for (; !frontier.empty(); frontier.pop())
        order += static_cast<char>(frontier.top().pegs[0]);
    return order;
}

TEST(Frontier, TieOrderIsTheHeapsOwn)
{
    struct Case {
        std::vector<int> scores;  // pushed as A, B, C, ...
        std::string order;
    };
    const Case cases[] = {
        {{-2, -1}, "BA"},
        {{-2, -2}, "AB"},
        {{0, 0, 0}, "ABC"},
        {{0, 0, 0, 0, 0}, "ACEBD"},
        {{-1, -1, -1, -1, -1, -1, -1}, "ACFGEBD"},
        {{-3, -1, -2, -1, -3}, "BDCAE"},
    };
    for (const Case& c : cases) {
        Frontier frontier;
        char tag = 'A';
        for (int score : c.scores)
            frontier.push(tagged(tag++, score));
        EXPECT_EQ(popall(frontier), c.order);
    }
}

TEST(Frontier, SingleEntryNeedsNoScore)
{
    Frontier frontier;
    HanoiState s = tagged('S', 0);
    frontier.push(s);
    EXPECT_EQ(frontier.top().pegs[0], 'S');
    frontier.pop();
    EXPECT_TRUE(frontier.empty());
}

TEST(Frontier, PopsInNonIncreasingScoreOrderUnderInterleaving)
{
    std::mt19937 random(7);
    Frontier frontier;
    for (int round = 0; round < 2000; ++round) {
        for (int i = 0; i < 3; ++i)
            frontier.push(tagged('x', static_cast<int>(random() % 50) - 100));
        const int best = frontier.top().score;
        frontier.pop();
        ASSERT_TRUE(frontier.empty() || frontier.top().score <= best);
    }
    int last = 0;
    for (; !frontier.empty(); frontier.pop()) {
        ASSERT_LE(frontier.top().score, last);
        last = frontier.top().score;
    }
}

}  // namespace
