#pragma once
// Line-by-line reading of a text held in memory, the way the OBJ and MTL
// readers take it: lines up to a fixed length, each split into tokens at
// space, tab, line feed and carriage return. A longer line ends the reading
// as if the text ended there.
#include <cstddef>
#include <vector>

class cTextLines {
public:
    cTextLines(const char* data, size_t size, size_t maxLine);

    // The tokens of the next line (empty for a blank line), NUL-terminated
    // in a buffer owned here and valid until the next call. False at the
    // end of the text or at a line longer than maxLine.
    bool next(std::vector<char*>& tokens);

    // 1 for the first line.
    size_t line_number() const { return m_line; }
    // True when reading ended at an over-long line rather than at the end.
    bool stopped_at_long_line() const { return m_tooLong; }

private:
    const char* m_data;
    size_t m_size;
    size_t m_maxLine;
    size_t m_pos = 0;
    size_t m_line = 0;
    bool m_tooLong = false;
    std::vector<char> m_buf;
};
