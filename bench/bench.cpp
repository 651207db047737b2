// Benchmarks of the frontier, the evaluation and whole searches. States per
// second and bytes per examined state are reported as counters.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "bestfirst.h"
#include "deepening.h"
#include "evaluate.h"
#include "frontier.h"
#include "heuristics.h"
#include "layered.h"
#include "observe.h"
#include "problem.h"
#include "puzzle.h"
#include "run.h"

namespace {

// No progress lines, nothing watched.
NoObserver none;

// A position spread over all the pegs, or with pieces `nearfrom` and above on
// peg 3, as a search nearing the goal meets them.
PegSets randomsets(std::mt19937& random, int n, int nearfrom)
{
    PegSets sets{};
    for (int i = 0; i < n; ++i)
        sets.on[i >= nearfrom ? 3 : 1 + random() % 3] |= static_cast<std::uint16_t>(1u << i);
    return sets;
}

// One pop and one push on a search's frontier that keeps `size` entries.
void FrontierPushPop(benchmark::State& bench)
{
    const auto size = static_cast<std::size_t>(bench.range(0));
    std::mt19937 random(1);
    std::vector<std::int32_t> scores;
    scores.reserve(4096);
    for (int i = 0; i < 4096; ++i)
        scores.push_back(-static_cast<std::int32_t>(random() % 1000));
    const SearchNode node{1, 20, {{0, 1, 2, 4}}, {}, 2};
    Frontier<SearchNode> frontier;
    for (std::size_t i = 0; i < size; ++i)
        frontier.push(scores[i % scores.size()], node);
    std::size_t next = 0;
    for (auto _ : bench) {
        benchmark::DoNotOptimize(frontier.top());
        frontier.pop();
        frontier.push(scores[next++ % scores.size()], node);
    }
    bench.SetItemsProcessed(bench.iterations());
}
BENCHMARK(FrontierPushPop)->RangeMultiplier(10)->Range(1000, 10000000);

// The score of positions spread over all the pegs, and of positions near
// the goal (most pieces already on peg 3), as a search meets them.
void Eval(benchmark::State& bench)
{
    const auto method = static_cast<search_method>(bench.range(0));
    const int n = static_cast<int>(bench.range(1));
    const Scoring scoring{method, heuristic::padrao, problemof(n)};
    std::mt19937 random(2);
    std::vector<PegSets> positions;
    positions.reserve(4096);
    for (int i = 0; i < 4096; ++i)
        positions.push_back(randomsets(random, n, i % 2 ? n / 2 : n));
    std::size_t next = 0;
    for (auto _ : bench)
        benchmark::DoNotOptimize(scoring(positions[next++ % positions.size()], 20));
    bench.SetItemsProcessed(bench.iterations());
}
BENCHMARK(Eval)->ArgsProduct({{0, 1, 2}, {6, 10, 15}});

void reportsearch(benchmark::State& bench, const SearchResult& result)
{
    const auto examined = static_cast<double>(result.examined);
    bench.counters["states/s"] = benchmark::Counter(
        examined * static_cast<double>(bench.iterations()), benchmark::Counter::kIsRate);
    bench.counters["bytes/state"] = static_cast<double>(result.memory) / examined;
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    bench.counters["peakMiB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// Whole searches that finish: A* and greedy with 15 pieces, breadth-first with 5.
void Search(benchmark::State& bench)
{
    const SearchSetup setup{static_cast<search_method>(bench.range(0))};
    const Problem problem = problemof(static_cast<int>(bench.range(1)));
    SearchResult result{};
    for (auto _ : bench)
        result = runsearch(problem, setup, {}, none);
    reportsearch(bench, result);
}
BENCHMARK(Search)->Args({0, 15})->Args({2, 15})->Args({1, 5})->Unit(benchmark::kMillisecond);

// Breadth-first with 6 pieces on the best-first engine, which never
// finishes there, up to K examined states.
void BreadthSix(benchmark::State& bench)
{
    const Problem problem = problemof(6);
    SearchResult result{};
    for (auto _ : bench)
        result = bestfirst(problem, ClassicRules<search_method::breadth>(problem),
                           {unlimitedmemory, bench.range(0)}, none);
    reportsearch(bench, result);
}
BENCHMARK(BreadthSix)
    ->Arg(1000000)
    ->Arg(5000000)
    ->Arg(20000000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// The same run on the layered breadth-first engine, the program's own.
void LayeredSix(benchmark::State& bench)
{
    const Problem problem = problemof(6);
    SearchResult result{};
    for (auto _ : bench)
        result = searchlayered(problem, {unlimitedmemory, bench.range(0)}, none);
    reportsearch(bench, result);
    bench.counters["bytes/entry"] =
        static_cast<double>(result.memory) / static_cast<double>(result.frontier);
}
BENCHMARK(LayeredSix)
    ->Arg(1000000)
    ->Arg(20000000)
    ->Arg(100000000)
    ->Arg(300000000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

// Iterative deepening with N pieces on its own engine, stopped after K
// examined states, or to the end (K = 0; with 6 pieces the 63-move solution
// after about 21 billion states over 64 iterations: minutes). The label gives
// the run's figures in full.
void Deepening(benchmark::State& bench)
{
    const Problem problem = problemof(static_cast<int>(bench.range(0)));
    const std::int64_t states = bench.range(1) == 0 ? INT64_MAX : bench.range(1);
    DeepeningResult result{};
    for (auto _ : bench)
        result = deepening(problem, std::nullopt, {unlimitedmemory, states}, none);
    reportsearch(bench, result);
    bench.SetLabel(std::to_string(result.solution.size()) + " moves, " +
                   std::to_string(result.examined) + " examined, " +
                   std::to_string(result.generated) + " generated, largest frontier " +
                   std::to_string(result.largestfrontier) + ", " +
                   std::to_string(result.iterations) + " iterations");
}
BENCHMARK(Deepening)
    ->Args({5, 0})
    ->Args({6, 1000000000})
    ->Args({6, 0})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

// The floor of BreadthSix/K: the frontier's own work for the same run, one pop
// and on average 1.41 pushes (41 in every 100 states have two successors)
// per examined state, each child one move deeper than its parent.
void BreadthSixFloor(benchmark::State& bench)
{
    const std::int64_t states = bench.range(0);
    for (auto _ : bench) {
        Frontier<SearchNode> frontier;
        frontier.push(-optimalmoves(6), SearchNode{0, 0, {{0, 63, 0, 0}}, {}, 0});
        for (std::int64_t i = 1; i <= states; ++i) {
            const std::int32_t score = frontier.topscore() - 1;
            const SearchNode child = frontier.top();
            frontier.pop();
            frontier.push(score, child);
            if (i % 100 < 41)
                frontier.push(score, child);
        }
        benchmark::DoNotOptimize(frontier.size());
    }
    bench.counters["states/s"] = benchmark::Counter(
        static_cast<double>(states * bench.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BreadthSixFloor)
    ->Arg(1000000)
    ->Arg(5000000)
    ->Arg(20000000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
