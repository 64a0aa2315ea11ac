#!/usr/bin/env python3
"""Reads ten DATs as one (`identify --dat A --dat B ...`, bench/dat_read --many)
in alternation with the same ten read one after another, each in a process of
its own, medians of --runs runs; then the same from their cached indexes.
Says whether reading them as one costs no more than one after another, and
from their caches no more than parsing the largest of them alone.

The DATs are the ten largest software lists of the emulator's data package
(`make bench` installs it).
"""
import argparse
import glob
import os
import shutil
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
from run_bench import timed  # noqa: E402

HASH = "/usr/share/games/mame/hash"


def ten_largest():
    lists = sorted(glob.glob(os.path.join(HASH, "*.xml")), key=os.path.getsize, reverse=True)
    if len(lists) < 10:
        sys.exit(f"fewer than ten software lists in {HASH}")
    return lists[:10]


def one_after_another(reader, dats, cached):
    start = time.perf_counter()
    for dat in dats:
        timed(reader + (["--cached"] if cached else []) + [dat])
    return time.perf_counter() - start


def medians(runs, measures):
    times = {name: [] for name in measures}
    for _ in range(runs):
        for name, measure in measures.items():
            times[name].append(measure())
    return {name: sorted(values)[len(values) // 2] for name, values in times.items()}


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build", default="build")
    parser.add_argument("--runs", type=int, default=5)
    args = parser.parse_args()
    dats = ten_largest()
    reader = [os.path.join(args.build, "bench", "dat_read"), "--many"]
    scratch = tempfile.mkdtemp(prefix="tokenade-many-dats-")
    os.environ["XDG_CACHE_HOME"] = scratch
    try:
        timed(reader + ["--cached"] + dats)  # writes the indexes, and warms the page cache
        measures = {
            "as one": lambda: timed(reader + dats)[0],
            "one after another": lambda: one_after_another(reader, dats, False),
            "cached as one": lambda: timed(reader + ["--cached"] + dats)[0],
            "cached one after another": lambda: one_after_another(reader, dats, True),
            "largest alone": lambda: timed(reader + dats[:1])[0],
        }
        median = medians(args.runs, measures)
        size = sum(os.path.getsize(dat) for dat in dats) / 1e6
        print(f"\nTen software lists, {size:.0f} MB:")
        for name, seconds in median.items():
            print(f"  {name}: {seconds:.3f} s")
        parsed = median["as one"] / median["one after another"]
        cached = median["cached as one"] / median["largest alone"]
        print(f"  as one / one after another: {parsed:.2f}; from the caches / the largest parsed alone: {cached:.2f}")
        within = parsed <= 1.0 and cached <= 1.0
        print(f"  {'within' if within else 'OVER'} the target of no more than one after another, and from the"
              " caches no more than one")
        return 0 if within else 1
    finally:
        shutil.rmtree(scratch, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
