// The meshes of the middle of the show: the glowing spike ball, the
// black-and-white star (core and spikes, made for the eight-fold mirror)
// and the sky sphere seen from inside. All parametric and seeded, so every
// bake writes the same bytes.
#include <array>
#include <cmath>
#include <map>
#include <utility>

#include "assets/bake_middle.h"
#include "assets/mesh_builder.h"
#include "scenes/show_assets.h"

namespace {
const double PI = 3.14159265358979323846;

// Unit directions spread evenly over the sphere (golden spiral), each
// nudged by up to `jitter` radians.
std::vector<V3> spread_directions(int count, double jitter, BakeRandom& rnd)
{
    std::vector<V3> dirs;
    const double golden = PI * (3.0 - std::sqrt(5.0));
    for (int i = 0; i < count; ++i) {
        const double y = 1.0 - 2.0 * (i + 0.5) / count;
        const double r = std::sqrt(1.0 - y * y);
        const double a = golden * i;
        V3 d{r * std::cos(a), y, r * std::sin(a)};
        V3 u, v;
        frame_around(d, u, v);
        d = normalize(d + u * rnd.range(-jitter, jitter) + v * rnd.range(-jitter, jitter));
        dirs.push_back(d);
    }
    return dirs;
}

// The star's two meshes share four greys, white, pale, mid and dark
// (materials 0 to 3), each lit a little differently: ambient, diffuse,
// specular and shininess of each.
struct StarGrey {
    float ambient, diffuse, specular, shininess;
};
void star_greys(MeshBuilder& m, const std::array<StarGrey, 4>& greys)
{
    const char* const names[] = {"bw_white", "bw_pale", "bw_mid", "bw_dark"};
    m.materials().clear();
    for (size_t k = 0; k < greys.size(); ++k) {
        const StarGrey& g = greys[k];
        m.materials().push_back(grey_material(names[k], g.ambient, g.diffuse, g.specular, g.shininess));
    }
}

// An icosphere of `levels` subdivisions: positions on the unit sphere and
// triangles as index triples.
void icosphere(int levels, std::vector<V3>& pts, std::vector<unsigned>& tris)
{
    const double t = (1.0 + std::sqrt(5.0)) / 2.0;
    pts = {{-1, t, 0}, {1, t, 0}, {-1, -t, 0}, {1, -t, 0}, {0, -1, t}, {0, 1, t},
           {0, -1, -t}, {0, 1, -t}, {t, 0, -1}, {t, 0, 1}, {-t, 0, -1}, {-t, 0, 1}};
    for (V3& p : pts)
        p = normalize(p);
    tris = {0, 11, 5, 0, 5, 1, 0, 1, 7, 0, 7, 10, 0, 10, 11, 1, 5, 9, 5, 11, 4, 11, 10, 2, 10, 7, 6, 7, 1, 8,
            3, 9, 4, 3, 4, 2, 3, 2, 6, 3, 6, 8, 3, 8, 9, 4, 9, 5, 2, 4, 11, 6, 2, 10, 8, 6, 7, 9, 8, 1};
    for (int l = 0; l < levels; ++l) {
        std::map<std::pair<unsigned, unsigned>, unsigned> mid;
        auto middle = [&](unsigned a, unsigned b) {
            const auto key = std::make_pair(std::min(a, b), std::max(a, b));
            auto it = mid.find(key);
            if (it != mid.end())
                return it->second;
            pts.push_back(normalize((pts[a] + pts[b]) * 0.5));
            return mid[key] = unsigned(pts.size() - 1);
        };
        std::vector<unsigned> next;
        for (size_t i = 0; i < tris.size(); i += 3) {
            const unsigned a = tris[i], b = tris[i + 1], c = tris[i + 2];
            const unsigned ab = middle(a, b), bc = middle(b, c), ca = middle(c, a);
            next.insert(next.end(), {a, ab, ca, b, bc, ab, c, ca, bc, ab, bc, ca});
        }
        tris.swap(next);
    }
}

// A cone of `sides` from a base ring of radius r (centred at base, facing
// d) to the tip, smooth-shaded; texture t runs from t0 at the base to t1 at
// the tip.
void cone(MeshBuilder& m, V3 base, V3 d, double length, double r, int sides, double t0, double t1)
{
    V3 u, v;
    frame_around(d, u, v);
    const V3 tip = base + d * length;
    const double slope = r / length;
    std::vector<unsigned> ring;
    for (int k = 0; k < sides; ++k) {
        const double a = 2 * PI * k / sides;
        const V3 radial = u * std::cos(a) + v * std::sin(a);
        ring.push_back(m.vertex(base + radial * r, radial + d * slope, double(k) / sides, t0));
    }
    for (int k = 0; k < sides; ++k) {
        const double a = 2 * PI * (k + 0.5) / sides;
        const V3 radial = u * std::cos(a) + v * std::sin(a);
        const unsigned top = m.vertex(tip, radial + d * slope, (k + 0.5) / sides, t1);
        m.triangle(ring[size_t(k)], ring[size_t((k + 1) % sides)], top);
    }
}

// A faceted pyramid spike: flat sides, so every facet catches the light
// on its own.
void facet_spike(MeshBuilder& m, V3 base, V3 d, double length, double r, int sides, double twist,
                 const unsigned* mats, int matCount)
{
    V3 u, v;
    frame_around(d, u, v);
    const V3 tip = base + d * length;
    for (int k = 0; k < sides; ++k) {
        const double a0 = twist + 2 * PI * k / sides, a1 = twist + 2 * PI * (k + 1) / sides;
        const V3 p0 = base + (u * std::cos(a0) + v * std::sin(a0)) * r;
        const V3 p1 = base + (u * std::cos(a1) + v * std::sin(a1)) * r;
        m.use_material(mats[k % matCount]);
        m.flat_triangle(p0, p1, tip);
    }
}
}  // namespace

bool bake_spikeball(const std::string& dataDir)
{
    MeshBuilder m;
    // The scene binds its glow map (SPIKE_BALL_GLOW) itself.
    m.materials().push_back(grey_material("spikeglow", 0.2f, 1.f, 0.f, 0.f));
    BakeRandom rnd(21);

    // The core: a smooth ball, its texture rows giving engraved bands.
    std::vector<V3> pts;
    std::vector<unsigned> tris;
    icosphere(3, pts, tris);
    const double core = 22.0;
    std::vector<unsigned> ids;
    for (const V3& p : pts)
        ids.push_back(m.vertex(p * core, p, 0.5, 0.02 + 0.21 * (0.5 + 0.5 * p.y)));
    for (size_t i = 0; i < tris.size(); i += 3)
        m.triangle(ids[tris[i]], ids[tris[i + 1]], ids[tris[i + 2]]);

    // The spikes: long and thin, short and stout, a few very long ones, so
    // the rays of the blur come out uneven.
    for (const V3& d : spread_directions(96, 0.12, rnd)) {
        const double pick = rnd.next();
        double length = rnd.range(16, 30), radius = rnd.range(2.6, 4.2);
        if (pick < 0.18)
            length = rnd.range(38, 48), radius = rnd.range(3.2, 4.6);
        else if (pick < 0.45)
            length = rnd.range(8, 14), radius = rnd.range(3.6, 5.4);
        cone(m, d * (core * 0.93), d, length + core * 0.07, radius, 9, 0.27, 1.0);
    }
    return m.write(dataDir, show_assets::SPIKE_BALL, true);
}

bool bake_blacknwhite_star(const std::string& dataDir)
{
    // The core crystal: an icosahedron with a pyramid raised on every face
    // (sixty facets), white, pale and mid grey so the fold makes a pattern
    // of light and shade.
    MeshBuilder m;
    star_greys(m, {{{0.25f, 0.95f, 0.6f, 40.f}, {0.2f, 0.72f, 0.4f, 30.f}, {0.12f, 0.45f, 0.3f, 20.f},
                    {0.05f, 0.18f, 0.5f, 60.f}}});
    std::vector<V3> pts;
    std::vector<unsigned> tris;
    icosphere(0, pts, tris);
    const double r = 30.0;
    for (size_t i = 0; i < tris.size(); i += 3) {
        const V3 a = pts[tris[i]] * r, b = pts[tris[i + 1]] * r, c = pts[tris[i + 2]] * r;
        const V3 apex = normalize(a + b + c) * (r * 1.9);
        m.use_material(0);
        m.flat_triangle(a, b, apex);
        m.use_material(1);
        m.flat_triangle(b, c, apex);
        m.use_material(2);
        m.flat_triangle(c, a, apex);
    }
    // A dark band around the middle: a twelve-sided ring of bevelled plates.
    const int n = 24;
    for (int k = 0; k < n; ++k) {
        const double a0 = 2 * PI * k / n, a1 = 2 * PI * (k + 1) / n;
        const V3 o0{std::cos(a0), 0, std::sin(a0)}, o1{std::cos(a1), 0, std::sin(a1)};
        const double rin = 34, rout = 46, h = 4;
        m.use_material(k % 2 ? 3 : 0);
        m.flat_triangle(o0 * rin + V3{0, h, 0}, o1 * rin + V3{0, h, 0}, o1 * rout);
        m.flat_triangle(o0 * rin + V3{0, h, 0}, o1 * rout, o0 * rout);
        m.flat_triangle(o0 * rout, o1 * rout, o1 * rin + V3{0, -h, 0});
        m.flat_triangle(o0 * rout, o1 * rin + V3{0, -h, 0}, o0 * rin + V3{0, -h, 0});
    }
    return m.write(dataDir, show_assets::STAR, false);
}

bool bake_blacknwhite_spikes(const std::string& dataDir)
{
    // Long four- and six-sided spikes radiating from the core, with a crown
    // of short ones between them: crisp facets for the mirror to repeat.
    MeshBuilder m;
    star_greys(m, {{{0.25f, 0.95f, 0.7f, 50.f}, {0.2f, 0.7f, 0.5f, 40.f}, {0.1f, 0.42f, 0.3f, 20.f},
                    {0.04f, 0.15f, 0.6f, 80.f}}});
    BakeRandom rnd(54);
    const unsigned longMats[] = {0, 2, 1, 3, 0, 2};
    for (const V3& d : spread_directions(34, 0.15, rnd)) {
        const double length = rnd.range(55, 100);
        facet_spike(m, d * 20.0, d, length, rnd.range(5.5, 8.0), rnd.next() < 0.5 ? 4 : 6, rnd.range(0, PI),
                    longMats, 6);
    }
    const unsigned shortMats[] = {1, 3, 0};
    for (const V3& d : spread_directions(60, 0.2, rnd))
        facet_spike(m, d * 28.0, d, rnd.range(18, 32), rnd.range(3.0, 4.5), 3, rnd.range(0, PI), shortMats, 3);
    return m.write(dataDir, show_assets::STAR_SPIKES, false);
}

bool bake_spacesphere(const std::string& dataDir)
{
    // A sphere of radius 300 about the origin, poles on z, faces turned
    // inward; u runs with the longitude, v from the south pole to the north.
    MeshBuilder m;
    const int slices = 64, stacks = 32;
    const double radius = 300.0;
    std::vector<unsigned> ids;
    for (int j = 0; j <= stacks; ++j) {
        const double v = double(j) / stacks, lat = PI * (v - 0.5);
        for (int i = 0; i <= slices; ++i) {
            const double u = double(i) / slices, lon = 2 * PI * u;
            const V3 d{std::cos(lat) * std::cos(lon), std::cos(lat) * std::sin(lon), std::sin(lat)};
            ids.push_back(m.vertex(d * radius, d * -1.0, u, v));
        }
    }
    for (int j = 0; j < stacks; ++j)
        for (int i = 0; i < slices; ++i) {
            const unsigned a = ids[size_t(j * (slices + 1) + i)], b = a + 1;
            const unsigned c = a + unsigned(slices + 1), d = c + 1;
            if (j > 0)
                m.triangle(a, c, b);
            if (j < stacks - 1)
                m.triangle(b, c, d);
        }
    return m.write(dataDir, show_assets::SPACE_SPHERE, true);
}
