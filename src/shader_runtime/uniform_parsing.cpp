// Uniform parsing: what a source declares as parameters.
#include <regex>
#include <sstream>

#include "shader_runtime/runtime_state.h"

namespace shrt {
namespace detail {
namespace {
int components_of(const std::string& type)
{
    if (type == "float")
        return 1;
    if (type == "vec2")
        return 2;
    if (type == "vec3")
        return 3;
    if (type == "vec4")
        return 4;
    return 0;
}
}  // namespace

// Uniforms the source declares (one name per declaration, as all our
// sources write them). Comments are skipped line by line.
std::vector<std::pair<std::string, int>> declared_uniforms(const std::string& source)
{
    std::vector<std::pair<std::string, int>> out;
    static const std::regex decl(R"(^\s*uniform\s+(\w+)\s+(\w+)\s*;)");
    std::istringstream in(source);
    for (std::string line; std::getline(in, line);) {
        std::smatch m;
        if (std::regex_search(line, m, decl)) {
            const int n = components_of(m[1].str());
            if (n > 0)
                out.emplace_back(m[2].str(), n);
        }
    }
    return out;
}

}  // namespace detail
}  // namespace shrt
