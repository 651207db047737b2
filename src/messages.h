/*
 * The words that explain a failure to the user: the reason for an error
 * number, and a name made safe to print on a terminal. Pure functions of
 * their arguments; no I/O.
 */
#pragma once

#include <string>
#include <string_view>

// The reason for an error number in plain Portuguese, the refusals of
// replacefile.h included; strerror's text for the rare ones the program has
// no words for.
std::string errorreason(int error);

// The name between double quotes, with every byte a terminal could act on
// shown as an escape: control characters (C0, DEL, and C1 whether raw or
// UTF-8 encoded) and bytes that are not part of valid UTF-8 become \xHH (\n,
// \t and \r keep their short forms); a double quote and a backslash get a
// backslash. Printable ASCII and valid UTF-8 pass unchanged.
std::string quotedname(std::string_view name);
