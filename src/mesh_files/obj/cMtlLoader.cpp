#include "mesh_files/obj/cMtlLoader.h"

#include <cstdlib>
#include <cstring>

#include "mesh_files/obj/text_lines.h"
#include "util/file_bytes.h"

namespace {

enum eMtlToken {
    MTL_UNKNOWN, MTL_COMMENT, MTL_NEWMTL, MTL_KA, MTL_KD, MTL_KS, MTL_ILLUM, MTL_NS, MTL_TR,
    MTL_TF, MTL_D, MTL_MAP_KA, MTL_MAP_KD, MTL_MAP_KS, MTL_BUMP, MTL_MAP_D, MTL_NI
};

eMtlToken classify(const char* t)
{
    static const struct {
        const char* text;
        eMtlToken code;
    } TABLE[] = {{"#", MTL_COMMENT},     {"newmtl", MTL_NEWMTL}, {"Ka", MTL_KA},         {"Kd", MTL_KD},
                 {"Ks", MTL_KS},         {"illum", MTL_ILLUM},   {"Ns", MTL_NS},         {"Tr", MTL_TR},
                 {"Tf", MTL_TF},         {"d", MTL_D},           {"map_Ka", MTL_MAP_KA}, {"map_Kd", MTL_MAP_KD},
                 {"map_Ks", MTL_MAP_KS}, {"bump", MTL_BUMP},     {"map_d", MTL_MAP_D},   {"Ni", MTL_NI}};
    for (const auto& e : TABLE)
        if (!std::strcmp(t, e.text))
            return e.code;
    return MTL_UNKNOWN;
}

}  // namespace

void cMtlLoader::parse(std::vector<cMaterial>& materials, const char* data, size_t size,
                       const std::string& path, std::ostream& warn)
{
    materials.clear();
    cTextLines lines(data, size, MAX_LINE);
    std::vector<char*> tok;
    while (lines.next(tok)) {
        if (tok.empty())
            continue;
        const size_t lineNo = lines.line_number();
        eMtlToken code = classify(tok[0]);
        if (code == MTL_UNKNOWN) {
            warn << "# warning: unknown token \"" << tok[0] << "\"\n"
                 << "# warning: unknown token encountered in \"" << path << "\" line " << lineNo
                 << ". Skipping..." << std::endl;
            continue;
        }
        if (code == MTL_COMMENT)
            continue;
        if (code >= MTL_KA && materials.empty()) {
            warn << "## ERROR in ..\\src\\mesh_files\\obj\\cMtlLoader line 28: no 'newmtl' entry was found "
                    "previous to line "
                 << lineNo << ". Failed to load .mtl-file!!" << std::endl;
            return;
        }

        // A line short of the values it needs is reported and skipped
        // rather than read past its end.
        auto need = [&](size_t n, const char* what) {
            if (tok.size() > n)
                return true;
            warn << "## WARNING: \"" << path << "\" line " << lineNo << ": " << tok[0] << " needs " << what
                 << ". Skipping..." << std::endl;
            return false;
        };
        auto num = [&](size_t i) { return float(std::strtod(tok[i], nullptr)); };
        auto rgb = [&](float* c) {
            if (need(3, "three values"))
                for (int i = 0; i < 3; ++i)
                    c[i] = num(size_t(i) + 1);
        };
        auto name = [&](std::string& s) {
            if (need(1, "a name"))
                s = tok[1];
        };

        switch (code) {
        case MTL_NEWMTL:
            if (need(1, "a name"))
                materials.emplace_back(tok[1]);
            break;
        case MTL_KA: rgb(materials.back().Ka); break;
        case MTL_KD: rgb(materials.back().Kd); break;
        case MTL_KS: rgb(materials.back().Ks); break;
        case MTL_ILLUM:
            if (need(1, "a value"))
                materials.back().illum = int(std::strtol(tok[1], nullptr, 10));
            break;
        case MTL_NS:
            if (need(1, "a value"))
                materials.back().Ns = num(1);
            break;
        case MTL_TR: break;
        case MTL_TF:
            if (need(3, "three values"))
                materials.back().d = (num(1) + num(2) + num(3)) / 3.0f;
            break;
        case MTL_D:
            if (need(1, "a value"))
                materials.back().d = num(1);
            break;
        case MTL_MAP_KA: name(materials.back().map_Ka); break;
        case MTL_MAP_KD: name(materials.back().map_Kd); break;
        case MTL_MAP_KS: name(materials.back().map_Ks); break;
        case MTL_BUMP: name(materials.back().bump); break;
        case MTL_MAP_D: name(materials.back().map_d); break;
        case MTL_NI:
            if (need(1, "a value"))
                materials.back().Ni = num(1);
            break;
        default: break;
        }
    }
}

void cMtlLoader::load(std::vector<cMaterial>& materials, const std::string& path, std::ostream& warn)
{
    std::vector<char> bytes;
    if (!read_file_bytes(path, bytes)) {
        warn << "## ERROR: Couldn't open " << path << std::endl;
        materials.clear();
        return;
    }
    parse(materials, bytes.data(), bytes.size(), path, warn);
}
