// A file name as messages print it: a name is any bytes but "/" and NUL, and one holding control
// characters (an escape sequence, a carriage return, a line feed) must not drive the terminal or
// forge a line of the message.
#pragma once

#include <string>
#include <string_view>

// the name with every control character (C0, DEL, and the C1 codes in UTF-8) and the backslash
// written as escapes: "\n", "\t", "\r", "\\" and "\xHH" for the others; printable text unchanged
std::string NomLisible(std::string_view nom);
// a text made to be printed (a message of many lines): its control characters escaped the same
// way, but line feeds and tabulations kept, and backslashes as they are
std::string TexteSansControles(std::string_view texte);
