#include "mesh_files/obj/text_lines.h"

#include <cstring>

cTextLines::cTextLines(const char* data, size_t size, size_t maxLine)
    : m_data(data), m_size(size), m_maxLine(maxLine), m_buf(maxLine + 1)
{
}

bool cTextLines::next(std::vector<char*>& tokens)
{
    tokens.clear();
    if (m_pos >= m_size || m_tooLong)
        return false;
    const char* start = m_data + m_pos;
    const char* nl = static_cast<const char*>(std::memchr(start, '\n', m_size - m_pos));
    size_t len = nl ? size_t(nl - start) : m_size - m_pos;
    ++m_line;
    if (len > m_maxLine) {
        m_tooLong = true;
        return false;
    }
    m_pos += len + (nl ? 1 : 0);
    std::memcpy(m_buf.data(), start, len);
    m_buf[len] = '\0';

    char* p = m_buf.data();
    char* end = p + len;
    auto sep = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (p < end) {
        while (p < end && sep(*p))
            ++p;
        if (p >= end)
            break;
        tokens.push_back(p);
        while (p < end && !sep(*p))
            ++p;
        *p = '\0';  // p == end writes the terminator already there
        ++p;
    }
    return true;
}
