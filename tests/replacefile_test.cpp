#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "replacefile.h"

namespace {

namespace fs = std::filesystem;

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
// the file with it, and so the target a dangling link was to make; the old
// file stays as it was.
TEST_F(Replace, SignalDuringTheWriteLeavesNoTemporaryFile)
{
    const fs::path report = dir_ / "relatorio.txt";
    fs::create_symlink("alvo.txt", dir_ / "elo");
    const int signals[] = {SIGINT,  SIGTERM, SIGHUP,    SIGQUIT, SIGUSR1, SIGUSR2,
                           SIGALRM, SIGXCPU, SIGVTALRM, SIGPROF, SIGPIPE, SIGRTMIN};
    const auto raiseduringwrite = [&](const std::string& name, int signal) {
        const rlimit nocore{0, 0};  // SIGQUIT and SIGXCPU would dump one
        ::setrlimit(RLIMIT_CORE, &nocore);
        replacefile((dir_ / name).string(), [&](std::ostream& out) {
            out << "metade" << std::flush;
            std::raise(signal);
        });
    };
    for (const int signal : signals) {
        for (const std::string name : {"relatorio.txt", "elo"}) {
            std::ofstream(report) << "antigo\n";
            EXPECT_EXIT(raiseduringwrite(name, signal), ::testing::KilledBySignal(signal), "")
                << signal << ' ' << name;
            EXPECT_EQ(contents(report), "antigo\n");
            EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 2)
                << signal << ' ' << name;
        }
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
