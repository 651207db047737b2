#include "replacefile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <optional>
#include <ostream>
#include <utility>

#include "output.h"

namespace {

// The longest name the system takes (PATH_MAX), and as many links as it
// follows before it calls the chain a loop.
constexpr std::size_t maxname = 4096;
constexpr int maxlinks = 40;

// The folder part of a path, with its final slash; empty for a bare name.
std::string folderof(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == path.npos ? std::string() : path.substr(0, slash + 1);
}

// Follows the symbolic links that `path` names, one after another, and leaves
// the name of the file at the end of the chain (which need not exist) in it.
int followlinks(std::string& path)
{
    for (int links = 0; links < maxlinks; ++links) {
        struct stat status { };
        if (::lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode))
            return 0;
        std::string target(maxname, '\0');
        const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
        if (length < 0)
            return errno;
        if (static_cast<std::size_t>(length) == target.size())
            return ENAMETOOLONG;
        target.resize(static_cast<std::size_t>(length));
        // A relative target is relative to the folder that holds the link.
        if (!target.starts_with('/'))
            target.insert(0, folderof(path));
        path = std::move(target);
    }
    return ELOOP;
}

// Writes into the named file itself, created (0664 less the umask) or
// truncated, as for anything that cannot be replaced by a rename.
int writedirectly(const std::string& path, const std::function<void(std::ostream&)>& write)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0664);
    if (fd < 0)
        return errno;
    FileOutput file(fd, true);
    std::ostream out(&file);
    write(out);
    return file.finish();
}

// The temporary file being written, for the signal handler; null when none.
std::atomic<const char*> temppath{nullptr};
static_assert(std::atomic<const char*>::is_always_lock_free);

constexpr int cleanupsignals[] = {SIGINT, SIGTERM, SIGHUP};

// Installed with SA_RESETHAND: once it returns, the signal it raised again is
// delivered with the default action and ends the process as it would have.
// Only async-signal-safe calls here.
void removetempandreraise(int signal)
{
    if (const char* path = temppath.load())
        ::unlink(path);
    ::raise(signal);
}

// Holds back the signals that end a run while the temporary file and its
// name for the handler change together.
class SignalsHeld {
public:
    SignalsHeld()
    {
        sigset_t held;
        sigemptyset(&held);
        for (const int signal : cleanupsignals)
            sigaddset(&held, signal);
        sigprocmask(SIG_BLOCK, &held, &saved_);
    }
    ~SignalsHeld() { sigprocmask(SIG_SETMASK, &saved_, nullptr); }
    SignalsHeld(const SignalsHeld&) = delete;
    SignalsHeld& operator=(const SignalsHeld&) = delete;

private:
    sigset_t saved_;
};

/*
 * A new file in a folder, under a name of its own, removed again unless it
 * is renamed over its destination. While it exists, SIGINT, SIGTERM and
 * SIGHUP remove it before ending the process (a signal the process ignores
 * stays ignored).
 */
class TempFile {
public:
    explicit TempFile(const std::string& folder)
    {
        struct sigaction cleanup { };
        cleanup.sa_handler = removetempandreraise;
        cleanup.sa_flags = SA_RESETHAND;
        sigfillset(&cleanup.sa_mask);
        for (std::size_t i = 0; i < std::size(cleanupsignals); ++i) {
            sigaction(cleanupsignals[i], nullptr, &saved_[i]);
            if (saved_[i].sa_handler != SIG_IGN)
                sigaction(cleanupsignals[i], &cleanup, nullptr);
        }
        const std::string stem = folder + ".hanoi-" + std::to_string(::getpid()) + "-";
        error_ = EEXIST;
        // Another run (or one killed outright) may have left this name.
        for (int attempt = 0; attempt < 100 && error_ == EEXIST; ++attempt) {
            const SignalsHeld held;
            path_ = stem + std::to_string(attempt) + ".tmp";
            fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0664);
            error_ = fd_ < 0 ? errno : 0;
            if (fd_ >= 0)
                temppath = path_.c_str();
        }
    }

    ~TempFile()
    {
        if (fd_ >= 0)
            ::close(fd_);
        {
            const SignalsHeld held;
            if (temppath.load() == path_.c_str())
                ::unlink(path_.c_str());
            temppath = nullptr;
        }
        for (std::size_t i = 0; i < std::size(cleanupsignals); ++i)
            sigaction(cleanupsignals[i], &saved_[i], nullptr);
    }

    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    // 0 once the file exists, otherwise why it could not be made.
    int error() const { return error_; }
    int fd() const { return fd_; }

    // Closes the file and renames it to `destination`.
    int commit(const std::string& destination)
    {
        const int closed = ::close(fd_);
        fd_ = -1;
        if (closed != 0)
            return errno;
        const SignalsHeld held;
        if (::rename(path_.c_str(), destination.c_str()) != 0)
            return errno;
        temppath = nullptr;
        return 0;
    }

private:
    std::string path_;
    int fd_ = -1;
    int error_ = 0;
    struct sigaction saved_[std::size(cleanupsignals)]{};
};

// Gives the new file what the file it replaces had: its permission bits and,
// where this process may set them, its owner and group.
void keepattributes(int fd, const struct stat& old)
{
    (void)::fchown(fd, old.st_uid, old.st_gid);
    (void)::fchmod(fd, old.st_mode & 0777);
}

// Writes a new file beside `path` and renames it over `path`; `old` describes
// the file it replaces, if any.
int writeandrename(const std::string& path, const std::optional<struct stat>& old,
                   const std::function<void(std::ostream&)>& write)
{
    TempFile temp(folderof(path));
    if (temp.error() != 0) {
        // A folder closed to new files may still hold a file the user may
        // write: that one is written in place, as it always was.
        if (old && (temp.error() == EACCES || temp.error() == EPERM))
            return writedirectly(path, write);
        return temp.error();
    }
    if (old)
        keepattributes(temp.fd(), *old);
    FileOutput file(temp.fd(), false);
    std::ostream out(&file);
    write(out);
    if (const int error = file.finish())
        return error;
    // On the disk before its name: a crash after the rename must not leave
    // an empty file where the old report was.
    if (::fsync(temp.fd()) != 0)
        return errno;
    const int error = temp.commit(path);
    // A file mounted over its name (a bind mount) cannot be renamed over.
    if (error == EBUSY && old)
        return writedirectly(path, write);
    return error;
}

}  // namespace

int replacefile(const std::string& name, const std::function<void(std::ostream&)>& write)
{
    if (name.size() > maxname)
        return ENAMETOOLONG;
    if (name.find('\0') != name.npos)
        return EINVAL;
    struct stat old { };
    // Devices and pipes are written as they are, whatever links lead there
    // (/dev/stdout leads to a descriptor, not to a name).
    if (::stat(name.c_str(), &old) == 0 && !S_ISREG(old.st_mode))
        return writedirectly(name, write);
    std::string path = name;
    if (const int error = followlinks(path))
        return error;
    if (::stat(path.c_str(), &old) != 0)
        return errno == ENOENT ? writeandrename(path, std::nullopt, write) : errno;
    if (!S_ISREG(old.st_mode))
        return writedirectly(path, write);
    // A file the user may not write is refused, not replaced behind its back.
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    ::close(fd);
    return writeandrename(path, old, write);
}
