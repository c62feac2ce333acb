#!/usr/bin/env python3
"""peakmem.py CMD...: runs CMD and prints its wall seconds and the peak of the summed resident
memory (KiB) of it and all its descendants, sampled every 10 ms. Worker processes count
together, so a tool that forks is compared fairly with one that uses threads."""
import os
import subprocess
import sys
import time


def tree_rss_kib(root):
    children, rss = {}, {}
    for pid in os.listdir("/proc"):
        if not pid.isdigit():
            continue
        try:
            with open(f"/proc/{pid}/stat") as f:
                ppid = int(f.read().rsplit(")", 1)[1].split()[1])
            with open(f"/proc/{pid}/status") as f:
                kib = next((int(l.split()[1]) for l in f if l.startswith("VmRSS:")), 0)
        except (OSError, ValueError, IndexError):
            continue
        children.setdefault(ppid, []).append(int(pid))
        rss[int(pid)] = kib
    total, todo = 0, [root]
    while todo:
        pid = todo.pop()
        total += rss.get(pid, 0)
        todo.extend(children.get(pid, []))
    return total


start = time.monotonic()
proc = subprocess.Popen(sys.argv[1:])
peak = 0
while proc.poll() is None:
    peak = max(peak, tree_rss_kib(proc.pid))
    time.sleep(0.01)
elapsed = time.monotonic() - start
if proc.returncode != 0:
    sys.exit(f"peakmem.py: {sys.argv[1]} exited with {proc.returncode}")
print(f"{elapsed:.3f} {peak}")
