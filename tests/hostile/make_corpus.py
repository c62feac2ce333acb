#!/usr/bin/env python3
"""Writes the corrupt-file corpus into corpus/ beside this script (deterministic).

Every picture is put together byte by byte, except the JPEG, which `vips` (libvips-tools)
encodes from a PPM. File names say what a case is: base-* load, everything else must fail
cleanly; giant-* claim far more pixels than the engine allocates. lng-* are language files.
fuzz/make_seeds.py imports this module for its picture seeds.
"""
import os
import struct
import subprocess
import sys
import tempfile
import zlib

W, H = 8, 6
HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "corpus")
PALETTE = [(255, 0, 0), (0, 255, 0), (0, 0, 255), (255, 255, 0)]
GIANT = 100_000
GIANT16 = 65_535  # the largest side a 16-bit size field can claim


def index(x, y):
    return (2 if y >= H // 2 else 0) + (1 if x >= W // 2 else 0)


def rgb_rows():
    return [[PALETTE[index(x, y)] for x in range(W)] for y in range(H)]


# --- BMP ---------------------------------------------------------------------------------
def bmp24(width=W, height=H):
    stride = (W * 3 + 3) & ~3
    body = b"".join(
        b"".join(bytes((b, g, r)) for r, g, b in rows) + b"\0" * (stride - W * 3)
        for rows in reversed(rgb_rows()))
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(body), 2835, 2835, 0, 0)
    return b"BM" + struct.pack("<IHHI", 14 + 40 + len(body), 0, 0, 54) + info + body


def bmp8(shift=0, colours=len(PALETTE)):
    stride = (W + 3) & ~3
    body = b"".join(bytes(index(x, y) + shift for x in range(W)) + b"\0" * (stride - W)
                    for y in reversed(range(H)))
    pal = b"".join(bytes((b, g, r, 0)) for r, g, b in PALETTE[:colours])
    info = struct.pack("<IiiHHIIiiII", 40, W, H, 1, 8, 0, len(body), 2835, 2835, colours, 0)
    off = 14 + 40 + len(pal)
    return b"BM" + struct.pack("<IHHI", off + len(body), 0, 0, off) + info + pal + body


# --- PNG ---------------------------------------------------------------------------------
def png_chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def png(width=W, height=H, palette=False, shift=0):
    if palette:
        raw = b"".join(b"\0" + bytes(index(x, y) + shift for x in range(W)) for y in range(H))
        ihdr = struct.pack(">IIBBBBB", width, height, 8, 3, 0, 0, 0)
        extra = png_chunk(b"PLTE", b"".join(bytes(p) for p in PALETTE))
    else:
        raw = b"".join(b"\0" + b"".join(bytes(p) for p in row) for row in rgb_rows())
        ihdr = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
        extra = b""
    return (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", ihdr) + extra +
            png_chunk(b"IDAT", zlib.compress(raw)) + png_chunk(b"IEND", b""))


# --- GIF ---------------------------------------------------------------------------------
def lzw_uncompressed(indices, min_code=2):
    # A clear code before every few pixels keeps all codes at min_code + 1 bits: valid LZW
    # without a dictionary.
    clear, end, bits = 1 << min_code, (1 << min_code) + 1, min_code + 1
    codes = []
    for i, v in enumerate(indices):
        if i % ((1 << min_code) - 2) == 0:
            codes.append(clear)
        codes.append(v)
    codes.append(end)
    acc = nbits = 0
    out = bytearray()
    for c in codes:
        acc |= c << nbits
        nbits += bits
        while nbits >= 8:
            out.append(acc & 0xFF)
            acc >>= 8
            nbits -= 8
    if nbits:
        out.append(acc)
    blocks = b"".join(bytes((len(out[i:i + 255]),)) + out[i:i + 255] for i in range(0, len(out), 255))
    return bytes((min_code,)) + blocks + b"\0"


def gif(width=W, height=H, frames=True, shift=0):
    head = b"GIF89a" + struct.pack("<HHBBB", width, height, 0x81, 0, 0)  # 4-colour table
    table = b"".join(bytes(p) for p in PALETTE)
    body = b""
    if frames:
        # The frame claims the screen's size too: decoders fit a bogus screen to its frames.
        pixels = [index(x, y) + shift for y in range(H) for x in range(W)]
        body = (b"," + struct.pack("<HHHHB", 0, 0, width, height, 0) +
                lzw_uncompressed(pixels, 3 if shift else 2))
    return head + table + body + b";"


# --- TIFF --------------------------------------------------------------------------------
def tiff(width=W, height=H, strip_offset=None, strip_bytes=None):
    pixels = b"".join(bytes(p) for row in rgb_rows() for p in row)
    entries = [(256, 4, 1, width), (257, 4, 1, height), (258, 3, 1, 8), (259, 3, 1, 1),
               (262, 3, 1, 2), (273, 4, 1, 0), (277, 3, 1, 3), (278, 4, 1, height),
               (279, 4, 1, strip_bytes if strip_bytes is not None else len(pixels)),
               (284, 3, 1, 1)]
    ifd_size = 2 + 12 * len(entries) + 4
    data_at = 8 + ifd_size
    ifd = struct.pack("<H", len(entries))
    for tag, kind, count, value in entries:
        if tag == 273:
            value = strip_offset if strip_offset is not None else data_at
        # BitsPerSample with one value stands for all three samples.
        packed = struct.pack("<HI", value, 0)[:4] if kind == 3 else struct.pack("<I", value)
        ifd += struct.pack("<HHI", tag, kind, count) + packed
    ifd += struct.pack("<I", 0)
    return b"II*\0" + struct.pack("<I", 8) + ifd + pixels


# --- PCX ---------------------------------------------------------------------------------
def pcx_rle(line):
    out = bytearray()
    i = 0
    while i < len(line):
        run = 1
        while i + run < len(line) and line[i + run] == line[i] and run < 63:
            run += 1
        if run > 1 or line[i] >= 0xC0:
            out += bytes((0xC0 | run, line[i]))
        else:
            out.append(line[i])
        i += run
    return bytes(out)


def pcx(width=W, height=H):
    bpl = W + (W & 1)
    head = struct.pack("<BBBBHHHHHH", 10, 5, 1, 8, 0, 0, width - 1, height - 1, 72, 72)
    head += b"\0" * 48 + struct.pack("<BBHHHH", 0, 3, bpl, 1, 0, 0)
    head += b"\0" * (128 - len(head))
    body = b""
    for row in rgb_rows():
        for c in range(3):
            body += pcx_rle(bytes(p[c] for p in row) + b"\0" * (bpl - W))
    return head + body


# --- TGA ---------------------------------------------------------------------------------
def tga(width=W, height=H, mapped=False, shift=0):
    if mapped:
        head = struct.pack("<BBBHHBHHHHBB", 0, 1, 1, 0, len(PALETTE), 24, 0, 0, width, height, 8, 0x20)
        cmap = b"".join(bytes((b, g, r)) for r, g, b in PALETTE)
        body = b"".join(bytes(index(x, y) + shift for x in range(W)) for y in range(H))
        return head + cmap + body
    head = struct.pack("<BBBHHBHHHHBB", 0, 0, 2, 0, 0, 0, 0, 0, width, height, 24, 0x20)
    return head + b"".join(bytes((b, g, r)) for row in rgb_rows() for r, g, b in row)


# --- JPEG --------------------------------------------------------------------------------
def jpeg():
    ppm = b"P6\n%d %d\n255\n" % (W, H) + b"".join(bytes(p) for row in rgb_rows() for p in row)
    with tempfile.TemporaryDirectory() as tmp:
        src, dst = os.path.join(tmp, "in.ppm"), os.path.join(tmp, "out.jpg")
        with open(src, "wb") as f:
            f.write(ppm)
        subprocess.run(["vips", "copy", src, dst + "[Q=90,strip]"], check=True)
        with open(dst, "rb") as f:
            return f.read()


def jpeg_sized(data, width, height):
    # Rewrites the frame header's size fields (SOF0, big-endian height then width).
    at = data.index(b"\xff\xc0") + 5
    return data[:at] + struct.pack(">HH", height, width) + data[at + 4:]


# --- Language files ----------------------------------------------------------------------
def lng_string(text, claimed=None):
    data = text.encode("cp1252")
    return struct.pack("<H", len(data) if claimed is None else claimed) + data


def lng(entries, count=None):
    body = b"".join(lng_string(n) + lng_string(t) for n, t in entries)
    return struct.pack("<I", len(entries) if count is None else count)[:3] + body


SVG = (b'<svg xmlns="http://www.w3.org/2000/svg" width="8" height="6">'
       b'<rect width="8" height="6" fill="red"/></svg>\n')
MVG = b"push graphic-context\nviewbox 0 0 8 6\nfill red\nrectangle 0,0 8,6\npop graphic-context\n"


def bases():
    """One good file per extension: name -> bytes."""
    j = jpeg()
    return {"bmp": bmp24(), "jpg": j, "jpeg": j, "gif": gif(), "tif": tiff(), "tiff": tiff(),
            "png": png(), "pcx": pcx(), "tga": tga()}


def cases():
    out = {}
    base = bases()
    for ext, data in base.items():
        out["base-%s.%s" % (ext, ext)] = data
        out["zero-%s.%s" % (ext, ext)] = b""
        for cut in sorted({1, 4, 12, 30, len(data) // 2, len(data) * 3 // 4}):
            out["trunc-%s-%04d.%s" % (ext, cut, ext)] = data[:cut]
        if ext in ("jpg", "jpeg"):  # the header is most of a small JPEG: cut inside the scan
            scan = data.index(b"\xff\xda")
            out["trunc-%s-scan.%s" % (ext, ext)] = data[:(scan + len(data)) // 2]
    # Content under an extension that names another format: the extension decides and fails.
    for content, ext in [("png", "jpg"), ("jpg", "gif"), ("gif", "png"), ("bmp", "tif"),
                         ("tif", "bmp"), ("png", "bmp"), ("gif", "pcx"), ("png", "tga"),
                         ("jpg", "pcx")]:
        out["wrongext-%s-as.%s" % (content, ext)] = base[content]
    # A drawing format that ImageMagick would render, and a script of drawing commands.
    out["wrongext-svg-as.bmp"] = SVG
    out["wrongext-svg-as.pcx"] = SVG
    out["wrongext-svg-as.tga"] = SVG
    out["wrongext-mvg-as.bmp"] = MVG
    j = base["jpg"]
    out.update({
        "giant-100000.bmp": bmp24(GIANT, GIANT),
        "giant-100000.png": png(GIANT, GIANT),
        "giant-100000.tif": tiff(GIANT, GIANT),
        # Within the engine's pixel limit, with almost no data behind the header.
        "giant-17000.png": png(17_000, 17_000),
        "giant-17000.jpg": jpeg_sized(j, 17_000, 17_000),
        "giant-17000.tif": tiff(17_000, 17_000),
        "giant-65535.gif": gif(GIANT16, GIANT16),
        "giant-65535.jpg": jpeg_sized(j, GIANT16, GIANT16),
        "giant-65535.pcx": pcx(GIANT16, GIANT16),
        "giant-65535.tga": tga(GIANT16, GIANT16),
        "palette-range.bmp": bmp8(shift=200),
        "palette-range.png": png(palette=True, shift=9),
        "palette-range.gif": gif(shift=4),
        "palette-range.tga": tga(mapped=True, shift=9),
        "noframes.gif": gif(frames=False),
        "strips-past-end.tif": tiff(strip_offset=0xFFFFFF00),
        "strips-huge-count.tif": tiff(strip_bytes=0x7FFFFFFF),
        "strips-zero-offset.tif": tiff(strip_offset=0),
    })
    good = [("MSG_SavImg", "Bild speichern?"), ("frmAbout_frmAbout_cap", "Info")]
    full = lng(good)
    out.update({
        "lng-zero.lng": b"",
        "lng-count-only.lng": struct.pack("<I", 5)[:3],
        "lng-count-past-end.lng": lng(good, count=40),
        "lng-giant-count.lng": lng(good, count=0xFFFFFF),
        "lng-length-past-end.lng": lng(good) + lng_string("MSG_NotSupported") +
        struct.pack("<H", 0xFFFF) + b"cut short",
        "lng-name-past-end.lng": lng(good)[:-len(lng_string("Info"))] + struct.pack("<H", 900),
        "lng-cut-in-count.lng": full[:2],
    })
    # The count of lng-length-past-end must include the cut entry.
    name = "lng-length-past-end.lng"
    out[name] = struct.pack("<I", 3)[:3] + out[name][3:]
    return out


def main():
    os.makedirs(OUT, exist_ok=True)
    for old in os.listdir(OUT):
        os.remove(os.path.join(OUT, old))
    for name, data in sorted(cases().items()):
        with open(os.path.join(OUT, name), "wb") as f:
            f.write(data)
    print("%d files in %s" % (len(os.listdir(OUT)), OUT), file=sys.stderr)


if __name__ == "__main__":
    main()
