#!/usr/bin/env python3
"""Writes the small seed corpora under tests/fuzz/corpus/. Run again only to
change the seeds; the files it writes are kept in the repository."""
import os
import struct
import subprocess
import tempfile
import zlib

here = os.path.dirname(os.path.abspath(__file__))


def put(target, name, data):
    folder = os.path.join(here, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def wmf(records, box=(0, 0, 400, 300)):
    body = b"".join(struct.pack("<IH", 3 + len(p) // 2, fn) + p for fn, p in records)
    body += struct.pack("<IH", 3, 0)  # end of file
    words = (18 + len(body)) // 2
    standard = struct.pack("<HHHIHIH", 1, 9, 0x300, words, 2, 8, 0)
    placeable = struct.pack("<IHhhhhHI", 0x9AC6CDD7, 0, *box, 1440, 0)
    check = 0
    for (w,) in struct.iter_unpack("<H", placeable):
        check ^= w
    return placeable + struct.pack("<H", check) + standard + body


def shorts(*v):
    return struct.pack("<%dh" % len(v), *v)


def png_header(width, height):
    ihdr = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    chunk = b"IHDR" + ihdr
    return (b"\x89PNG\r\n\x1a\n" + struct.pack(">I", len(ihdr)) + chunk +
            struct.pack(">I", zlib.crc32(chunk)))


def bmp_header(width, height, bits=24, size=0):
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, 0, 2835, 2835, 0, 0)
    return b"BM" + struct.pack("<IHHI", 54 + size, 0, 0, 54) + info


def small_bmp():
    row = bytes([0, 0, 255, 0, 255, 0]) + b"\0\0"
    return bmp_header(2, 2, size=16) + row * 2


def converted(fmt, *options):
    with tempfile.TemporaryDirectory() as d:
        out = os.path.join(d, "seed." + fmt)
        subprocess.run(["convert-im6.q16", "-size", "8x6", "gradient:red-blue", *options, out],
                       check=True)
        with open(out, "rb") as f:
            return f.read()


def with_restarts(interval):
    """A baseline JPEG from cjpeg with a restart marker every `interval`."""
    with tempfile.TemporaryDirectory() as d:
        ppm, out = os.path.join(d, "seed.ppm"), os.path.join(d, "seed.jpg")
        subprocess.run(["convert-im6.q16", "-size", "32x24", "gradient:red-blue", ppm], check=True)
        subprocess.run(["cjpeg", "-restart", interval, "-outfile", out, ppm], check=True)
        with open(out, "rb") as f:
            return f.read()


def with_orientation(jpeg, orientation):
    """An EXIF segment saying how to turn the picture, right after the SOI."""
    app1 = b"Exif\0\0" + exif_orientation(orientation)
    return jpeg[:2] + b"\xff\xe1" + struct.pack(">H", len(app1) + 2) + app1 + jpeg[2:]


def exif_orientation(orientation):
    return b"II*\0\x08\0\0\0\x01\0" + struct.pack("<HHIHH", 0x0112, 3, 1, orientation, 0) + b"\0" * 4


def with_png_orientation(png, orientation):
    """An eXIf chunk right after the PNG's header chunk."""
    exif = exif_orientation(orientation)
    chunk = b"eXIf" + exif
    return png[:33] + struct.pack(">I", len(exif)) + chunk + struct.pack(">I", zlib.crc32(chunk)) + png[33:]


def turned_tiff_pages():
    with tempfile.TemporaryDirectory() as d:
        first, second, out = (os.path.join(d, n) for n in ("1.tif", "2.tif", "out.tif"))
        for path, colours in ((first, "gradient:red-blue"), (second, "xc:green")):
            subprocess.run(["convert-im6.q16", "-size", "8x6", colours, "-depth", "16", path],
                           check=True)
        subprocess.run(["tiffcp", first, second, out], check=True)
        subprocess.run(["tiffset", "-s", "274", "6", out], check=True)
        with open(out, "rb") as f:
            return f.read()


def turned_webp():
    with tempfile.TemporaryDirectory() as d:
        png, exif, plain, out = (os.path.join(d, n) for n in ("in.png", "turn.exif", "plain.webp", "out.webp"))
        subprocess.run(["convert-im6.q16", "-size", "8x6", "gradient:red-blue", png], check=True)
        with open(exif, "wb") as f:
            f.write(exif_orientation(6))
        subprocess.run(["cwebp", "-quiet", png, "-o", plain], check=True)
        subprocess.run(["webpmux", "-set", "exif", exif, plain, "-o", out], check=True,
                       stderr=subprocess.DEVNULL)
        with open(out, "rb") as f:
            return f.read()


def encoded_heif(tool, name):
    """A small picture with transparency as heif-enc or avifenc (turned) writes it."""
    with tempfile.TemporaryDirectory() as d:
        png, out = os.path.join(d, "in.png"), os.path.join(d, name)
        subprocess.run(["convert-im6.q16", "-size", "8x6", "gradient:red-blue", "-alpha", "set",
                        "-channel", "A", "-evaluate", "set", "50%", "+channel", "png32:" + png],
                       check=True)
        options = ["-q", "50", png, "-o", out] if tool == "heif-enc" else ["--irot", "1", "-s", "10", png, out]
        subprocess.run([tool, *options], check=True, stdout=subprocess.DEVNULL)
        with open(out, "rb") as f:
            return f.read()


def linear_dng():
    with tempfile.TemporaryDirectory() as d:
        out = os.path.join(d, "seed.dng")
        subprocess.run(["convert-im6.q16", "-size", "8x6", "gradient:red-blue", "-alpha", "off",
                        "-depth", "16", "-compress", "none", "tiff:" + out], check=True)
        for tag in (["262", "34892"], ["274", "6"], ["50706", "1", "4", "0", "0"],
                    ["50708", "seed camera"], ["50721", "9", "1", "0", "0", "0", "1", "0", "0", "0", "1"],
                    ["50728", "3", "0.5", "1", "1"]):
            subprocess.run(["tiffset", "-s", *tag, out], check=True)
        with open(out, "rb") as f:
            return f.read()


def heic_with_thumbnail():
    """A HEIC whose primary picture carries a thumbnail, as phones write them."""
    with tempfile.TemporaryDirectory() as d:
        png, out = os.path.join(d, "in.png"), os.path.join(d, "out.heic")
        subprocess.run(["convert-im6.q16", "-size", "64x48", "gradient:red-blue", png], check=True)
        subprocess.run(["heif-enc", "-q", "50", "-t", "16", png, "-o", out], check=True,
                       stdout=subprocess.DEVNULL)
        with open(out, "rb") as f:
            return f.read()


def deep_avif():
    """A 10-bit AVIF in Display P3 named by its nclx box."""
    with tempfile.TemporaryDirectory() as d:
        png, out = os.path.join(d, "in.png"), os.path.join(d, "out.avif")
        subprocess.run(["convert-im6.q16", "-size", "8x6", "gradient:red-blue", "-depth", "16",
                        png], check=True)
        subprocess.run(["avifenc", "-d", "10", "--cicp", "12/13/6", "-s", "10", png, out],
                       check=True, stdout=subprocess.DEVNULL)
        with open(out, "rb") as f:
            return f.read()


def webp_frames():
    """A lossless WebP with transparency and an animation of two frames."""
    with tempfile.TemporaryDirectory() as d:
        first, second, clear, out = (os.path.join(d, n) for n in ("1.png", "2.png", "c.webp", "a.webp"))
        subprocess.run(["convert-im6.q16", "-size", "8x6", "gradient:red-blue", "-alpha", "set",
                        "-channel", "A", "-evaluate", "set", "50%", "+channel", "png32:" + first],
                       check=True)
        subprocess.run(["convert-im6.q16", "-size", "8x6", "xc:green", second], check=True)
        subprocess.run(["cwebp", "-quiet", "-lossless", first, "-o", clear], check=True)
        subprocess.run(["img2webp", "-loop", "0", first, second, "-o", out], check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        with open(clear, "rb") as a, open(out, "rb") as b:
            return a.read(), b.read()


def dng_with_preview():
    """The linear DNG with a second page LibRaw takes for the camera's JPEG
    preview: libtiff keeps a JPEG page's tables apart, so the page's one strip
    is pointed at a whole JPEG appended to the file."""
    with tempfile.TemporaryDirectory() as d:
        raw, ppm, jpeg, plain, page, out = (os.path.join(d, n) for n in (
            "raw.tif", "p.ppm", "p.jpg", "p.tif", "pj.tif", "out.dng"))
        subprocess.run(["convert-im6.q16", "-size", "16x12", "gradient:red-blue", "-alpha", "off",
                        "-depth", "16", "-compress", "none", "tiff:" + raw], check=True)
        subprocess.run(["convert-im6.q16", "-size", "8x6", "gradient:red-blue", ppm], check=True)
        subprocess.run(["cjpeg", "-outfile", jpeg, ppm], check=True)
        subprocess.run(["convert-im6.q16", ppm, "-depth", "8", "-compress", "none", "tiff:" + plain],
                       check=True)
        subprocess.run(["tiffcp", "-c", "jpeg", "-r", "65535", plain, page], check=True)
        subprocess.run(["tiffcp", raw, page, out], check=True)
        for tag in (["262", "34892"], ["274", "6"], ["50706", "1", "4", "0", "0"],
                    ["50708", "seed camera"], ["50721", "9", "1", "0", "0", "0", "1", "0", "0", "0", "1"],
                    ["50728", "3", "0.5", "1", "1"]):
            subprocess.run(["tiffset", "-s", *tag, out], check=True)
        with open(out, "rb") as f:
            b = bytearray(f.read())
        with open(jpeg, "rb") as f:
            whole = f.read()
    first = struct.unpack_from("<I", b, 4)[0]
    second = struct.unpack_from("<I", b, first + 2 + 12 * struct.unpack_from("<H", b, first)[0])[0]
    for i in range(struct.unpack_from("<H", b, second)[0]):
        entry = second + 2 + 12 * i
        tag = struct.unpack_from("<H", b, entry)[0]
        if tag in (273, 279):
            struct.pack_into("<HHII", b, entry, tag, 4, 1, len(b) if tag == 273 else len(whole))
    return bytes(b) + whole


def with_size(jpeg, width, height, frame=b"\xff\xc0"):
    """The same JPEG with its frame header claiming another size."""
    at = jpeg.index(frame) + 5
    return jpeg[:at] + struct.pack(">HH", height, width) + jpeg[at + 4:]


# The INI reader: whole files.
put("fuzz_ini_file", "settings.ini",
    b"[MAIN]\nDrive=/\nFolder=/home/ann/Pictures\nTab=2\nCheck8x10=1\nCopies=3\n")
put("fuzz_ini_file", "crlf_sections.ini",
    b"; kept\r\n[other]\r\nKey=v\r\n\r\n[ main ]\r\n folder = x=y \r\n[MAIN]\r\nTab=9\r\n")
put("fuzz_ini_file", "nul_and_junk.ini", b"[MAIN]\nFolder=ab\0cd\n\xff\xfe[\n=\n[]\n")

# The picture loader: first byte picks the extension (0 jpg, 1 gif, 2 bmp, 3 ico, 4 wmf, 7 png).
put("fuzz_picture_loader", "photo.jpg", b"\0" + converted("jpg"))
put("fuzz_picture_loader", "anim.gif", b"\1" + converted("gif"))
put("fuzz_picture_loader", "small.bmp", b"\2" + small_bmp())
put("fuzz_picture_loader", "icon.ico", b"\3" + converted("ico"))
put("fuzz_picture_loader", "shapes.wmf", b"\4" + wmf([
    (0x020B, shorts(0, 0)), (0x020C, shorts(300, 400)),
    (0x02FC, struct.pack("<HIH", 0, 0x0000FF, 0)), (0x012D, shorts(0)),
    (0x041B, shorts(250, 350, 50, 50)), (0x0418, shorts(200, 300, 100, 100)),
]))
put("fuzz_picture_loader", "lines.wmf", b"\4" + wmf([
    (0x020C, shorts(100, 100)), (0x0214, shorts(0, 0)), (0x0213, shorts(100, 100)),
], box=(0, 0, 100, 100)))
# The size guard: headers that claim far more pixels than the file holds.
put("fuzz_picture_loader", "huge.png", b"\7" + png_header(30000, 30000) + b"\0" * 16)
put("fuzz_picture_loader", "huge.bmp", b"\2" + bmp_header(20000, -20000) + b"\0" * 64)
put("fuzz_picture_loader", "huge.jpg", b"\0" + with_size(converted("jpg"), 30000, 30000))
# JPEGs through libjpeg-turbo: progressive and turned, grey; CMYK goes to Qt's reader.
put("fuzz_picture_loader", "progressive_turned.jpg",
    b"\6" + with_orientation(converted("jpg", "-interlace", "JPEG"), 6))
put("fuzz_picture_loader", "grey.jpg", b"\0" + converted("jpg", "-colorspace", "Gray"))
put("fuzz_picture_loader", "cmyk.jpg", b"\0" + converted("jpg", "-colorspace", "CMYK"))
# Claimed large enough for the 1/8 preview's two threads: from the middle of
# the data on a guess, or from a restart marker.
put("fuzz_picture_loader", "two_threads.jpg", b"\0" + with_size(converted("jpg"), 1200, 1000))
put("fuzz_picture_loader", "restarts.jpg", b"\0" + with_size(with_restarts("1B"), 1200, 1000))
# A few hundred bytes in several scans claiming 30000 x 30000: libjpeg would
# hold every coefficient (5 GB) even for a 1/8 decode.
put("fuzz_picture_loader", "huge_progressive.jpg",
    b"\0" + with_size(converted("jpg", "-interlace", "JPEG"), 30000, 30000, b"\xff\xc2"))
# Colour profiles: an RGB one that Qt converts, a CMYK one that LittleCMS does.
put("fuzz_picture_loader", "adobe_rgb.jpg",
    b"\0" + converted("jpg", "-profile", "/usr/share/color/icc/ghostscript/a98.icc"))
put("fuzz_picture_loader", "cmyk_profile.jpg", b"\0" + converted(
    "jpg", "-colorspace", "CMYK", "-profile", "/usr/share/color/icc/ghostscript/ps_cmyk.icc"))
# PNG through Qt's reader: 16 bits with transparency and an eXIf orientation.
put("fuzz_picture_loader", "turned_clear16.png", b"\7" + with_png_orientation(
    converted("png", "-alpha", "set", "-channel", "A", "-evaluate", "set", "50%", "+channel",
              "-depth", "16", "-define", "png:exclude-chunks=date,time"), 6))
put("fuzz_picture_loader", "huge.gif", b"\1GIF89a" + struct.pack("<HH", 65535, 65535) + b"\0\0\0;")

# The loader's other paths, one target each, whole files.
# HEIF and AVIF through libheif: a photo with transparency, one turned by its
# irot box, one with a thumbnail, a 10-bit one.
put("fuzz_heif", "clear.heic", encoded_heif("heif-enc", "clear.heic"))
put("fuzz_heif", "turned.avif", encoded_heif("avifenc", "turned.avif"))
put("fuzz_heif", "thumbnail.heic", heic_with_thumbnail())
put("fuzz_heif", "deep.avif", deep_avif())
# TIFF through Qt's reader: a turned 16-bit one of two pages, LZW, JPEG inside.
put("fuzz_tiff", "turned_pages16.tif", turned_tiff_pages())
put("fuzz_tiff", "lzw.tif", converted("tif", "-compress", "LZW"))
put("fuzz_tiff", "jpeg.tif", converted("tif", "-compress", "JPEG"))
# WebP through Qt's reader: lossy with EXIF, lossless with transparency, animated.
put("fuzz_webp", "turned.webp", turned_webp())
clear_webp, animated_webp = webp_frames()
put("fuzz_webp", "clear_lossless.webp", clear_webp)
put("fuzz_webp", "animated.webp", animated_webp)
# Camera raw through LibRaw: a linear DNG (turned, with an as-shot white
# balance), and one with a JPEG preview.
put("fuzz_raw", "linear_turned.dng", linear_dng())
put("fuzz_raw", "preview.dng", dng_with_preview())

# ApplyFilter: code, width, height, padding, parameter (4 bytes), pixels.
for code, param in [(1, 2), (4, 6), (7, 0xFFFFFF), (15, 5), (16, 3), (17, -10), (18, 0xB4B4B4),
                    (21, 100), (24, 0), (29, 40), (30, 50), (31, 150)]:
    put("fuzz_apply_filter", "code%02d" % code,
        bytes([code, 11, 7, 1]) + struct.pack("<i", param) + bytes(range(0, 256, 3)))

# The version reader.
for name, text in [("plain", b"3.00"), ("half_even", b"2.50"), ("long", b" 2.50000000000000000001\r\n"),
                   ("negative", b"-4.5"), ("range", b"32767.5"), ("junk", b"3.0.1"),
                   ("exponent", b"1e3")]:
    put("fuzz_version", name, text)

# BMP: a small picture written and read back.
for i, fmt in enumerate(range(5)):
    put("fuzz_bmp_round_trip", "round_%d" % i, bytes([9, 5, fmt, 28]) + bytes(range(60)))

# "Save": a file name.
put("fuzz_save_names", "jpeg", b"/tmp/pic.jpg")
put("fuzz_save_names", "tiff", b"shot.Tiff")
put("fuzz_save_names", "read_only", b"icon.ico")
put("fuzz_save_names", "no_ext", b"folder.d/file")
