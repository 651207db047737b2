#include "recorder.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "compare.h"
#include "fixtures.h"
#include "observe.h"

namespace {

struct Taking {
    PegSets sets;
    std::int32_t depth;
};

bool operator==(const PegSets& a, const PegSets& b)
{
    return a.on[1] == b.on[1] && a.on[2] == b.on[2] && a.on[3] == b.on[3];
}

// The page's tree must be the engine's: each step names the state the engine
// took, whose parent was taken before it, and the ties and next score agree
// with the order of the steps that follow.
TEST(Recorder, EachStepIsTheStateTheEngineTook)
{
    struct Case {
        int pieces;
        search_method method;
        std::int64_t limit;
        bool complete;
    };
    for (const Case& c :
         {Case{2, search_method::astar, 100, true}, Case{4, search_method::astar, 1000, true},
          Case{4, search_method::breadth, 1000, true}, Case{5, search_method::greedy, 1000, true},
          Case{7, search_method::astar, 1000, true}, Case{5, search_method::breadth, 300, false}}) {
        SCOPED_TRACE(::testing::Message()
                     << c.pieces << " pecas, metodo " << static_cast<int>(c.method));
        const PieceCount scope(c.pieces);
        Recorder recorder(c.method, c.limit);
        std::vector<Taking> engine;
        FunctionObserver observer{
            [&](const PegSets& sets, std::int32_t depth, std::size_t frontiersize) {
                engine.push_back({sets, depth});
                recorder.taken(sets, depth, frontiersize);
            },
            [&](const PegMove& move, const PegSets& sets, std::int32_t depth, std::int32_t score) {
                recorder.pushed(move, sets, depth, score);
            },
            nullptr, nullptr};
        ASSERT_EQ(searchwith({c.method}, {}, observer).status, SearchStatus::solved);
        EXPECT_TRUE(recorder.faithful());
        EXPECT_EQ(recorder.complete(), c.complete);
        const auto& steps = recorder.steps();
        const auto& nodes = recorder.nodes();
        ASSERT_EQ(steps.size(), std::min<std::size_t>(engine.size(), c.limit));
        for (std::size_t i = 0; i < steps.size(); ++i) {
            const Recorder::Node& node = nodes[steps[i].node];
            ASSERT_TRUE(node.sets == engine[i].sets) << "passo " << i + 1;
            EXPECT_EQ(node.depth, engine[i].depth);
            EXPECT_EQ(node.step, static_cast<std::int64_t>(i + 1));
            if (i > 0) {
                EXPECT_LT(nodes[node.parent].step, node.step);
                EXPECT_GT(nodes[node.parent].step, 0);
            }
            if (i + 1 < steps.size() && steps[i].ties > 0) {
                EXPECT_EQ(steps[i].nextscore, node.score) << "passo " << i + 1;
            }
            if (steps[i].heap) {
                EXPECT_EQ(steps[i].heap->front(), steps[i].node);
                EXPECT_EQ(steps[i].heap->size(), steps[i].frontier + 1);
            }
        }
    }
}

TEST(Recorder, RepeatedPositionsAreMarkedFromTheirSecondTime)
{
    const PieceCount scope(3);
    Recorder recorder(search_method::breadth, 1000);
    FunctionObserver observer{
        [&](const PegSets& sets, std::int32_t depth, std::size_t frontiersize) {
            recorder.taken(sets, depth, frontiersize);
        },
        [&](const PegMove& move, const PegSets& sets, std::int32_t depth, std::int32_t score) {
            recorder.pushed(move, sets, depth, score);
        },
        nullptr, nullptr};
    searchwith({search_method::breadth}, {}, observer);
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
    const PieceCount scope(1);
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
             Case{{}, "3", "{\"erro\":\"hanoi: a entrada terminou antes do fim do dialogo\\n\"}"},
             Case{{}, "0 16 2 7 1", "\"pecas\":2,\"metodo\":1,"},
             Case{{"--comparar=1", "--csv"}, "", "{\"saida\":\"metodo,pecas,"},
         }) {
        const std::string json = pagerun({c.options, c.answers, 100}, nullptr);
        EXPECT_NE(json.find(c.contains), std::string::npos) << json.substr(0, 300);
    }
}

}  // namespace
