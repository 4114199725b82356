#include "mesh_files/obj/cObjLoader.h"

#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "mesh_files/obj/cMtlLoader.h"
#include "mesh_files/obj/text_lines.h"
#include "util/fatal_exit.h"
#include "util/file_bytes.h"

namespace {

const char* const SOURCE = "..\\src\\mesh_files\\obj\\cObjLoader";

enum eObjToken { OBJ_UNKNOWN, OBJ_COMMENT, OBJ_V, OBJ_VT, OBJ_VN, OBJ_F, OBJ_USEMTL, OBJ_MTLLIB,
                 OBJ_VP, OBJ_UNSUPPORTED, OBJ_P, OBJ_L };

eObjToken classify(const char* t)
{
    static const struct {
        const char* text;
        eObjToken code;
    } TABLE[] = {{"#", OBJ_COMMENT},          {"v", OBJ_V},         {"vt", OBJ_VT},
                 {"vn", OBJ_VN},              {"f", OBJ_F},         {"usemtl", OBJ_USEMTL},
                 {"mtllib", OBJ_MTLLIB},      {"vp", OBJ_VP},       {"g", OBJ_UNSUPPORTED},
                 {"s", OBJ_UNSUPPORTED},      {"curv", OBJ_UNSUPPORTED}, {"curv2", OBJ_UNSUPPORTED},
                 {"surf", OBJ_UNSUPPORTED},   {"p", OBJ_P},         {"l", OBJ_L}};
    for (const auto& e : TABLE)
        if (!std::strcmp(t, e.text))
            return e.code;
    return OBJ_UNKNOWN;
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// An OBJ index: unsigned decimal, 1-based, returned 0-based. Values past
// 32 bits saturate so that the range check reports them.
uint32_t read_index(const char*& p)
{
    uint64_t v = 0;
    while (is_digit(*p)) {
        v = std::min<uint64_t>(v * 10 + uint64_t(*p - '0'), 0xFFFFFFFFull);
        ++p;
    }
    return uint32_t(v) - 1u;
}

void skip_digits(const char*& p)
{
    while (is_digit(*p))
        ++p;
}

// Which index fields a face vertex gave.
enum : unsigned { HAS_P = 1, HAS_T = 2, HAS_N = 4 };

}  // namespace

cObjLoader::cObjLoader(std::ostream& log, std::ostream& warn)
    : m_log(log), m_warn(warn), m_readFile(read_file_bytes)
{
}

bool cObjLoader::parse(const char* data, size_t size, const std::string& dir, std::string& error)
{
    positions.clear();
    normals.clear();
    texcoords.clear();
    faces.clear();
    materials.clear();
    m_type = 0;
    m_dir = dir;
    m_material = -1;
    m_warnedUnknownMaterial = false;
    m_vLines = m_vtLines = m_vnLines = m_fLines = 0;

    cTextLines lines(data, size, MAX_LINE);
    std::vector<char*> tok;
    while (lines.next(tok)) {
        if (tok.empty())
            continue;
        const size_t lineNo = lines.line_number();
        switch (classify(tok[0])) {
        case OBJ_COMMENT: break;
        case OBJ_V:
            read_floats(tok, positions, 4, lineNo, "position");
            ++m_vLines;
            break;
        case OBJ_VT:
            set(MT_TEXCOORDS);
            read_floats(tok, texcoords, 2, lineNo, "texture");
            ++m_vtLines;
            break;
        case OBJ_VN:
            set(MT_NORMALS);
            read_floats(tok, normals, 3, lineNo, "normal");
            ++m_vnLines;
            break;
        case OBJ_F:
            if (!parse_face(tok, lineNo, error))
                return false;
            break;
        case OBJ_USEMTL:
            use_material(tok.size() > 1 ? tok[1] : "", lineNo);
            break;
        case OBJ_MTLLIB:
            for (size_t i = 1; i < tok.size(); ++i)
                add_library(tok[i]);
            break;
        case OBJ_VP:
            m_warn << "# warning, \"" << tok[0] << "\" in line " << lineNo << " not supported... skipped!\n";
            break;
        case OBJ_UNSUPPORTED:
            m_warn << "# warning: \"" << tok[0] << "\" in line " << lineNo << " not supported... skipped!\n";
            break;
        case OBJ_P: m_warn << "TOK_P\n"; break;
        case OBJ_L: m_warn << "TOK_L\n"; break;
        case OBJ_UNKNOWN:
            m_warn << "# warning, unknown token: \"" << tok[0] << "\" in line " << lineNo << "... skipped!"
                   << std::endl;
            break;
        }
    }
    if (lines.stopped_at_long_line())
        m_warn << "# warning: line " << lines.line_number() << " is longer than " << MAX_LINE
               << " characters; the rest of the file is not read" << std::endl;
    return true;
}

// Every line of a kind adds the same number of floats, so that the n-th
// line is always found at n × want whatever a line holds: missing values
// read as 0 (w as 1), surplus values are dropped.
void cObjLoader::read_floats(const std::vector<char*>& tok, std::vector<float>& out, size_t want,
                             size_t lineNo, const char* what)
{
    size_t given = tok.size() - 1;
    for (size_t i = 1; i <= std::min(given, want); ++i)
        out.push_back(float(std::strtod(tok[i], nullptr)));
    if (want == 4) {  // positions: x y z [w]
        if (given < 3 || given > 4)
            m_warn << "## error, " << given << " position-coordinates in line: " << lineNo << std::endl;
        for (size_t i = given; i < 3; ++i)
            out.push_back(0.0f);
        if (given < 4)
            out.push_back(1.0f);
    } else {
        // Normals must have three values; texture coordinates may leave t
        // out (it is then 0) and may carry a third value, which is dropped.
        if ((want == 3 && given != 3) || given == 0)
            m_warn << "## error, " << given << " " << what << "-coordinates in line: " << lineNo << std::endl;
        for (size_t i = given; i < want; ++i)
            out.push_back(0.0f);
    }
}

bool cObjLoader::parse_face(const std::vector<char*>& tok, size_t lineNo, std::string& error)
{
    const bool tex = has(MT_TEXCOORDS), nor = has(MT_NORMALS);
    auto missing_slash = [&](int sourceLine) {
        error = std::string("## ERROR in ") + SOURCE + ", line #" + std::to_string(sourceLine) +
                ", missing / in line: " + std::to_string(lineNo);
        return false;
    };
    auto skip = [&](const std::string& why) {
        m_warn << "## Error in line: " << lineNo << " - " << why << ". Skipping face..." << std::endl;
        return true;
    };

    ObjFace face;
    face.material = m_material;
    unsigned firstKinds = 0;
    for (size_t i = 1; i < tok.size(); ++i) {
        const char* p = tok[i];
        unsigned kinds = 0;
        uint32_t pi = 0, ti = 0, ni = 0;
        if (is_digit(*p)) {
            pi = read_index(p);
            kinds |= HAS_P;
        } else {
            skip_digits(p);
        }
        if (tex) {
            if (*p != '/')
                return missing_slash(162);
            ++p;
            if (is_digit(*p)) {
                ti = read_index(p);
                kinds |= HAS_T;
            }
            if (nor) {
                if (*p != '/')
                    return missing_slash(178);
                ++p;
                if (is_digit(*p)) {
                    ni = read_index(p);
                    kinds |= HAS_N;
                }
            }
        } else if (nor) {
            if (*p != '/')
                return missing_slash(172);
            ++p;
            skip_digits(p);  // the texture field is ignored without texture coordinates
            if (*p != '/')
                return missing_slash(178);
            ++p;
            if (is_digit(*p)) {
                ni = read_index(p);
                kinds |= HAS_N;
            }
        }

        // Every vertex must give the same kinds of index, so that the three
        // lists of a face stay parallel.
        if (i == 1)
            firstKinds = kinds;
        else if (kinds != firstKinds)
            return skip("varying number of elements in face-declaration");

        // An index must name something already read.
        auto beyond = [&](const char* what, uint32_t idx, size_t count) {
            return skip(std::string("face refers to ") + what + " " + std::to_string((uint64_t(idx) + 1) & 0xFFFFFFFFu) +
                        ", only " + std::to_string(count) + " read so far");
        };
        if ((kinds & HAS_P) && pi >= positions.size() / 4)
            return beyond("position", pi, positions.size() / 4);
        if ((kinds & HAS_T) && ti >= texcoords.size() / 2)
            return beyond("texture coordinate", ti, texcoords.size() / 2);
        if ((kinds & HAS_N) && ni >= normals.size() / 3)
            return beyond("normal", ni, normals.size() / 3);

        if (kinds & HAS_P)
            face.p.push_back(pi);
        if (kinds & HAS_T)
            face.t.push_back(ti);
        if (kinds & HAS_N)
            face.n.push_back(ni);
    }
    if (tok.size() - 1 >= 4)
        set(MT_POLYGONS);
    faces.push_back(std::move(face));
    ++m_fLines;
    return true;
}

void cObjLoader::use_material(const char* name, size_t lineNo)
{
    if (materials.empty()) {
        m_warn << "# warning: No materials defined! \"usemtl " << name << "\" illegal in line " << lineNo
               << "... skipped!" << std::endl;
        return;
    }
    size_t found = 0;
    while (found < materials.size() && materials[found].name != name)
        ++found;
    if (found == materials.size()) {
        m_warn << "# WARNING: unknown material \"" << name << "\" in line " << lineNo << std::endl;
        // One past the list is no material to draw with; these faces take
        // the first one.
        if (!m_warnedUnknownMaterial)
            m_warn << "# warning: faces after an unknown material are drawn with material 0" << std::endl;
        m_warnedUnknownMaterial = true;
        found = 0;
    }
    set(MT_MATERIALS);
    m_material = int(found);
}

void cObjLoader::add_library(const char* name)
{
    std::string path = m_dir + name;
    std::vector<char> bytes;
    std::vector<cMaterial> list;
    if (m_readFile && m_readFile(path, bytes))
        cMtlLoader::parse(list, bytes.data(), bytes.size(), path, m_warn);
    else
        m_warn << "## ERROR: Couldn't open " << path << std::endl;
    materials.insert(materials.end(), list.begin(), list.end());
}

// Fan triangulation peeling triangles off the end of each polygon: (0 1 2 3 4)
// keeps (0 1 2) in place and appends (0 3 4), then (0 2 3).
void cObjLoader::triangulate()
{
    const size_t count = faces.size();
    for (size_t f = 0; f < count; ++f) {
        size_t c = faces[f].p.size();
        if (c < 3) {
            m_warn << "Malformed face. " << c << " vertices in face. Aborting triangulation" << std::endl;
            return;  // the polygon flag stays set
        }
        while (c > 3) {
            ObjFace& face = faces[f];
            ObjFace tri;
            tri.material = face.material;
            tri.p = {face.p[0], face.p[c - 2], face.p[c - 1]};
            face.p.pop_back();
            if (face.t.size() == c) {
                tri.t = {face.t[0], face.t[c - 2], face.t[c - 1]};
                face.t.pop_back();
            }
            if (face.n.size() == c) {
                tri.n = {face.n[0], face.n[c - 2], face.n[c - 1]};
                face.n.pop_back();
            }
            faces.push_back(std::move(tri));  // may move `face`: taken afresh each round
            --c;
        }
    }
    clear(MT_POLYGONS);
}

bool cObjLoader::try_smooth_normals(std::string& error)
{
    m_warn << "warning, created smooth normals..." << std::endl;
    const size_t count = positions.size() / 4;
    normals.assign(3 * count, 0.0f);
    for (ObjFace& face : faces) {
        if (face.p.size() < 3) {
            error = "Malformed polygon in cObjLoader::smooth_normals - exiting!";
            return false;
        }
        const float* p0 = &positions[4 * size_t(face.p[0])];
        const float* p1 = &positions[4 * size_t(face.p[1])];
        const float* p2 = &positions[4 * size_t(face.p[2])];
        float a[3] = {p0[0] - p1[0], p0[1] - p1[1], p0[2] - p1[2]};
        float b[3] = {p0[0] - p2[0], p0[1] - p2[1], p0[2] - p2[2]};
        // Not normalised: larger faces weigh more.
        float n[3] = {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
        for (uint32_t pi : face.p)
            for (int k = 0; k < 3; ++k)
                normals[3 * size_t(pi) + k] += n[k];
        face.n = face.p;
    }
    for (size_t i = 0; i < count; ++i) {
        float* n = &normals[3 * i];
        float len = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
        if (len > 0.0f)  // a position no face (or only degenerate faces) uses keeps (0, 0, 0)
            for (int k = 0; k < 3; ++k)
                n[k] /= len;
    }
    set(MT_NORMALS);
    return true;
}

bool cObjLoader::try_convert(iMeshType& type, cMeshObj_data& mesh, std::string& error)
{
    if (!has(MT_NORMALS) && !try_smooth_normals(error))
        return false;
    const bool tex = has(MT_TEXCOORDS), mats = has(MT_MATERIALS);

    // Faces still not triangles (triangulation stopped at a malformed face)
    // cannot be drawn as a triangle list.
    std::vector<const ObjFace*> order;
    order.reserve(faces.size());
    size_t notTriangles = 0;
    for (const ObjFace& f : faces) {
        if (f.p.size() == 3)
            order.push_back(&f);
        else
            ++notTriangles;
    }
    if (notTriangles)
        m_warn << "# warning: " << notTriangles << " faces are not triangles and are left out" << std::endl;

    // With materials, faces before the first usemtl take material 0 rather
    // than falling outside every group and never being drawn.
    auto material_of = [mats](const ObjFace* f) { return (mats && f->material < 0) ? 0 : f->material; };

    // One mesh vertex per distinct (position, normal, texture coordinate),
    // numbered in ascending order of that triple.
    struct Key {
        uint32_t p, n, t;
        bool operator<(const Key& o) const
        {
            if (p != o.p)
                return p < o.p;
            if (n != o.n)
                return n < o.n;
            return t < o.t;
        }
        bool operator==(const Key& o) const { return p == o.p && n == o.n && t == o.t; }
    };
    size_t missingT = 0, missingN = 0;
    std::vector<Key> keys;
    keys.reserve(order.size() * 3);
    for (const ObjFace* f : order) {
        for (int v = 0; v < 3; ++v) {
            Key k;
            k.p = f->p[v];
            if (f->n.size() == 3) {
                k.n = f->n[v];
            } else {
                k.n = 0;
                ++missingN;
            }
            if (!tex) {
                k.t = 0xFFFFFFFFu;
            } else if (f->t.size() == 3) {
                k.t = f->t[v];
            } else {
                k.t = 0;
                ++missingT;
            }
            keys.push_back(k);
        }
    }
    if (missingT)
        m_warn << "# warning: " << missingT << " face vertices have no texture-coordinate index; "
               << "they use the first texture coordinate" << std::endl;
    if (missingN)
        m_warn << "# warning: " << missingN << " face vertices have no normal index; they use the first normal"
               << std::endl;

    std::vector<Key> unique = keys;
    std::sort(unique.begin(), unique.end());
    unique.erase(std::unique(unique.begin(), unique.end()), unique.end());

    mesh.clear_all();
    mesh.positions.reserve(3 * unique.size());
    mesh.normals.reserve(3 * unique.size());
    if (tex)
        mesh.texcoords.reserve(2 * unique.size());
    for (const Key& k : unique) {
        mesh.positions.insert(mesh.positions.end(), &positions[4 * size_t(k.p)], &positions[4 * size_t(k.p)] + 3);
        mesh.normals.insert(mesh.normals.end(), &normals[3 * size_t(k.n)], &normals[3 * size_t(k.n)] + 3);
        if (tex)
            mesh.texcoords.insert(mesh.texcoords.end(), &texcoords[2 * size_t(k.t)], &texcoords[2 * size_t(k.t)] + 2);
    }

    // Faces by material, those of one material in file order.
    std::vector<size_t> byMaterial(order.size());
    for (size_t i = 0; i < order.size(); ++i)
        byMaterial[i] = i;
    std::stable_sort(byMaterial.begin(), byMaterial.end(),
                     [&](size_t a, size_t b) { return material_of(order[a]) < material_of(order[b]); });

    mesh.indices.reserve(3 * order.size());
    int current = -1;
    for (size_t fi : byMaterial) {
        int m = material_of(order[fi]);
        if (m != current) {
            current = m;
            mesh.groups.push_back({uint32_t(mesh.indices.size()), uint32_t(m)});
        }
        for (int v = 0; v < 3; ++v) {
            const Key& k = keys[3 * fi + v];
            mesh.indices.push_back(uint32_t(std::lower_bound(unique.begin(), unique.end(), k) - unique.begin()));
        }
    }
    mesh.groups.push_back({uint32_t(mesh.indices.size()), NO_MATERIAL});
    mesh.materials = materials;
    type.m_type = m_type;
    return true;
}

bool cObjLoader::load_bytes(const char* data, size_t size, const std::string& dir, iMeshType& type,
                            cMeshObj_data& mesh, std::string& error)
{
    if (!parse(data, size, dir, error))
        return false;
    triangulate();
    return try_convert(type, mesh, error);
}

namespace {
[[noreturn]] void fatal(std::ostream& warn, const std::string& message)
{
    warn << message << std::endl;
    end_process(-1);
}
}  // namespace

void cObjLoader::load_file(const std::string& path)
{
    struct stat st;
    if (path.empty() || ::stat(path.c_str(), &st) != 0)
        fatal(m_warn, std::string("## ERROR in ") + SOURCE + " line 56: file was not found in path: " + path);
    m_log << "-\ncObjLoader::load_file parsing " << path << " ... " << std::flush;

    // mtllib names are relative to the OBJ's directory.
    std::string dir;
    size_t sep = path.rfind('/');
    if (sep == std::string::npos)
        sep = path.rfind('\\');
    if (sep != std::string::npos)
        dir = path.substr(0, sep + 1);
    else
        m_warn << "# WARNING in " << SOURCE << ", line 33: Can't find full path! .mtl might not load!" << std::endl;

    std::vector<char> bytes;
    if (!read_file_bytes(path, bytes)) {
        m_log << "File not found: \"" << path << " in cObjLoader::load_file(..)" << std::endl;
        end_process(-1);
    }
    std::string error;
    if (!parse(bytes.data(), bytes.size(), dir, error))
        fatal(m_warn, error);
    m_log << "done reading obj.\n-" << std::endl;
}

void cObjLoader::smooth_normals()
{
    std::string error;
    if (!try_smooth_normals(error))
        fatal(m_warn, error);
}

void cObjLoader::convert(iMeshType& type, cMeshObj_data& mesh)
{
    std::string error;
    if (!try_convert(type, mesh, error))
        fatal(m_warn, error);
}

void cObjLoader::load_mesh(const std::string& path, iMeshType& type, cMeshObj_data& mesh)
{
    load_file(path);
    triangulate();
    convert(type, mesh);
}
