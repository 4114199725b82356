#!/usr/bin/python3
"""Checks `wendit mesh info` against an independent OBJ reader (pywavefront).

For each OBJ file given, compares the counts of positions, texture
coordinates and normals, the number of triangles after fan triangulation of
every face, and the names of the materials from the file's material
libraries, as pywavefront reads them, with what `bin/wendit mesh info`
reports. Run `wendit mesh convert` on each as well and check that the
compressed file reports the same mesh.

usage: scripts/check_obj.py FILE.obj [FILE.obj ...]   (run from anywhere;
needs Debian's python3-pywavefront and a built bin/wendit)
exit code 0 when every file matches.
"""
import logging
import os
import subprocess
import sys
import tempfile

import pywavefront

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
WENDIT = os.path.join(ROOT, "bin", "wendit")


def independent(path):
    logging.getLogger("pywavefront").setLevel(logging.ERROR)
    scene = pywavefront.Wavefront(path, collect_faces=True, create_materials=True, parse=True)
    triangles = sum(len(m.faces) for m in scene.mesh_list)
    names = sorted(n for n, m in scene.materials.items() if not getattr(m, "is_default", False))
    return {
        "obj_positions": len(scene.vertices),
        "obj_texcoords": len(scene.parser.tex_coords),
        "obj_normals": len(scene.parser.normals),
        "triangles": triangles,
        "material names": names,
    }


def info(path):
    run = subprocess.run([WENDIT, "mesh", "info", os.path.abspath(path)], capture_output=True, text=True)
    if run.returncode != 0:
        raise RuntimeError("wendit mesh info %s failed (%d): %s" % (path, run.returncode, run.stderr))
    fields, names = {}, []
    for line in run.stdout.splitlines():
        key, _, value = line.partition(": ")
        if key == "material":
            names.append(value.split('"')[1])
        elif key not in ("group", "bbox"):
            fields[key] = value
    return fields, sorted(names), run.stdout


def main(paths):
    failed = 0
    for path in paths:
        want = independent(path)
        fields, names, report = info(path)
        got = {k: int(fields[k]) for k in ("obj_positions", "obj_texcoords", "obj_normals", "triangles")}
        got["material names"] = names
        diffs = [k for k in want if want[k] != got[k]]

        with tempfile.TemporaryDirectory() as tmp:
            out = os.path.join(tmp, "mesh.bzobj")
            conv = subprocess.run([WENDIT, "mesh", "convert", os.path.abspath(path), out],
                                  capture_output=True, text=True)
            if conv.returncode != 0:
                diffs.append("convert failed: " + conv.stderr.strip())
            else:
                _, _, back = info(out)
                strip = lambda r: [l for l in r.splitlines() if not l.startswith("obj_")]
                if strip(back) != strip(report):
                    diffs.append("the converted file reports a different mesh")

        if diffs:
            failed += 1
            print("MISMATCH %s:" % path)
            for k in diffs:
                print("  %s: pywavefront %r, wendit %r" % (k, want.get(k), got.get(k)) if k in want else "  " + k)
        else:
            print("ok %s: %d positions, %d texcoords, %d normals, %d triangles, materials %s" % (
                path, want["obj_positions"], want["obj_texcoords"], want["obj_normals"], want["triangles"],
                ", ".join(want["material names"]) or "none"))
    return 1 if failed else 0


if __name__ == "__main__":
    if len(sys.argv) < 2:
        print(__doc__)
        sys.exit(2)
    sys.exit(main(sys.argv[1:]))
