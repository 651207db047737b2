#include "replacefile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <optional>
#include <ostream>
#include <string_view>
#include <utility>
#include <vector>

#include "output.h"

namespace {

// The longest name the system takes (PATH_MAX).
constexpr std::size_t maxname = 4096;

// New names tried for the temporary file before giving up: with 64 random
// bits a name, a second try is already a rarity.
constexpr int tempattempts = 100;

// A descriptor opened here, closed when it goes.
class Descriptor {
public:
    Descriptor() = default;
    explicit Descriptor(int fd)
        : fd_(fd)
    {
    }
    ~Descriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(Descriptor&& other) noexcept
        : fd_(std::exchange(other.fd_, -1))
    {
    }
    Descriptor& operator=(Descriptor&& other) noexcept
    {
        std::swap(fd_, other.fd_);
        return *this;
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }

    // Closes it now, for the error close may report.
    int close()
    {
        const int fd = std::exchange(fd_, -1);
        return ::close(fd) == 0 ? 0 : errno;
    }
    // Hands the descriptor over to a new owner.
    int release() { return std::exchange(fd_, -1); }

private:
    int fd_ = -1;
};

bool samefile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Every signal whose default action ends the process and that a handler can
// catch (all but SIGKILL and SIGSTOP), the real-time ones included.
sigset_t endingsignals()
{
    constexpr int classic[] = {SIGHUP,  SIGINT,  SIGQUIT,   SIGILL,  SIGTRAP, SIGABRT,
                               SIGBUS,  SIGFPE,  SIGUSR1,   SIGSEGV, SIGUSR2, SIGPIPE,
                               SIGALRM, SIGTERM, SIGSTKFLT, SIGXCPU, SIGXFSZ, SIGVTALRM,
                               SIGPROF, SIGIO,   SIGPWR,    SIGSYS};
    sigset_t ending;
    sigemptyset(&ending);
    for (const int signal : classic)
        sigaddset(&ending, signal);
    for (int signal = SIGRTMIN; signal <= SIGRTMAX; ++signal)
        sigaddset(&ending, signal);
    return ending;
}

// A name this run made and means to remove, for the signal handler: the
// folder's descriptor and the name in it; no name when none. Changed only
// while the ending signals are held back.
struct Doomed {
    std::atomic<int> folder{-1};
    std::atomic<const char*> name{nullptr};
};
static_assert(std::atomic<int>::is_always_lock_free);
static_assert(std::atomic<const char*>::is_always_lock_free);

// The temporary file, and a target made through a link until it is complete.
enum Slot : std::size_t { tempslot, targetslot };
std::array<Doomed, 2> doomed;

// Installed with SA_RESETHAND over a default action: once it returns, the
// signal it raised again is delivered with that default action and ends the
// process as it would have. Only async-signal-safe calls here.
void removeandreraise(int signal)
{
    for (const Doomed& slot : doomed)
        if (const char* name = slot.name.load())
            ::unlinkat(slot.folder.load(), name, 0);
    ::raise(signal);
}

// Holds back the ending signals while a name and its entry for the handler
// change together.
class SignalsHeld {
public:
    SignalsHeld()
    {
        const sigset_t held = endingsignals();
        sigprocmask(SIG_BLOCK, &held, &saved_);
    }
    ~SignalsHeld() { sigprocmask(SIG_SETMASK, &saved_, nullptr); }
    SignalsHeld(const SignalsHeld&) = delete;
    SignalsHeld& operator=(const SignalsHeld&) = delete;

private:
    sigset_t saved_;
};

// While it lives, every ending signal left at its default action removes the
// doomed names before it ends the process. A signal the process ignores or
// handles itself is left as it is.
class CleanupOnSignals {
public:
    CleanupOnSignals()
    {
        struct sigaction cleanup { };
        cleanup.sa_handler = removeandreraise;
        cleanup.sa_flags = SA_RESETHAND;
        sigfillset(&cleanup.sa_mask);
        const sigset_t ending = endingsignals();
        sigemptyset(&installed_);
        for (int signal = 1; signal < NSIG; ++signal) {
            struct sigaction current { };
            if (sigismember(&ending, signal) == 1 && sigaction(signal, nullptr, &current) == 0 &&
                current.sa_handler == SIG_DFL && sigaction(signal, &cleanup, nullptr) == 0)
                sigaddset(&installed_, signal);
        }
    }
    ~CleanupOnSignals()
    {
        struct sigaction standard { };
        standard.sa_handler = SIG_DFL;
        for (int signal = 1; signal < NSIG; ++signal)
            if (sigismember(&installed_, signal) == 1)
                sigaction(signal, &standard, nullptr);
    }
    CleanupOnSignals(const CleanupOnSignals&) = delete;
    CleanupOnSignals& operator=(const CleanupOnSignals&) = delete;

private:
    sigset_t installed_;
};

// A name made in a folder, removed again when this goes (or by an ending
// signal before then) unless it is kept. The folder's descriptor must stay
// open while the name is tracked.
class Transient {
public:
    explicit Transient(Doomed& slot)
        : slot_(slot)
    {
    }
    ~Transient()
    {
        const SignalsHeld held;
        if (slot_.name.load())
            ::unlinkat(slot_.folder.load(), name_.c_str(), 0);
        slot_.name = nullptr;
    }
    Transient(const Transient&) = delete;
    Transient& operator=(const Transient&) = delete;

    // Call with the ending signals held, right after the name was made.
    void track(int folder, std::string name)
    {
        name_ = std::move(name);
        slot_.folder = folder;
        slot_.name = name_.c_str();
    }
    void keep()
    {
        const SignalsHeld held;
        slot_.name = nullptr;
    }
    const std::string& name() const { return name_; }

private:
    Doomed& slot_;
    std::string name_;
};

// A name nobody can guess: 64 random bits. Without a source of randomness the
// clock and the process number stand in; a taken name then only costs a try.
std::string tempname()
{
    std::uint64_t bits = 0;
#if defined(__EMSCRIPTEN__)
    // WebAssembly's C library has getentropy, which never blocks there, but
    // no getrandom.
    const bool random = ::getentropy(&bits, sizeof bits) == 0;
#else
    const bool random =
        ::getrandom(&bits, sizeof bits, GRND_NONBLOCK) == static_cast<ssize_t>(sizeof bits);
#endif
    if (!random) {
        timespec now{};
        ::clock_gettime(CLOCK_MONOTONIC, &now);
        bits = (static_cast<std::uint64_t>(now.tv_nsec) * 0x9e3779b97f4a7c15u) ^
               static_cast<std::uint64_t>(now.tv_sec) ^
               static_cast<std::uint64_t>(::getpid()) << 40;
    }
    char name[32];
    std::snprintf(name, sizeof name, ".hanoi-%016llx.tmp", static_cast<unsigned long long>(bits));
    return name;
}

// The kernel's rule for sticky folders (fs.protected_symlinks): a link in a
// sticky folder that others may write is followed only by its owner, or when
// it belongs to the folder's owner. A folder its group may write is as
// shared as one anyone may write: a class's folder, where every student can
// plant a link.
bool mayfollow(const struct stat& folder, const struct stat& link)
{
    const bool shared =
        (folder.st_mode & S_ISVTX) != 0 && (folder.st_mode & (S_IWOTH | S_IWGRP)) != 0;
    return !shared || link.st_uid == ::geteuid() || link.st_uid == folder.st_uid;
}

// The components of a path, empty ones (from repeated slashes) left out; a
// final slash adds ".", so that the last component is the folder itself.
std::vector<std::string> componentsof(std::string_view path)
{
    std::vector<std::string> components;
    for (std::size_t start = 0; start < path.size();) {
        const std::size_t end = std::min(path.find('/', start), path.size());
        if (end > start)
            components.emplace_back(path.substr(start, end - start));
        start = end + 1;
    }
    if (path.ends_with('/'))
        components.emplace_back(".");
    return components;
}

// Where a name leads: the folder that holds its last component, that
// component, and the file there, if any.
struct Place {
    Descriptor folder;  // opened with O_PATH
    std::string name;
    Descriptor file;  // O_PATH; not valid when nothing is there (yet)
    struct stat status { };  // of `file`
    bool throughlink = false;  // `name` is a link, followed to `file`
};

// Opens `component` of `folder` with O_PATH. A link there is followed by
// the kernel, and only when the sticky rule allows it; `link` says whether
// it was one (also when it leads nowhere and ENOENT comes back).
int lookup(int folder, const std::string& component, Descriptor& found, bool& link)
{
    Descriptor entry(::openat(folder, component.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
    struct stat status { };
    if (!entry.valid() || ::fstat(entry.get(), &status) != 0)
        return errno;
    link = S_ISLNK(status.st_mode);
    if (!link) {
        found = std::move(entry);
        return 0;
    }
    struct stat folderstatus { };
    if (::fstat(folder, &folderstatus) != 0)
        return errno;
    if (!mayfollow(folderstatus, status))
        return untrustedlink;
    found = Descriptor(::openat(folder, component.c_str(), O_PATH | O_CLOEXEC));
    return found.valid() ? 0 : errno;
}

// Looks `path` up one component at a time from the root or the working
// folder. A missing last component is no error: `place.file` is then not
// valid.
int walk(std::string_view path, Place& place)
{
    std::vector<std::string> components = componentsof(path);
    if (components.empty())
        return ENOENT;
    Descriptor folder(::open(path.starts_with('/') ? "/" : ".", O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (!folder.valid())
        return errno;
    place.name = std::move(components.back());
    components.pop_back();
    for (const std::string& component : components) {
        Descriptor next;
        bool link = false;
        if (const int error = lookup(folder.get(), component, next, link))
            return error;
        folder = std::move(next);
    }
    place.folder = std::move(folder);
    const int error = lookup(place.folder.get(), place.name, place.file, place.throughlink);
    if (error == ENOENT)
        return 0;
    if (error != 0)
        return error;
    return ::fstat(place.file.get(), &place.status) == 0 ? 0 : errno;
}

// The folder and name under which the kernel finds the file `fd` refers to:
// the kernel's own name for it, looked up again without following any link
// and checked to be the same file. For the target of a link.
int locate(int fd, const struct stat& status, Place& where)
{
    const std::string own = "/proc/self/fd/" + std::to_string(fd);
    std::string path(maxname + 1, '\0');
    const ssize_t length = ::readlink(own.c_str(), path.data(), path.size());
    if (length < 0)
        return errno;
    if (static_cast<std::size_t>(length) > maxname)
        return ENAMETOOLONG;
    path.resize(static_cast<std::size_t>(length));
    std::vector<std::string> components = componentsof(path);
    // Not a name in this file system (a file removed since, or outside the
    // process's root).
    if (!path.starts_with('/') || components.empty())
        return ENOENT;
    Descriptor folder(::open("/", O_PATH | O_DIRECTORY | O_CLOEXEC));
    for (std::size_t i = 0; i + 1 < components.size() && folder.valid(); ++i)
        folder = Descriptor(::openat(folder.get(), components[i].c_str(),
                                     O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    struct stat found { };
    if (!folder.valid() ||
        ::fstatat(folder.get(), components.back().c_str(), &found, AT_SYMLINK_NOFOLLOW) != 0)
        return errno;
    if (!samefile(found, status))
        return ENOENT;
    where.folder = std::move(folder);
    where.name = std::move(components.back());
    return 0;
}

// Opens what `place` names for writing: through the link it was reached by,
// or without following any.
Descriptor reopen(const Place& place, int flags)
{
    const int nofollow = place.throughlink ? 0 : O_NOFOLLOW;
    return Descriptor(
        ::openat(place.folder.get(), place.name.c_str(), flags | nofollow | O_CLOEXEC, 0600));
}

using Writer = std::function<void(std::ostream&)>;

// Writes into an open descriptor at its offset; `owned`: close it after.
int writeto(int fd, bool owned, const Writer& write)
{
    FileOutput file(fd, owned);
    std::ostream out(&file);
    write(out);
    return file.finish();
}

// Writes over the file itself, from its start, as for a file that cannot be
// replaced by a rename.
int writeinplace(int fd, const Writer& write)
{
    if (::ftruncate(fd, 0) != 0)
        return errno;
    return writeto(fd, false, write);
}

mode_t currentumask()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

// Gives a complete new file its final owner, group and mode: those of the
// file it replaces (owner and group where this process may set them: the
// group alone when the owner may not be given away), or 0664 less the umask.
int openup(int fd, const struct stat* old)
{
    if (old && ::fchown(fd, old->st_uid, old->st_gid) != 0)
        (void)::fchown(fd, static_cast<uid_t>(-1), old->st_gid);
    const mode_t mode = old ? old->st_mode & 0777 : 0664 & ~currentumask();
    return ::fchmod(fd, mode) == 0 ? 0 : errno;
}

/*
 * A new file in a folder, under a name nobody else holds, readable by its
 * owner alone, removed again unless it is renamed over its destination.
 */
class TempFile {
public:
    explicit TempFile(int folder)
        : folder_(folder)
        , transient_(doomed[tempslot])
    {
        for (int attempt = 0; attempt < tempattempts && error_ == notempname; ++attempt) {
            std::string name = tempname();
            const SignalsHeld held;
            file_ = Descriptor(
                ::openat(folder, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
            if (file_.valid()) {
                transient_.track(folder, std::move(name));
                error_ = 0;
            } else if (errno != EEXIST) {
                error_ = errno;
            }
        }
    }

    // 0 once the file exists, otherwise why it could not be made.
    int error() const { return error_; }

    // Writes the content, then opens the file up to its final mode and puts
    // it on the disk.
    int fill(const Writer& write, const struct stat* old)
    {
        if (const int error = writeto(file_.get(), false, write))
            return error;
        if (const int error = openup(file_.get(), old))
            return error;
        // On the disk before its name: a crash after the rename must not
        // leave an empty file where the old one was.
        return ::fsync(file_.get()) == 0 ? 0 : errno;
    }

    // Closes the file and renames it to `destination` in the same folder.
    int commit(const std::string& destination)
    {
        if (const int error = file_.close())
            return error;
        const SignalsHeld held;
        if (::renameat(folder_, transient_.name().c_str(), folder_, destination.c_str()) != 0)
            return errno;
        transient_.keep();
        return 0;
    }

private:
    int folder_;
    Transient transient_;
    Descriptor file_;
    int error_ = notempname;
};

// Writes a new file beside `name` in `folder` and renames it over `name`;
// `old` describes the file it replaces, if any, and `inplace` is that file
// open for writing (-1 for none), for a folder that refuses the new file or
// the rename.
int replaceat(int folder, const std::string& name, const struct stat* old, int inplace,
              const Writer& write)
{
    // Whether the folder refused what a rename needs: a new file there
    // (EACCES, EPERM), or the rename over another user's file in a sticky
    // folder (EPERM) or over a file mounted on its name (EBUSY).
    bool refused = false;
    int error = 0;
    {
        TempFile temp(folder);
        error = temp.error();
        refused = error == EACCES || error == EPERM;
        if (error == 0)
            error = temp.fill(write, old);
        if (error == 0) {
            error = temp.commit(name);
            refused = error == EACCES || error == EPERM || error == EBUSY;
        }
    }
    if (refused && inplace >= 0)
        return writeinplace(inplace, write);
    return error;
}

// Makes the target of a link that leads nowhere yet, through the link, and
// replaces it: until it is complete it goes again with any failure.
int makethroughlink(const Place& link, const Writer& write)
{
    // The target's folder outlives the entry that would remove its name.
    Place target;
    Descriptor file;
    struct stat status { };
    std::optional<Transient> made;
    {
        const SignalsHeld held;
        // Not blocking on a named pipe put there meanwhile, while the
        // signals that would end the wait are held.
        file = reopen(link, O_WRONLY | O_CREAT | O_NONBLOCK);
        if (!file.valid() || ::fstat(file.get(), &status) != 0 ||
            ::fcntl(file.get(), F_SETFL, O_WRONLY) != 0)
            return errno;
        if (const int error = locate(file.get(), status, target))
            return error;
        // Someone else's file, made in the meantime, is theirs to keep.
        if (status.st_size == 0 && status.st_uid == ::geteuid()) {
            made.emplace(doomed[targetslot]);
            made->track(target.folder.get(), target.name);
        }
    }
    const int error =
        replaceat(target.folder.get(), target.name, made ? nullptr : &status, file.get(), write);
    if (error == 0 && made)
        made->keep();
    return error;
}

// Replaces an existing regular file, which this process must be able to write.
int replaceregular(const Place& place, const Writer& write)
{
    const Descriptor writable = reopen(place, O_WRONLY);
    if (!writable.valid())
        return errno;
    if (!place.throughlink)
        return replaceat(place.folder.get(), place.name, &place.status, writable.get(), write);
    Place target;
    if (const int error = locate(place.file.get(), place.status, target))
        return error;
    return replaceat(target.folder.get(), target.name, &place.status, writable.get(), write);
}

// The standard descriptors' files, seen before anything here is opened (a
// closed one's number could otherwise be one of ours). A descriptor open
// the other way (fillstandarddescriptors' stand-in for a closed one) holds
// no stream.
class StandardFiles {
public:
    StandardFiles()
    {
        for (int fd = 0; fd < 3; ++fd) {
            struct stat status { };
            const int flags = ::fcntl(fd, F_GETFL);
            const int wrongway = fd == STDIN_FILENO ? O_WRONLY : O_RDONLY;
            if (flags >= 0 && (flags & O_ACCMODE) != wrongway && ::fstat(fd, &status) == 0)
                files_[static_cast<std::size_t>(fd)] = status;
        }
    }

    // The standard descriptor that holds the file `status` describes, output
    // and error before input; -1 for none.
    int holding(const struct stat& status) const
    {
        for (const int fd : {STDOUT_FILENO, STDERR_FILENO, STDIN_FILENO}) {
            const std::optional<struct stat>& file = files_[static_cast<std::size_t>(fd)];
            if (file && samefile(*file, status))
                return fd;
        }
        return -1;
    }

private:
    std::array<std::optional<struct stat>, 3> files_;
};

// The file's advisory lock (flock), held while this lives.
class FileLock {
public:
    FileLock(int fd, int operation)
        : fd_(fd)
    {
        do
            error_ = ::flock(fd, operation) == 0 ? 0 : errno;
        while (error_ == EINTR);
    }
    ~FileLock()
    {
        if (error_ == 0)
            ::flock(fd_, LOCK_UN);
    }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    int error() const { return error_; }

private:
    int fd_;
    int error_;
};

// Writes all of `text`; the error number of the write that failed, or 0.
int writeall(int fd, std::string_view text)
{
    while (!text.empty()) {
        const ssize_t wrote = ::write(fd, text.data(), text.size());
        if (wrote < 0 && errno != EINTR)
            return errno;
        if (wrote > 0)
            text.remove_prefix(static_cast<std::size_t>(wrote));
    }
    return 0;
}

}  // namespace

int openforappend(const std::string& name, int& fd)
{
    if (name.size() > maxname)
        return ENAMETOOLONG;
    if (name.find('\0') != name.npos)
        return EINVAL;
    const StandardFiles standard;
    Place place;
    if (const int error = walk(name, place))
        return error;
    if (place.file.valid() && standard.holding(place.status) == STDIN_FILENO)
        return readsinput;
    // Through the link the walk allowed, or through none: a link put there
    // since is not followed.
    const int nofollow = place.throughlink ? 0 : O_NOFOLLOW;
    const int access = !place.file.valid() || S_ISREG(place.status.st_mode) ? O_RDWR : O_WRONLY;
    fd = ::openat(place.folder.get(), place.name.c_str(),
                  access | O_APPEND | O_CREAT | O_NOCTTY | O_NONBLOCK | O_CLOEXEC | nofollow, 0664);
    return fd < 0 ? errno : 0;
}

bool samedestination(const std::string& first, const std::string& second)
{
    Place one;
    Place other;
    if (walk(first, one) != 0 || walk(second, other) != 0)
        return false;
    if (one.file.valid() || other.file.valid())
        return one.file.valid() && other.file.valid() && samefile(one.status, other.status);
    struct stat onefolder { };
    struct stat otherfolder { };
    return one.name == other.name && ::fstat(one.folder.get(), &onefolder) == 0 &&
           ::fstat(other.folder.get(), &otherfolder) == 0 && samefile(onefolder, otherfolder);
}

void fillstandarddescriptors()
{
    for (const int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO})
        if (::fcntl(fd, F_GETFD) < 0 && errno == EBADF)
            // The lowest free number: `fd` itself, those below it being open.
            (void)::open("/dev/null", fd == STDIN_FILENO ? O_WRONLY : O_RDONLY);
}

RowFile::RowFile(int fd, std::string header)
    : fd_(fd)
    , header_(std::move(header))
{
    struct stat status { };
    // O_NONBLOCK only served the open.
    if (::fstat(fd, &status) != 0 || ::fcntl(fd, F_SETFL, O_APPEND) != 0)
        error_ = errno;
    regular_ = S_ISREG(status.st_mode);
}

RowFile::~RowFile()
{
    if (fd_ >= 0)
        ::close(fd_);
}

int RowFile::check()
{
    if (error_ != 0 || !regular_)
        return error_;
    const FileLock lock(fd_, LOCK_SH);
    off_t size = 0;
    return lock.error() != 0 ? lock.error() : sizeunderheader(size);
}

int RowFile::finish()
{
    if (!pending_.empty() && error_ == 0)
        error_ = append(pending_);
    pending_.clear();
    const int fd = std::exchange(fd_, -1);
    if (::close(fd) != 0 && error_ == 0)
        error_ = errno;
    return error_;
}

RowFile::int_type RowFile::overflow(int_type c)
{
    if (!traits_type::eq_int_type(c, traits_type::eof()))
        pending_.push_back(traits_type::to_char_type(c));
    return traits_type::not_eof(c);
}

std::streamsize RowFile::xsputn(const char* text, std::streamsize count)
{
    pending_.append(text, static_cast<std::size_t>(count));
    return count;
}

int RowFile::sync()
{
    const std::size_t end = pending_.rfind('\n');
    if (end != std::string::npos && error_ == 0)
        error_ = append(std::string_view(pending_).substr(0, end + 1));
    if (end != std::string::npos)
        pending_.erase(0, end + 1);
    return error_ == 0 ? 0 : -1;
}

int RowFile::append(std::string_view rows)
{
    if (regular_)
        return appendtoregular(rows);
    std::string text = headed_ ? "" : header_;
    headed_ = true;
    text += rows;
    return writeall(fd_, text);
}

int RowFile::appendtoregular(std::string_view rows)
{
    const FileLock lock(fd_, LOCK_EX);
    off_t size = 0;
    if (const int error = lock.error() != 0 ? lock.error() : sizeunderheader(size))
        return error;
    char last = '\n';
    if (size > 0 && ::pread(fd_, &last, 1, size - 1) < 0)
        return errno;
    std::string text = size == 0 ? header_ : last == '\n' ? "" : "\n";
    text += rows;
    const SignalsHeld held;
    const int error = writeall(fd_, text);
    if (error != 0)
        (void)::ftruncate(fd_, size);
    return error;
}

int RowFile::sizeunderheader(off_t& size) const
{
    struct stat status { };
    if (::fstat(fd_, &status) != 0)
        return errno;
    size = status.st_size;
    if (size == 0)
        return 0;
    std::string start(header_.size(), '\0');
    const ssize_t got = ::pread(fd_, start.data(), start.size(), 0);
    if (got < 0)
        return errno;
    return static_cast<std::size_t>(got) == start.size() && start == header_ ? 0 : otherheader;
}

int replacefile(const std::string& name, const Writer& write)
{
    if (name.size() > maxname)
        return ENAMETOOLONG;
    if (name.find('\0') != name.npos)
        return EINVAL;
    const StandardFiles standard;
    const CleanupOnSignals cleanup;
    Place place;
    if (const int error = walk(name, place))
        return error;
    if (!place.file.valid()) {
        if (place.throughlink)
            return makethroughlink(place, write);
        return replaceat(place.folder.get(), place.name, nullptr, -1, write);
    }
    switch (const int fd = standard.holding(place.status)) {
    case STDIN_FILENO:
        return readsinput;
    case STDOUT_FILENO:
    case STDERR_FILENO:
        return writeto(fd, false, write);
    default:
        break;
    }
    if (S_ISREG(place.status.st_mode))
        return replaceregular(place, write);
    // Devices, pipes and folders (which refuse it) are written as they are.
    Descriptor direct = reopen(place, O_WRONLY);
    if (!direct.valid())
        return errno;
    return writeto(direct.release(), true, write);
}
