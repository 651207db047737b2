#include "recorder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "fixtures.h"
#include "observe.h"
#include "run.h"

namespace {

struct Taking {
    PegSets sets;
    std::int32_t depth;
    bool dropped;
};

// The page's tree must be the engine's: each step names the state the engine
// took (or dropped), whose parent was taken before it, whatever the setup;
// and the ties and the next score agree with the order that follows; the
// frontier listed leads with the state taken.
TEST(Recorder, EachStepIsTheStateTheEngineTook)
{
    struct Case {
        int pieces;
        SearchSetup setup;
        std::int64_t limit;
        bool complete;
        const char* start = "";
        const char* goal = "";
    };
    const auto astar = search_method::astar;
    const auto breadth = search_method::breadth;
    const auto greedy = search_method::greedy;
    for (const Case& c : {
             Case{2, {astar}, 100, true},
             Case{4, {astar}, 1000, true},
             Case{4, {breadth}, 1000, true},
             Case{5, {greedy}, 1000, true},
             Case{7, {astar}, 1000, true},
             Case{5, {breadth}, 300, false},
             Case{4, {astar, heuristic::zero, tie_order::fila}, 1000, true},
             Case{4, {astar, heuristic::zero, tie_order::pilha}, 1000, true},
             Case{4, {breadth, heuristic::padrao, tie_order::heap, true}, 1000, true},
             Case{5, {astar, heuristic::fora, tie_order::pilha, true}, 1000, true},
             Case{
                 4, {greedy, heuristic::exata, tie_order::fila, false}, 1000, true, "2131", "1223"},
             Case{3,
                  {search_method::depthfirst, heuristic::padrao, tie_order::heap, false, 8},
                  1000,
                  true},
             Case{4,
                  {search_method::depthfirst, heuristic::padrao, tie_order::heap, true},
                  1000,
                  true},
             Case{3, {search_method::deepening}, 1000, true},
             Case{4, {search_method::idastar, heuristic::fora}, 1000, true},
             Case{4, {search_method::idastar, heuristic::zero, tie_order::heap, true}, 1000, false},
             Case{4,
                  {search_method::bidirectional, heuristic::padrao, tie_order::heap, true},
                  1000,
                  true,
                  "2131",
                  "1223"},
             Case{5, {search_method::weighted, heuristic::fora}, 1000, false},
         }) {
        SCOPED_TRACE(::testing::Message()
                     << c.pieces << " pecas, metodo " << static_cast<int>(c.setup.method)
                     << ", heuristica " << heuristicnames[static_cast<int>(c.setup.estimate)]
                     << ", desempate " << tieordernames[static_cast<int>(c.setup.ties)]
                     << (c.setup.graph ? ", grafo" : ""));
        const auto position = [](const char* digits) {
            return *digits ? parseposition(digits) : std::nullopt;
        };
        const Problem problem = problemof(c.pieces, position(c.start), position(c.goal));
        Recorder recorder(problem, c.setup, c.limit);
        FunctionObserver numbered = recorder.observer();
        runsearch(problem, c.setup, {unlimitedmemory, c.limit + 1}, numbered, true);
        // The states the program's own engine for the setup takes.
        std::vector<Taking> engine;
        const auto take = [&](bool dropped) {
            return
                [&, dropped](std::uint32_t, const PegSets& sets, std::int32_t depth, std::size_t) {
                    engine.push_back({sets, depth, dropped});
                };
        };
        FunctionObserver observer{take(false), nullptr, nullptr, take(true),
                                  nullptr,     nullptr, nullptr};
        ASSERT_EQ(runsearch(problem, c.setup, {}, observer).status, SearchStatus::solved);
        EXPECT_EQ(recorder.complete(), c.complete);
        const auto& steps = recorder.steps();
        const auto& nodes = recorder.nodes();
        std::size_t step = 0;
        for (const Taking& taking : engine) {
            if (step == steps.size())
                break;
            const Recorder::Node& node = nodes[steps[step].node];
            ASSERT_TRUE(node.sets == taking.sets) << "passo " << step + 1;
            EXPECT_EQ(steps[step].dropped, taking.dropped) << "passo " << step + 1;
            EXPECT_EQ(node.depth, taking.depth);
            EXPECT_EQ(taking.dropped ? node.dropped : node.step,
                      static_cast<std::int64_t>(step + 1));
            if (node.parent != steps[step].node) {
                EXPECT_LT(nodes[node.parent].step, step + 1);
                EXPECT_GT(nodes[node.parent].step, 0);
            }
            if (step + 1 < steps.size() && steps[step].ties > 0) {
                EXPECT_EQ(steps[step].nextscore, node.score) << "passo " << step + 1;
            }
            const auto& listing = steps[step].listing;
            ASSERT_TRUE(listing || !stackmethod(c.setup.method));
            if (listing && c.setup.method == search_method::bidirectional) {
                EXPECT_NE(std::find(listing->begin(), listing->end(), steps[step].node),
                          listing->end());
            } else if (listing) {
                ASSERT_FALSE(listing->empty());
                EXPECT_EQ(listing->front(), steps[step].node);
                EXPECT_EQ(listing->size(), std::min(steps[step].frontier + 1, heapshown));
            }
            ++step;
        }
        EXPECT_EQ(step, steps.size());
        const auto dropped = std::count_if(steps.begin(), steps.end(),
                                           [](const Recorder::Taken& s) { return s.dropped; });
        EXPECT_EQ(dropped, std::count_if(nodes.begin(), nodes.end(),
                                         [](const Recorder::Node& n) { return n.dropped > 0; }));
        if (c.setup.method == search_method::bidirectional || !c.setup.graph) {
            EXPECT_EQ(dropped, 0);
        } else if (c.complete) {
            EXPECT_GT(dropped, 0);
        }
    }
}

// A heap too big to list whole is listed by its best entries, best first.
TEST(Recorder, ABigHeapListsTheEntriesThatLeaveFirst)
{
    const Problem problem = problemof(8);
    const SearchSetup setup{search_method::astar, heuristic::zero};
    Recorder recorder(problem, setup, 200);
    FunctionObserver observer = recorder.observer();
    runsearch(problem, setup, {unlimitedmemory, 201}, observer, true);
    const Recorder::Taken& last = recorder.steps().back();
    ASSERT_GT(last.frontier, heapshown);
    ASSERT_EQ(last.listing->size(), heapshown);
    EXPECT_EQ(last.listing->front(), last.node);
    const auto scoreof = [&](std::uint32_t node) { return recorder.nodes()[node].score; };
    EXPECT_TRUE(std::is_sorted(last.listing->begin(), last.listing->end(),
                               [&](auto a, auto b) { return scoreof(a) > scoreof(b); }));
}

TEST(Recorder, RepeatedPositionsAreMarkedFromTheirSecondTime)
{
    const Problem problem = problemof(3);
    Recorder recorder(problem, {search_method::breadth}, 1000);
    FunctionObserver observer = recorder.observer();
    runsearch(problem, {search_method::breadth}, {}, observer, true);
    std::vector<std::uint64_t> seen;
    for (const Recorder::Node& node : recorder.nodes()) {
        const std::uint64_t key = node.sets.on[1] | std::uint64_t{node.sets.on[2]} << 16 |
                                  std::uint64_t{node.sets.on[3]} << 32;
        const bool before = std::find(seen.begin(), seen.end(), key) != seen.end();
        EXPECT_EQ(node.repeated, before);
        seen.push_back(key);
    }
}

TEST(Page, JsonStringsEscapeWhatJsonMust)
{
    struct Case {
        std::string text;
        std::string json;
    };
    for (const Case& c :
         {Case{"", "\"\""}, Case{"a\"b\\c", "\"a\\\"b\\\\c\""}, Case{"linha\n", "\"linha\\n\""},
          Case{"\x1b]0;\t", "\"\\u001b]0;\\u0009\""}, Case{"\x7f", "\"\\u007f\""},
          Case{"p\xc3\xa9", "\"p\xc3\xa9\""}})
        EXPECT_EQ(jsonstring(c.text), c.json);
}

// The page's statistics are the console's -e block; refusals are the
// console's own lines.
TEST(Page, RunsSayWhatTheConsoleSays)
{
    struct Case {
        std::vector<std::string> options;
        std::string answers;
        std::string contains;
    };
    for (const Case& c : {
             Case{{},
                  "3 0",
                  "\"estatisticas\":\"Estatisticas da busca\\nEstados examinados: 9\\n"
                  "Estados gerados (com o inicial): 13\\n"},
             Case{{"-x"},
                  "3 0",
                  "{\"erro\":\"hanoi: opcao invalida: \\\"-x\\\": desconhecida (veja hanoi "
                  "--help)\\n\"}"},
             Case{{"--rastro=2"}, "2 0", "\"rastro\":\"Rastro dos primeiros 2 estados"},
             Case{
                 {}, "3", "{\"erro\":\"hanoi: pecas (1 a 15) ou metodo (0 a 7) invalidos: 3\\n\"}"},
             Case{{"--limite=2"}, "3 4", "\"passos\":[[0,0,null,0,[0],1,0,null,0],"},
             Case{{}, "3 3", "--metodo=profundidade: em arvore"},
             Case{{"--peso=1.5"}, "3 0", "--peso so vale com --metodo=ponderado"},
             Case{{}, "2 6", "\"encontro\":["},
             Case{{}, "16 1", "invalidos: 16 1"},
             Case{{}, "2 1", "\"pecas\":2,\"metodo\":1,"},
             Case{{}, "2 1", "\"nos\":[[0,0,0,[[1,0],[],[]],0,3,3,1,0,0],"},
             Case{{"--comparar=1"},
                  "",
                  "{\"linhas\":[{\"metodo\":\"A*\",\"pecas\":1,\"resultado\":\"otima\","
                  "\"movimentos\":1,"},
         }) {
        const std::string json = pagerun({c.options, c.answers, 100}, nullptr);
        EXPECT_NE(json.find(c.contains), std::string::npos) << json.substr(0, 300);
    }
}

// The page hears of the search's progress through its own function, never
// as the console's progress lines in the trace: breadth-first search with 5
// pieces examines 118435 states, one progress event.
TEST(Page, ProgressGoesToThePageNotIntoTheTrace)
{
    std::vector<std::int64_t> heard;
    const std::string json =
        pagerun({{"-r1"}, "5 1", 1},
                [&](std::int64_t examined, std::int32_t /*depth*/) { heard.push_back(examined); });
    EXPECT_EQ(heard, std::vector<std::int64_t>{100000});
    EXPECT_EQ(json.find("Nos abertos"), std::string::npos);
}

}  // namespace
