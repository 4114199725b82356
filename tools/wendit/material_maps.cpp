#include "material_maps.h"

#include <FreeImage.h>
#include <sys/stat.h>

namespace {
bool power_of_two(unsigned v)
{
    return v != 0 && (v & (v - 1)) == 0;
}

bool is_file(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool check_one(const std::string& map, const std::vector<std::string>& dirs, std::string& error)
{
    if (map.empty())
        return true;
    for (const std::string& dir : dirs) {
        const std::string path = dir + "/" + map;
        if (!is_file(path))
            continue;
        const FREE_IMAGE_FORMAT fif = FreeImage_GetFileType(path.c_str(), 0);
        FIBITMAP* image = fif == FIF_UNKNOWN ? nullptr : FreeImage_Load(fif, path.c_str(), FIF_LOAD_NOPIXELS);
        if (!image) {
            error = "material map \"" + map + "\" (" + path + ") is not an image";
            return false;
        }
        const unsigned w = FreeImage_GetWidth(image), h = FreeImage_GetHeight(image);
        FreeImage_Unload(image);
        if (power_of_two(w) && power_of_two(h))
            return true;
        error = "material map \"" + map + "\" (" + path + ") is " + std::to_string(w) + "x" + std::to_string(h) +
                ": the mesh shaders need sides that are powers of two";
        return false;
    }
    return true;
}
}  // namespace

bool check_material_maps(const cMeshObj_data& mesh, const std::vector<std::string>& dirs, std::string& error)
{
    for (const cMaterial& m : mesh.materials)
        for (const std::string* map : {&m.map_Ka, &m.map_Kd, &m.map_Ks, &m.map_d})
            if (!check_one(*map, dirs, error))
                return false;
    return true;
}
