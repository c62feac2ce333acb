#!/usr/bin/env python3
"""Writes a small seed corpus for every fuzz target into the folder given (deterministic).

Picture and language seeds come from the corrupt-file corpus (tests/hostile/corpus/, made by
tests/hostile/make_corpus.py): its good files and a few of its damaged ones.
Usage: make_seeds.py <output folder>
"""
import os
import shutil
import struct
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
CORPUS = os.path.join(HERE, "..", "tests", "hostile", "corpus")


def corpus_files(*prefixes):
    return sorted(n for n in os.listdir(CORPUS) if n.startswith(prefixes))


def lng(entries):
    out = struct.pack("<I", len(entries))[:3]
    for name, text in entries:
        for s in (name, text):
            data = s.encode("cp1252")
            out += struct.pack("<H", len(data)) + data
    return out


ARGS = [b"", b"Debug:StartMain", b"OptimizeImage /tmp/a picture.jpg",
        b"BatchProcess /tmp/?a.jpg?b.png", b"BatchProcess /tmp", b"BatchProcess /?tmp?etc",
        b"/tmp/\0a.jpg\0b.jpg", b"BatchProcess /tmp/x?y?OptimizeImage z", "/tmp/\u00e9t\u00e9?a".encode()]

# FuzzedDataProvider reads numbers from the end and strings from the front; these only need
# to reach the builder's main branches, the fuzzer does the rest.
HANDOFF = [b"/usr/lib/trimjet/Trimjet.hpx\\/home/u/a.jpg\\/home/u/b.jpg\\" + bytes([2, 0, 2, 2, 0, 1]),
           b"/opt/t/Trimjet.hpx\\/home/u/one picture.jpg\\" + bytes([2, 2, 1, 1, 1]),
           b"/opt/t/Trimjet.hpx\\/a/b/c.jpg\\/a/d/e.jpg\\/a/?/f.jpg\\" + bytes([3, 1, 1, 1, 3, 0, 1]),
           b"\\" * 8 + bytes([0, 1, 0, 0])]


# Seeds for the newer loaders and the colour paths, made by the vips tool from a corpus picture:
# (file name, vips arguments after the input and output).
VIPS_SEEDS = [("seed.webp", ["webpsave"], []), ("seed.heic", ["heifsave"], ["--Q", "30"]),
              ("seed.avif", ["heifsave"], ["--Q", "30", "--compression", "av1"]),
              ("p3-profile.jpg", ["jpegsave"], ["--profile", "p3"]),
              ("cmyk.jpg", ["icc_export"], ["--output-profile", "cmyk"]),
              ("grey16.png", ["colourspace"], ["grey16"])]


def vips_seeds(folder):
    source = os.path.join(CORPUS, "base-png.png")
    for name, op, extra in VIPS_SEEDS:
        target = os.path.join(folder, name)
        args = ["vips", op[0], source, target] + extra
        if subprocess.run(args, capture_output=True).returncode != 0:
            print("make_seeds: vips cannot write %s here, left out" % name, file=sys.stderr)


def write(folder, name, data):
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def main():
    out = sys.argv[1]
    if os.path.isdir(out):
        shutil.rmtree(out)
    pictures = corpus_files("base-", "palette-", "strips-", "noframes", "giant-100000")
    for target in ("fuzz_image_buffer", "fuzz_image_file"):
        os.makedirs(os.path.join(out, target))
        for name in pictures:
            shutil.copy(os.path.join(CORPUS, name), os.path.join(out, target, name))
        vips_seeds(os.path.join(out, target))
    lngdir = os.path.join(out, "fuzz_language_file")
    for name in corpus_files("lng-"):
        write(lngdir, name, open(os.path.join(CORPUS, name), "rb").read())
    write(lngdir, "full.lng", lng([("MSG_SavImg", "Bild speichern?"), ("frmBatch_cmdNext_cap", "&Weiter"),
                                   ("frmBatch_cmdNext_tip", "N\u00e4chste Seite"),
                                   ("msg_lower", "control key"), ("MSG_SavImg", "later wins")]))
    for i, data in enumerate(ARGS):
        write(os.path.join(out, "fuzz_startup_args"), "args%02d" % i, data)
    # Effects: a 4 x 3 picture (numbers are read from the end) for each effect number.
    for which in range(15):
        write(os.path.join(out, "fuzz_effects"), "effect%02d" % which,
              bytes(range(36)) + bytes([0, 1, 0, 0, 0, 40, which, 3, 4]))
    for i, data in enumerate(HANDOFF):
        write(os.path.join(out, "fuzz_handoff"), "records%02d" % i, data)


if __name__ == "__main__":
    main()
