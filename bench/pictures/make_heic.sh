#!/usr/bin/env bash
# Makes the 12-megapixel HEIC photos the decode is timed on, into FOLDER:
# photo.heic (heif-enc -q 90, no thumbnail), photo-thumb.heic (the same
# with a 1024-pixel thumbnail, covering the screen's box) and photo-t320.heic
# (with a 320-pixel one, as phones write: smaller than the box).
#   bench/pictures/make_heic.sh FOLDER
set -euo pipefail
out=${1:?usage: make_heic.sh FOLDER}
mkdir -p "$out"
# Soft colour clouds with fine grain: about as much detail as a photograph.
convert-im6.q16 -seed 7 -size 4032x3024 plasma:fractal -blur 0x1 -attenuate 0.3 \
    +noise Gaussian "$out/photo.png"
heif-enc -q 90 "$out/photo.png" -o "$out/photo.heic" >/dev/null
heif-enc -q 90 -t 1024 "$out/photo.png" -o "$out/photo-thumb.heic" >/dev/null
heif-enc -q 90 -t 320 "$out/photo.png" -o "$out/photo-t320.heic" >/dev/null
