/*
 * A file replaced whole: the text goes into a new file in the same folder,
 * which is flushed to the disk and then renamed over the name, so the name
 * holds either its old content or the complete text, never a part.
 *  - A symbolic link is followed to its final target, which is replaced; the
 *    link stays a link.
 *  - An existing file keeps its permission bits (and its owner, where the
 *    process may set it); a new one gets 0664 less the umask.
 *  - A name that is not a regular file (/dev/null, a terminal, a pipe) is
 *    written directly, and so is an existing file whose folder does not let
 *    a new file be made there.
 *  - The new file never outlives the run: it is removed when writing fails,
 *    and SIGINT, SIGTERM or SIGHUP during the write remove it before they end
 *    the process as they would have (unless the process ignores them).
 */
#pragma once

#include <functional>
#include <iosfwd>
#include <string>

// Puts what `write` writes on its stream into the named file, replacing it as
// described above. Returns 0 or the error number of the first failure.
int replacefile(const std::string& name, const std::function<void(std::ostream&)>& write);
