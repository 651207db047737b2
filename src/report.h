/*
 * The solution report, on a stream or in a file. A report file starts with
 * a heading that names the pieces and the method, and is replaced whole
 * (replacefile.h): it holds its old content or the complete report.
 */
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "hanoi.h"
#include "problem.h"

// The report body: optimal (`optimal` moves long) or not, the length, every
// move in playing order and the number of states examined.
void writereport(std::ostream& out, std::int32_t optimal, const std::vector<Step>& solution,
                 std::int64_t examined);

// The heading line of a report file: "<N> pecas com o metodo <heading>".
void writeheading(std::ostream& out, int pieces, search_method method);

// The heading and the report, replacing the named file (see replacefile.h).
// Returns 0, or the error number of the first failure (the file is then left
// as it was, except when it had to be written directly).
int writereportfile(const std::string& name, const Problem& problem, search_method method,
                    const std::vector<Step>& solution, std::int64_t examined);
