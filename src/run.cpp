#include "run.h"

#include <time.h>

#include "bestfirst.h"
#include "bidirectional.h"
#include "deepening.h"
#include "depthfirst.h"
#include "heuristics.h"
#include "layered.h"
#include "puzzle.h"

Engine enginefor(const Problem& problem, const SearchSetup& setup, bool numbered)
{
    switch (setup.method) {
    case search_method::deepening:
        // Classic iterative deepening has an engine of its own, as classic
        // breadth-first search has the layered one; it numbers no node.
        if (!setup.graph && isclassicproblem(problem) && !numbered)
            return Engine::deepening;
        return Engine::depthfirst;
    case search_method::depthfirst:
    case search_method::idastar:
        return Engine::depthfirst;
    case search_method::bidirectional:
        return Engine::bidirectional;
    case search_method::astar:
    case search_method::breadth:
    case search_method::greedy:
    case search_method::weighted:
        break;
    }
    if (!isclassic(problem, setup))
        return Engine::general;
    return setup.method == search_method::breadth && !numbered ? Engine::layered : Engine::classic;
}

namespace {

// Calls `use` with the type of the best-first engine's rules for the
// method (classic search) or the setup (any other): the one place that maps
// a setup to its rules.
template <class Use>
auto withclassicrules(search_method method, Use&& use)
{
    switch (method) {
    case search_method::breadth:
        return use(std::type_identity<ClassicRules<search_method::breadth>>{});
    case search_method::greedy:
        return use(std::type_identity<ClassicRules<search_method::greedy>>{});
    default:
        break;
    }
    return use(std::type_identity<ClassicRules<search_method::astar>>{});
}

template <bool Graph, class Use>
auto withsetupties(tie_order ties, Use&& use)
{
    switch (ties) {
    case tie_order::fila:
        return use(std::type_identity<SetupRules<tie_order::fila, Graph>>{});
    case tie_order::pilha:
        return use(std::type_identity<SetupRules<tie_order::pilha, Graph>>{});
    case tie_order::heap:
        break;
    }
    return use(std::type_identity<SetupRules<tie_order::heap, Graph>>{});
}

template <class Use>
auto withsetuprules(const SearchSetup& setup, Use&& use)
{
    return setup.graph ? withsetupties<true>(setup.ties, use)
                       : withsetupties<false>(setup.ties, use);
}

// Calls `use` with the depth-first engine's bound (on f for IDA*, else on
// the depth) and graph or tree search, as std::bool_constant values.
template <class Use>
auto withdepthrules(const SearchSetup& setup, Use&& use)
{
    const auto graph = [&]<bool CostBound>(std::bool_constant<CostBound> cost) {
        return setup.graph ? use(cost, std::true_type{}) : use(cost, std::false_type{});
    };
    return setup.method == search_method::idastar ? graph(std::true_type{})
                                                  : graph(std::false_type{});
}

// Classic iterative deepening on the deepening engine, which reports no
// state: for an observer that needs none, or tallies the engine's counts
// (statistics with no trace). Nothing for one that needs every state.
template <class Observer>
std::optional<SearchResult> countedrun(const Problem& problem, const SearchSetup& setup,
                                       const SearchLimits& limits, Observer& observer)
{
    const std::optional<std::int32_t> largest =
        setup.depthlimit == nodepthlimit ? std::nullopt : std::optional{setup.depthlimit};
    if constexpr (!watchesstates<Observer>) {
        return deepening(problem, largest, limits, observer);
    } else if constexpr (requires { observer.tally(0, 0); }) {
        if (observer.tracesstates())
            return std::nullopt;
        DeepeningResult result = deepening(problem, largest, limits, observer);
        observer.tally(result.generated, result.largestfrontier);
        return result;
    } else {
        return std::nullopt;
    }
}

}  // namespace

HeldBytes heldby(const Problem& problem, const SearchSetup& setup, bool numbered)
{
    const auto held = [&]<class Rules>(std::type_identity<Rules>) {
        return bestfirstheld<Rules>(problem);
    };
    switch (enginefor(problem, setup, numbered)) {
    case Engine::layered:
        return layeredheld(problem);
    case Engine::classic:
        return withclassicrules(setup.method, held);
    case Engine::depthfirst:
    case Engine::deepening:
        // The same stack, counted alike: the deepening engine holds less.
        return depthfirstheld(problem, setup.graph);
    case Engine::bidirectional:
        return bidirectionalheld(problem);
    case Engine::general:
        break;
    }
    return withsetuprules(setup, held);
}

template <class Observer>
SearchResult runsearch(const Problem& problem, const SearchSetup& setup, const SearchLimits& limits,
                       Observer& observer, bool numbered)
{
    switch (enginefor(problem, setup, numbered)) {
    case Engine::layered:
        return searchlayered(problem, limits, observer);
    case Engine::classic:
        return withclassicrules(setup.method, [&]<class Rules>(std::type_identity<Rules>) {
            return bestfirst(problem, Rules(problem), limits, observer);
        });
    case Engine::deepening:
        if (std::optional<SearchResult> result = countedrun(problem, setup, limits, observer))
            return *std::move(result);
        [[fallthrough]];
    case Engine::depthfirst:
        return withdepthrules(setup, [&]<bool CostBound, bool Graph>(std::bool_constant<CostBound>,
                                                                     std::bool_constant<Graph>) {
            return depthfirst<CostBound, Graph>(problem, setup, limits, observer);
        });
    case Engine::bidirectional:
        return bidirectional(problem, setup, limits, observer);
    case Engine::general:
        break;
    }
    return withsetuprules(setup, [&]<class Rules>(std::type_identity<Rules>) {
        return bestfirst(problem, Rules(problem, setup), limits, observer);
    });
}

template SearchResult runsearch(const Problem&, const SearchSetup&, const SearchLimits&,
                                NoObserver&, bool);
template SearchResult runsearch(const Problem&, const SearchSetup&, const SearchLimits&,
                                ProgressLines&, bool);
template SearchResult runsearch(const Problem&, const SearchSetup&, const SearchLimits&,
                                FunctionObserver&, bool);
template SearchResult runsearch(const Problem&, const SearchSetup&, const SearchLimits&, Watch&,
                                bool);

double cpuseconds()
{
    timespec now{};
    // WebAssembly has no CPU clock: there the monotonic clock times the
    // page's worker, which does nothing but the search.
    if (clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now) != 0)
        clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

RunSummary summarize(const Problem& problem, const SearchSetup& setup, const SearchResult& result,
                     const Statistics& statistics, double seconds)
{
    // The statistics count the start state as generated, but a search with
    // no room for it generated nothing.
    const bool started = result.status != SearchStatus::noroom;
    return {setup.method,
            problem.pieces,
            result.status,
            static_cast<std::int64_t>(result.solution.size()),
            result.examined,
            started ? statistics.generated : 0,
            started ? static_cast<std::int64_t>(statistics.largestfrontier) : 0,
            result.depth,
            started ? statistics.peakbytes : 0,
            seconds,
            problem.optimal,
            setup.estimate,
            setup.ties,
            setup.graph,
            statistics.droppedstates,
            result.iterations,
            result.bound,
            setup.weight};
}

MeasuredRun measuredrun(const Problem& problem, const SearchSetup& setup,
                        const SearchLimits& limits, std::ostream& out, std::int64_t tracelimit)
{
    Watch watch(out, scoringof(problem, setup), tracelimit, heldby(problem, setup));
    const double start = cpuseconds();
    SearchResult result = runsearch(problem, setup, limits, watch);
    const double seconds = cpuseconds() - start;
    const RunSummary summary = summarize(problem, setup, result, watch.statistics(), seconds);
    return {std::move(result), summary};
}

SearchSetup setupof(const Options& options, search_method method, heuristic estimate)
{
    return {method,
            estimate,
            options.ties,
            searchesgraph(method, options.graph),
            namesof(method).depthlimit ? options.depthlimit : nodepthlimit,
            options.weight != 0 ? options.weight : defaultweight};
}

std::variant<RunChoice, std::string> chooserun(const Options& options, int pieces,
                                               search_method method)
{
    const SearchSetup setup =
        setupof(options, method,
                options.heuristics.empty() ? heuristic::padrao : options.heuristics.front());
    const auto position = [&](std::string_view name, const std::string& digits,
                              std::optional<PegSets>& sets) -> std::string {
        if (digits.empty())
            return "";
        if (digits.size() != static_cast<std::size_t>(pieces))
            return std::string(name) + digits + ": " + std::to_string(digits.size()) +
                   " digitos, mas as pecas sao " + std::to_string(pieces) +
                   "; POS tem um digito por peca";
        sets = parseposition(digits);
        return "";
    };
    std::optional<PegSets> start;
    std::optional<PegSets> goal;
    if (std::string reason = position("--inicio=", options.start, start); !reason.empty())
        return reason;
    if (std::string reason = position("--objetivo=", options.goal, goal); !reason.empty())
        return reason;
    const Problem problem = problemof(pieces, start, goal);
    if (namesof(method).estimates && setup.estimate == heuristic::padrao &&
        problem.goal != towerof(pieces, 3))
        return "--objetivo=" + options.goal +
               ": a heuristica padrao so vale para o objetivo com todas as pecas no pino 3; use "
               "--heuristica=zero, fora ou exata";
    return RunChoice{problem, setup};
}

std::string whyunsolved(const SearchResult& result)
{
    switch (result.status) {
    case SearchStatus::solved:
    case SearchStatus::cancelled:
        return "";
    case SearchStatus::cutoff:
        return "hanoi: nenhuma solucao ate o limite " + std::to_string(result.bound) +
               " (corte: havia estados alem dele)";
    case SearchStatus::failed:
        return "hanoi: nenhuma solucao: a busca esgotou os estados ao seu alcance (falha)";
    case SearchStatus::noroom:
        return "hanoi: memoria insuficiente para comecar a busca";
    case SearchStatus::outofmemory:
        return "hanoi: memoria esgotada (" + std::to_string(result.memory >> 20) +
               " MiB em uso): busca interrompida com " + std::to_string(result.examined) +
               " nos examinados, profundidade " + std::to_string(result.depth);
    case SearchStatus::pathlost:
        return "hanoi: erro interno: a solucao foi encontrada mas seu caminho nao pode ser "
               "reconstruido";
    case SearchStatus::stopped:
    case SearchStatus::exhausted:
        break;
    }
    return "hanoi: a busca esgotou os estados sem achar a solucao";
}
