// Drives the built program as a user would: answers on standard input, and
// checks what it writes, the files it makes and its exit status.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const std::string prompts =
    "Escolha o numero de pecas (1-15): \n"
    "Escolha o metodo (0 - A*, 1 - Largura, 2 - Guloso): \n"
    "Digite o nome do arquivo de saida\n"
    "Digite \".\" e aperte <ENTER> para ter a saida na tela (nao recomendado\n"
    "para 5 ou mais pecas).\n:";

std::string readfile(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

class Program : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "hanoi-test-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { fs::remove_all(dir_); }

    // Runs the program in the test's own folder with `input` as its standard
    // input; `before` comes before the program in the command line (a umask,
    // a wrapper) and `after` after it (redirections of its own).
    Outcome run(const std::string& input, const std::string& before = "",
                const std::string& after = "> stdout") const
    {
        std::ofstream(dir_ / "input", std::ios::binary) << input;
        const std::string command = "cd '" + dir_.string() + "' && " + before +
                                    " '" HANOI_BINARY "' < input 2> stderr " + after;
        const int raw = std::system(command.c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readfile(dir_ / "stdout"),
                readfile(dir_ / "stderr")};
    }

    fs::path dir_;
};

struct Report {
    std::string verdict;  // "otima" or "subotima"
    long length = -1;
    std::vector<std::pair<int, int>> moves;
    long examined = -1;
};

Report parsereport(const std::string& text)
{
    Report report;
    std::istringstream lines(text.substr(text.find("Encontrada solucao ")));
    std::string line;
    char verdict[16] = "";
    std::getline(lines, line);
    if (std::sscanf(line.c_str(), "Encontrada solucao %15s (%ld movimentos):", verdict,
                    &report.length) == 2)
        report.verdict = verdict;
    while (std::getline(lines, line)) {
        int from = 0, to = 0, used = 0;
        if (std::sscanf(line.c_str(), "%1d->%1d%n", &from, &to, &used) == 2 &&
            used == static_cast<int>(line.size()))
            report.moves.emplace_back(from, to);
        else
            std::sscanf(line.c_str(), "Total de nos examinados (incluindo o final): %ld",
                        &report.examined);
    }
    return report;
}

// True when the moves, played from every piece on peg 1, are all legal and
// end with every piece on peg 3.
bool solves(int pieces, const std::vector<std::pair<int, int>>& moves)
{
    std::vector<int> pegs[4];
    for (int piece = pieces - 1; piece >= 0; --piece)
        pegs[1].push_back(piece);
    for (const auto& [from, to] : moves) {
        if (pegs[from].empty() || (!pegs[to].empty() && pegs[to].back() < pegs[from].back()))
            return false;
        pegs[to].push_back(pegs[from].back());
        pegs[from].pop_back();
    }
    return static_cast<int>(pegs[3].size()) == pieces;
}

TEST_F(Program, OnePieceTranscriptIsExact)
{
    const Outcome o = run("1 0 .\n");
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(o.out, prompts + "1 pecas: Solucao otima 1 movimentos.\n"
                               "Pensando... \n"
                               "Encontrada solucao otima (1 movimentos):\n"
                               "1->3\n"
                               "Total de nos examinados (incluindo o final): 2\n");
    EXPECT_EQ(o.err, "");
}

TEST_F(Program, ThreePieceReportFileIsExact)
{
    const Outcome o = run("3\n0\nsolucao.txt\n", "umask 000 &&");
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(o.out, prompts + "3 pecas: Solucao otima 7 movimentos.\nPensando... \n");
    EXPECT_EQ(readfile(dir_ / "solucao.txt"), "3 pecas com o metodo A*.\n"
                                              "Encontrada solucao otima (7 movimentos):\n"
                                              "1->3\n1->2\n3->2\n1->3\n2->1\n2->3\n1->3\n"
                                              "Total de nos examinados (incluindo o final): 9\n");
    EXPECT_EQ(fs::status(dir_ / "solucao.txt").permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                  fs::perms::group_write | fs::perms::others_read);
}

TEST_F(Program, ExistingReportFileIsReplaced)
{
    std::ofstream(dir_ / ".x") << std::string(10000, 'z');
    EXPECT_EQ(run("4 2 .x").status, 0);
    const std::string text = readfile(dir_ / ".x");
    EXPECT_TRUE(text.starts_with(
        "4 pecas com o metodo Guloso.\nEncontrada solucao subotima (19 movimentos):\n"));
    EXPECT_EQ(text.find('z'), std::string::npos);
}

TEST_F(Program, EveryFinishingRunGivesItsKnownResult)
{
    struct Case {
        int n;
        int method;
        long length;
        long examined;
    };
    const Case cases[] = {
        {1, 0, 1, 2},        {1, 1, 1, 3},           {1, 2, 1, 2},          {2, 0, 3, 4},
        {2, 1, 3, 9},        {2, 2, 3, 4},           {3, 0, 7, 9},          {3, 1, 7, 35},
        {3, 2, 7, 8},        {4, 0, 15, 24},         {4, 1, 15, 653},       {4, 2, 19, 24},
        {5, 0, 31, 120},     {5, 1, 31, 118435},     {5, 2, 37, 53},        {6, 0, 63, 224},
        {6, 2, 75, 107},     {8, 0, 255, 960},       {8, 2, 293, 426},      {10, 0, 1023, 3840},
        {10, 2, 1159, 1707}, {15, 0, 32767, 122880}, {15, 2, 36875, 55993},
    };
    for (const Case& c : cases) {
        const Outcome o = run(std::to_string(c.n) + " " + std::to_string(c.method) + " .");
        ASSERT_EQ(o.status, 0) << o.err;
        const Report report = parsereport(o.out);
        const long optimal = (1L << c.n) - 1;
        SCOPED_TRACE("n=" + std::to_string(c.n) + " method " + std::to_string(c.method));
        EXPECT_EQ(report.length, c.length);
        EXPECT_EQ(report.verdict, c.length == optimal ? "otima" : "subotima");
        EXPECT_EQ(report.examined, c.examined);
        EXPECT_EQ(static_cast<long>(report.moves.size()), c.length);
        EXPECT_TRUE(solves(c.n, report.moves));
    }
}

TEST_F(Program, ProgressLinesEveryHundredThousandStates)
{
    struct Case {
        std::string input;
        std::string progress;
    };
    const Case cases[] = {
        {"15 0 .", "Nos abertos: 100000\nProfundidade instantanea: 26677\n"},
        {"5 1 .", "Nos abertos: 100000\nProfundidade instantanea: 31\n"},
    };
    for (const Case& c : cases) {
        const Outcome o = run(c.input);
        const std::string opening = o.out.substr(prompts.size());
        const std::size_t thinking = opening.find("Pensando... \n") + 13;
        EXPECT_EQ(opening.substr(thinking, opening.find("Encontrada") - thinking), c.progress);
    }
}

TEST_F(Program, OpeningLineForFifteenPieces)
{
    const Outcome o = run("15 2 out");
    EXPECT_EQ(o.out, prompts + "15 pecas: Solucao otima 32767 movimentos.\nPensando... \n");
}

TEST_F(Program, ValidationLoopsAskAgain)
{
    const Outcome o = run("0 16 abc 3 -1 1 .");
    EXPECT_EQ(o.status, 0);
    EXPECT_TRUE(
        o.out.starts_with("Escolha o numero de pecas (1-15): \nEscolha o numero de pecas (1-15): \n"
                          "Escolha o numero de pecas (1-15): \nEscolha o numero de pecas (1-15): \n"
                          "Escolha o metodo (0 - A*, 1 - Largura, 2 - Guloso): \n"
                          "Escolha o metodo (0 - A*, 1 - Largura, 2 - Guloso): \nDigite"));
    EXPECT_NE(o.out.find("Total de nos examinados (incluindo o final): 35\n"), std::string::npos);
}

TEST_F(Program, InputEndingEarlyStopsWithStatusTwo)
{
    for (const std::string input : {"", "3", "3 1", "abc def", "99 2 \n"}) {
        const Outcome o = run(input);
        EXPECT_EQ(o.status, 2) << input;
        EXPECT_EQ(o.err, "hanoi: a entrada terminou antes do fim do dialogo\n") << input;
        EXPECT_EQ(o.out.find("Pensando"), std::string::npos) << input;
        // The last prompt's line is ended, the ":" prompt's too.
        EXPECT_TRUE(o.out.ends_with(": \n") || o.out.ends_with(":\n")) << input;
    }
    // Standard input that cannot be read at all is not mistaken for its end.
    const Outcome o = run("", "", "< . > stdout");
    EXPECT_EQ(o.status, 2);
    EXPECT_EQ(o.err, "hanoi: nao foi possivel ler a entrada padrao: e uma pasta\n");
    EXPECT_EQ(o.out, "Escolha o numero de pecas (1-15): \n");
}

TEST_F(Program, UnwritableReportFileIsAnError)
{
    struct Case {
        std::string name;
        std::string reason;
    };
    const Case cases[] = {
        {"missing/out.txt", "arquivo ou pasta inexistente"},
        {".", ""},  // the screen, for contrast
        {"/", "e uma pasta"},
        {std::string(5000, 'n'), "nome longo demais"},
        {std::string(300, 'n'), "nome longo demais"},
        {"\033]0;titulo\a/x", "arquivo ou pasta inexistente"},
    };
    for (const Case& c : cases) {
        const Outcome o = run("2 0 " + c.name);
        if (c.reason.empty()) {
            EXPECT_EQ(o.status, 0);
            continue;
        }
        EXPECT_EQ(o.status, 1) << c.name;
        EXPECT_TRUE(o.err.starts_with("hanoi: nao foi possivel escrever o arquivo de saida \""))
            << o.err;
        EXPECT_TRUE(o.err.ends_with("\": " + c.reason + "\n")) << o.err;
        // Nothing a terminal would act on reaches it from the name.
        EXPECT_EQ(o.err.find_first_of("\033\a"), std::string::npos) << o.err;
        EXPECT_TRUE(o.out.ends_with("Pensando... \n"));
    }
}

TEST_F(Program, MemoryLimitEndsTheSearchWithStatusThree)
{
#ifdef HANOI_SANITIZED
    GTEST_SKIP() << "sanitizers reserve more address space than the limit allows";
#endif
    const Outcome o = run("6 1 saida.txt", "prlimit --as=8388608");
    EXPECT_EQ(o.status, 3);
    EXPECT_NE(o.out.find("Pensando... \nNos abertos: 100000\n"), std::string::npos);
    EXPECT_TRUE(o.out.ends_with("\n"));
    EXPECT_TRUE(o.err.starts_with("hanoi: memoria esgotada (")) << o.err;
    EXPECT_NE(o.err.find(" nos examinados, profundidade "), std::string::npos) << o.err;
    EXPECT_FALSE(fs::exists(dir_ / "saida.txt"));
}

TEST_F(Program, OutputThatCannotBeWrittenIsAnError)
{
    struct Case {
        std::string input;
        std::string redirection;
        std::string message;
    };
    const Case cases[] = {
        {"3 0 .", "> /dev/full",
         "hanoi: nao foi possivel escrever na saida padrao: nao ha espaco livre no disco\n"},
        {"3 0 /dev/full", "> stdout",
         "hanoi: nao foi possivel escrever o arquivo de saida \"/dev/full\": nao ha espaco "
         "livre no disco\n"},
        {"3 0 .", ">&-",
         "hanoi: nao foi possivel escrever na saida padrao: descritor de arquivo invalido\n"},
        {"3 0 report.txt", ">&-",
         "hanoi: nao foi possivel escrever na saida padrao: descritor de arquivo invalido\n"},
    };
    for (const Case& c : cases) {
        const Outcome o = run(c.input, "", c.redirection);
        EXPECT_EQ(o.status, 1) << c.input << ' ' << c.redirection;
        EXPECT_EQ(o.err, c.message) << c.input << ' ' << c.redirection;
    }
    // The report itself still reached its file when only the screen was lost.
    EXPECT_TRUE(readfile(dir_ / "report.txt").starts_with("3 pecas com o metodo A*.\n"));
}

// What the folder holds, names only, sorted.
std::vector<std::string> listing(const fs::path& folder)
{
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

const std::vector<std::string> runfiles = {"input", "stderr", "stdout"};

TEST_F(Program, FailedWriteLeavesTheOldReportAndNoTemporaryFile)
{
    // A file-size limit (ulimit -f counts 1024-byte blocks) fails the write
    // partway; it must not end the process by SIGXFSZ either.
    const std::string old = "4 pecas com o metodo A*.\n" + std::string(1600, 'x') + "\n";
    for (const bool existing : {true, false}) {
        if (existing)
            std::ofstream(dir_ / "r.txt") << old;
        else
            fs::remove(dir_ / "r.txt");
        const Outcome o = run("10 0 r.txt", "ulimit -f 1 &&");
        EXPECT_EQ(o.status, 1);
        EXPECT_EQ(o.err,
                  "hanoi: nao foi possivel escrever o arquivo de saida \"r.txt\": arquivo grande "
                  "demais\n");
        std::vector<std::string> expected = runfiles;
        if (existing) {
            EXPECT_EQ(readfile(dir_ / "r.txt"), old);
            expected.insert(expected.begin() + 1, "r.txt");
        }
        EXPECT_EQ(listing(dir_), expected);
    }
}

TEST_F(Program, FullDiskLeavesTheOldReport)
{
    if (std::system("unshare -rm true 2> /dev/null") != 0)
        GTEST_SKIP() << "needs a mount namespace of its own for a small tmpfs";
    fs::create_directory(dir_ / "disco");
    const std::string old = "4 pecas com o metodo A*.\n" + std::string(1600, 'x') + "\n";
    std::ofstream(dir_ / "antigo.txt") << old;
    // A 64 KiB tmpfs that only this command sees holds the old report; the
    // 15-piece report (160 KiB) does not fit beside it.
    const Outcome o =
        run("15 0 r.txt", "unshare -rm sh -c 'mount -t tmpfs -o size=64k tmpfs disco && "
                          "cp antigo.txt disco/r.txt && cd disco && \"$0\"; status=$?; "
                          "cp r.txt ../depois.txt; ls -A > ../lista; exit $status'");
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.err, "hanoi: nao foi possivel escrever o arquivo de saida \"r.txt\": nao ha espaco "
                     "livre no disco\n");
    EXPECT_EQ(readfile(dir_ / "depois.txt"), old);
    EXPECT_EQ(readfile(dir_ / "lista"), "r.txt\n");
}

TEST_F(Program, LinksStayLinksAndFilesKeepTheirPermissions)
{
    fs::create_directory(dir_ / "sub");
    std::ofstream(dir_ / "sub" / "alvo.txt") << "antigo\n";
    fs::permissions(dir_ / "sub" / "alvo.txt",
                    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink("sub/alvo.txt", dir_ / "elo");
    fs::create_symlink("elo", dir_ / "elo2");
    fs::create_symlink("sub/novo.txt", dir_ / "solto");
    for (const std::string link : {"elo2", "solto"})
        EXPECT_EQ(run("3 0 " + link, "umask 002 &&").status, 0) << link;
    for (const std::string link : {"elo", "elo2", "solto"})
        EXPECT_TRUE(fs::is_symlink(dir_ / link)) << link;
    EXPECT_EQ(fs::read_symlink(dir_ / "solto"), "sub/novo.txt");
    for (const std::string target : {"alvo.txt", "novo.txt"})
        EXPECT_TRUE(readfile(dir_ / "sub" / target).starts_with("3 pecas com o metodo A*.\n"));
    EXPECT_EQ(fs::status(dir_ / "sub" / "alvo.txt").permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(fs::status(dir_ / "sub" / "novo.txt").permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                  fs::perms::group_write | fs::perms::others_read);
    EXPECT_EQ(listing(dir_ / "sub"), (std::vector<std::string>{"alvo.txt", "novo.txt"}));
}

TEST_F(Program, FolderClosedToNewFilesStillTakesAWritableReport)
{
    // Root passes every permission check unless it gives up that power.
    const std::string asuser =
        ::geteuid() == 0 ? "setpriv --bounding-set=-dac_override,-dac_read_search" : "";
    if (!asuser.empty() && std::system("command -v setpriv > /dev/null") != 0)
        GTEST_SKIP() << "needs setpriv to drop root's permission override";
    const fs::path folder = dir_ / "fechada";
    fs::create_directory(folder);
    std::ofstream(folder / "aberto.txt") << "antigo\n";
    std::ofstream(folder / "fechado.txt") << "antigo\n";
    fs::permissions(folder / "fechado.txt", fs::perms::owner_read);
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    const Outcome open = run("3 0 fechada/aberto.txt", asuser);
    const Outcome closed = run("3 0 fechada/fechado.txt", asuser);
    const Outcome fresh = run("3 0 fechada/novo.txt", asuser);
    fs::permissions(folder, fs::perms::owner_all);
    EXPECT_EQ(open.status, 0) << open.err;
    EXPECT_TRUE(readfile(folder / "aberto.txt").starts_with("3 pecas com o metodo A*.\n"));
    // A file the user may not write is refused, as is a new file.
    EXPECT_EQ(closed.status, 1);
    EXPECT_TRUE(closed.err.ends_with("\"fechada/fechado.txt\": permissao negada\n")) << closed.err;
    EXPECT_EQ(readfile(folder / "fechado.txt"), "antigo\n");
    EXPECT_EQ(fresh.status, 1);
    EXPECT_TRUE(fresh.err.ends_with("\"fechada/novo.txt\": permissao negada\n")) << fresh.err;
    EXPECT_EQ(listing(folder), (std::vector<std::string>{"aberto.txt", "fechado.txt"}));
}

TEST_F(Program, SignalDuringTheWriteLeavesTheOldReport)
{
    if (std::system("command -v strace > /dev/null") != 0)
        GTEST_SKIP() << "needs strace to deliver a signal at a known point of the write";
    // strace raises the signal as the complete new file is flushed to the
    // disk, the last step before it is renamed over the old report.
    for (const std::string signal : {"INT", "TERM", "HUP"}) {
        std::ofstream(dir_ / "r.txt") << "antigo\n";
        const Outcome o = run(
            "15 0 r.txt", "strace -o /dev/null -e trace=fsync -e inject=fsync:signal=SIG" + signal);
        EXPECT_GT(o.status, 128) << signal;
        EXPECT_EQ(readfile(dir_ / "r.txt"), "antigo\n") << signal;
        EXPECT_EQ(listing(dir_), (std::vector<std::string>{"input", "r.txt", "stderr", "stdout"}));
    }
}

TEST_F(Program, SmallMemoryLimitsLetSmallRunsFinish)
{
#ifdef HANOI_SANITIZED
    GTEST_SKIP() << "sanitizers reserve more address space than the limits allow";
#endif
    // Each limit is about twice what the run needs at its peak.
    struct Case {
        std::string input;
        std::string limit;
    };
    const Case cases[] = {
        {"1 0 .", "--as=20000000"},      {"1 0 .", "--data=8000000"},
        {"15 0 .", "--as=25000000"},     {"15 0 .", "--data=14000000"},
        {"15 2 x.txt", "--as=22000000"}, {"5 1 .", "--data=14000000"},
    };
    for (const Case& c : cases) {
        const Outcome o = run(c.input, "prlimit " + c.limit);
        EXPECT_EQ(o.status, 0) << c.input << ' ' << c.limit << ": " << o.err;
    }
}

TEST_F(Program, LimitWithNoRoomToSearchSaysSo)
{
#ifdef HANOI_SANITIZED
    GTEST_SKIP() << "sanitizers reserve more address space than the limit allows";
#endif
    // Too tight even for the reserve kept for the last words.
    const Outcome o = run("1 0 .", "prlimit --as=3000000");
    EXPECT_EQ(o.status, 3);
    EXPECT_EQ(o.err, "hanoi: memoria insuficiente para comecar a busca\n");
}

TEST_F(Program, ClosedPipeEndsQuietly)
{
    // Even with SIGPIPE ignored by the parent, as some launchers leave it.
    std::ofstream(dir_ / "input") << "15 0 .";
    const std::string command = "cd '" + dir_.string() +
                                "' && { trap '' PIPE; '" HANOI_BINARY
                                "' < input 2> stderr; echo $? > status; } | head -c 10 > stdout";
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(readfile(dir_ / "status"), "141\n");
    EXPECT_EQ(readfile(dir_ / "stderr"), "");
    EXPECT_EQ(readfile(dir_ / "stdout"), "Escolha o ");
}

TEST_F(Program, OptionErrorsHaveTheirOwnStatus)
{
    struct Case {
        std::string arguments;
        std::string message;
    };
    const Case cases[] = {
        {"-x", "hanoi: opcao invalida: -x: desconhecida (veja hanoi --help)\n"},
        {"3 0 .",
         "hanoi: opcao invalida: \"3\": argumento inesperado; as respostas vem da entrada padrao "
         "(veja hanoi --help)\n"},
    };
    for (const Case& c : cases) {
        const Outcome o = run("3 0 .", "", c.arguments + " > stdout");
        EXPECT_EQ(o.status, 64) << c.arguments;
        EXPECT_EQ(o.err, c.message);
        EXPECT_EQ(o.out, "");
    }
}

TEST_F(Program, HelpVersionAndComparisonNeedNoAnswers)
{
    struct Case {
        std::string arguments;
        std::string start;
    };
    const Case cases[] = {
        {"--help", "Uso: hanoi [opcoes]\n"},
        {"-h -e", "Uso: hanoi [opcoes]\n"},
        {"--version", "hanoi 1.0\n"},
        {"-c3", "Metodo    Pecas  Movimentos  Resultado"},
    };
    for (const Case& c : cases) {
        const Outcome o = run("", "", c.arguments + " > stdout");
        EXPECT_EQ(o.status, 0) << c.arguments;
        EXPECT_TRUE(o.out.starts_with(c.start)) << o.out;
        EXPECT_EQ(o.err, "");
    }
}

TEST_F(Program, TraceAndStatisticsAroundAReportFile)
{
    const Outcome o = run("2 0 solucao.txt", "", "-r1 -e > stdout");
    EXPECT_EQ(o.status, 0);
    const std::string after = o.out.substr(o.out.find("Pensando... \n") + 13);
    EXPECT_TRUE(after.starts_with("Rastro dos primeiros 1 estados")) << after;
    EXPECT_NE(after.find("#1  1:[1 0] 2:[] 3:[]  g=0 h=3 f=3  fronteira=0\n"
                         "    1->2  1:[1] 2:[0] 3:[]  g=1 h=2 f=3\n"
                         "    1->3  1:[1] 2:[] 3:[0]  g=1 h=3 f=4\n"
                         "Rastro interrompido apos 1 estados; a busca continua.\n"
                         "Estatisticas da busca\nEstados examinados: 4\n"),
              std::string::npos)
        << after;
    EXPECT_EQ(readfile(dir_ / "solucao.txt"), "2 pecas com o metodo A*.\n"
                                              "Encontrada solucao otima (3 movimentos):\n"
                                              "1->2\n1->3\n2->3\n"
                                              "Total de nos examinados (incluindo o final): 4\n");
}

}  // namespace
