// The mandala cube's geometry.
//
// Every face of the cube is the same wall: a stone slab 800 units square
// through the face's centre, with a raised, bevelled frame, engraved with
// nested squares. Pushed out by 400 (the camera inside) the six walls close
// a room; unpushed (outside) they stand as three crossed walls, all of the
// figure in view. On it sit eight
// relief layers, concentric rings around the face's centre, inner to outer.
// Each ring is a relief on the wall's front (the side towards the cube's
// centre; unpushed, each face is drawn a second time turned half round, so
// the crossed walls show a front on both sides) with an n-fold profile,
// built one period at a time so that every period carries the whole of its
// detail texture. The "in" shape is the ring at rest, tight and
// low; the "out" shape is the same vertices opened up: wider, taller and
// turned by a twist, so that a morph kick makes the rings bloom and wind.
//
// Radii below are on the 300-unit design wall (times 8/3 on the real one):
//
//   layer02  rosette, 8 petals      in: a closed bud, r 0..20     out: an open flower, r 0..40, twisted
//   layer03  beads, 16              in: small pips, r 30..38      out: swollen beads, r 28..46
//   layer04  gear teeth, 24         in: short square teeth         out: long teeth, raised on their tops
//   layer05  lattice band, 12       in: a low criss-cross band     out: deep crossing ridges, wider, wound
//   layer06  pointed leaves, 12     in: leaves folded narrow       out: leaves spread to r 114, turned back
//   layer07  scallops, 16           in: a plain band, r 100..112   out: a scalloped rim to r 126
//   layer08  rays, 32               in: short stubs                out: sharp rays to r 144, twisted
//   layer09  chain of 48 beads      in: a thin chain, r 136..142   out: a heavy chain, r 136..148
//
// About 9 000 triangles a face, 55 000 for the cube.
#include "assets/mandala_cube.h"

#include <cmath>
#include <functional>
#include <iostream>

#include "assets/grey_textures.h"
#include "assets/mesh_builder.h"
#include "scenes/show_assets.h"

namespace {
const double PI = 3.14159265358979323846;
// The face's plane: through the centre. Unpushed, the six faces stand as
// three crossed walls; pushed out by 400 (camera inside) they close a room
// of that half size, whose walls fill any view from inside.
const float WALL = 0.f;
// The rings are designed on a wall 300 units across; the wall is 800.
const double SIZE = 400.0 / 150.0;

// One shape of a ring, as functions of u (0..1 across one period) and rho
// (0 at the inner edge, 1 at the outer edge).
struct RingShape {
    std::function<double(double u)> inner, outer;
    std::function<double(double u, double rho)> height;  // half thickness
    double twist;  // radians the outer edge is turned ahead of the inner
};

struct RingLayer {
    int n;        // periods
    int steps;    // columns per period
    int rows;     // rows across the ring
    bool disc;    // closed in the middle: no inner edge
    const char* map;
    RingShape in, out;
};

double clamp01(double v)
{
    return v < 0 ? 0 : v > 1 ? 1 : v;
}
double smooth(double v)
{
    v = clamp01(v);
    return v * v * (3 - 2 * v);
}
// Rounded bump, 0 at both ends of a period.
double petal(double u)
{
    const double s = std::sin(PI * u);
    return s * s;
}
// Pointed bump.
double leaf(double u)
{
    return std::pow(1 - std::fabs(2 * u - 1), 1.5);
}
// Flat-topped tooth in the middle half of a period.
double tooth(double u)
{
    return smooth((0.5 - std::fabs(u - 0.5)) * 5 - 0.6);
}
// Crossing diagonal ridges.
double lattice(double u, double rho)
{
    auto ridge = [](double v) { return std::pow(std::fabs(std::cos(PI * v)), 6.0); };
    return std::max(ridge(u + rho), ridge(u - rho));
}

RingLayer layer_design(int k)
{
    auto c = [](double v) { return [v](double) { return v; }; };
    switch (k) {
    case 2:
        return {8, 12, 4, true, show_assets::GREY_GROOVES,
                {c(0), [](double u) { return 14 + 6 * petal(u); },
                 [](double u, double) { return 4 + 3 * petal(u); }, 0.0},
                {c(0), [](double u) { return 26 + 14 * petal(u); },
                 [](double u, double rho) { return 6 + 8 * petal(u) * (1 - 0.5 * rho); }, 0.45}};
    case 3:
        return {16, 8, 4, false, show_assets::GREY_BEADS,
                {[](double u) { return 31 - 1 * petal(u); }, [](double u) { return 37 + 1 * petal(u); },
                 [](double u, double) { return 2 + 3 * petal(u); }, 0.0},
                {[](double u) { return 31 - 3 * petal(u); }, [](double u) { return 39 + 7 * petal(u); },
                 [](double u, double) { return 3 + 8 * petal(u); }, 0.0}};
    case 4:
        return {24, 8, 3, false, show_assets::GREY_HATCH,
                {c(44), [](double u) { return 52 + 4 * tooth(u); },
                 [](double u, double) { return 3 + 1 * tooth(u); }, 0.0},
                {c(46), [](double u) { return 54 + 12 * tooth(u); },
                 [](double u, double rho) { return 4 + 5 * tooth(u) * rho; }, 0.1}};
    case 5:
        return {12, 12, 4, false, show_assets::GREY_HATCH,
                {c(62), c(74), [](double u, double rho) { return 2 + 3 * lattice(u, rho); }, 0.0},
                {c(64), c(84), [](double u, double rho) { return 3 + 9 * lattice(u, rho); }, 0.35}};
    case 6:
        return {12, 12, 4, false, show_assets::GREY_SCALES,
                {c(80), [](double u) { return 88 + 8 * leaf(u); },
                 [](double u, double) { return 3 + 3 * leaf(u); }, 0.0},
                {c(86), [](double u) { return 92 + 22 * leaf(u); },
                 [](double u, double rho) { return 4 + 8 * leaf(u) * (1 - rho * 0.6); }, -0.3}};
    case 7:
        return {16, 8, 3, false, show_assets::GREY_GROOVES,
                {c(100), c(112), [](double, double) { return 3.0; }, 0.0},
                {c(106), [](double u) { return 118 + 8 * petal(u); },
                 [](double u, double) { return 4 + 5 * petal(u); }, 0.0}};
    case 8:
        return {32, 6, 3, false, show_assets::GREY_GROOVES,
                {c(116), [](double u) { return 124 + 6 * leaf(u); },
                 [](double u, double) { return 2 + 2 * leaf(u); }, 0.0},
                {c(122), [](double u) { return 128 + 16 * leaf(u); },
                 [](double u, double rho) { return 3 + 6 * leaf(u) * (1 - rho * 0.5); }, 0.25}};
    default:
        return {48, 4, 3, false, show_assets::GREY_BEADS,
                {c(136), c(142), [](double u, double) { return 1.5 + 2 * petal(u); }, 0.0},
                {[](double u) { return 137 - 1 * petal(u); }, [](double u) { return 144 + 4 * petal(u); },
                 [](double u, double) { return 2 + 5 * petal(u); }, 0.0}};
    }
}

// The ring's face towards +z (the cube's inside), rising out of the wall
// where its height falls to 0 at the edges.
void build_ring(const RingLayer& L, const RingShape& s, MeshBuilder& b)
{
    const int cols = L.steps, rows = L.rows;
    for (int p = 0; p < L.n; ++p) {
        const uint32_t first = uint32_t(b.mesh.vertex_count());
        for (int i = 0; i <= cols; ++i)
            for (int j = 0; j <= rows; ++j) {
                const double u = double(i) / cols, rho = double(j) / rows;
                const double r0 = s.inner(u), r1 = s.outer(u);
                const double r = (r0 + rho * (r1 - r0)) * SIZE;
                const double theta = 2 * PI * (p + u) / L.n + s.twist * rho;
                const double edge = L.disc ? std::sqrt(std::cos(PI * 0.5 * rho))
                                           : std::sqrt(std::sin(PI * rho));
                const double h = s.height(u, rho) * edge * SIZE;
                b.vertex(float(r * std::cos(theta)), float(r * std::sin(theta)), WALL + float(h),
                         float(u), float(rho));
            }
        auto v = [&](int i, int j) { return first + uint32_t(i * (rows + 1) + j); };
        for (int i = 0; i < cols; ++i)
            for (int j = 0; j < rows; ++j)
                b.quad(v(i, j), v(i, j + 1), v(i + 1, j + 1), v(i + 1, j));
    }
}

// Grid lines of the wall: fine at the bevelled frame, coarse inside.
std::vector<float> wall_lines()
{
    std::vector<float> v = {-150, -146, -140, -134};
    for (int x = -120; x <= 120; x += 20)
        v.push_back(float(x));
    for (float x : {134.f, 140.f, 146.f, 150.f})
        v.push_back(x);
    return v;
}

// Half thickness of the wall at distance d (max norm) from its centre.
double wall_height(double d)
{
    if (d < 134)
        return 2;
    if (d < 140)
        return 2 + 8 * (d - 134) / 6;
    if (d < 146)
        return 10;
    return 10 * (150 - d) / 4;
}
}  // namespace

void build_cube_face(cMeshData& mesh)
{
    MeshBuilder b;
    const std::vector<float> g = wall_lines();
    const int n = int(g.size());
    const uint32_t first = uint32_t(b.mesh.vertex_count());
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) {
            const double d = std::max(std::fabs(g[i]), std::fabs(g[j]));
            b.vertex(float(g[i] * SIZE), float(g[j] * SIZE), WALL + float(wall_height(d) * SIZE),
                     g[i] / 300.f + 0.5f, g[j] / 300.f + 0.5f);
        }
    auto v = [&](int i, int j) { return first + uint32_t(i * n + j); };
    for (int i = 0; i + 1 < n; ++i)
        for (int j = 0; j + 1 < n; ++j)
            b.quad(v(i, j), v(i + 1, j), v(i + 1, j + 1), v(i, j + 1));
    b.smooth_normals();
    b.set_material(grey_material("wall", 0.7f, show_assets::GREY_PANEL));
    b.mesh.groups = {{0, 0}, {uint32_t(b.mesh.indices.size()), NO_MATERIAL}};
    mesh = b.mesh;
}

bool build_relief_layer(int k, bool out, cMeshData& mesh)
{
    if (k < 2 || k > 9)
        return false;
    const RingLayer L = layer_design(k);
    MeshBuilder b;
    build_ring(L, out ? L.out : L.in, b);
    b.smooth_normals();
    b.set_material(grey_material("relief" + std::to_string(k), 0.8f, L.map));
    b.mesh.groups = {{0, 0}, {uint32_t(b.mesh.indices.size()), NO_MATERIAL}};
    mesh = b.mesh;
    return true;
}

bool check_morph_pair(const cMeshData& in, const cMeshData& out, std::string& error)
{
    if (in.vertex_count() != out.vertex_count())
        error = "the in shape has " + std::to_string(in.vertex_count()) + " vertices, the out shape " +
                std::to_string(out.vertex_count());
    else if (in.indices != out.indices)
        error = "the index lists differ";
    else if (in.texcoords != out.texcoords)
        error = "the texture coordinates differ";
    else
        return true;
    return false;
}

bool bake_mandala_cube(const std::string& dataDir)
{
    const std::string dir = show_assets::path(dataDir, show_assets::MANDALA_DIR);
    const std::string greys = show_assets::path(dataDir, show_assets::MANDALA_GREYS_DIR);
    if (!make_directories(greys) || !bake_grey_textures(greys))
        return false;
    std::string error;
    MeshBuilder face;
    build_cube_face(face.mesh);
    bool ok = face.write(show_assets::path(dir, show_assets::CUBE_FACE), error);
    for (int k = show_assets::FIRST_RELIEF; ok && k <= show_assets::LAST_RELIEF; ++k) {
        MeshBuilder in, out;
        build_relief_layer(k, false, in.mesh);
        build_relief_layer(k, true, out.mesh);
        const std::string inName = show_assets::path(dir, show_assets::relief_layer(k, false));
        const std::string outName = show_assets::path(dir, show_assets::relief_layer(k, true));
        if (!check_morph_pair(in.mesh, out.mesh, error)) {
            error = inName + " and " + outName + ": " + error;
            ok = false;
        } else {
            ok = in.write(inName, error) && out.write(outName, error);
        }
    }
    if (!ok)
        std::cerr << "## ERROR: " << error << std::endl;
    return ok;
}
