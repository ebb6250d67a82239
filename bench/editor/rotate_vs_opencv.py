#!/usr/bin/python3
"""The editor's quarter turn next to OpenCV's cv2.rotate, one thread each, in one run.

    bench/editor/rotate_vs_opencv.py BUILD/bin/editor_bench

Both turn the same 6000 x 4000 picture of 32-bit pixels clockwise into a picture allocated
once. The rounds alternate between the two so that a busy machine slows both alike; the best
time of each side is compared. Needs python3-opencv (Debian's), which the build does not.
Exits 1 when the editor's turn is slower than OpenCV's.
"""
import json
import subprocess
import sys
import time

import cv2
import numpy

ROUNDS = 5


def editor_ms(bench):
    out = subprocess.run(
        [bench, "--benchmark_filter=^BM_RotateQuarter$", "--benchmark_format=json",
         "--benchmark_repetitions=3"],
        check=True, capture_output=True, text=True).stdout
    runs = [b for b in json.loads(out)["benchmarks"] if b.get("run_type") == "iteration"]
    return min(b["real_time"] for b in runs)  # the bench reports milliseconds


def opencv_ms(picture, turned):
    best = float("inf")
    for _ in range(10):
        start = time.perf_counter()
        cv2.rotate(picture, cv2.ROTATE_90_CLOCKWISE, dst=turned)
        best = min(best, time.perf_counter() - start)
    return best * 1000


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    cv2.setNumThreads(1)
    picture = numpy.random.default_rng(3).integers(0, 256, (4000, 6000, 4), numpy.uint8)
    turned = numpy.empty((6000, 4000, 4), numpy.uint8)
    ours, theirs = float("inf"), float("inf")
    for _ in range(ROUNDS):
        ours = min(ours, editor_ms(sys.argv[1]))
        theirs = min(theirs, opencv_ms(picture, turned))
    print(f"editor RotateQuarter {ours:.1f} ms, OpenCV rotate {theirs:.1f} ms, "
          f"ratio {ours / theirs:.2f}")
    sys.exit(0 if ours <= theirs else 1)


if __name__ == "__main__":
    main()
