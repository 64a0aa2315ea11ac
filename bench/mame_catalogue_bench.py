#!/usr/bin/env python3
"""Reads the emulator's whole catalogue (`mame -listxml`, some 270 MB) as
`identify --dat` does (bench/dat_read), in alternation with
`xmllint --stream --noout` on the same file, medians of --runs runs; then
through its cached index. Says whether the read keeps within 1.5 times
xmllint's time and 250 MB at its peak.

The catalogue is made once with the installed emulator into --xml (kept
between runs); `make bench` installs the package for it.
"""
import argparse
import os
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
from run_bench import alternate, timed  # noqa: E402

MAME = "/usr/games/mame"
TIME_TARGET = 1.5  # times xmllint --stream
PEAK_TARGET = 250e6


def catalogue(path):
    if not os.path.exists(path):
        print(f"writing {MAME} -listxml to {path} ...", file=sys.stderr, flush=True)
        with open(path + ".part", "wb") as out:
            subprocess.run([MAME, "-listxml"], stdout=out, check=True)
        os.replace(path + ".part", path)
    return path


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build", default="build")
    parser.add_argument("--xml", help="the catalogue, made when missing (default: BUILD/mame-listxml.xml)")
    parser.add_argument("--runs", type=int, default=3)
    args = parser.parse_args()
    xml = catalogue(args.xml or os.path.join(args.build, "mame-listxml.xml"))
    reader = [os.path.join(args.build, "bench", "dat_read"), xml]
    scratch = tempfile.mkdtemp(prefix="tokenade-catalogue-")
    try:
        cached = reader + [os.path.join(scratch, "index")]
        timed(cached)  # writes the index, and warms the page cache
        commands = {"dat_read": reader, "xmllint": ["xmllint", "--stream", "--noout", xml], "cached": cached}
        median, peak = alternate(commands, args.runs)
        kept = subprocess.run(reader, capture_output=True, text=True, check=True).stdout.strip()
        ratio = median["dat_read"] / median["xmllint"]
        print(f"\nThe catalogue, {os.path.getsize(xml) / 1e6:.0f} MB ({kept}):")
        print(f"  read in {median['dat_read']:.2f} s, peak {peak['dat_read'] / 1e6:.1f} MB;"
              f" xmllint --stream {median['xmllint']:.2f} s: {ratio:.2f} times")
        print(f"  from its cached index: {median['cached']:.3f} s, peak {peak['cached'] / 1e6:.1f} MB")
        within = ratio <= TIME_TARGET and peak["dat_read"] <= PEAK_TARGET
        print(f"  {'within' if within else 'OVER'} the target of {TIME_TARGET} times xmllint and"
              f" {PEAK_TARGET / 1e6:.0f} MB")
        return 0 if within else 1
    finally:
        shutil.rmtree(scratch, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
