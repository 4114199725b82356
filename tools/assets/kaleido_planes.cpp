#include "assets/kaleido_planes.h"

#include <cmath>
#include <functional>
#include <iostream>
#include <vector>

#include "assets/mesh_builder.h"
#include "scenes/show_assets.h"

namespace {
const double PI = 3.14159265358979323846;

struct P2 {
    double x, y;
};
using Fold = std::function<P2(P2)>;

// A vertex of the square at (x, y) (y becomes z of the mesh) reading the
// source at fold(x, y).
uint32_t corner(MeshBuilder& b, P2 p, const Fold& fold)
{
    const P2 t = fold(p);
    return b.vertex(float(p.x), 0.f, float(p.y), float(t.x), float(t.y));
}

// Triangles counter-clockwise in (x, y) face +z after the turn; in the x-z
// plane they face -y.
void tri(MeshBuilder& b, P2 a, P2 c, P2 d, const Fold& fold)
{
    b.triangle(corner(b, a, fold), corner(b, c, fold), corner(b, d, fold));
}

// Axis-aligned cells, each folded by its own map.
void cells(MeshBuilder& b, int nx, int ny, const std::function<Fold(int, int)>& fold_of)
{
    for (int i = 0; i < nx; ++i)
        for (int j = 0; j < ny; ++j) {
            const Fold f = fold_of(i, j);
            const P2 a{double(i) / nx, double(j) / ny}, c{double(i + 1) / nx, double(j + 1) / ny};
            tri(b, a, {c.x, a.y}, c, f);
            tri(b, a, c, {a.x, c.y}, f);
        }
}

// The point where the ray from the middle at angle phi leaves the square.
P2 rim(double phi)
{
    const double dx = std::cos(phi), dy = std::sin(phi);
    const double t = 0.5 / std::max(std::fabs(dx), std::fabs(dy));
    return {0.5 + t * dx, 0.5 + t * dy};
}

// Wedges of angle 2 pi / wedges around the middle, wedge w read through
// fold_of(w). Each wedge is a fan from the middle to the rim, with the
// square's corners as extra rim points, so the square is covered exactly.
void wedges(MeshBuilder& b, int wedges, const std::function<Fold(int)>& fold_of)
{
    const double step = 2 * PI / wedges;
    for (int w = 0; w < wedges; ++w) {
        const double a0 = w * step, a1 = (w + 1) * step;
        std::vector<double> angles = {a0};
        for (int c = 0; c < 8; ++c) {  // corners at 45, 135, 225, 315 degrees, and again a turn later
            const double corner_angle = PI / 4 + c * PI / 2;
            if (corner_angle > a0 + 1e-9 && corner_angle < a1 - 1e-9)
                angles.push_back(corner_angle);
        }
        angles.push_back(a1);
        const Fold f = fold_of(w);
        for (size_t i = 0; i + 1 < angles.size(); ++i)
            tri(b, {0.5, 0.5}, rim(angles[i]), rim(angles[i + 1]), f);
    }
}

// Reads wedge w of a kaleidoscope whose base wedge is [0, step] at the
// middle: rotate back by w steps; every other wedge is mirrored about the
// base wedge's bisector so neighbours meet seamlessly. The source is read
// within a radius of `reach` around the picture's middle.
Fold polar_fold(int w, double step, bool mirror, double reach)
{
    return [=](P2 p) {
        const double dx = p.x - 0.5, dy = p.y - 0.5;
        double a = std::atan2(dy, dx) - w * step;
        const double r = std::sqrt(dx * dx + dy * dy);
        // atan2 of a point on the wedge's first edge may come out a whole
        // turn away; the wedge's own angle range decides.
        while (a < -1e-6)
            a += 2 * PI;
        while (a > step + 1e-6)
            a -= 2 * PI;
        if (mirror && (w % 2))
            a = step - a;
        // The base wedge is turned to point straight up, so the fold reads
        // the middle of the picture rather than one side of it.
        const double turned = a - step / 2 + PI / 2;
        const double s = r / 0.7072 * reach;
        return P2{0.5 + s * std::cos(turned), 0.5 + s * std::sin(turned)};
    };
}

void cylinder(MeshBuilder& b)
{
    // The picture wrapped once around the middle: angle to the source's
    // width, mirrored over the second half turn so the seam closes;
    // distance from the middle to its height.
    const int around = 96, out = 12;
    auto fold = [](P2 p) {
        const double dx = p.x - 0.5, dy = p.y - 0.5;
        double a = std::atan2(dy, dx);
        if (a < 0)
            a += 2 * PI;
        const double s = a <= PI ? a / PI : 2 - a / PI;
        return P2{0.02 + 0.96 * s, std::min(std::sqrt(dx * dx + dy * dy) / 0.7072, 1.0) * 0.96 + 0.02};
    };
    for (int i = 0; i < around; ++i) {
        const double a0 = 2 * PI * i / around, a1 = 2 * PI * (i + 1) / around;
        const P2 r0 = rim(a0), r1 = rim(a1);
        for (int j = 0; j < out; ++j) {
            auto at = [](P2 r, double f) { return P2{0.5 + (r.x - 0.5) * f, 0.5 + (r.y - 0.5) * f}; };
            const double f0 = double(j) / out, f1 = double(j + 1) / out;
            // Per vertex: the angle of each rim point decides its side of the seam.
            auto fold_at = [&](double angle) {
                return [=](P2 p) {
                    P2 t = fold(p);
                    if (std::fabs(p.x - 0.5) + std::fabs(p.y - 0.5) < 1e-9)
                        t.x = 0.02 + 0.96 * (angle <= PI ? angle / PI : 2 - angle / PI);
                    return t;
                };
            };
            const double mid = 0.5 * (a0 + a1);
            if (j == 0) {
                tri(b, {0.5, 0.5}, at(r0, f1), at(r1, f1), fold_at(mid));
            } else {
                tri(b, at(r0, f0), at(r0, f1), at(r1, f1), fold_at(mid));
                tri(b, at(r0, f0), at(r1, f1), at(r1, f0), fold_at(mid));
            }
        }
    }
}
}  // namespace

bool build_kaleido_plane(int k, cMeshData& mesh)
{
    MeshBuilder b;
    auto mirror = [](double v) { return v <= 0.5 ? v : 1 - v; };
    switch (k) {
    case 1:
        cylinder(b);
        break;
    case 2:  // left half mirrored onto the right
        cells(b, 2, 1, [&](int, int) { return [&](P2 p) { return P2{mirror(p.x), p.y}; }; });
        break;
    case 3:  // four quadrants
        cells(b, 2, 2, [&](int, int) { return [&](P2 p) { return P2{mirror(p.x), mirror(p.y)}; }; });
        break;
    case 4:  // three sectors, each a wedge and its mirror image
        wedges(b, 6, [](int w) { return polar_fold(w, PI / 3, true, 0.45); });
        break;
    case 5:  // 4x4 tiles of the whole picture, neighbours mirrored
        cells(b, 4, 4, [](int i, int j) {
            return [i, j](P2 p) {
                double u = p.x * 4 - i, v = p.y * 4 - j;
                if (i % 2)
                    u = 1 - u;
                if (j % 2)
                    v = 1 - v;
                return P2{u, v};
            };
        });
        break;
    case 6:  // eight equal sectors, each the same wedge
        wedges(b, 8, [](int w) { return polar_fold(w, PI / 4, false, 0.45); });
        break;
    case 7:  // eight sectors, each a wedge and its mirror image
        wedges(b, 16, [](int w) { return polar_fold(w, PI / 8, true, 0.45); });
        break;
    default:
        return false;
    }
    b.flat_normal(0.f, -1.f, 0.f);
    mesh = b.mesh;
    return true;
}

bool bake_kaleido_planes(const std::string& dataDir)
{
    const std::string dir = show_assets::path(dataDir, show_assets::KALEIDO_DIR);
    if (!make_directories(dir))
        return false;
    for (int k = 1; k <= 7; ++k) {
        MeshBuilder b;
        build_kaleido_plane(k, b.mesh);
        std::string error;
        if (!b.write(show_assets::path(dir, show_assets::KALEIDO_PLANES[k - 1]), error)) {
            std::cerr << "## ERROR: " << error << std::endl;
            return false;
        }
    }
    return true;
}
