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
        {{"-c16"}, "\"-c16\": M deve ser um inteiro de 1 a 15"},
        {{"--comparar="}, "\"--comparar=\": M deve ser um inteiro de 1 a 15"},
        {{"-e", "a\nb"}, "\"a\\nb\": argumento inesperado; as respostas vem da entrada padrao"},
        {{"-r", "5"}, "\"5\": argumento inesperado; as respostas vem da entrada padrao"},
        {{"-c", "-e"}, "--comparar nao combina com --estatisticas nem com --rastro"},
        {{"-r", "-c"}, "--comparar nao combina com --estatisticas nem com --rastro"},
        {{"--csv"}, "--csv so vale com --comparar ou --estatisticas"},
    };
    for (const Case& c : cases) {
        const auto parsed = parse(c.words);
        ASSERT_TRUE(std::holds_alternative<std::string>(parsed)) << c.reason;
        EXPECT_EQ(std::get<std::string>(parsed), c.reason);
    }
}

}  // namespace
