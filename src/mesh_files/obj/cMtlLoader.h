#pragma once
// The material-library reader: one material per `newmtl`, then its colours,
// shininess, illumination model, dissolve, refraction index and map names.
//
// Parsing works on bytes in memory. Problems are reported on the warning
// stream and reading goes on; the only error that ends a file early is a
// property before the first `newmtl`, which leaves the list empty.
#include <cstddef>
#include <iostream>
#include <string>
#include <vector>

#include "mesh_files/cMaterial.h"

class cMtlLoader {
public:
    // Longer lines end the reading, as if the file ended there.
    static const size_t MAX_LINE = 511;

    // Empties materials and fills it from the text. `path` only names the
    // file in messages.
    static void parse(std::vector<cMaterial>& materials, const char* data, size_t size,
                      const std::string& path, std::ostream& warn = std::cerr);

    // Reads the file at path; one that cannot be opened is reported and
    // gives an empty list.
    static void load(std::vector<cMaterial>& materials, const std::string& path,
                     std::ostream& warn = std::cerr);
};
