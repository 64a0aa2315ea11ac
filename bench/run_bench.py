#!/usr/bin/env python3
"""Times tokenade-audit against `find` on synthetic collections.

For each style and size N it builds (or reuses, with --keep) a collection, then
runs, in alternation so that the machine's drift falls on all alike: find over
the rom folders, the ROM audit, the ROM audit that also looks for near misses,
find over all eight folders, and the video audit with --available-only. It
prints three tables, one row per collection: the medians and the ratio of each
audit to its find; the peak memory and time per collected name, the share the
near misses add, and the phases of a ROM audit (bench/audit_phases); and the
window's timings (bench/window_display, when built). Then, per style, how much
the time per name grows from the smallest size to the largest.

With --cold it also drops the page cache (as root: sync, then 3 into
/proc/sys/vm/drop_caches) before each of another round of alternating runs,
and prints the same ratios cold; it says so when the machine refuses.
"""
import argparse
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
from collection import LIST_NAME, ROM_FOLDERS, VIDEO_FOLDERS  # noqa: E402

STYLES = {"short": [], "realistic": ["--style", "realistic"], "families": ["--style", "families"],
          "near-miss": ["--near-miss"], "collector": ["--style", "collector"],
          "mostly-valid": ["--style", "mostly-valid"]}
# The list's size limit leaves room for about 110,000 short lines: this style stops below that.
LARGEST = {"mostly-valid": 120000}
COLD = ("find roms", "audit roms", "find all", "audit videos")
SEGMENTS = {"0": "valid", "1": "missing", "2": "unknown"}


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


def find_command(root, folders, *patterns):
    names = ["-iname", patterns[0]]
    for pattern in patterns[1:]:
        names += ["-o", "-iname", pattern]
    return ["find"] + [os.path.join(root, f) for f in folders] + ["-type", "f", "("] + names + [
        ")", "-printf", "%f\\n"]


def count_lines(command):
    return subprocess.run(command, capture_output=True, check=True).stdout.count(b"\n")


def phases(build, root, listed, out):
    """Seconds per phase of a ROM audit, in order: {"walk": 0.05, ...}."""
    text = subprocess.run([os.path.join(build, "bench", "audit_phases"), root, listed, os.path.join(out, "phases")],
                          capture_output=True, text=True, check=True).stdout
    return {line.split()[1]: float(line.split()[2]) for line in text.splitlines()}


def window(build, root, listed):
    """The window's timings in ms, or None when it is not built."""
    display = os.path.join(build, "bench", "window_display")
    if not os.path.exists(display):
        return None
    text = subprocess.run([display, root, listed], capture_output=True, text=True,
                          env=dict(os.environ, QT_QPA_PLATFORM="offscreen")).stdout
    found = {"audit": re.search(r"audit: (\d+) ms", text), "longest block": re.search(r"block.*?: (\d+) ms", text),
             "finishing": re.search(r"finishing step.*?: (\d+) ms", text)}
    timings = {name: int(match.group(1)) if match else None for name, match in found.items()}
    for segment, lines, ms in re.findall(r"category (\d) \((\d+) lines\): (\d+) ms", text):
        timings[f"show {SEGMENTS.get(segment, segment)}"] = int(ms)
    typing = re.search(r"block while filtering: (\d+) ms", text)
    timings["filter block"] = int(typing.group(1)) if typing else None
    return timings


def drop_caches():
    """Empties the page cache; None, or why it could not."""
    try:
        os.sync()
        with open("/proc/sys/vm/drop_caches", "w") as f:
            f.write("3\n")
        return None
    except OSError as error:
        return str(error)


def alternate(commands, runs, before=None):
    """Each command `runs` times, in turn; the medians and the peak memory."""
    times = {name: [] for name in commands}
    peak = {name: 0 for name in commands}
    for _ in range(runs):
        for name, command in commands.items():
            if before:
                before()
            elapsed, memory = timed(command)
            times[name].append(elapsed)
            peak[name] = max(peak[name], memory)
    return {name: statistics.median(values) for name, values in times.items()}, peak


def bench_collection(build, root, runs, out, cold):
    listed = os.path.join(root, LIST_NAME)
    audit = os.path.join(build, "tokenade-audit")
    commands = {
        "find roms": find_command(root, ROM_FOLDERS, "*.zip"),
        "audit roms": [audit, "roms", "--dir", root, "--list", listed, "--save", os.path.join(out, "roms")],
        "near misses": [audit, "roms", "--dir", root, "--list", listed, "--save", os.path.join(out, "roms"),
                        "--near-misses"],
        "find all": find_command(root, ROM_FOLDERS + VIDEO_FOLDERS, "*.zip", "*.xmv"),
        "audit videos": [audit, "videos", "--dir", root, "--list", listed, "--available-only",
                         "--save", os.path.join(out, "videos")],
    }
    for command in commands.values():  # warm the cache
        timed(command)
    median, peak = alternate(commands, runs)
    cold_median = None
    if cold:
        cold_median, _ = alternate({name: commands[name] for name in COLD}, runs, drop_caches)
    with open(listed, "rb") as f:
        lines = f.read().count(b"\n")
    archives = count_lines(commands["find roms"])
    return {"archives": archives, "videos": count_lines(commands["find all"]) - archives, "lines": lines,
            "median": median, "cold": cold_median, "peak": peak,
            "phases": phases(build, root, listed, out), "window": window(build, root, listed)}


def table(header, rows):
    """Columns right-aligned but the first two (style and size)."""
    cells = [header] + rows
    widths = [max(len(row[i]) for row in cells) for i in range(len(header))]
    for row in cells:
        print("  ".join(cell.ljust(w) if i < 2 else cell.rjust(w) for i, (cell, w) in enumerate(zip(row, widths))))


def report(results, runs):
    keys = list(results)
    print(f"\nMedians of {runs} alternating runs, in seconds; ratio = audit / find over the same folders.")
    ratios_table(results, "median")
    if any(r["cold"] for r in results.values()):
        print(f"\nCold: the page cache dropped before each run; medians of {runs} alternating runs, in seconds.")
        ratios_table({key: r for key, r in results.items() if r["cold"]}, "cold")

    phase_names = list(results[keys[0]]["phases"])
    print("\nPeak memory per collected name (archives, or archives and videos, plus list lines), time per archive"
          " of a ROM audit, what looking for near misses adds to it, and its phases in seconds.")
    table(["style", "N", "B/name roms", "B/name videos", "ns/archive", "near misses"] + phase_names,
          [[style, f"{n:,}", f"{r['peak']['audit roms'] / (r['archives'] + r['lines']):,.0f}",
            f"{r['peak']['audit videos'] / (r['archives'] + r['videos'] + r['lines']):,.0f}",
            f"{ns_per_archive(r):,.0f}",
            f"{100 * (r['median']['near misses'] / r['median']['audit roms'] - 1):+.1f}%"]
           + [f"{r['phases'].get(p, 0):.3f}" for p in phase_names]
           for (style, n), r in results.items()])

    windows = {key: r["window"] for key, r in results.items() if r["window"]}
    if windows:
        columns = list(next(iter(windows.values())))
        print("\nWindow (offscreen), in ms: the ROM audit, the longest event-loop block while it ran, the finishing"
              " step, showing each category, and the longest block while a filter is typed on the largest one.")
        table(["style", "N"] + columns,
              [[style, f"{n:,}"] + ["-" if w.get(c) is None else str(w[c]) for c in columns]
               for (style, n), w in windows.items()])

    print()
    for style in dict.fromkeys(style for style, _ in keys):
        sizes = sorted(n for s, n in keys if s == style)
        if len(sizes) > 1:
            growth = ns_per_archive(results[style, sizes[-1]]) / ns_per_archive(results[style, sizes[0]])
            print(f"growth ({style}): time per archive at {sizes[-1]:,} is {growth:.2f} times that at {sizes[0]:,}")


def ratios_table(results, figures):
    table(["style", "N", "archives", "videos", "lines", "find roms", "audit roms", "ratio", "find all",
           "audit videos", "ratio"],
          [[style, f"{n:,}", f"{r['archives']:,}", f"{r['videos']:,}", f"{r['lines']:,}"]
           + [f"{r[figures][c]:.3f}" for c in ("find roms", "audit roms")]
           + [f"{r[figures]['audit roms'] / r[figures]['find roms']:.2f}"]
           + [f"{r[figures][c]:.3f}" for c in ("find all", "audit videos")]
           + [f"{r[figures]['audit videos'] / r[figures]['find all']:.2f}"]
           for (style, n), r in results.items()])


def ns_per_archive(result):
    return result["median"]["audit roms"] / result["archives"] * 1e9


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build", default="build")
    parser.add_argument("--styles", default="short,realistic,families,collector,mostly-valid", help=f"of {', '.join(STYLES)}")
    parser.add_argument("--sizes", default="100000,1000000")
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--keep", help="folder that keeps the collections between runs")
    parser.add_argument("--cold", action="store_true", help="also time each run after dropping the page cache")
    args = parser.parse_args()
    styles = args.styles.split(",")
    if any(style not in STYLES for style in styles):
        parser.error(f"--styles takes {', '.join(STYLES)}")

    cold = args.cold
    if cold:
        refused = drop_caches()
        if refused:
            print(f"The page cache cannot be dropped here ({refused}): no cold figures; run as root for them.",
                  file=sys.stderr)
            cold = False
    base = args.keep or tempfile.mkdtemp(prefix="tokenade-bench-")
    out = tempfile.mkdtemp(prefix="tokenade-bench-out-")
    results = {}
    try:
        for style in styles:
            for n in [int(s) for s in args.sizes.split(",") if int(s) <= LARGEST.get(style, int(s))]:
                root = os.path.join(base, f"collection-{style}-{n}")
                if not os.path.isdir(root):
                    print(f"building a {style} collection of {n:,} archives in {root} ...", file=sys.stderr, flush=True)
                    subprocess.run([sys.executable, os.path.join(HERE, "make_collection.py"), root, str(n)]
                                   + STYLES[style], check=True)
                print(f"timing {style} {n:,} ...", file=sys.stderr, flush=True)
                results[style, n] = bench_collection(args.build, root, args.runs, out, cold)
                if not args.keep:
                    shutil.rmtree(root, ignore_errors=True)
        report(results, args.runs)
    finally:
        shutil.rmtree(out, ignore_errors=True)
        if not args.keep:
            shutil.rmtree(base, ignore_errors=True)


if __name__ == "__main__":
    main()
