#!/usr/bin/python3
"""Runs parvello-filter on small pictures written here and checks the pictures it writes."""
import os
import subprocess
import sys
import tempfile

tool = sys.argv[1]
failures = []


def check(what, ok):
    if not ok:
        failures.append(what)


def write_ppm(path, w, h, rgb):
    with open(path, "wb") as f:
        f.write(b"P6\n%d %d\n255\n" % (w, h) + bytes(rgb))


def read_ppm(path):
    data = open(path, "rb").read()
    parts = data.split(maxsplit=4)
    assert parts[0] == b"P6" and parts[3] == b"255", parts[:4]
    return int(parts[1]), int(parts[2]), list(parts[4])


with tempfile.TemporaryDirectory() as d:
    src, out = os.path.join(d, "in.ppm"), os.path.join(d, "out.ppm")
    pixels = [10, 20, 30, 200, 100, 0, 255, 255, 255, 0, 1, 2, 7, 8, 9, 90, 91, 92]
    write_ppm(src, 3, 2, pixels)

    # Negative: every channel c becomes 255 - c.
    r = subprocess.run([tool, "2", "0", src, out], capture_output=True, text=True)
    check("negative runs: " + r.stderr, r.returncode == 0)
    check("negative result", read_ppm(out) == (3, 2, [255 - v for v in pixels]))

    # Black and white at 180 (a colour written as 0xBBGGRR): only (255, 255, 255) is not
    # below the threshold in every channel.
    r = subprocess.run([tool, "18", "0xB4B4B4", src, out], capture_output=True, text=True)
    check("black and white runs", r.returncode == 0)
    expected = []
    for i in range(0, len(pixels), 3):
        dark = all(v < 180 for v in pixels[i:i + 3])
        expected += [0 if dark else 255] * 3
    check("black and white result", read_ppm(out)[2] == expected)

    # Rotate: the 3 x 2 picture turned a quarter clockwise is 2 x 3, new (x, y) = old (y, 1 - x).
    r = subprocess.run([tool, "rotate", src, out], capture_output=True, text=True)
    check("rotate runs: " + r.stderr, r.returncode == 0)
    old = [pixels[i:i + 3] for i in range(0, len(pixels), 3)]  # row-major, 3 wide
    expected = [c for y in range(3) for x in range(2) for c in old[(1 - x) * 3 + y]]
    check("rotate result", read_ppm(out) == (2, 3, expected))

    # A refused parameter, an unknown code, a missing file: clear errors, no output.
    os.remove(out)
    r = subprocess.run([tool, "15", "0", src, out], capture_output=True, text=True)
    check("mosaic 0 refused", r.returncode == 1 and "block size" in r.stderr)
    check("no picture written", not os.path.exists(out))
    r = subprocess.run([tool, "32", "0", src, out], capture_output=True, text=True)
    check("code 32 is a usage error", r.returncode == 2)
    r = subprocess.run([tool, "2", "0", os.path.join(d, "missing.png"), out],
                       capture_output=True, text=True)
    check("missing file", r.returncode == 1 and "cannot read" in r.stderr)
    open(os.path.join(d, "junk.png"), "wb").write(b"not a picture at all")
    r = subprocess.run([tool, "2", "0", os.path.join(d, "junk.png"), out],
                       capture_output=True, text=True)
    check("unreadable file", r.returncode == 1)

for f in failures:
    print("FAILED:", f)
sys.exit(1 if failures else 0)
