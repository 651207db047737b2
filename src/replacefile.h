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
 *    A link that lies in a sticky folder anyone may write (such as /tmp) is
 *    followed only when it belongs to this process's user (its effective
 *    uid) or to the folder's owner, as the kernel itself does under
 *    fs.protected_symlinks=1, whatever that setting says; any other is
 *    refused (`untrustedlink`) and its target is not touched. The file a
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

#include <functional>
#include <iosfwd>
#include <string>

// Refusals of this unit's own, numbered past every system error number.
inline constexpr int untrustedlink = 4096;  // a link the kernel's sticky rule forbids
inline constexpr int readsinput = 4097;  // the name is the process's standard input
inline constexpr int notempname = 4098;  // every new name tried was taken

// Puts what `write` writes on its stream into the named file, replacing it as
// described above; `write` may be called a second time, on a fresh stream,
// when the rename is refused and the file is written in place. Returns 0, an
// error number, or one of the refusals above.
int replacefile(const std::string& name, const std::function<void(std::ostream&)>& write);

// Opens the named file to append to it, looked up by the same rules: a link
// is followed by the kernel, and in a sticky folder anyone may write only
// when it belongs to this user or the folder's owner (`untrustedlink`); the
// process's standard input is refused (`readsinput`). A new file gets 0664
// less the umask. The descriptor is opened O_NONBLOCK, so that a pipe with
// no reader fails at once; the caller clears it. Returns 0 with `fd` set, an
// error number, or a refusal.
int openforappend(const std::string& name, int& fd);
