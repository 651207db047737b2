/*
 * The solution report, on a stream or in a file, and the words that explain
 * a failure to the user: the reason for an error number and a file name made
 * safe to print.
 *
 * A report file is replaced whole: the text goes into a new file in the same
 * folder, which is flushed to the disk and then renamed over the name, so the
 * name holds either its old content or the complete report, never a part.
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

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "hanoi.h"

// The report body: optimal or not, the length, every move in playing order
// and the number of states examined.
void writereport(std::ostream& out, const std::vector<Step>& solution, std::int64_t examined);

// The heading line of a report file: "<N> pecas com o metodo <label>".
void writeheading(std::ostream& out, search_method method);

// The heading and the report, replacing the named file as described above.
// Returns 0, or the error number of the first failure (the file is then left
// as it was, except when it had to be written directly).
int writereportfile(const std::string& name, search_method method,
                    const std::vector<Step>& solution, std::int64_t examined);

// Puts what `write` writes on its stream into the named file, replacing it as
// described above. Returns 0 or the error number of the first failure.
int replacefile(const std::string& name, const std::function<void(std::ostream&)>& write);

// The reason for an error number in plain Portuguese; strerror's text for
// the rare ones the program has no words for.
std::string errorreason(int error);

// The name between double quotes, with every byte a terminal could act on
// shown as an escape: control characters (C0, DEL, and C1 whether raw or
// UTF-8 encoded) and bytes that are not part of valid UTF-8 become \xHH (\n,
// \t and \r keep their short forms); a double quote and a backslash get a
// backslash. Printable ASCII and valid UTF-8 pass unchanged.
std::string quotedname(std::string_view name);
