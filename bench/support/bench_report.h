#pragma once
// The one format every benchmark prints its results in, one line each:
//
//   NAME  VALUE UNIT  RATIOx against BASELINE[; RATIOx against ...]  (NOTE)
//
// so that the results of different benchmarks read alike.
#include <string>
#include <vector>

namespace bench {
struct Ratio {
    double x;             // value as a multiple of the baseline
    std::string against;  // what the baseline is
};

// Prints the line on standard output (and flushes it); the ratios and the
// note are left out where empty.
void print_ratio(const std::string& name, double value, const std::string& unit,
                 const std::vector<Ratio>& ratios = {}, const std::string& note = "");
}  // namespace bench
