/*
 * How much memory a search may take. The budget is the smallest room left
 * under each limit that applies to this process, less a safety margin:
 *  - the soft RLIMIT_AS less the current virtual size,
 *  - the soft RLIMIT_DATA less the current data size,
 *  - the memory cgroup's limit less its current usage (v2 memory.max, or v1
 *    memory.limit_in_bytes),
 *  - MemAvailable from /proc/meminfo.
 * A source that is missing or unlimited is skipped; with none at all the
 * budget is unlimited.
 */
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

struct MemoryRoom {
    std::optional<std::uint64_t> addressspace;
    std::optional<std::uint64_t> datasegment;
    std::optional<std::uint64_t> cgroup;
    std::optional<std::uint64_t> available;
    // Not a room: this process's memory in RAM (VmRSS), which the cgroup and
    // MemAvailable count, where the limits count what it maps.
    std::optional<std::uint64_t> resident = std::nullopt;
};

inline constexpr std::uint64_t unlimitedmemory = UINT64_MAX;

// The smallest room less a margin: 1/16 of that room, and at least 2 MiB
// (never below zero).
std::uint64_t memorybudget(const MemoryRoom& room);

/*
 * A search's budget as the room moves: other runs in the same cgroup, or on
 * the same machine, take their share of it while this one searches. The
 * room is read again (`reread`) whenever the bytes the search holds have
 * grown by a sixteenth of what was left in the budget at the last reading,
 * so more often as the room closes; and in WebAssembly at every check,
 * where reading costs nothing and the heap's room shrinks faster than the
 * search's arrays grow (realloc leaves the old blocks' holes behind). The
 * room read already counts what the search holds: the bytes it maps under
 * the limits, and in the cgroup and MemAvailable those in RAM (what its
 * resident memory grew by since the first reading, where it was counted
 * from the bytes held then), mapped pages not touched yet costing nothing
 * there. With those given back, the budget is memorybudget of that room, as
 * at the start; it never grows back.
 */
class MemoryBudget {
public:
    using RoomReader = std::function<MemoryRoom()>;

    // `bytes`: the budget at the start; no `reread`: it stays as it is.
    MemoryBudget(std::uint64_t bytes, RoomReader reread);

    // Whether the search may come to hold `needed` bytes; reads the room
    // again first when it is due. `held()` gives the bytes the search holds
    // now, never more than `needed`: asked only when a reading may be due.
    template <class Held>
    bool allows(std::uint64_t needed, const Held& held)
    {
        if (needed >= nextread_) [[unlikely]] {
            const std::uint64_t now = held();
            if (now >= nextread_)
                lowerbytheroom(now);
        }
        return needed <= bytes_;
    }

private:
    // Reads the room again, the search holding `held` bytes, and lowers the
    // budget to it.
    void lowerbytheroom(std::uint64_t held);

    std::uint64_t bytes_;
    // The bytes held at which the room is read again; never without `reread_`.
    std::uint64_t nextread_;
    RoomReader reread_;
    // Resident memory that is not the search's: from the first reading on.
    std::optional<std::uint64_t> residentbesides_;
};

// Reads the limits and usage of this process from the system. The files
// they come from need a descriptor each: with none free (a low
// RLIMIT_NOFILE), a short-lived child process reads them instead.
MemoryRoom readmemoryroom();

// A "Key:   1234 kB" field of /proc/meminfo or /proc/self/status, in bytes.
std::optional<std::uint64_t> kilobytefield(std::string_view text, std::string_view key);

// A cgroup limit or usage file's value; nothing for "max" or a value so large
// it means no limit.
std::optional<std::uint64_t> cgroupvalue(std::string_view text);

// From /proc/self/cgroup: the unified (v2) path, and the v1 memory path.
struct CgroupPaths {
    std::optional<std::string_view> unified;
    std::optional<std::string_view> memory;
};
CgroupPaths cgrouppaths(std::string_view text);
