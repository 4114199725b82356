#include "util/printable_text.h"

std::string printable_text(const std::string& text, size_t max_bytes)
{
    static const char HEX[] = "0123456789ABCDEF";
    std::string out;
    const size_t n = text.size() < max_bytes ? text.size() : max_bytes;
    for (size_t i = 0; i < n; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '\\') {
            out += "\\\\";
        } else if (c >= 0x20 && c < 0x7F) {
            out += char(c);
        } else {
            out += "\\x";
            out += HEX[c >> 4];
            out += HEX[c & 15];
        }
    }
    if (text.size() > n)
        out += "...";
    return out;
}

std::string one_line(const std::string& text)
{
    std::string out;
    for (unsigned char c : text)
        out += (c < 0x20 || c == 0x7F) ? '?' : char(c);
    return out;
}
