#!/usr/bin/python3
"""parvello-print against the same job done with OpenCV, in one run.

The job: nine different 12-megapixel JPEGs onto one 2.5x3.25 (wallet) sheet
at 600 dpi as a PDF: decode, INTER_AREA to 1500 x 1950, JPEG quality 94 (what
Qt's PDF writer uses), one page. OpenCV works with two threads. Both sides
run as child processes; wall time is the least of several runs (the machine
is shared), peak memory the largest resident size seen.

    /usr/bin/python3 bench/print/opencv_compare.py BUILD/bin/parvello-print [runs]

Needs python3-opencv and time (Debian). With "--opencv-job OUT.pdf FILES..." it is the
OpenCV side itself.
"""
import os
import subprocess
import sys
import tempfile
import time
from concurrent.futures import ThreadPoolExecutor

import cv2
import numpy as np

CELL = (1500, 1950)  # 2.5 x 3.25 inches at 600 dpi
PAGE = (8.5 * 72, 11 * 72)  # Letter, in points
GAP = 5 / 20  # the cut line: 5 twips, in points


def opencv_job(out, files):
    cv2.setNumThreads(2)

    def cell(path):
        picture = cv2.imread(path, cv2.IMREAD_COLOR)
        small = cv2.resize(picture, CELL, interpolation=cv2.INTER_AREA)
        return cv2.imencode(".jpg", small, [cv2.IMWRITE_JPEG_QUALITY, 94])[1].tobytes()

    with ThreadPoolExecutor(2) as pool:
        jpegs = list(pool.map(cell, files))
    # A one-page PDF with the nine JPEGs placed row by row.
    w, h = 2.5 * 72, 3.25 * 72
    draw = "".join("q %.2f 0 0 %.2f %.2f %.2f cm /I%d Do Q\n" % (
        w, h, (i % 3) * (w + GAP), PAGE[1] - (i // 3 + 1) * h - (i // 3) * GAP, i)
        for i in range(len(jpegs))).encode()
    objects = [b"<< /Type /Catalog /Pages 2 0 R >>",
               b"<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
               b"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 %d %d] /Contents 4 0 R "
               b"/Resources << /XObject << %s >> >> >>" % (
                   PAGE[0], PAGE[1],
                   b" ".join(b"/I%d %d 0 R" % (i, 5 + i) for i in range(len(jpegs)))),
               b"<< /Length %d >>\nstream\n%s\nendstream" % (len(draw), draw)]
    for j in jpegs:
        objects.append(b"<< /Type /XObject /Subtype /Image /Width %d /Height %d "
                       b"/ColorSpace /DeviceRGB /BitsPerComponent 8 /Filter /DCTDecode "
                       b"/Length %d >>\nstream\n%s\nendstream" % (CELL[0], CELL[1], len(j), j))
    pdf, offsets = bytearray(b"%PDF-1.4\n"), []
    for n, body in enumerate(objects, 1):
        offsets.append(len(pdf))
        pdf += b"%d 0 obj\n%s\nendobj\n" % (n, body)
    xref = len(pdf)
    pdf += b"xref\n0 %d\n0000000000 65535 f \n" % (len(objects) + 1)
    pdf += b"".join(b"%010d 00000 n \n" % o for o in offsets)
    pdf += b"trailer\n<< /Size %d /Root 1 0 R >>\nstartxref\n%d\n%%%%EOF\n" % (
        len(objects) + 1, xref)
    with open(out, "wb") as f:
        f.write(pdf)


def photos(folder, width, height):
    """Nine different photograph stand-ins: smooth shapes plus sensor noise."""
    files = []
    y, x = np.mgrid[0:height, 0:width].astype(np.float32)
    rng = np.random.default_rng(7)
    for seed in range(9):
        v = np.sin(x / (150 + seed * 20)) * np.cos(y / (90 + seed * 15))
        noise = rng.integers(-8, 9, size=(height, width), dtype=np.int16)
        bgr = np.stack([200 - 90 * v, 60 + seed * 20 + 40 * v, 128 + 100 * v], axis=2)
        picture = np.clip(bgr + noise[..., None], 0, 255).astype(np.uint8)
        path = os.path.join(folder, "photo%d.jpg" % seed)
        cv2.imwrite(path, picture, [cv2.IMWRITE_JPEG_QUALITY, 92])
        files.append(path)
    return files


def measure(command):
    """Wall seconds and peak resident megabytes of one child process, run by
    /usr/bin/time: a child forked from this script would count the script's
    own memory in its peak."""
    with tempfile.NamedTemporaryFile("r") as report:
        start = time.monotonic()
        status = subprocess.call(["/usr/bin/time", "-f", "%M", "-o", report.name] + command,
                                 stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        wall = time.monotonic() - start
        if status != 0:
            sys.exit("failed: %s" % " ".join(command))
        return wall, int(report.read().split()[-1]) / 1024


def main():
    tool = sys.argv[1]
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 5
    print("least of %d runs, wall; peak resident memory" % runs)
    print("| pictures | ours s | OpenCV s | ratio (target <= 0.6) | ours MB | OpenCV MB |")
    print("|---|---:|---:|---:|---:|---:|")
    for name, size in [("portrait 3000 x 4000", (3000, 4000)),
                       ("landscape 4000 x 3000", (4000, 3000))]:
        with tempfile.TemporaryDirectory() as folder:
            files = photos(folder, *size)
            ours, theirs = [], []
            for r in range(runs):
                out = os.path.join(folder, "run%d" % r)
                ours.append(measure([tool, "--pdf", out, "2.5x3.25"] + files))
                theirs.append(measure([sys.executable, __file__, "--opencv-job",
                                       out + ".pdf"] + files))
            best_ours = min(w for w, _ in ours)
            best_theirs = min(w for w, _ in theirs)
            print("| %s | %.3f | %.3f | %.2f | %.0f | %.0f |" % (
                name, best_ours, best_theirs, best_ours / best_theirs,
                max(m for _, m in ours), max(m for _, m in theirs)))


if __name__ == "__main__":
    if len(sys.argv) > 2 and sys.argv[1] == "--opencv-job":
        opencv_job(sys.argv[2], sys.argv[3:])
    else:
        main()
