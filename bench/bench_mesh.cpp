// Loads one mesh of 204 800 triangles from bytes in memory twice: as OBJ text
// (parse, triangulate, convert with vertex de-duplication) and in the
// compressed format (inflate, parse), and reports both times, their ratio and
// the compressed loader's payload throughput. No GL: the upload is the same
// for both. Run on demand: build/bench/bench_mesh
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include <zlib.h>

#include "mesh_files/bzobj_format.h"
#include "mesh_files/obj/cObjLoader.h"
#include "support/bench_harness.h"

namespace {

const int N = 320;  // N × N quads, two triangles each
const int RUNS = 10;

// A rippled sheet with texture coordinates and normals, written as quads in
// four materials, the way modelling tools export it.
std::string make_obj()
{
    std::string s = "mtllib sheet.mtl\n";
    char line[128];
    for (int y = 0; y <= N; ++y)
        for (int x = 0; x <= N; ++x) {
            double z = 0.1 * std::sin(x * 0.2) * std::cos(y * 0.3);
            std::snprintf(line, sizeof line, "v %.6f %.6f %.6f\nvt %.6f %.6f\nvn %.6f %.6f %.6f\n", x * 0.01, y * 0.01,
                          z, x / double(N), y / double(N), -0.02 * std::cos(x * 0.2), 0.03 * std::sin(y * 0.3), 1.0);
            s += line;
        }
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x) {
            if (x % 40 == 0) {
                std::snprintf(line, sizeof line, "usemtl m%d\n", (x / 40 + y) % 4);
                s += line;
            }
            int a = y * (N + 1) + x + 1, b = a + 1, c = a + N + 2, d = a + N + 1;
            std::snprintf(line, sizeof line, "f %d/%d/%d %d/%d/%d %d/%d/%d %d/%d/%d\n", a, a, a, b, b, b, c, c, c, d,
                          d, d);
            s += line;
        }
    return s;
}
const char MTL[] = "newmtl m0\nKd 1 0 0\nnewmtl m1\nKd 0 1 0\nnewmtl m2\nKd 0 0 1\nnewmtl m3\nKd 1 1 1\n";

}  // namespace

int main()
{
    const std::string obj = make_obj();
    std::ostringstream quiet;
    auto load_obj = [&](cMeshData& mesh) {
        cObjLoader loader(quiet, quiet);
        loader.set_file_reader([](const std::string&, std::vector<char>& b) {
            b.assign(MTL, MTL + sizeof MTL - 1);
            return true;
        });
        std::string error;
        if (!loader.load_bytes(obj.data(), obj.size(), "", mesh, mesh, error)) {
            std::fprintf(stderr, "OBJ load failed: %s\n", error.c_str());
            std::exit(1);
        }
        quiet.str("");
    };

    cMeshData reference;
    load_obj(reference);
    std::vector<uint8_t> file, payload;
    std::string why;
    if (!bzobj_encode(reference, reference, file, why) || !bzobj_encode_payload(reference, reference, payload, why)) {
        std::fprintf(stderr, "encoding failed: %s\n", why.c_str());
        return 1;
    }

    const double objMs = bench::best_ms(RUNS, [&] {
        cMeshData m;
        load_obj(m);
    });
    cMeshData decoded;
    const double bzMs = bench::best_ms(RUNS, [&] {
        BzObjError e;
        if (!bzobj_decode(file.data(), file.size(), decoded, decoded, e)) {
            std::fprintf(stderr, "decode failed: %s\n", e.message.c_str());
            std::exit(1);
        }
    });
    std::vector<uint8_t> inflated(payload.size());
    const double inflateMs = bench::best_ms(RUNS, [&] {
        uLongf n = uLongf(inflated.size());
        uncompress(inflated.data(), &n, file.data() + BZOBJ_HEADER, uLong(file.size() - BZOBJ_HEADER));
    });
    if (decoded.indices != reference.indices || decoded.positions != reference.positions) {
        std::fprintf(stderr, "the compressed mesh differs from the OBJ\n");
        return 1;
    }

    const double MB = 1e6;
    std::printf("# mesh: %zu triangles, %zu vertices, %zu groups\n", reference.triangle_count(),
                reference.vertex_count(), reference.group_count());
    char name[96], note[96];
    std::snprintf(name, sizeof name, "obj load (%.2f MB text)", obj.size() / MB);
    std::snprintf(note, sizeof note, "%.1f MB/s", obj.size() / MB / (objMs / 1e3));
    bench::print_ratio(name, objMs, "ms", {{objMs / bzMs, "the compressed load (target: 20x)"}}, note);
    std::snprintf(name, sizeof name, "bzobj load (%.2f MB payload, %.2f MB compressed)", payload.size() / MB,
                  file.size() / MB);
    std::snprintf(note, sizeof note, "%.1f MB/s of payload; target over 100 MB/s", payload.size() / MB / (bzMs / 1e3));
    bench::print_ratio(name, bzMs, "ms", {}, note);
    bench::print_ratio("  of which zlib's inflate", inflateMs, "ms");
    return 0;
}
