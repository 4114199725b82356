#pragma once
// Text from a file made safe to print on a terminal: bytes outside
// printable ASCII (escape sequences, control characters, UTF-8) appear as
// \xNN and a backslash as \\; only the first max_bytes of the text are
// shown, "..." marking the cut.
#include <cstddef>
#include <string>

std::string printable_text(const std::string& text, size_t max_bytes = 60);

// A name from a file kept on one printable line: control characters become
// '?', everything else (UTF-8 included) stays as it is.
std::string one_line(const std::string& text);
