#include <gtest/gtest.h>

#include <string>
#include <variant>
#include <vector>

#include "options.h"

namespace {

std::variant<Options, std::string> parse(std::vector<std::string> words)
{
    words.insert(words.begin(), "hanoi");
    std::vector<char*> argv;
    argv.reserve(words.size() + 1);
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    return parseoptions(static_cast<int>(words.size()), argv.data());
}

TEST(Options, ReadsEveryFormOfEachOption)
{
    struct Case {
        std::vector<std::string> words;
        bool statistics;
        std::int64_t trace;
        bool compare;
        int comparebreadth;
        bool csv;
    };
    const Case cases[] = {
        {{}, false, 0, false, 5, false},
        {{"-e"}, true, 0, false, 5, false},
        {{"--estatisticas", "--csv"}, true, 0, false, 5, true},
        {{"-r"}, false, 20, false, 5, false},
        {{"-r7", "-e"}, true, 7, false, 5, false},
        {{"-er3"}, true, 3, false, 5, false},
        {{"--rastro=100000"}, false, 100000, false, 5, false},
        {{"--rast"}, false, 20, false, 5, false},
        {{"-c"}, false, 0, true, 5, false},
        {{"-c6", "--csv"}, false, 0, true, 6, true},
        {{"-r9223372036854775807"}, false, INT64_MAX, false, 5, false},
    };
    for (const Case& c : cases) {
        const auto parsed = parse(c.words);
        ASSERT_TRUE(std::holds_alternative<Options>(parsed)) << std::get<std::string>(parsed);
        const Options& o = std::get<Options>(parsed);
        EXPECT_EQ(o.statistics, c.statistics);
        EXPECT_EQ(o.trace, c.trace);
        EXPECT_EQ(o.compare, c.compare);
        EXPECT_EQ(o.comparebreadth, c.comparebreadth);
        EXPECT_EQ(o.csv, c.csv);
        EXPECT_FALSE(o.help || o.version);
    }
    EXPECT_TRUE(std::get<Options>(parse({"--help"})).help);
    EXPECT_TRUE(std::get<Options>(parse({"-V"})).version);
}

TEST(Options, RefusesWithTheReason)
{
    struct Case {
        std::vector<std::string> words;
        std::string reason;
    };
    const Case cases[] = {
        {{"-x"}, "\"-x\": desconhecida"},
        {{"--csv", "-xe"}, "\"-x\": desconhecida"},
        {{"--ajuda"}, "\"--ajuda\": desconhecida ou ambigua"},
        {{"--c"}, "\"--c\": desconhecida ou ambigua"},
        {{"--help=1"}, "\"--help=1\": esta opcao nao leva valor"},
        // Values as the user wrote them, quoted like file names.
        {{"-r0"}, "\"-r0\": N deve ser um inteiro positivo"},
        {{"-er0"}, "\"-er0\": N deve ser um inteiro positivo"},
        {{"--rastro=5x"}, "\"--rastro=5x\": N deve ser um inteiro positivo"},
        {{"--rastro=99999999999999999999"},
         "\"--rastro=99999999999999999999\": N deve ser um inteiro positivo"},
        {{"-r\033]0;x\a"}, "\"-r\\x1b]0;x\\x07\": N deve ser um inteiro positivo"},
        {{"-c7"}, "\"-c7\": M deve ser um inteiro de 1 a 6"},
        {{"--comparar="}, "\"--comparar=\": M deve ser um inteiro de 1 a 6"},
        {{"-e", "a\nb"}, "\"a\\nb\": argumento inesperado; as respostas vem da entrada padrao"},
        {{"-r", "5"}, "\"5\": argumento inesperado; use -r5 ou --rastro=5"},
        {{"-er", "12", "-c"}, "\"12\": argumento inesperado; use -r12 ou --rastro=12"},
        {{"--rast", "5"}, "\"5\": argumento inesperado; use -r5 ou --rastro=5"},
        {{"-c", "6"}, "\"6\": argumento inesperado; use -c6 ou --comparar=6"},
        {{"-e", "--csv", "turma.csv"},
         "\"turma.csv\": argumento inesperado; use \"--csv=turma.csv\""},
        {{"-r", "x"}, "\"x\": argumento inesperado; as respostas vem da entrada padrao"},
        {{"-e", "5"}, "\"5\": argumento inesperado; as respostas vem da entrada padrao"},
        {{"--heuristica=fora,zerro"},
         "\"--heuristica=fora,zerro\": use padrao, zero, fora ou exata"},
        {{"--heuristica", "zerro"}, "\"--heuristica\" \"zerro\": use padrao, zero, fora ou exata"},
        {{"--heuristica="}, "\"--heuristica=\": use padrao, zero, fora ou exata"},
        {{"-c", "--heuristica=fora,fora"}, "\"--heuristica=fora,fora\": fora aparece duas vezes"},
        {{"--heuristica=zero,fora"}, "--heuristica: varias heuristicas so com --comparar"},
        {{"--heuristica"}, "\"--heuristica\": falta o valor"},
        {{"--desempate=lifo"}, "\"--desempate=lifo\": use heap, fila ou pilha"},
        {{"--grafo=1"}, "\"--grafo=1\": esta opcao nao leva valor"},
        {{"--inicio=1241"},
         "\"--inicio=1241\": POS tem um digito de 1 a 3 (o pino) por peca, da maior para a menor"},
        {{"--objetivo="},
         "\"--objetivo=\": POS tem um digito de 1 a 3 (o pino) por peca, da maior para a menor"},
        {{"--objetivo=3333333333333333"},
         "\"--objetivo=3333333333333333\": POS tem um digito de 1 a 3 (o pino) por peca, da "
         "maior para a menor"},
        {{"-c", "--objetivo=12"},
         "--comparar nao combina com --inicio nem com --objetivo (cada linha tem suas pecas)"},
        {{"--analisar=13"}, "\"--analisar=13\": N deve ser um inteiro de 1 a 12"},
        {{"--analisar=0"}, "\"--analisar=0\": N deve ser um inteiro de 1 a 12"},
        {{"--analisar=3", "-e"}, "--analisar so combina com --csv"},
        {{"--analisar=3", "--grafo"}, "--analisar so combina com --csv"},
        {{"--csv="}, "\"--csv=\": falta o nome do arquivo"},
        {{"-c", "-e"}, "--comparar nao combina com --estatisticas nem com --rastro"},
        {{"-r", "-c"}, "--comparar nao combina com --estatisticas nem com --rastro"},
        {{"--csv"}, "--csv so vale com --comparar, --estatisticas ou --analisar"},
        {{"--csv=x.csv", "--grafo"}, "--csv so vale com --comparar, --estatisticas ou --analisar"},
    };
    for (const Case& c : cases) {
        const auto parsed = parse(c.words);
        ASSERT_TRUE(std::holds_alternative<std::string>(parsed)) << c.reason;
        EXPECT_EQ(std::get<std::string>(parsed), c.reason);
    }
}

TEST(Options, ReadsTheLabOptions)
{
    struct Case {
        std::vector<std::string> words;
        std::vector<heuristic> heuristics;
        tie_order ties;
        bool graph;
        std::string start, goal;
        int analyse;
        std::string csvfile;
    };
    const Case cases[] = {
        {{}, {}, tie_order::heap, false, "", "", 0, ""},
        {{"--heuristica=exata", "--desempate=fila", "--grafo"},
         {heuristic::exata},
         tie_order::fila,
         true,
         "",
         "",
         0,
         ""},
        {{"-c", "--heuristica=zero,padrao,fora", "--desempate=pilha", "--csv=t.csv"},
         {heuristic::zero, heuristic::padrao, heuristic::fora},
         tie_order::pilha,
         false,
         "",
         "",
         0,
         "t.csv"},
        {{"--inicio=3131", "--objetivo", "2222"},
         {},
         tie_order::heap,
         false,
         "3131",
         "2222",
         0,
         ""},
        {{"--analisar=12", "--csv"}, {}, tie_order::heap, false, "", "", 12, ""},
    };
    for (const Case& c : cases) {
        const auto parsed = parse(c.words);
        ASSERT_TRUE(std::holds_alternative<Options>(parsed)) << std::get<std::string>(parsed);
        const Options& o = std::get<Options>(parsed);
        EXPECT_EQ(o.heuristics, c.heuristics);
        EXPECT_EQ(o.ties, c.ties);
        EXPECT_EQ(o.graph, c.graph);
        EXPECT_EQ(o.start, c.start);
        EXPECT_EQ(o.goal, c.goal);
        EXPECT_EQ(o.analyse, c.analyse);
        EXPECT_EQ(o.csvfile, c.csvfile);
    }
}

}  // namespace
