#include "memory.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#if defined(__EMSCRIPTEN__)
#include <emscripten/heap.h>
#endif

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

namespace {

// Values at or beyond this mean "no limit" (cgroup v1 writes 2^63 rounded to
// a page).
constexpr std::uint64_t nolimit = std::uint64_t{1} << 60;

// Room kept free besides a sixteenth of it: for what the run allocates
// outside the search's own records (the report, the streams' buffers, the
// allocator's bookkeeping and the stack).
constexpr std::uint64_t marginfloor = std::uint64_t{2} << 20;

std::vector<std::string_view> split(std::string_view text, char separator)
{
    std::vector<std::string_view> parts;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find(separator, start), text.size());
        parts.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

std::optional<std::uint64_t> leadingnumber(std::string_view text)
{
    const std::size_t start = text.find_first_not_of(" \t");
    if (start == text.npos)
        return std::nullopt;
    std::uint64_t value = 0;
    const auto [end, error] =
        std::from_chars(text.data() + start, text.data() + text.size(), value);
    if (error != std::errc{})
        return std::nullopt;
    return value;
}

std::optional<std::uint64_t> room(std::optional<std::uint64_t> limit,
                                  std::optional<std::uint64_t> used)
{
    if (!limit)
        return std::nullopt;
    const std::uint64_t taken = used.value_or(0);
    return *limit > taken ? *limit - taken : 0;
}

// The limits the system sets this process; WebAssembly has none of them.
#if !defined(__EMSCRIPTEN__)

// Reads the files the room is worked out from, and remembers whether one
// could not even be opened for want of a free descriptor.
class Files {
public:
    // The whole file, or nothing when it cannot be read.
    std::optional<std::string> read(const std::filesystem::path& path)
    {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            shortofdescriptors_ = shortofdescriptors_ || errno == EMFILE;
            return std::nullopt;
        }
        std::string text;
        char buffer[4096];
        ssize_t got = 0;
        do {
            got = ::read(fd, buffer, sizeof buffer);
            if (got > 0)
                text.append(buffer, static_cast<std::size_t>(got));
        } while (got > 0 || (got < 0 && errno == EINTR));
        ::close(fd);
        if (got < 0)
            return std::nullopt;
        return text;
    }

    bool shortofdescriptors() const { return shortofdescriptors_; }

private:
    bool shortofdescriptors_ = false;
};

std::optional<std::uint64_t> softlimit(int resource)
{
    rlimit limit{};
    if (::getrlimit(resource, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
        return std::nullopt;
    return limit.rlim_cur;
}

// The first of the folders that holds `file`, read as a cgroup value.
std::optional<std::uint64_t> cgroupfile(Files& files, const std::string& mount,
                                        std::optional<std::string_view> path,
                                        const std::string& file)
{
    // Inside a cgroup namespace the process's own cgroup is the mount's root.
    for (const std::string& folder : {mount + std::string(path.value_or("")), mount}) {
        if (const std::optional<std::string> text =
                files.read(std::filesystem::path(folder) / file))
            return cgroupvalue(*text);
    }
    return std::nullopt;
}

std::optional<std::uint64_t> cgrouproom(Files& files)
{
    const std::optional<std::string> text = files.read("/proc/self/cgroup");
    if (!text)
        return std::nullopt;
    const CgroupPaths paths = cgrouppaths(*text);
    if (paths.unified) {
        if (const auto limit = cgroupfile(files, "/sys/fs/cgroup", paths.unified, "memory.max"))
            return room(limit,
                        cgroupfile(files, "/sys/fs/cgroup", paths.unified, "memory.current"));
    }
    if (paths.memory) {
        const std::string mount = "/sys/fs/cgroup/memory";
        if (const auto limit = cgroupfile(files, mount, paths.memory, "memory.limit_in_bytes"))
            return room(limit, cgroupfile(files, mount, paths.memory, "memory.usage_in_bytes"));
    }
    return std::nullopt;
}

MemoryRoom readroom(Files& files)
{
    const std::string status = files.read("/proc/self/status").value_or("");
    const std::string meminfo = files.read("/proc/meminfo").value_or("");
    return {
        room(softlimit(RLIMIT_AS), kilobytefield(status, "VmSize")),
        room(softlimit(RLIMIT_DATA), kilobytefield(status, "VmData")),
        cgrouproom(files),
        kilobytefield(meminfo, "MemAvailable"),
        kilobytefield(status, "VmRSS"),
    };
}

/*
 * The room as a child process reads it, for a process with no descriptor
 * free: the child's descriptors are its own copies, so it may close its
 * standard ones and read. It shares this process's cgroup and limits, and
 * right after the fork its sizes too. Nothing when it cannot be run.
 */
std::optional<MemoryRoom> readroominchild()
{
    static_assert(std::is_trivially_copyable_v<MemoryRoom>);
    void* const shared = ::mmap(nullptr, sizeof(MemoryRoom), PROT_READ | PROT_WRITE,
                                MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    if (shared == MAP_FAILED)
        return std::nullopt;
    std::optional<MemoryRoom> room;
    const pid_t child = ::fork();
    if (child == 0) {
        for (const int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO})
            ::close(fd);
        Files files;
        const MemoryRoom read = readroom(files);
        std::memcpy(shared, &read, sizeof read);
        ::_exit(files.shortofdescriptors() ? 1 : 0);
    }
    int status = 0;
    while (child > 0 && ::waitpid(child, &status, 0) < 0 && errno == EINTR) { }
    if (child > 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0) {
        room.emplace();
        std::memcpy(&*room, shared, sizeof(MemoryRoom));
    }
    ::munmap(shared, sizeof(MemoryRoom));
    return room;
}

#endif

}  // namespace

namespace {

// The bytes held at which the room is next read, after a reading at `held`
// that left `budget`.
std::uint64_t nextreading(std::uint64_t held, std::uint64_t budget)
{
#if defined(__EMSCRIPTEN__)
    (void)budget;
    return held;
#else
    return held + (budget > held ? budget - held : 0) / 16;
#endif
}

}  // namespace

MemoryBudget::MemoryBudget(std::uint64_t bytes, RoomReader reread)
    : bytes_(bytes)
    , nextread_(reread ? nextreading(0, bytes) : UINT64_MAX)
    , reread_(std::move(reread))
{
}

void MemoryBudget::lowerbytheroom(std::uint64_t held)
{
    MemoryRoom room = reread_();
    const std::uint64_t resident = room.resident.value_or(held);
    if (!residentbesides_)
        residentbesides_ = resident > held ? resident - held : 0;
    const std::uint64_t touched =
        std::min(held, resident > *residentbesides_ ? resident - *residentbesides_ : 0);
    const auto giveback = [](std::optional<std::uint64_t>& source, std::uint64_t bytes) {
        if (source)
            *source += std::min(bytes, unlimitedmemory - *source);
    };
    giveback(room.addressspace, held);
    giveback(room.datasegment, held);
    giveback(room.cgroup, touched);
    giveback(room.available, touched);
    bytes_ = std::min(bytes_, memorybudget(room));
    nextread_ = nextreading(held, bytes_);
}

std::uint64_t memorybudget(const MemoryRoom& room)
{
    std::uint64_t smallest = unlimitedmemory;
    for (const std::optional<std::uint64_t>& source :
         {room.addressspace, room.datasegment, room.cgroup, room.available})
        if (source)
            smallest = std::min(smallest, *source);
    if (smallest == unlimitedmemory)
        return unlimitedmemory;
    const std::uint64_t margin = std::max(smallest / 16, marginfloor);
    return smallest > margin ? smallest - margin : 0;
}

#if defined(__EMSCRIPTEN__)

// WebAssembly has neither /proc nor limits of its own: the room is what the
// heap may still grow to, up to the largest the module allows.
MemoryRoom readmemoryroom()
{
    const auto used = reinterpret_cast<std::uintptr_t>(::sbrk(0));
    return {std::nullopt, std::nullopt, std::nullopt, room(emscripten_get_heap_max(), used)};
}

#else

MemoryRoom readmemoryroom()
{
    Files files;
    const MemoryRoom room = readroom(files);
    if (!files.shortofdescriptors())
        return room;
    return readroominchild().value_or(room);
}

#endif

std::optional<std::uint64_t> kilobytefield(std::string_view text, std::string_view key)
{
    for (const std::string_view row : split(text, '\n')) {
        if (!row.starts_with(key) || !row.substr(key.size()).starts_with(':'))
            continue;
        const std::optional<std::uint64_t> kilobytes = leadingnumber(row.substr(key.size() + 1));
        if (kilobytes && *kilobytes < nolimit / 1024)
            return *kilobytes * 1024;
        return std::nullopt;
    }
    return std::nullopt;
}

std::optional<std::uint64_t> cgroupvalue(std::string_view text)
{
    const std::optional<std::uint64_t> value = leadingnumber(text);
    if (!value || *value >= nolimit)
        return std::nullopt;
    return value;
}

CgroupPaths cgrouppaths(std::string_view text)
{
    CgroupPaths paths;
    for (const std::string_view row : split(text, '\n')) {
        // hierarchy-id:controller-list:path
        const std::size_t first = row.find(':');
        const std::size_t second = first == row.npos ? row.npos : row.find(':', first + 1);
        if (second == row.npos)
            continue;
        const std::string_view controllers = row.substr(first + 1, second - first - 1);
        const std::string_view path = row.substr(second + 1);
        if (row.substr(0, first) == "0" && controllers.empty())
            paths.unified = path;
        for (const std::string_view controller : split(controllers, ','))
            if (controller == "memory")
                paths.memory = path;
    }
    return paths;
}
