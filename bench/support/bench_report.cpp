#include "support/bench_report.h"

#include <cmath>
#include <cstdio>

namespace bench {
namespace {
// Four significant figures or so at any magnitude (0.123 ms, 12.34 ms,
// 8123456 events/s), without exponents.
std::string figure(double v)
{
    const double a = std::fabs(v);
    const int decimals = a < 10 ? 3 : a < 100 ? 2 : a < 1000 ? 1 : 0;
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, v);
    return text;
}

std::string ratio_line(const std::string& name, double value, const std::string& unit,
                       const std::vector<Ratio>& ratios, const std::string& note)
{
    char head[512];
    std::snprintf(head, sizeof head, "%-50s %10s %s", name.c_str(), figure(value).c_str(), unit.c_str());
    std::string line = head;
    // The ratios start in one column, whatever the unit.
    if (!ratios.empty() && unit.size() < 9)
        line.append(9 - unit.size(), ' ');
    for (size_t i = 0; i < ratios.size(); ++i) {
        char r[64];
        std::snprintf(r, sizeof r, i ? "; %.2fx" : " %7.2fx", ratios[i].x);
        line += r + std::string(" against ") + ratios[i].against;
    }
    if (!note.empty())
        line += "  (" + note + ")";
    return line;
}
}  // namespace

void print_ratio(const std::string& name, double value, const std::string& unit, const std::vector<Ratio>& ratios,
                 const std::string& note)
{
    std::printf("%s\n", ratio_line(name, value, unit, ratios, note).c_str());
    std::fflush(stdout);
}

}  // namespace bench
