#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "memory.h"

namespace {

constexpr std::uint64_t mib = 1u << 20;

TEST(Memory, BudgetIsTheSmallestRoomLessAMargin)
{
    struct Case {
        MemoryRoom room;
        std::uint64_t budget;
    };
    const Case cases[] = {
        {{}, unlimitedmemory},
        {{1024 * mib, {}, {}, {}}, 1024 * mib - 64 * mib},
        {{{}, {}, {}, 16 * mib}, 14 * mib},
        {{{}, {}, {}, 2 * mib}, 0},
        {{{}, 4096 * mib, 512 * mib, 8192 * mib}, 512 * mib - 32 * mib},
        {{2048 * mib, 2048 * mib, {}, 1600 * mib}, 1600 * mib - 100 * mib},
        // Below 32 MiB a sixteenth is less than the floor of 2 MiB.
        {{{}, 24 * mib, {}, {}}, 22 * mib},
        {{{}, 40 * mib, {}, {}}, 40 * mib - 40 * mib / 16},
    };
    for (const Case& c : cases)
        EXPECT_EQ(memorybudget(c.room), c.budget) << &c - cases;
}

// Two searches in one memory cgroup, started together so that each first
// claims the whole room, then growing in turn as a search's arrays do (an
// eighth at a time): reading the room as they grow, both stop within the
// limit, where the kernel would have killed one of them.
TEST(Memory, RunsThatShareTheRoomBothStopWithinIt)
{
    constexpr std::uint64_t start = 8 * mib;  // each program's own, before its search
    for (const std::uint64_t limit : {400 * mib, 1024 * mib, 4096 * mib}) {
        // What each search holds; the last eighth it grew by is mapped but
        // not yet in RAM, and so not yet counted in the cgroup.
        std::array<std::uint64_t, 2> held{};
        std::array<std::uint64_t, 2> touched{};
        const auto room = [&](std::size_t run) {
            return [&, run] {
                return MemoryRoom{
                    {}, {}, limit - 2 * start - touched[0] - touched[1], {}, start + touched[run]};
            };
        };
        std::array<MemoryBudget, 2> budgets{MemoryBudget(memorybudget(room(0)()), room(0)),
                                            MemoryBudget(memorybudget(room(1)()), room(1))};
        std::array<bool, 2> stopped{};
        while (!stopped[0] || !stopped[1]) {
            for (std::size_t run = 0; run < 2; ++run) {
                const std::uint64_t needed = held[run] + std::max(held[run] / 8, 2 * mib);
                if (stopped[run] || !budgets[run].allows(needed, [&] { return held[run]; })) {
                    stopped[run] = true;
                } else {
                    touched[run] = held[run];
                    held[run] = needed;
                }
                ASSERT_LE(2 * start + held[0] + held[1], limit) << limit / mib << " MiB";
            }
        }
        // Neither stopped early: the room left is under a growth of each.
        EXPECT_GT(2 * start + held[0] + held[1], limit - limit / 4) << limit / mib << " MiB";
    }
}

TEST(Memory, KilobyteFields)
{
    const std::string meminfo =
        "MemTotal:       24576000 kB\nMemFree:        20000000 kB\nMemAvailable:   24415184 kB\n";
    const std::string status =
        "Name:\thanoi\nVmPeak:\t   10000 kB\nVmSize:\t    8192 kB\nVmData:\t 1024 kB";
    EXPECT_EQ(kilobytefield(meminfo, "MemAvailable"), 24415184ull * 1024);
    EXPECT_EQ(kilobytefield(meminfo, "MemTotal"), 24576000ull * 1024);
    EXPECT_EQ(kilobytefield(status, "VmSize"), 8192ull * 1024);
    EXPECT_EQ(kilobytefield(status, "VmData"), 1024ull * 1024);
    EXPECT_EQ(kilobytefield(status, "Vm"), std::nullopt);
    EXPECT_EQ(kilobytefield(meminfo, "SwapFree"), std::nullopt);
    EXPECT_EQ(kilobytefield("MemAvailable: lots\n", "MemAvailable"), std::nullopt);
    EXPECT_EQ(kilobytefield("", "MemAvailable"), std::nullopt);
}

TEST(Memory, CgroupValues)
{
    EXPECT_EQ(cgroupvalue("1073741824\n"), 1073741824u);
    EXPECT_EQ(cgroupvalue("max\n"), std::nullopt);
    EXPECT_EQ(cgroupvalue("9223372036854771712\n"), std::nullopt);
    EXPECT_EQ(cgroupvalue(""), std::nullopt);
}

TEST(Memory, CgroupPaths)
{
    const CgroupPaths hybrid = cgrouppaths(
        "9:name=systemd:/\n4:memory:/process_api/d71b\n2:cpu,cpuacct:/\n0::/user.slice\n");
    EXPECT_EQ(hybrid.unified, "/user.slice");
    EXPECT_EQ(hybrid.memory, "/process_api/d71b");
    const CgroupPaths unified = cgrouppaths("0::/system.slice/hanoi.service\n");
    EXPECT_EQ(unified.unified, "/system.slice/hanoi.service");
    EXPECT_EQ(unified.memory, std::nullopt);
    const CgroupPaths joined = cgrouppaths("5:cpuset,memory,pids:/box\n");
    EXPECT_EQ(joined.memory, "/box");
    EXPECT_EQ(joined.unified, std::nullopt);
    const CgroupPaths broken = cgrouppaths("garbage\n3:memory\n");
    EXPECT_EQ(broken.memory, std::nullopt);
}

}  // namespace
