#include "engine.h"

#include <gtest/gtest.h>

#include <vector>

#include "observe.h"

namespace {

// Where a loop paced by Pacing stops, and at which states it heard of the
// progress and checked its memory.
struct Paced {
    std::int64_t stoppedat = 0;
    std::optional<SearchStatus> status;
    std::vector<std::int64_t> progress;
    std::vector<std::int64_t> memorychecks;
};

Paced pace(const SearchLimits& limits, std::int64_t states, std::int64_t cancelat = 0)
{
    Pacing pacing(limits);
    Paced paced;
    FunctionObserver observer;
    observer.onprogress = [&](std::int64_t examined, std::int32_t) {
        paced.progress.push_back(examined);
        return examined != cancelat;
    };
    for (std::int64_t state = 1; state <= states; ++state) {
        paced.stoppedat = state;
        if (!pacing.count(0, observer)) {
            paced.status = SearchStatus::cancelled;
            break;
        }
        paced.status = pacing.limitreached([&](std::size_t) {
            paced.memorychecks.push_back(state);
            return std::size_t{1000};
        });
        if (paced.status)
            break;
    }
    EXPECT_EQ(pacing.finish(SearchStatus::solved, {}, 0, 0, 0).examined, paced.stoppedat);
    return paced;
}

TEST(Pacing, ProgressLimitsAndMemoryChecksFallOnTheirStates)
{
    struct Case {
        SearchLimits limits;
        std::int64_t states;
        std::int64_t cancelat;
        std::int64_t stoppedat;
        std::optional<SearchStatus> status;
        std::vector<std::int64_t> progress;
        std::size_t memorychecks;  // at states 1, 257, 513, ...
    };
    const Case cases[] = {
        {{}, 600, 0, 600, std::nullopt, {}, 3},
        {{unlimitedmemory, 1}, 10, 0, 1, SearchStatus::stopped, {}, 0},
        {{unlimitedmemory, 257}, 600, 0, 257, SearchStatus::stopped, {}, 1},
        {{unlimitedmemory, 1000}, 2000, 0, 1000, SearchStatus::stopped, {}, 4},
        {{}, 200001, 0, 200001, std::nullopt, {100000, 200000}, 782},
        {{}, 300000, 200000, 200000, SearchStatus::cancelled, {100000, 200000}, 782},
        {{999, INT64_MAX}, 600, 0, 1, SearchStatus::outofmemory, {}, 1},
        {{1000, 100001}, 300000, 0, 100001, SearchStatus::stopped, {100000}, 391},
    };
    for (const Case& c : cases) {
        const Paced paced = pace(c.limits, c.states, c.cancelat);
        EXPECT_EQ(paced.stoppedat, c.stoppedat) << c.limits.examined;
        EXPECT_EQ(paced.status, c.status) << c.limits.examined;
        EXPECT_EQ(paced.progress, c.progress) << c.limits.examined;
        ASSERT_EQ(paced.memorychecks.size(), c.memorychecks) << c.limits.examined;
        for (std::size_t i = 0; i < paced.memorychecks.size(); ++i)
            EXPECT_EQ(paced.memorychecks[i], 1 + 256 * static_cast<std::int64_t>(i));
    }
}

}  // namespace
