/*
 * A file replaced whole. What the caller writes goes into a new file in the
 * folder that holds the destination, readable by its owner alone while it
 * grows; once complete it gets the destination's mode (and owner and group,
 * see below), is flushed to the disk and renamed over the destination, so the
 * name holds either its old content or the complete text, never a part.
 *
 * Names are looked up by the kernel one component at a time, each from the
 * folder found before it, so that what was checked is what is used:
 *  - A symbolic link is followed by the kernel, never read and rebuilt here.
 *    A link that lies in a sticky folder that others may write (anyone, as
 *    /tmp, or the folder's group, as a class folder) is followed only when
 *    it belongs to this process's user (its effective uid) or to the
 *    folder's owner, as the kernel itself does under
 *    fs.protected_symlinks=1, whatever that setting says; any other is
 *    refused (`untrustedlink`) and its target is not touched. (The kernel
 *    treats group-writable sticky folders as shared too, for the files it
 *    lets a process open there under fs.protected_regular=2.) The file a
 *    link leads to is replaced and the link stays a link; a link that leads
 *    nowhere yet makes its target.
 *  - A name that leads to this process's own standard output or error is
 *    written through that descriptor (at its offset, or at the end when it
 *    appends), never replaced; one that leads to its standard input alone is
 *    refused (`readsinput`): the text would go into what the process reads.
 *  - Any other name that is not a regular file (/dev/null, a terminal, a
 *    named pipe) is written directly.
 *  - An existing file keeps its permission bits, its group whenever this
 *    process may set it, and its owner where it may set that too; a new file
 *    gets 0664 less the umask. A mode that cannot be set is an error, never
 *    a looser file.
 *  - A file the process may not write is refused. One it may write, in a
 *    folder that refuses the new file or the rename (a folder closed to new
 *    files, a sticky folder holding another user's file, a file mounted over
 *    its name), is written in place.
 *  - The new file is named ".hanoi-<16 random hex digits>.tmp"; a name that
 *    is already taken, by anything, is passed over for another.
 *  - The new file never outlives the run: it is removed when writing fails,
 *    and a signal whose default action ends the process removes it first and
 *    then ends the process as it would have (a signal the process ignores
 *    stays ignored). So is a target made through a link, until complete.
 */
#pragma once

#include <sys/types.h>

#include <functional>
#include <iosfwd>
#include <streambuf>
#include <string>
#include <string_view>

// Refusals of this unit's own, numbered past every system error number.
inline constexpr int untrustedlink = 4096;  // a link the kernel's sticky rule forbids
inline constexpr int readsinput = 4097;  // the name is the process's standard input
inline constexpr int notempname = 4098;  // every new name tried was taken
inline constexpr int otherheader = 4099;  // a file of rows under another header
inline constexpr int sameasrows = 4100;  // the name leads to the file of rows

// Puts what `write` writes on its stream into the named file, replacing it as
// described above; `write` may be called a second time, on a fresh stream,
// when the rename is refused and the file is written in place. Returns 0, an
// error number, or one of the refusals above.
int replacefile(const std::string& name, const std::function<void(std::ostream&)>& write);

// Opens the named file to append to it, looked up by the same rules: a link
// is followed by the kernel, and in a shared sticky folder only
// when it belongs to this user or the folder's owner (`untrustedlink`); the
// process's standard input is refused (`readsinput`). A new file gets 0664
// less the umask. A regular file is opened for reading too (RowFile reads
// its header and last byte). The descriptor is opened O_NONBLOCK, so that a
// pipe with no reader fails at once; the caller clears it. Returns 0 with
// `fd` set, an error number, or a refusal.
int openforappend(const std::string& name, int& fd);

// Whether two names lead to the same file, looked up by the same rules: the
// same file through a link or a hard link, or, where none exists yet, the
// same name in the same folder. A name that cannot be looked up leads to no
// file another can share.
bool samedestination(const std::string& first, const std::string& second);

// Opens /dev/null on each of the standard descriptors 0, 1 and 2 that is
// closed, so that no file this process opens later takes its number (and
// with it the messages meant for the standard error). Standard input gets
// it write-only and the outputs read-only: a read or write there still
// fails as on a closed descriptor.
void fillstandarddescriptors();

/*
 * A file of rows under one header line (a CSV file) that several runs may
 * append to at once, from a descriptor of openforappend. What is written to
 * it is appended a row at a time, as each line ends (on sync): under the
 * file's advisory lock (flock), held for that write alone, it decides
 * whether the header goes first (an empty file), starts the row on a line
 * of its own (a file that lacks its last line end), and appends it all in
 * one write. A row is appended whole or not at all: when the write fails (a
 * full disk, a file-size limit) the file is cut back to its size before it,
 * with the ending signals held back meanwhile; the first failure sticks and
 * later rows are dropped. A file that begins with another header is refused
 * (`otherheader`) and left as it is. A file that is not a regular file (a
 * pipe, a terminal, /dev/null) is written as a stream: the header before the
 * first row, nothing read, locked or cut.
 */
class RowFile : public std::streambuf {
public:
    // `header`: the header line, with its line end. Owns `fd`.
    RowFile(int fd, std::string header);
    ~RowFile() override;
    RowFile(const RowFile&) = delete;
    RowFile& operator=(const RowFile&) = delete;

    // 0 when the file may take these rows: it is empty or begins with the
    // header; otherwise `otherheader` or an error number.
    int check();

    // Appends what is left, closes the file, and returns the first error.
    int finish();

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* text, std::streamsize count) override;
    int sync() override;

private:
    int append(std::string_view rows);
    int appendtoregular(std::string_view rows);
    // The file's size, read under its lock, and 0 when it is empty or begins
    // with the header; otherwise `otherheader` or an error number.
    int sizeunderheader(off_t& size) const;

    int fd_;
    bool regular_ = false;
    bool headed_ = false;  // for a stream: the header went out
    std::string header_;
    std::string pending_;  // written, not yet appended
    int error_ = 0;
};
