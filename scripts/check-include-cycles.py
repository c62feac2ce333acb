#!/usr/bin/env python3
"""Checks that the folders of the program include each other without a cycle.

Every quoted #include of the sources (tests, benchmarks and fuzz targets left out) is an edge
from the including file's folder to the included header's folder; a bare name is looked up
among the program's headers (the including folder first). Prints the folder graph and every
cycle; exits 1 when there is one.

Headers listed in PRIVATE belong to the inside of one library: a file of another folder that
includes one is reported, and the check fails. A listed header that no longer exists fails too,
so the list cannot go stale. An argument names another tree to check (the test's own), where
only the includes are checked."""
import os
import re
import subprocess
import sys
from collections import defaultdict

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SKIP = ("tests/", "bench/", "fuzz/", "build")
# The backends and helpers behind a library's own classes; other folders use those classes.
PRIVATE = {
    "engine": ["ExifOrientation.h", "JpegErrorManager.h", "PictureColour.h", "PictureMetadata.h",
               "PixelScaler.h", "QtSurface.h", "TgaDecoder.h", "TiffTags.h", "VipsAdapter.h",
               "VipsPipeline.h", "GuardedMapping.h", "TunedJpegEncoder.h", "TrellisQuantiser.h",
               "CoefficientWriter.h", "PerceptualTables.h"],
    "controls": ["ButtonBorder.h", "ButtonPicture.h", "ClickRepeater.h", "SizerBarBase.h"],
    "settings": ["Cp1252.h", "clsFile.h"],
    "browse": ["CellPainter.h", "ThumbnailProtocol.h", "ThumbnailResult.h"],
    "plugin": ["HostRecords.h", "clsCommandLine.h", "modPlugInStrings.h"],
    "batch/cli": ["CliArguments.h", "CliInputs.h", "CliReport.h", "ProgressLine.h", "Shard.h"],
    "optimizer": ["EffectPicture.h", "clsFileData.h", "SliderDrag.h"],
}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def sources():
    try:
        out = subprocess.run(["git", "ls-files", "*.h", "*.cpp"], cwd=ROOT, capture_output=True,
                             text=True, check=True).stdout.split()
    except (OSError, subprocess.CalledProcessError):  # a copy without its history
        out = [os.path.relpath(os.path.join(d, f), ROOT) for d, _, names in os.walk(ROOT)
               for f in names if f.endswith((".h", ".cpp"))]
    return [f for f in out if not f.startswith(SKIP)]


def main():
    global ROOT
    if len(sys.argv) > 1:
        ROOT = os.path.abspath(sys.argv[1])
    files = sources()
    private = {f"{folder}/{h}" for folder, names in PRIVATE.items() for h in names}
    leaks = [] if len(sys.argv) > 1 else [f"{h} is missing" for h in sorted(private)
                                          if not os.path.exists(os.path.join(ROOT, h))]
    headers = defaultdict(list)
    for f in files:
        if f.endswith(".h"):
            headers[os.path.basename(f)].append(f)
    graph = defaultdict(set)
    for f in files:
        here = os.path.dirname(f)
        with open(os.path.join(ROOT, f), encoding="utf-8", errors="replace") as text:
            for name in INCLUDE.findall(text.read()):
                if "/" in name:
                    target = name if os.path.exists(os.path.join(ROOT, name)) else None
                else:
                    found = headers.get(name, [])
                    same = [h for h in found if os.path.dirname(h) == here]
                    target = (same or found or [None])[0]
                if target and os.path.dirname(target) != here:
                    graph[here].add(os.path.dirname(target))
                    if target in private:
                        leaks.append(f"{f} includes {target}, private to {os.path.dirname(target)}")
    for folder in sorted(graph):
        print(f"{folder or '.'} -> {', '.join(sorted(graph[folder]))}")

    # Tarjan's strongly connected components: any with two or more folders is a cycle.
    index, low, stack, on, cycles = {}, {}, [], set(), []

    def visit(v):
        index[v] = low[v] = len(index)
        stack.append(v)
        on.add(v)
        for w in graph.get(v, ()):
            if w not in index:
                visit(w)
                low[v] = min(low[v], low[w])
            elif w in on:
                low[v] = min(low[v], index[w])
        if low[v] == index[v]:
            part = []
            while True:
                w = stack.pop()
                on.discard(w)
                part.append(w)
                if w == v:
                    break
            if len(part) > 1:
                cycles.append(sorted(part))

    sys.setrecursionlimit(10000)
    for v in list(graph):
        if v not in index:
            visit(v)
    for c in cycles:
        print("cycle among: " + ", ".join(c))
    print("no cycle" if not cycles else f"{len(cycles)} cycle(s)")
    for leak in leaks:
        print("private header: " + leak)
    return 1 if cycles or leaks else 0


if __name__ == "__main__":
    sys.exit(main())
