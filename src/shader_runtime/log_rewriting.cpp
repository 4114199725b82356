// Log rewriting: compiler and linker logs name the source by number
// ("0:12(5): error" from Mesa, "0(12) : error" from others); a person wants
// the file and the line.
#include <regex>
#include <sstream>

#include "shader_runtime/runtime_state.h"

namespace shrt {
namespace detail {

std::string with_file_lines(const std::string& file, const std::string& log)
{
    static const std::regex mesa(R"(^\s*\d+:(\d+)\((\d+)\):\s*(.*)$)");
    static const std::regex other(R"(^\s*\d+\((\d+)\)\s*:\s*(.*)$)");
    std::string out;
    std::istringstream in(log);
    for (std::string line; std::getline(in, line);) {
        std::smatch m;
        if (std::regex_match(line, m, mesa))
            out += file + ":" + m[1].str() + ":" + m[2].str() + ": " + m[3].str() + "\n";
        else if (std::regex_match(line, m, other))
            out += file + ":" + m[1].str() + ": " + m[2].str() + "\n";
        else if (!line.empty())
            out += file + ": " + line + "\n";
    }
    return out;
}

}  // namespace detail
}  // namespace shrt
