#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>
#include <sstream>
#include <string>
#include <system_error>

#include "console.h"
#include "fixtures.h"
#include "memory.h"
#include "options.h"

namespace {

const std::string piecesprompt = "Escolha o numero de pecas (1-15): \n";
const std::string methodprompt = "Escolha o metodo (0 - A*, 1 - Largura, 2 - Guloso): \n";
const std::string destinationprompt =
    "Digite o nome do arquivo de saida\n"
    "Digite \".\" e aperte <ENTER> para ter a saida na tela (nao recomendado\n"
    "para 5 ou mais pecas).\n:";

std::string repeated(const std::string& text, int times)
{
    std::string all;
    while (times-- > 0)
        all += text;
    return all;
}

TEST(Dialogue, AsksAgainUntilEachAnswerIsAnIntegerInRange)
{
    struct Case {
        std::string input;
        int pieceprompts, methodprompts;
        int pieces;
        search_method method;
        std::string destination;
    };
    const Case cases[] = {
        {"3 0 .", 1, 1, 3, search_method::astar, "."},
        {"0 16 3 1 out.txt", 3, 1, 3, search_method::breadth, "out.txt"},
        {"3 -1 1 .", 1, 2, 3, search_method::breadth, "."},
        {"-5\n15\n2\n.hidden\n", 2, 1, 15, search_method::greedy, ".hidden"},
        {"3abc x 70000 65539 +4 3 2.0 -3 +2 ..", 5, 4, 4, search_method::greedy, ".."},
        {"007 4294967296 -2147483649 1 .", 1, 3, 7, search_method::breadth, "."},
        {"+ - +-3 -+3 1\t\t0\r\n.", 5, 1, 1, search_method::astar, "."},
    };
    for (const Case& c : cases) {
        std::istringstream in(c.input);
        std::ostringstream out;
        const std::optional<Answers> answers = dialogue(in, out);
        ASSERT_TRUE(answers) << c.input;
        EXPECT_EQ(answers->pieces, c.pieces) << c.input;
        EXPECT_EQ(answers->method, c.method) << c.input;
        EXPECT_EQ(answers->destination, c.destination) << c.input;
        EXPECT_EQ(out.str(), repeated(piecesprompt, c.pieceprompts) +
                                 repeated(methodprompt, c.methodprompts) + destinationprompt)
            << c.input;
    }
}

TEST(Dialogue, EndsWhenTheInputEndsBeforeTheDestination)
{
    const std::string inputs[] = {"", "  \n", "3", "3 0", "3 0 \n\t", "x y z", "0 0 0", "3 7 9"};
    for (const std::string& input : inputs) {
        std::istringstream in(input);
        std::ostringstream out;
        EXPECT_FALSE(dialogue(in, out)) << '"' << input << '"';
    }
}

TEST(Dialogue, OverlongWordsAreRefusedNotTruncated)
{
    const std::string digits(5000, '1');
    std::istringstream in("000000000000000000000000003 " + digits + " 2 " + std::string(5000, 'f'));
    std::ostringstream out;
    const std::optional<Answers> answers = dialogue(in, out);
    ASSERT_TRUE(answers);
    EXPECT_EQ(answers->pieces, 3);
    EXPECT_EQ(answers->method, search_method::greedy);
    EXPECT_GT(answers->destination.size(), 4096u);
}

TEST(Run, OnePieceTranscript)
{
    std::istringstream in("1 0 .\n");
    std::ostringstream out, err;
    EXPECT_EQ(run({}, in, out, err, unlimitedmemory), RunStatus::solved);
    EXPECT_EQ(out.str(), piecesprompt + methodprompt + destinationprompt +
                             "1 pecas: Solucao otima 1 movimentos.\n"
                             "Pensando... \n"
                             "Encontrada solucao otima (1 movimentos):\n"
                             "1->3\n"
                             "Total de nos examinados (incluindo o final): 2\n");
    EXPECT_EQ(err.str(), "");
}

TEST(Run, InputEndedIsReportedOnTheErrorStream)
{
    std::istringstream in("3 0");
    std::ostringstream out, err;
    EXPECT_EQ(run({}, in, out, err, unlimitedmemory), RunStatus::inputended);
    EXPECT_EQ(err.str(), "hanoi: a entrada terminou antes do fim do dialogo\n");
    EXPECT_EQ(out.str().find("Pensando"), std::string::npos);
}

}  // namespace

namespace {

// Gives its text, then fails as a broken device would.
class FailingInput : public std::streambuf {
public:
    explicit FailingInput(std::string text)
        : text_(std::move(text))
    {
        setg(text_.data(), text_.data(), text_.data() + text_.size());
    }

protected:
    int_type underflow() override { throw std::system_error(EIO, std::generic_category()); }

private:
    std::string text_;
};

TEST(Run, ReadErrorIsExplainedAfterThePromptsLine)
{
    for (const std::string text : {"", "3 ", "3 0 "}) {
        FailingInput buffer(text);
        std::istream in(&buffer);
        std::ostringstream out, err;
        EXPECT_EQ(run({}, in, out, err, unlimitedmemory), RunStatus::inputended);
        EXPECT_EQ(err.str(),
                  "hanoi: nao foi possivel ler a entrada padrao: erro de entrada e saida\n");
        EXPECT_TRUE(out.str().ends_with(": \n") || out.str().ends_with(":\n")) << text;
    }
}

TEST(Run, NoRoomToStartIsSaidPlainly)
{
    std::istringstream in("3 0 never-written.txt");
    std::ostringstream out, err;
    EXPECT_EQ(run({}, in, out, err, 0), RunStatus::outofmemory);
    EXPECT_EQ(err.str(), "hanoi: memoria insuficiente para comecar a busca\n");
    EXPECT_FALSE(std::ifstream("never-written.txt").is_open());
}

TEST(Run, MemoryStopWritesNoReport)
{
    std::istringstream in("6 1 never-written.txt");
    std::ostringstream out, err;
    EXPECT_EQ(run({}, in, out, err, 4u << 20), RunStatus::outofmemory);
    EXPECT_NE(out.str().find("Pensando... \nNos abertos: 100000\n"), std::string::npos);
    EXPECT_EQ(out.str().find("Encontrada"), std::string::npos);
    EXPECT_TRUE(err.str().starts_with("hanoi: memoria esgotada (")) << err.str();
    EXPECT_NE(err.str().find(" nos examinados, profundidade "), std::string::npos) << err.str();
    std::ifstream file("never-written.txt");
    EXPECT_FALSE(file.is_open());
}

}  // namespace

namespace {

TEST(Run, StatisticsFollowAMemoryStopToo)
{
    Options options;
    options.statistics = true;
    std::istringstream in("6 1 never-written.txt");
    std::ostringstream out, err;
    EXPECT_EQ(run(options, in, out, err, 4u << 20), RunStatus::outofmemory);
    EXPECT_TRUE(err.str().starts_with("hanoi: memoria esgotada (")) << err.str();
    const std::string text = out.str();
    EXPECT_NE(text.find("\nEstatisticas da busca\nEstados examinados: "), std::string::npos);
    EXPECT_NE(text.find("\nSolucao: nenhuma (memoria esgotada)\n"), std::string::npos) << text;
}

}  // namespace
