#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "fixtures.h"
#include "report.h"

namespace {

namespace fs = std::filesystem;

TEST(Report, HeadingAndBodyForEachMethod)
{
    struct Case {
        int n;
        search_method method;
        int length;
        std::string text;
    };
    const Case cases[] = {
        {1, search_method::astar, 1,
         "1 pecas com o metodo A*.\nEncontrada solucao otima (1 movimentos):\n2->3\n"
         "Total de nos examinados (incluindo o final): 12\n"},
        {2, search_method::breadth, 1,
         "2 pecas com o metodo de Busca em Largura.\nEncontrada solucao subotima (1 movimentos):\n"
         "2->3\nTotal de nos examinados (incluindo o final): 12\n"},
        {2, search_method::greedy, 4,
         "2 pecas com o metodo Guloso.\nEncontrada solucao subotima (4 movimentos):\n"
         "2->3\n2->3\n2->3\n2->3\nTotal de nos examinados (incluindo o final): 12\n"},
    };
    for (const Case& c : cases) {
        const PieceCount n(c.n);
        const std::vector<Step> solution(static_cast<std::size_t>(c.length), Step{2, 3});
        std::ostringstream out;
        writeheading(out, c.method);
        writereport(out, solution, 12);
        EXPECT_EQ(out.str(), c.text);
    }
}

TEST(Report, ReasonsInPortuguese)
{
    struct Case {
        int error;
        std::string reason;
    };
    const Case cases[] = {
        {ENOENT, "arquivo ou pasta inexistente"},
        {EACCES, "permissao negada"},
        {EISDIR, "e uma pasta"},
        {ENOSPC, "nao ha espaco livre no disco"},
        {EFBIG, "arquivo grande demais"},
        {EDQUOT, "cota de disco excedida"},
        {ENOMEM, std::strerror(ENOMEM)},  // a rare one: the system's own words
    };
    for (const Case& c : cases)
        EXPECT_EQ(errorreason(c.error), c.reason) << c.error;
}

TEST(Report, NamesAreQuotedSafeToPrint)
{
    struct Case {
        std::string name;
        std::string quoted;
    };
    const Case cases[] = {
        {"relatorio.txt", "\"relatorio.txt\""},
        {"pasta/meu \"x\"\\y", "\"pasta/meu \\\"x\\\"\\\\y\""},
        {"\033]0;titulo\a/x", "\"\\x1b]0;titulo\\x07/x\""},
        {std::string("a\0b\n\t\r\x7f", 7), "\"a\\x00b\\n\\t\\r\\x7f\""},
        {"solu\xc3\xa7\xc3\xa3o \xe2\x82\xac \xf0\x9f\x98\x80",
         "\"solu\xc3\xa7\xc3\xa3o \xe2\x82\xac \xf0\x9f\x98\x80\""},
        // C1 controls, raw or UTF-8 encoded; a stray continuation byte; an
        // overlong slash; a UTF-16 surrogate; a sequence cut short.
        {"\x9b"
         "2J \xc2\x9b",
         "\"\\x9b2J \\xc2\\x9b\""},
        {"\x80 \xc0\xaf \xed\xa0\x80 \xe2\x82", "\"\\x80 \\xc0\\xaf \\xed\\xa0\\x80 \\xe2\\x82\""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(quotedname(c.name), c.quoted);
}

class Replace : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "hanoi-report-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string contents(const fs::path& path) const
    {
        std::ifstream file(path);
        std::ostringstream text;
        text << file.rdbuf();
        return text.str();
    }

    fs::path dir_;
};

// A signal that ends the process while the new file is being written takes
// the file with it; the old one stays as it was.
TEST_F(Replace, SignalDuringTheWriteLeavesNoTemporaryFile)
{
    const fs::path report = dir_ / "relatorio.txt";
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        std::ofstream(report) << "antigo\n";
        EXPECT_EXIT(replacefile(report.string(),
                                [&](std::ostream& out) {
                                    out << "metade" << std::flush;
                                    std::raise(signal);
                                }),
                    ::testing::KilledBySignal(signal), "");
        EXPECT_EQ(contents(report), "antigo\n");
        EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
    }
}

// A signal the process ignores stays ignored: the write completes.
TEST_F(Replace, IgnoredSignalStaysIgnored)
{
    const fs::path report = dir_ / "relatorio.txt";
    const auto saved = std::signal(SIGHUP, SIG_IGN);
    EXPECT_EQ(replacefile(report.string(),
                          [](std::ostream& out) {
                              out << "metade ";
                              std::raise(SIGHUP);
                              out << "e o resto\n";
                          }),
              0);
    std::signal(SIGHUP, saved);
    EXPECT_EQ(contents(report), "metade e o resto\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

}  // namespace
