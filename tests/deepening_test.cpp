#include "deepening.h"

#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <tuple>
#include <utility>
#include <vector>

#include "fixtures.h"
#include "observe.h"
#include "run.h"

namespace {

// What a run reported: its figures and every progress call, with the depth
// it was given.
struct Outcome {
    SearchStatus status;
    std::vector<std::pair<std::int64_t, std::int32_t>> progress;
    std::vector<Step> solution;
    std::int64_t examined = 0;
    std::int64_t generated = 0;
    std::size_t largestfrontier = 0;
    std::size_t frontier = 0;
    std::int32_t iterations = 0;
    std::int64_t limit = 0;
    std::int32_t depth = 0;
};

// Iterative deepening written from its rules alone: a stack of whole states,
// each with its path, and the progress hook at every progressinterval states
// examined; the hook asks to stop at `cancelat`.
Outcome plaindeepening(const Problem& problem, std::optional<std::int32_t> largestlimit,
                       std::int64_t examinedlimit, std::int64_t cancelat)
{
    struct State {
        PegSets sets;
        std::int16_t lastto;
        std::vector<Step> path;
    };
    Outcome run;
    for (;; ++run.limit) {
        ++run.iterations;
        std::vector<State> stack{{problem.start, 0, {}}};
        ++run.generated;
        run.largestfrontier = std::max<std::size_t>(run.largestfrontier, 1);
        bool cut = false;
        while (!stack.empty()) {
            const State state = stack.back();
            stack.pop_back();
            run.frontier = stack.size();
            ++run.examined;
            run.depth = static_cast<std::int32_t>(state.path.size());
            if (run.examined % progressinterval == 0) {
                run.progress.emplace_back(run.examined, run.depth);
                if (run.examined == cancelat) {
                    run.status = SearchStatus::cancelled;
                    return run;
                }
            }
            if (state.sets == problem.goal) {
                run.status = SearchStatus::solved;
                run.solution = state.path;
                return run;
            }
            if (run.examined == examinedlimit) {
                run.status = SearchStatus::stopped;
                return run;
            }
            if (run.depth == run.limit) {
                cut = true;
                continue;
            }
            std::vector<State> children;
            forlegalmoves(state.sets, state.lastto, [&](const PegMove& m) {
                children.push_back({applymove(state.sets, m), m.to, state.path});
                children.back().path.push_back(
                    {static_cast<std::int8_t>(m.from), static_cast<std::int8_t>(m.to)});
            });
            stack.insert(stack.end(), children.rbegin(), children.rend());
            run.generated += static_cast<std::int64_t>(children.size());
            run.largestfrontier = std::max(run.largestfrontier, stack.size());
        }
        run.frontier = 0;
        if (!cut) {
            run.status = SearchStatus::failed;
            return run;
        }
        if (largestlimit && run.limit == *largestlimit) {
            run.status = SearchStatus::cutoff;
            return run;
        }
    }
}

Outcome enginedeepening(const Problem& problem, std::optional<std::int32_t> largestlimit,
                        std::int64_t examinedlimit, std::int64_t cancelat)
{
    Outcome run;
    FunctionObserver observer;
    observer.onprogress = [&](std::int64_t examined, std::int32_t depth) {
        run.progress.emplace_back(examined, depth);
        return examined != cancelat;
    };
    const DeepeningResult result =
        deepening(problem, largestlimit, {unlimitedmemory, examinedlimit}, observer);
    run.status = result.status;
    run.solution = result.solution;
    run.examined = result.examined;
    run.generated = result.generated;
    run.largestfrontier = result.largestfrontier;
    run.frontier = result.frontier;
    run.iterations = result.iterations;
    run.limit = result.bound;
    run.depth = result.depth;
    return run;
}

TEST(Deepening, TakesThePlainSearchsStatesToTheSameEnd)
{
    struct Case {
        int n;
        std::optional<std::int32_t> largestlimit;
        std::int64_t examinedlimit;
        std::int64_t cancelat;
        SearchStatus status;
    };
    constexpr std::int64_t none = INT64_MAX;
    // Whole runs, the largest limit one short of the solution, and stops
    // inside an iteration: at the examined limit (itself not a progress
    // checkpoint) and by the progress hook. Up to 8 pieces the rows are a
    // table; with 9 and 15 they are worked out as entries are taken.
    const Case cases[] = {
        {1, std::nullopt, none, none, SearchStatus::solved},
        {2, std::nullopt, none, none, SearchStatus::solved},
        {3, std::nullopt, none, none, SearchStatus::solved},
        {4, std::nullopt, none, none, SearchStatus::solved},
        {5, std::nullopt, none, none, SearchStatus::solved},
        {4, 14, none, none, SearchStatus::cutoff},
        {5, 30, none, none, SearchStatus::cutoff},
        {5, std::nullopt, 123457, none, SearchStatus::stopped},
        {5, std::nullopt, none, 300000, SearchStatus::cancelled},
        {8, 0, none, none, SearchStatus::cutoff},
        {9, 27, none, none, SearchStatus::cutoff},
        {15, std::nullopt, 54321, none, SearchStatus::stopped},
    };
    for (const Case& c : cases) {
        const Problem problem = problemof(c.n);
        const Outcome plain = plaindeepening(problem, c.largestlimit, c.examinedlimit, c.cancelat);
        const Outcome engine =
            enginedeepening(problem, c.largestlimit, c.examinedlimit, c.cancelat);
        EXPECT_EQ(plain.status, c.status) << c.n;
        EXPECT_EQ(engine.status, c.status) << c.n;
        EXPECT_EQ(engine.examined, plain.examined) << c.n;
        EXPECT_EQ(engine.generated, plain.generated) << c.n;
        EXPECT_EQ(engine.largestfrontier, plain.largestfrontier) << c.n;
        EXPECT_EQ(engine.frontier, plain.frontier) << c.n;
        EXPECT_EQ(engine.iterations, plain.iterations) << c.n;
        EXPECT_EQ(engine.limit, plain.limit) << c.n;
        EXPECT_EQ(engine.depth, plain.depth) << c.n;
        EXPECT_EQ(engine.progress, plain.progress) << c.n;
        ASSERT_EQ(engine.solution.size(), plain.solution.size()) << c.n;
        for (std::size_t i = 0; i < plain.solution.size(); ++i) {
            EXPECT_EQ(engine.solution[i].from, plain.solution[i].from) << c.n << ' ' << i;
            EXPECT_EQ(engine.solution[i].to, plain.solution[i].to) << c.n << ' ' << i;
        }
        if (c.status == SearchStatus::solved) {
            EXPECT_EQ(engine.solution.size(), static_cast<std::size_t>(problem.optimal)) << c.n;
            EXPECT_TRUE(leadstogoal(problem, engine.solution)) << c.n;
        }
    }
}

TEST(Deepening, StopsWhereTheStackWouldPassTheMemoryLimit)
{
    // The arrays of limit L take 20 L + 36 bytes: no room for limit 0
    // within 35, none for limit 15 within 335.
    NoObserver none;
    const DeepeningResult noroom = deepening(problemof(5), std::nullopt, {35}, none);
    EXPECT_EQ(noroom.status, SearchStatus::noroom);
    EXPECT_EQ(noroom.examined, 0);
    EXPECT_EQ(noroom.bound, nobound);
    const DeepeningResult outofmemory = deepening(problemof(5), std::nullopt, {335}, none);
    EXPECT_EQ(outofmemory.status, SearchStatus::outofmemory);
    EXPECT_EQ(outofmemory.iterations, 15);
    EXPECT_EQ(outofmemory.bound, 14);
    EXPECT_LE(outofmemory.memory, 335u);
}

}  // namespace

namespace {

// The statistics of classic iterative deepening are the same whichever
// engine runs it: the deepening engine when nothing is traced, the
// depth-first engine, which reports every state, under a trace.
TEST(Deepening, StatisticsWithoutATraceAreTheDepthFirstEnginesOwn)
{
    for (const auto& [pieces, limit] : std::vector<std::pair<int, std::int32_t>>{
             {1, nodepthlimit}, {3, nodepthlimit}, {5, nodepthlimit}, {5, 12}}) {
        const Problem problem = problemof(pieces);
        SearchSetup setup{search_method::deepening};
        setup.depthlimit = limit;
        ASSERT_EQ(enginefor(problem, setup, false), Engine::deepening);
        std::ostringstream out;
        const RunSummary fast = measuredrun(problem, setup, {}, out, 0).summary;
        const RunSummary watched = measuredrun(problem, setup, {}, out, 1).summary;
        const auto figures = [](const RunSummary& run) {
            return std::tuple{run.status,    run.moves,      run.examined,
                              run.generated, run.depth,      run.largestfrontier,
                              run.memory,    run.iterations, run.bound};
        };
        EXPECT_EQ(figures(fast), figures(watched)) << pieces << " pecas, limite " << limit;
    }
}

}  // namespace
