#!/usr/bin/env python3
"""Checks that the top folders of the program include each other without a cycle.

Every quoted #include of the sources (tests, benchmarks and fuzz targets left out) is an edge
from the including file's top folder to the included header's top folder (app/main counts as
app, so a folder's demonstration programs and executables belong to it); a bare name is looked up
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
    "cli": ["CliArguments.h", "CliInputs.h", "CliReport.h", "ProgressLine.h", "Shard.h"],
    "optimizer": ["EffectPicture.h", "clsFileData.h", "SliderDrag.h"],
}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)
SYSTEM_INCLUDE = re.compile(r'^\s*#\s*include\s+<([^>]+)>', re.M)
# Folders that must build without a display: from a command-line tool and from tests.
WIDGET_FREE = ("engine", "core")


def widget_headers():
    """The names of Qt Widgets' headers (QWidget, QtWidgets/QLabel, ...)."""
    names = {"QtWidgets"}
    for base in ("/usr/include", "/usr/local/include"):
        if not os.path.isdir(base):
            continue
        for arch in [base] + [os.path.join(base, d) for d in os.listdir(base)]:
            folder = os.path.join(arch, "qt6", "QtWidgets")
            if os.path.isdir(folder):
                for h in os.listdir(folder):
                    names.update({h, "QtWidgets/" + h})
    return names


def sources():
    try:
        out = subprocess.run(["git", "ls-files", "*.h", "*.cpp"], cwd=ROOT, capture_output=True,
                             text=True, check=True).stdout.split()
    except (OSError, subprocess.CalledProcessError):  # a copy without its history
        out = [os.path.relpath(os.path.join(d, f), ROOT) for d, _, names in os.walk(ROOT)
               for f in names if f.endswith((".h", ".cpp"))]
    return [f for f in out if not f.startswith(SKIP)]


def top(path):
    return path.split("/", 1)[0] if "/" in path else "."


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
    widgets = widget_headers()
    for f in files:
        here = os.path.dirname(f)
        with open(os.path.join(ROOT, f), encoding="utf-8", errors="replace") as text:
            code = text.read()
            if top(f) in WIDGET_FREE:
                leaks += [f"{f} includes <{name}>, a Qt Widgets header"
                          for name in SYSTEM_INCLUDE.findall(code) if name in widgets]
            for name in INCLUDE.findall(code):
                if "/" in name:
                    target = name if os.path.exists(os.path.join(ROOT, name)) else None
                else:
                    found = headers.get(name, [])
                    same = [h for h in found if os.path.dirname(h) == here]
                    target = (same or found or [None])[0]
                if target and top(target) != top(f):
                    graph[top(f)].add(top(target))
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
        print("refused: " + leak)
    return 1 if cycles or leaks else 0


if __name__ == "__main__":
    sys.exit(main())
