#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>

#include "fixtures.h"
#include "frontier.h"

namespace {

// Entries are tagged with a letter.
using TaggedFrontier = Frontier<char>;

std::string popall(TaggedFrontier& frontier)
{
    std::string order;
    for (; !frontier.empty(); frontier.pop())
        order += frontier.top();
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
        // Both signs and the extremes: the heap compares scores as ranks.
        {{INT32_MIN, 1, -1, INT32_MAX, 0}, "DBECA"},
    };
    for (const Case& c : cases) {
        TaggedFrontier frontier;
        char tag = 'A';
        for (int score : c.scores)
            frontier.push(score, tag++);
        EXPECT_EQ(popall(frontier), c.order);
    }
}

TEST(Frontier, TopScoreIsTheScorePushed)
{
    for (const int score : {INT32_MIN, -1, 0, 1, INT32_MAX}) {
        TaggedFrontier frontier;
        frontier.push(score, 'S');
        EXPECT_EQ(frontier.topscore(), score);
    }
}

TEST(Frontier, SingleEntryNeedsNoScore)
{
    TaggedFrontier frontier;
    frontier.push(0, 'S');
    EXPECT_EQ(frontier.top(), 'S');
    frontier.pop();
    EXPECT_TRUE(frontier.empty());
}

TEST(Frontier, PopsInNonIncreasingScoreOrderUnderInterleaving)
{
    std::mt19937 random(7);
    TaggedFrontier frontier;
    for (int round = 0; round < 2000; ++round) {
        for (int i = 0; i < 3; ++i)
            frontier.push(static_cast<int>(random() % 50) - 100, 'x');
        const int best = frontier.topscore();
        frontier.pop();
        ASSERT_TRUE(frontier.empty() || frontier.topscore() <= best);
    }
    int last = 0;
    for (; !frontier.empty(); frontier.pop()) {
        ASSERT_LE(frontier.topscore(), last);
        last = frontier.topscore();
    }
}

}  // namespace
