// Drives the built program as a user would: answers on standard input, and
// checks what it writes, the files it makes and its exit status.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
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
    for (const std::string signal :
         {"INT", "TERM", "HUP", "QUIT", "USR1", "PIPE", "ALRM", "XCPU"}) {
        std::ofstream(dir_ / "r.txt") << "antigo\n";
        const Outcome o = run("15 0 r.txt", "ulimit -c 0 && strace -o /dev/null -e trace=fsync -e "
                                            "inject=fsync:signal=SIG" +
                                                signal);
        EXPECT_GT(o.status, 128) << signal;
        EXPECT_EQ(readfile(dir_ / "r.txt"), "antigo\n") << signal;
        EXPECT_EQ(listing(dir_), (std::vector<std::string>{"input", "r.txt", "stderr", "stdout"}));
    }
}

TEST_F(Program, NewFileStaysClosedUntilComplete)
{
    if (std::system("command -v strace > /dev/null") != 0)
        GTEST_SKIP() << "needs strace to see and fail the change of mode";
    // The new file is made readable by its owner alone, and gets its final
    // mode only once every byte is written.
    // LeakSanitizer cannot work under strace: it is left out.
    const std::string strace = "ASAN_OPTIONS=detect_leaks=0 strace";
    const Outcome traced =
        run("10 0 novo.txt", "umask 002 && " + strace + " -o trace -e trace=openat,write,fchmod");
    EXPECT_EQ(traced.status, 0) << traced.err;
    std::istringstream trace(readfile(dir_ / "trace"));
    std::string temp;  // the new file's descriptor, as "(N,"
    long lastwrite = -1, opened = -1, line = 0;
    for (std::string text; std::getline(trace, text); ++line) {
        if (text.find(".hanoi-") != text.npos && text.find("O_CREAT") != text.npos) {
            EXPECT_NE(text.find(", 0600) = "), text.npos) << text;
            temp = "(" + text.substr(text.rfind("= ") + 2) + ", ";
        } else if (!temp.empty() && text.starts_with("write" + temp)) {
            lastwrite = line;
        } else if (!temp.empty() && text.starts_with("fchmod" + temp)) {
            EXPECT_NE(text.find(", 0664)"), text.npos) << text;
            opened = line;
        }
    }
    EXPECT_GT(lastwrite, 0);
    EXPECT_GT(opened, lastwrite);
    // A mode that cannot be set is an error, and the old file stays.
    std::ofstream(dir_ / "r.txt") << "antigo\n";
    fs::permissions(dir_ / "r.txt", fs::perms::owner_read | fs::perms::owner_write);
    const Outcome failed =
        run("3 0 r.txt", strace + " -o /dev/null -e trace=fchmod -e inject=fchmod:error=EPERM");
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(failed.err, "hanoi: nao foi possivel escrever o arquivo de saida \"r.txt\": "
                          "operacao nao permitida\n");
    EXPECT_EQ(readfile(dir_ / "r.txt"), "antigo\n");
    EXPECT_EQ(listing(dir_), (std::vector<std::string>{"input", "novo.txt", "r.txt", "stderr",
                                                       "stdout", "trace"}));
}

TEST_F(Program, TakenTemporaryNamesArePassedOver)
{
    // Every name the program could once have guessed from its process
    // number holds a pipe, a file or a link before it starts.
    const Outcome o =
        run("3 0 r.txt", "sh -c 'i=0; while [ $i -lt 100 ]; do n=.hanoi-$$-$i.tmp; case $((i % 3)) "
                         "in 0) mkfifo $n;; 1) echo alheio > $n;; 2) ln -s r.txt $n;; esac; "
                         "i=$((i + 1)); done; exec \"$0\"'");
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_TRUE(readfile(dir_ / "r.txt").starts_with("3 pecas com o metodo A*.\n"));
    EXPECT_EQ(listing(dir_).size(), runfiles.size() + 1 + 100);
}

TEST_F(Program, StandardStreamsByNameAreWrittenThrough)
{
    // Appended to a log, after the lines already there and the dialogue.
    std::ofstream(dir_ / "log.txt") << "linha antiga\n";
    const Outcome appended = run("3 0 /dev/stdout", "", ">> log.txt");
    EXPECT_EQ(appended.status, 0) << appended.err;
    const std::string log = readfile(dir_ / "log.txt");
    EXPECT_TRUE(log.starts_with("linha antiga\n" + prompts)) << log;
    EXPECT_TRUE(log.ends_with("Pensando... \n3 pecas com o metodo A*.\n"
                              "Encontrada solucao otima (7 movimentos):\n"
                              "1->3\n1->2\n3->2\n1->3\n2->1\n2->3\n1->3\n"
                              "Total de nos examinados (incluindo o final): 9\n"))
        << log;
    // A file already removed stays removed: no "... (deleted)" appears.
    const Outcome removed =
        run("3 0 /dev/fd/1", "sh -c 'rm gone.txt && exec \"$0\"'", "> gone.txt");
    EXPECT_EQ(removed.status, 0) << removed.err;
    EXPECT_EQ(listing(dir_), (std::vector<std::string>{"input", "log.txt", "stderr"}));
    // The program's own input is never written, be it a file or a pipe
    // (where the report would be lost, or fill the pipe and hang).
    struct Case {
        std::string pipe;  // what feeds the program, or nothing
        std::string redirection;
        std::string name;
    };
    const Case cases[] = {
        {"", "< input", "/dev/stdin"},
        {"", "< input", "input"},
        {"cat input |", "", "/dev/stdin"},
    };
    for (const Case& c : cases) {
        const std::string input = "15 0 " + c.name;
        std::ofstream(dir_ / "input") << input;
        const std::string command = "cd '" + dir_.string() + "' && " + c.pipe +
                                    " timeout 20 '" HANOI_BINARY "' " + c.redirection +
                                    " > stdout 2> stderr";
        const int raw = std::system(command.c_str());
        EXPECT_EQ(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, 1) << c.pipe << c.redirection;
        EXPECT_EQ(readfile(dir_ / "stderr"),
                  "hanoi: nao foi possivel escrever o arquivo de saida \"" + c.name +
                      "\": e a entrada padrao do programa\n");
        EXPECT_EQ(readfile(dir_ / "input"), input);
    }
}

// The program run by two ordinary users besides root, in folders they share:
// needs root to hand files to them, and setpriv to become them.
class SharedFolder : public Program {
protected:
    static constexpr uid_t ana = 65533;
    static constexpr uid_t bruno = 65534;

    void SetUp() override
    {
        if (::geteuid() != 0)
            GTEST_SKIP() << "needs root to give files to other users";
        if (std::system("command -v setpriv > /dev/null") != 0)
            GTEST_SKIP() << "needs setpriv to run as another user";
        Program::SetUp();
        fs::permissions(dir_, fs::perms::all);
    }

    // The command-line prefix that runs the program as `uid`, with the
    // supplementary groups given (none by default).
    static std::string as(uid_t uid, const std::string& groups = "")
    {
        return "setpriv --reuid=" + std::to_string(uid) + " --regid=" + std::to_string(uid) +
               (groups.empty() ? " --clear-groups" : " --groups=" + groups);
    }

    // A folder anyone may write with the sticky bit, as /tmp, owned by root;
    // or one its group may write, as a class's folder (chmod 3775).
    fs::path stickyfolder(const std::string& name,
                          fs::perms mode = fs::perms::all | fs::perms::sticky_bit) const
    {
        fs::create_directory(dir_ / name);
        fs::permissions(dir_ / name, mode);
        return dir_ / name;
    }

    static void give(const fs::path& path, uid_t uid, gid_t gid)
    {
        ASSERT_EQ(::lchown(path.c_str(), uid, gid), 0) << path;
    }

    void linksplantedbyanotheruserarerefused(const fs::path& shared);
};

TEST_F(SharedFolder, LinksPlantedByAnotherUserAreRefused)
{
    for (const fs::perms mode :
         {fs::perms::all | fs::perms::sticky_bit,
          fs::perms::owner_all | fs::perms::group_all | fs::perms::others_read |
              fs::perms::others_exec | fs::perms::set_gid | fs::perms::sticky_bit}) {
        SCOPED_TRACE(static_cast<int>(mode));
        linksplantedbyanotheruserarerefused(stickyfolder("compartilhada", mode));
        fs::remove_all(dir_ / "compartilhada");
        fs::remove_all(dir_ / "ana");
    }
}

void SharedFolder::linksplantedbyanotheruserarerefused(const fs::path& shared)
{
    const fs::path home = dir_ / "ana";
    fs::create_directory(home);
    give(home, ana, ana);
    struct Case {
        std::string runner;
        std::string name;  // in the shared folder
        std::string target;  // where its link leads
        uid_t linkowner;
        bool followed;
    };
    const Case cases[] = {
        // Bruno's link to Ana's notes, in Ana's run and in root's.
        {as(ana), "relatorio.txt", "../ana/notas.txt", bruno, false},
        {"", "relatorio.txt", "../ana/notas.txt", bruno, false},
        // A link to her folder, in the middle of the name.
        {as(ana), "pasta/notas.txt", "../ana", bruno, false},
        // Her own link, and the folder owner's.
        {as(ana), "meu.txt", "../ana/notas.txt", ana, true},
        {as(ana), "raiz.txt", "../ana/notas.txt", 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.runner + " " + c.name);
        std::ofstream(home / "notas.txt") << "privado\n";
        give(home / "notas.txt", ana, ana);
        const std::string linkname = c.name.substr(0, c.name.find('/'));
        fs::create_symlink(c.target, shared / linkname);
        give(shared / linkname, c.linkowner, c.linkowner);
        const Outcome o = run("3 0 compartilhada/" + c.name, c.runner);
        const std::string notes = readfile(home / "notas.txt");
        if (c.followed) {
            EXPECT_EQ(o.status, 0) << o.err;
            EXPECT_TRUE(notes.starts_with("3 pecas com o metodo A*.\n")) << notes;
        } else {
            EXPECT_EQ(o.status, 1);
            EXPECT_EQ(o.err, "hanoi: nao foi possivel escrever o arquivo de saida "
                             "\"compartilhada/" +
                                 c.name +
                                 "\": link simbolico de outro usuario numa pasta "
                                 "compartilhada; o programa nao o segue\n");
            EXPECT_EQ(notes, "privado\n");
            // The statistics' CSV file follows the same rule.
            const Outcome csv = run("3 0 .", c.runner, "-e --csv=compartilhada/" + c.name);
            EXPECT_EQ(csv.status, 1);
            EXPECT_EQ(csv.err, "hanoi: nao foi possivel escrever o arquivo CSV "
                               "\"compartilhada/" +
                                   c.name +
                                   "\": link simbolico de outro usuario numa pasta "
                                   "compartilhada; o programa nao o segue\n");
            EXPECT_EQ(readfile(home / "notas.txt"), "privado\n");
        }
        EXPECT_TRUE(fs::is_symlink(shared / linkname));
        EXPECT_EQ(listing(home), (std::vector<std::string>{"notas.txt"}));
        fs::remove(shared / linkname);
    }
}

TEST_F(SharedFolder, ReplacedFileKeepsItsGroup)
{
    constexpr gid_t team = 4242;
    fs::create_directory(dir_ / "equipe");
    fs::permissions(dir_ / "equipe", fs::perms::all);
    const fs::path file = dir_ / "equipe" / "r.txt";
    struct Case {
        std::string runner;
        uid_t owner;  // afterwards
        gid_t group;
    };
    const Case cases[] = {
        {"", bruno, team},  // root may keep both
        {as(ana, std::to_string(team)), ana, team},  // a member keeps the group
        {as(ana), ana, ana},  // and no one else may set it
    };
    for (const Case& c : cases) {
        std::ofstream(file) << "antigo\n";
        give(file, bruno, team);
        fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write |
                                  fs::perms::group_read | fs::perms::group_write |
                                  fs::perms::others_read | fs::perms::others_write);
        const Outcome o = run("3 0 equipe/r.txt", c.runner);
        EXPECT_EQ(o.status, 0) << c.runner << ": " << o.err;
        struct stat status { };
        ASSERT_EQ(::stat(file.c_str(), &status), 0);
        EXPECT_EQ(status.st_uid, c.owner) << c.runner;
        EXPECT_EQ(status.st_gid, c.group) << c.runner;
        EXPECT_EQ(status.st_mode & 07777, 0666u) << c.runner;
    }
}

TEST_F(SharedFolder, StickyFolderTakesAWritableFileInPlace)
{
    // Bruno's file, which Ana may write but not rename over.
    const fs::path shared = stickyfolder("compartilhada");
    std::ofstream(shared / "r.txt") << std::string(500, 'z');
    give(shared / "r.txt", bruno, bruno);
    fs::permissions(shared / "r.txt", fs::perms::owner_read | fs::perms::owner_write |
                                          fs::perms::others_read | fs::perms::others_write);
    const Outcome o = run("3 0 compartilhada/r.txt", as(ana));
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_TRUE(readfile(shared / "r.txt").starts_with("3 pecas com o metodo A*.\n"));
    EXPECT_EQ(readfile(shared / "r.txt").find('z'), std::string::npos);
    struct stat status { };
    ASSERT_EQ(::stat((shared / "r.txt").c_str(), &status), 0);
    EXPECT_EQ(status.st_uid, bruno);
    EXPECT_EQ(listing(shared), (std::vector<std::string>{"r.txt"}));
}

TEST_F(Program, MemoryBudgetNeedsNoFreeDescriptor)
{
#ifdef HANOI_SANITIZED
    GTEST_SKIP() << "sanitizers reserve more address space than the limit allows";
#endif
    // With standard input, output and error open, three descriptors leave
    // none free: the budget is still worked out and stops the search.
    const Outcome o = run("7 1 .", "prlimit --nofile=3 --as=16777216");
    EXPECT_EQ(o.status, 3);
    EXPECT_TRUE(o.err.starts_with("hanoi: memoria esgotada (")) << o.err;
    EXPECT_NE(o.err.find(" nos examinados, profundidade "), std::string::npos) << o.err;
    // And the reasons are Portuguese there too.
    const Outcome file = run("3 0 r.txt", "prlimit --nofile=3");
    EXPECT_EQ(file.status, 1);
    EXPECT_EQ(file.err, "hanoi: nao foi possivel escrever o arquivo de saida \"r.txt\": arquivos "
                        "abertos demais\n");
}

TEST_F(Program, MemoryCgroupStopsTheSearchWithoutFreeDescriptors)
{
    // A memory cgroup of its own, where cgroup v2 lets root make one.
    const fs::path root = "/sys/fs/cgroup";
    if (::geteuid() != 0 ||
        readfile(root / "cgroup.subtree_control").find("memory") == std::string::npos)
        GTEST_SKIP() << "needs root and cgroup v2 with the memory controller on /sys/fs/cgroup";
    const fs::path group = root / ("hanoi-test-" + std::to_string(::getpid()));
    if (!fs::create_directory(group))
        GTEST_SKIP() << "cannot make a cgroup under " << root;
    std::ofstream(group / "memory.max") << (64 << 20);
    std::ofstream(group / "memory.swap.max") << 0;
    const Outcome o = run("7 1 .", "sh -c 'echo $$ > " + (group / "cgroup.procs").string() +
                                       " && exec prlimit --nofile=3 \"$0\"'");
    fs::remove(group);
    EXPECT_EQ(o.status, 3) << o.err;
    EXPECT_TRUE(o.err.starts_with("hanoi: memoria esgotada (")) << o.err;
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
    // Too tight even for the reserve kept for the last words. The statistics
    // and the comparison say the search never started, and generated nothing.
    struct Case {
        std::string input;
        std::string options;
        int status;
        std::string out;  // a part of it
        std::string err;
    };
    const Case cases[] = {
        {"1 0 .", "", 3, "Pensando... \n", "hanoi: memoria insuficiente para comecar a busca\n"},
        {"1 0 .", "-e", 3,
         "Estados examinados: 0\nEstados gerados (com o inicial): 0\nMaior fronteira: 0 estados\n"
         "Solucao: nenhuma (memoria insuficiente para comecar a busca)\nMemoria no pico",
         "hanoi: memoria insuficiente para comecar a busca\n"},
        {"", "-c1", 0,
         "\nA*            1           -  nao comecou                 0            0                "
         "0",
         ""},
        {"", "-c1 --csv", 0, "\nGuloso,15,nao comecou,,0,0,0,,,0,", ""},
    };
    for (const Case& c : cases) {
        const Outcome o = run(c.input, "prlimit --as=3000000", c.options + " > stdout");
        EXPECT_EQ(o.status, c.status) << c.options;
        EXPECT_NE(o.out.find(c.out), std::string::npos) << c.options << '\n' << o.out;
        EXPECT_EQ(o.err, c.err) << c.options;
    }
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

TEST_F(Program, FailedStandardOutputStopsTheSearch)
{
    if (std::system("env --block-signal=PIPE true 2> /dev/null") != 0)
        GTEST_SKIP() << "needs env --block-signal to start the program with SIGPIPE blocked";
    // Breadth-first search with 6 pieces would run for minutes: it stops at
    // its first progress lines instead, a full disk or a closed pipe alike.
    const std::string pipe = "; echo $? > status; } | head -c 10 > /dev/null";
    struct Case {
        std::string before;
        std::string after;
        std::string reason;
    };
    const Case cases[] = {
        {"timeout 20", "> /dev/full", "nao ha espaco livre no disco"},
        {"{ timeout 20 env --block-signal=PIPE", pipe, "o pipe foi fechado por quem o lia"},
    };
    for (const Case& c : cases) {
        const Outcome o = run("6 1 .", c.before, c.after);
        const int status = c.after == pipe ? std::stoi(readfile(dir_ / "status")) : o.status;
        EXPECT_EQ(status, 1) << c.reason;
        EXPECT_EQ(o.err, "hanoi: nao foi possivel escrever na saida padrao: " + c.reason + "\n");
    }
}

TEST_F(Program, OptionErrorsHaveTheirOwnStatus)
{
    struct Case {
        std::string arguments;
        std::string message;
    };
    const Case cases[] = {
        {"-x", "hanoi: opcao invalida: \"-x\": desconhecida (veja hanoi --help)\n"},
        {"-r0", "hanoi: opcao invalida: \"-r0\": N deve ser um inteiro positivo (veja hanoi "
                "--help)\n"},
        {"$(printf -- '-c\\033[2J')",
         "hanoi: opcao invalida: \"-c\\x1b[2J\": M deve ser um inteiro de 1 a 6 (veja hanoi "
         "--help)\n"},
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

TEST_F(Program, TextbookMethodOptionsAreCheckedBeforeAnything)
{
    const std::string bad = "hanoi: opcao invalida: ";
    const std::pair<std::string, std::string> cases[] = {
        {"--metodo=3", "\"--metodo=3\": use 0, 1, 2 ou um nome: astar, largura, guloso, "
                       "profundidade, aprofundamento, ida, bidirecional ou ponderado"},
        {"--metodo=ida,astar", "--metodo: varios metodos so com --comparar"},
        {"--pecas=16", "\"--pecas=16\": N deve ser um inteiro de 1 a 15"},
        {"--metodo=aprofundamento --limite=1000001",
         "\"--limite=1000001\": L deve ser um inteiro de 0 a 1000000"},
        {"--metodo=ida --limite=3",
         "--limite so vale com --metodo=profundidade ou --metodo=aprofundamento"},
        {"--metodo=ponderado --peso=1.255",
         "\"--peso=1.255\": W deve ser um decimal de 0.01 a 100, com no maximo duas casas"},
        {"--metodo=ponderado --peso=0", "\"--peso=0\": W deve ser um decimal de 0.01 a 100, com "
                                        "no maximo duas casas"},
        {"--peso=2", "--peso so vale com --metodo=ponderado"},
        {"--metodo=profundidade",
         "--metodo=profundidade: em arvore a busca em profundidade nunca termina neste problema "
         "(um caminho pode dar voltas para sempre); use --limite=L ou --grafo"},
        {"--comparar --pecas=3",
         "--comparar nao combina com --pecas nem com --saida (cada linha tem suas pecas)"},
    };
    for (const auto& [arguments, reason] : cases) {
        const Outcome o = run("3 0 .", "", arguments + " > stdout");
        EXPECT_EQ(o.status, 64) << arguments;
        EXPECT_EQ(o.err, bad + reason + " (veja hanoi --help)\n");
        EXPECT_EQ(o.out, "");
    }
}

TEST_F(Program, AnsweredQuestionsAreNotAsked)
{
    const std::string destination = prompts.substr(prompts.find("Digite"));
    const std::string opening = "5 pecas: Solucao otima 31 movimentos.\nPensando... \n";
    // Every question answered: nothing is read.
    const Outcome all = run("", "", "--pecas=5 --metodo=ida --saida=. > stdout");
    EXPECT_EQ(all.status, 0) << all.err;
    EXPECT_TRUE(all.out.starts_with(opening + "Encontrada solucao otima (31 movimentos):\n"))
        << all.out;
    // The other two asked as today.
    const Outcome two = run("5 .", "", "--metodo=bidirecional > stdout");
    EXPECT_EQ(two.status, 0) << two.err;
    EXPECT_TRUE(two.out.starts_with("Escolha o numero de pecas (1-15): \n" + destination + opening))
        << two.out;
    const Outcome one = run("1", "", "--pecas=3 --saida=. > stdout");
    EXPECT_EQ(one.status, 0) << one.err;
    EXPECT_TRUE(
        one.out.starts_with("Escolha o metodo (0 - A*, 1 - Largura, 2 - Guloso): \n3 pecas"))
        << one.out;
}

TEST_F(Program, NoSolutionWithinTheLimitsHasStatusFive)
{
    const Outcome cut =
        run("3 .", "", "--metodo=profundidade --limite=5 -e --csv=turma.csv > stdout");
    EXPECT_EQ(cut.status, 5);
    EXPECT_EQ(cut.err, "hanoi: nenhuma solucao ate o limite 5 (corte: havia estados alem dele)\n");
    const std::string row = readfile(dir_ / "turma.csv");
    EXPECT_NE(row.find("\nProfundidade,3,corte,,"), std::string::npos) << row;
    EXPECT_TRUE(row.ends_with(",5,,\n")) << row;
    // Iterative deepening up to the limit; then with room enough.
    const Outcome deep =
        run("", "", "--pecas=3 --metodo=aprofundamento --saida=. --limite=6 -e > stdout");
    EXPECT_EQ(deep.status, 5);
    EXPECT_NE(deep.out.find("Iteracoes: 7\nUltimo limite de profundidade: 6\n"), std::string::npos)
        << deep.out;
    const Outcome found =
        run("", "", "--pecas=3 --metodo=aprofundamento --saida=. --limite=7 -e --csv > stdout");
    EXPECT_EQ(found.status, 0);
    EXPECT_NE(found.out.find("\nAprofundamento,3,otima,7,"), std::string::npos) << found.out;
    EXPECT_TRUE(found.out.ends_with(",7,8,\n")) << found.out;
}

TEST_F(Program, TraceShowsEachIterationAndTheStack)
{
    const Outcome o =
        run("", "", "--pecas=2 --metodo=ida --saida=. -r3 --heuristica=zero > stdout");
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_NE(o.out.find("f = g + h; a pilha: o ultimo empilhado sai antes)\n"
                         "Iteracao 1: limite f <= 0\n#1  1:[1 0] 2:[] 3:[]  g=0 h=0 f=0  pilha=0\n"
                         "Iteracao 2: limite f <= 1\n#2  1:[1 0] 2:[] 3:[]  g=0 h=0 f=0  pilha=0\n"
                         "    1->3  1:[1] 2:[] 3:[0]  g=1 h=0 f=1\n"),
              std::string::npos)
        << o.out;
}

TEST_F(Program, ComparisonRunsTheMethodsGiven)
{
    const Outcome o = run("", "", "-c2 --metodo=ponderado,profundidade,largura --csv > stdout");
    EXPECT_EQ(o.status, 0) << o.err;
    std::istringstream rows(o.out);
    std::string row;
    std::vector<std::string> starts;
    std::getline(rows, row);
    while (std::getline(rows, row))
        starts.push_back(row.substr(0, row.find(',', row.find(',') + 1)) + "," +
                         row.substr(row.rfind(',') + 1));
    ASSERT_EQ(starts.size(), 19u);
    EXPECT_EQ(starts[0], "A* ponderado,1,2");
    EXPECT_EQ(starts[14], "A* ponderado,15,2");
    EXPECT_EQ(starts[15], "Profundidade,1,");
    EXPECT_EQ(starts[17], "Largura,1,");
    // Tree depth-first search without a limit stops at the comparison's limit.
    std::istringstream again(o.out);
    std::vector<std::string> depthfirst;
    while (std::getline(again, row))
        if (row.starts_with("Profundidade"))
            depthfirst.push_back(row);
    ASSERT_EQ(depthfirst.size(), 2u);
    EXPECT_TRUE(depthfirst[0].starts_with("Profundidade,1,otima,1,")) << depthfirst[0];
    EXPECT_TRUE(depthfirst[1].starts_with("Profundidade,2,interrompida,,5000000,"))
        << depthfirst[1];
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

TEST_F(Program, LabSetupIsCheckedOnceThePiecesAreKnown)
{
    struct Case {
        std::string input;
        std::string arguments;
        int status;
        std::string opening;  // the line after the dialogue, or the error
    };
    const Case cases[] = {
        {"3 1 .", "--inicio=31", 64,
         "hanoi: opcao invalida: --inicio=31: 2 digitos, mas as pecas sao 3; POS tem um digito "
         "por peca (veja hanoi --help)\n"},
        {"2 0 .", "--objetivo=111", 64,
         "hanoi: opcao invalida: --objetivo=111: 3 digitos, mas as pecas sao 2; POS tem um "
         "digito por peca (veja hanoi --help)\n"},
        {"3 2 .", "--objetivo=111", 64,
         "hanoi: opcao invalida: --objetivo=111: a heuristica padrao so vale para o objetivo com "
         "todas as pecas no pino 3; use --heuristica=zero, fora ou exata (veja hanoi --help)\n"},
        // Breadth-first search uses no estimate; the standard goal written out is the goal.
        {"3 1 .", "--objetivo=222", 0, "3 pecas: Solucao otima 7 movimentos.\n"},
        {"3 0 .", "--objetivo=333 --inicio=111", 0, "3 pecas: Solucao otima 7 movimentos.\n"},
        // The optimal length is the true distance between the two positions.
        {"3 1 .", "--inicio=312 --objetivo=123 --desempate=fila", 0,
         "3 pecas: Solucao otima 5 movimentos.\n"},
        {"4 0 .", "--inicio=3333 --heuristica=exata", 0, "4 pecas: Solucao otima 0 movimentos.\n"},
    };
    for (const Case& c : cases) {
        const Outcome o = run(c.input, "", c.arguments + " > stdout");
        SCOPED_TRACE(c.input + " " + c.arguments);
        EXPECT_EQ(o.status, c.status) << o.err;
        ASSERT_TRUE(o.out.starts_with(prompts));
        if (c.status != 0) {
            EXPECT_EQ(o.err, c.opening);
            EXPECT_EQ(o.out, prompts + "\n");
            continue;
        }
        EXPECT_TRUE(o.out.substr(prompts.size()).starts_with(c.opening)) << o.out;
        const Report report = parsereport(o.out);
        EXPECT_EQ(report.verdict, "otima");
        EXPECT_EQ(std::to_string(report.length) + " movimentos.\n",
                  c.opening.substr(c.opening.find("otima ") + 6));
    }
}

TEST_F(Program, GraphSearchTraceMarksTheDroppedStates)
{
    const Outcome o = run("3 1 .", "", "--grafo -r10 -e > stdout");
    EXPECT_EQ(o.status, 0);
    EXPECT_NE(o.out.find("#9  1:[2] 2:[] 3:[1 0]  g=3 h=7 f=10  fronteira=2\n"
                         "    1->2  1:[] 2:[2] 3:[1 0]  g=4 h=7 f=11\n"
                         "--  1:[2 0] 2:[1] 3:[]  g=4 h=7 f=11  fronteira=2  descartado\n"
                         "#10  1:[] 2:[1 0] 3:[2]  g=4 h=7 f=11  fronteira=1\n"),
              std::string::npos)
        << o.out;
    EXPECT_NE(o.out.find("Estados descartados (posicao ja examinada): "), std::string::npos);
}

TEST_F(Program, AnalysisNeedsNoAnswers)
{
    const Outcome o = run("", "", "--analisar=3 > stdout");
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(o.out,
              "Heuristica  Posicoes  Superestimadas  Maior excesso  Movimentos inconsistentes\n"
              "padrao            27               5              3                          2\n"
              "zero              27               0              0                          0\n"
              "fora              27               0              0                          0\n"
              "exata             27               0              0                          0\n");
    EXPECT_EQ(o.err, "");
}

TEST_F(Program, CsvFileCollectsOneRowARunUnderOneHeader)
{
    const std::string statistics =
        "metodo,pecas,resultado,movimentos,examinados,gerados,maior_fronteira,profundidade,"
        "ramificacao_efetiva,memoria_bytes,tempo_s,examinados_por_s,heuristica,desempate,grafo,"
        "descartados,penetrancia,limite,iteracoes,peso\n";
    const Outcome first = run("3 0 .", "", "-e --csv=turma.csv > stdout");
    const Outcome second =
        run("2 1 .", "", "-e --csv=turma.csv --grafo --desempate=pilha > stdout");
    EXPECT_EQ(first.status + second.status, 0) << first.err << second.err;
    // The CSV goes to the file alone; the screen keeps the report.
    EXPECT_TRUE(first.out.ends_with("Total de nos examinados (incluindo o final): 9\n"));
    const std::string text = readfile(dir_ / "turma.csv");
    ASSERT_TRUE(text.starts_with(statistics)) << text;
    std::istringstream rows(text.substr(statistics.size()));
    std::string row;
    std::vector<std::string> starts;
    while (std::getline(rows, row))
        starts.push_back(row.substr(0, row.find(',', row.find(',') + 1)));
    EXPECT_EQ(starts, (std::vector<std::string>{"A*,3", "Largura,2"}));
    EXPECT_NE(text.find(",,pilha,sim,"), std::string::npos) << text;
    // The analysis appends to an empty file with its own header.
    std::ofstream(dir_ / "analise.csv").close();
    EXPECT_EQ(run("", "", "--analisar=1 --csv=analise.csv > stdout").status, 0);
    EXPECT_EQ(readfile(dir_ / "analise.csv"),
              "heuristica,posicoes,superestimadas,maior_excesso,movimentos_inconsistentes\n"
              "padrao,3,0,0,0\nzero,3,0,0,0\nfora,3,0,0,0\nexata,3,0,0,0\n");
}

// Whatever a run meets (a file-size limit, a file cut short, another
// schema, the report's own name, a failed or closed standard output), the
// class file gets this run's row whole, on a line of its own, under one
// header of its own columns, or stays exactly as it was.
TEST_F(Program, CsvFileTakesWholeRowsUnderItsOwnHeaderOrStaysAsItWas)
{
    const std::string header =
        "metodo,pecas,resultado,movimentos,examinados,gerados,maior_fronteira,profundidade,"
        "ramificacao_efetiva,memoria_bytes,tempo_s,examinados_por_s,heuristica,desempate,grafo,"
        "descartados,penetrancia,limite,iteracoes,peso\n";
    const std::string row =
        "A*,3,otima,7,9,13,5,7,1.135153,264,0.000085,105758,padrao,heap,nao,0,0.78,,,\n";
    // A file begun before the textbook's methods added their three columns.
    const std::string seventeen = header.substr(0, header.find(",limite")) + "\n";
    std::string nearlimit = header;  // 1000 bytes take it, not another row
    while (nearlimit.size() + row.size() <= 1000)
        nearlimit += row;
    const std::string refused = "hanoi: nao foi possivel escrever o arquivo CSV \"turma.csv\": ";
    struct Case {
        std::string name;
        std::optional<std::string> before;  // the file's content; none: no file
        std::string input;
        std::string arguments;  // after the program, with its output's redirection
        int status;
        std::string err;
        std::optional<std::string> rowstart;  // the row appended; none: the file is unchanged
    };
    const Case cases[] = {
        {"new file", std::nullopt, "3 0 .", " > stdout", 0, "", "A*,3,otima,7,9,"},
        {"no last line end", header + "A*,3,ot", "3 0 .", " > stdout", 0, "", "A*,3,otima,7,9,"},
        {"file-size limit", nearlimit, "3 0 .", " > stdout", 1, refused + "arquivo grande demais\n",
         std::nullopt},
        {"analysis", header + row, "", " --analisar=3 > stdout", 1,
         refused + "o arquivo tem outras colunas; use um arquivo novo\n", std::nullopt},
        {"older header", header.substr(0, header.size() - 13) + "\n", "3 0 .", "", 1,
         refused + "o arquivo tem outras colunas; use um arquivo novo\n", std::nullopt},
        {"seventeen columns", seventeen + row.substr(0, row.size() - 4) + "\n", "3 0 .", "", 1,
         refused + "o arquivo tem outras colunas; use um arquivo novo\n", std::nullopt},
        {"report of the same name", header, "3 0 turma.csv", " > stdout", 1,
         "hanoi: nao foi possivel escrever o arquivo de saida \"turma.csv\": e o mesmo arquivo "
         "de --csv; use outro nome\n",
         std::nullopt},
        {"report through a hard link", header + row, "3 0 elo.csv", " > stdout", 1,
         "hanoi: nao foi possivel escrever o arquivo de saida \"elo.csv\": e o mesmo arquivo "
         "de --csv; use outro nome\n",
         std::nullopt},
        {"new file as the report", std::nullopt, "3 0 turma.csv", " > stdout", 1,
         "hanoi: nao foi possivel escrever o arquivo de saida \"turma.csv\": e o mesmo arquivo "
         "de --csv; use outro nome\n",
         std::nullopt},
        {"standard output full", header, "15 1 .", " > /dev/full", 1,
         "hanoi: nao foi possivel escrever na saida padrao: nao ha espaco livre no disco\n",
         "Largura,15,interrompida,,100000,"},
        {"standard output and error closed", std::nullopt, "3 0 falta/r.txt", " >&- 2>&-", 1, "",
         "A*,3,otima,7,9,"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path file = dir_ / "turma.csv";
        fs::remove(file);
        fs::remove(dir_ / "elo.csv");
        if (c.before) {
            std::ofstream(file, std::ios::binary) << *c.before;
            fs::create_hard_link(file, dir_ / "elo.csv");
        }
        const std::string limit = c.name == "file-size limit" ? "prlimit --fsize=1000" : "";
        const std::string options = c.input.empty() ? "" : " -e";
        const Outcome o = run(c.input, limit, options + " --csv=turma.csv" + c.arguments);
        EXPECT_EQ(o.status, c.status);
        EXPECT_EQ(o.err, c.err);
        const std::string after = readfile(file);
        if (!c.rowstart) {
            EXPECT_EQ(after, c.before.value_or("")) << after;
            continue;
        }
        const std::string kept = c.before ? *c.before : header;
        const std::string start =
            kept.ends_with('\n') ? kept : kept + "\n";  // the row's line of its own
        ASSERT_TRUE(after.starts_with(start)) << after;
        EXPECT_TRUE(after.substr(start.size()).starts_with(*c.rowstart)) << after;
        EXPECT_EQ(std::count(after.begin() + static_cast<std::ptrdiff_t>(start.size()), after.end(),
                             '\n'),
                  1)
            << after;
        EXPECT_TRUE(after.ends_with('\n'));
    }
}

// The header goes with the first row written, not with the first run that
// opened the file: a run that opened a new file while another was still
// searching adds no second header.
TEST_F(Program, CsvHeaderIsDecidedWhenTheRowIsWritten)
{
    std::ofstream(dir_ / "input3") << "3 0 .\n";
    std::ofstream(dir_ / "input4") << "4 1 .\n";
    // The first run's trace fills the pipe, whose reader waits a second.
    const std::string command =
        "cd '" + dir_.string() +
        "' && { ('" HANOI_BINARY "' -e -r100000 --csv=t.csv < input4 | (sleep 1; cat > /dev/null)) "
        "& sleep 0.3; '" HANOI_BINARY "' -e --csv=t.csv < input3 > /dev/null; wait; }";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const std::string text = readfile(dir_ / "t.csv");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 3) << text;
    EXPECT_EQ(text.find("metodo,", 1), std::string::npos) << text;
}

TEST_F(Program, CsvFileThatCannotBeOpenedStopsBeforeTheSearch)
{
    struct Case {
        std::string arguments;
        std::string name;
        std::string reason;
    };
    const Case cases[] = {
        {"-e --csv=falta/x.csv", "falta/x.csv", "arquivo ou pasta inexistente"},
        {"-e --csv=.", ".", "e uma pasta"},
        {"-c1 --csv=falta/x.csv", "falta/x.csv", "arquivo ou pasta inexistente"},
    };
    for (const Case& c : cases) {
        const Outcome o = run("3 0 .", "", c.arguments + " > stdout");
        EXPECT_EQ(o.status, 1) << c.arguments;
        EXPECT_EQ(o.err, "hanoi: nao foi possivel escrever o arquivo CSV \"" + c.name +
                             "\": " + c.reason + "\n");
        EXPECT_EQ(o.out.find("Pensando"), std::string::npos);
    }
    // A pipe with no reader fails at once instead of waiting for one.
    ASSERT_EQ(::mkfifo((dir_ / "fila").c_str(), 0600), 0);
    const Outcome o = run("3 0 .", "", "-e --csv=fila > stdout");
    EXPECT_EQ(o.status, 1);
    EXPECT_TRUE(o.err.starts_with("hanoi: nao foi possivel escrever o arquivo CSV \"fila\": "))
        << o.err;
}

}  // namespace
