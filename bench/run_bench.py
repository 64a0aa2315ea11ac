#!/usr/bin/env python3
"""Times tokenade-audit against `find` on synthetic collections.

For each size N it builds (or reuses, with --keep) a collection, then runs, in
alternation so that the machine's drift falls on all alike: find over the rom
folders, the ROM audit, find over all eight folders, and the video audit with
--available-only. It prints medians, the ratio of each audit to its find, the
peak memory per collected name, and the time of each phase of a ROM audit.
"""
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROM_FOLDERS = ["roms", "roms16BitConsoles", "romsConsoles"]
VIDEO_FOLDERS = ["videos", "videos2", "videos3", "videos4", "videosextra"]
LIST_NAME = "- Supported Games Lookup For Naming.txt"


def timed(command):
    """Wall time in seconds and peak memory in bytes of one run (GNU time
    measures the memory: the program's own, not the forking Python's)."""
    with tempfile.NamedTemporaryFile("r") as report:
        start = time.perf_counter()
        result = subprocess.run(["/usr/bin/time", "-f", "%M", "-o", report.name] + command,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        elapsed = time.perf_counter() - start
        if result.returncode != 0:
            sys.exit(f"failed: {' '.join(command)}")
        return elapsed, int(report.read().split()[-1]) * 1024


def find_command(root, folders, extension):
    return ["find"] + [os.path.join(root, f) for f in folders] + [
        "-type", "f", "-iname", f"*.{extension}", "-printf", "%f\\n"]


def count_lines(command):
    return subprocess.run(command, capture_output=True, check=True).stdout.count(b"\n")


def bench_size(build, root, n, runs, out):
    listed = os.path.join(root, LIST_NAME)
    audit = os.path.join(build, "tokenade-audit")
    commands = {
        "find roms": find_command(root, ROM_FOLDERS, "zip"),
        "audit roms": [audit, "roms", "--dir", root, "--list", listed, "--save", os.path.join(out, "roms")],
        "find all": None,
        "audit videos": [audit, "videos", "--dir", root, "--list", listed, "--available-only",
                         "--save", os.path.join(out, "videos")],
    }
    commands["find all"] = ["find"] + [os.path.join(root, f) for f in ROM_FOLDERS + VIDEO_FOLDERS] + [
        "-type", "f", "(", "-iname", "*.zip", "-o", "-iname", "*.xmv", ")", "-printf", "%f\\n"]
    for command in commands.values():  # warm the cache
        timed(command)
    times = {name: [] for name in commands}
    memory = {name: 0 for name in commands}
    for _ in range(runs):
        for name, command in commands.items():
            elapsed, peak = timed(command)
            times[name].append(elapsed)
            memory[name] = max(memory[name], peak)
    median = {name: statistics.median(values) for name, values in times.items()}

    archives = count_lines(commands["find roms"])
    everything = count_lines(commands["find all"])
    with open(listed, "rb") as f:
        lines = f.read().count(b"\n")
    phases = subprocess.run([os.path.join(build, "bench", "audit_phases"), root, listed,
                             os.path.join(out, "phases")], capture_output=True, text=True, check=True).stdout

    print(f"N = {n:,}: {archives:,} archives, {everything - archives:,} videos, {lines:,} list lines")
    for name in commands:
        print(f"  {name:13} median {median[name]:.3f} s   peak {memory[name] / 1e6:7.1f} MB")
    print(f"  ratio roms / find roms:  {median['audit roms'] / median['find roms']:.2f}")
    print(f"  ratio videos / find all: {median['audit videos'] / median['find all']:.2f}")
    print(f"  memory per name (roms):   {memory['audit roms'] / (archives + lines):.0f} bytes")
    print(f"  memory per name (videos): {memory['audit videos'] / (everything + lines):.0f} bytes")
    print(f"  time per name (roms):     {median['audit roms'] / archives * 1e9:.0f} ns")
    print("  phases of a ROM audit: " + ", ".join(
        f"{p.split()[1]} {float(p.split()[2]):.3f} s" for p in phases.splitlines()))
    display = os.path.join(build, "bench", "window_display")
    if os.path.exists(display):
        window = subprocess.run([display, root, listed], capture_output=True, text=True,
                                env=dict(os.environ, QT_QPA_PLATFORM="offscreen")).stdout
        print("  window: " + "; ".join(window.strip().splitlines()))
    return median["audit roms"] / archives


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--build", default="build")
    parser.add_argument("--sizes", default="100000,300000,1000000")
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--keep", help="folder that keeps the collections between runs")
    args = parser.parse_args()

    base = args.keep or tempfile.mkdtemp(prefix="tokenade-bench-")
    out = tempfile.mkdtemp(prefix="tokenade-bench-out-")
    per_name = {}
    try:
        for n in [int(s) for s in args.sizes.split(",")]:
            root = os.path.join(base, f"collection-{n}")
            if not os.path.isdir(root):
                print(f"building a collection of {n:,} archives in {root} ...", flush=True)
                subprocess.run([sys.executable, os.path.join(HERE, "make_collection.py"), root, str(n)], check=True)
            per_name[n] = bench_size(args.build, root, n, args.runs, out)
        if len(per_name) > 1:
            sizes = sorted(per_name)
            print(f"growth: time per name at {sizes[-1]:,} is {per_name[sizes[-1]] / per_name[sizes[0]]:.2f} "
                  f"times that at {sizes[0]:,}")
    finally:
        shutil.rmtree(out, ignore_errors=True)
        if not args.keep:
            shutil.rmtree(base, ignore_errors=True)


if __name__ == "__main__":
    main()
