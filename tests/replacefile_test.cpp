#include <gtest/gtest.h>

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
