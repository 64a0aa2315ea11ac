#!/usr/bin/env python3
"""Times the check of every archive's bytes (tokenade-audit verify roms).

On a collection of zips of about --mb MB of data, DEFLATE, compressible about
two to one as rom dumps are, medians of --runs runs: warm (the files in the
page cache), the rate of decompressed data in MB/s; against `cat` of the same
files, warm and, with --cold (as root), after dropping the page cache before
each run, where the check should take at most a little more than reading.
"""
import argparse
import json
import os
import random
import shutil
import subprocess
import sys
import tempfile
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
from run_bench import alternate, drop_caches  # noqa: E402


def rom_bytes(rng, size):
    """Half noise, half runs and repeats, in pieces of a few KiB."""
    pieces = []
    while size > 0:
        length = min(size, rng.randint(1, 8) * 1024)
        if rng.random() < 0.5:
            pieces.append(rng.randbytes(length))
        else:
            pattern = rng.randbytes(rng.randint(1, 64))
            pieces.append((pattern * (length // len(pattern) + 1))[:length])
        size -= length
    return b"".join(pieces)


def make_collection(root, megabytes):
    rng = random.Random(42)
    folder = os.path.join(root, "roms")
    os.makedirs(folder)
    made = 0
    archive = 0
    while made < megabytes << 20:
        with zipfile.ZipFile(os.path.join(folder, f"set{archive:05d}.zip"), "w", zipfile.ZIP_DEFLATED) as z:
            for entry in range(rng.randint(1, 8)):
                size = rng.randint(16, 1024) * 1024
                z.writestr(f"rom{entry}.bin", rom_bytes(rng, size))
                made += size
        archive += 1
    return archive


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--build", default="build-bench")
    parser.add_argument("--mb", type=int, default=512, help="MB of data in the archives, decompressed")
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--cold", action="store_true")
    args = parser.parse_args()
    program = os.path.join(args.build, "tokenade-audit")
    root = tempfile.mkdtemp(prefix="verify-bench-")
    try:
        archives = make_collection(root, args.mb)
        files = sum(os.path.getsize(os.path.join(root, "roms", name)) for name in os.listdir(os.path.join(root, "roms")))
        verify = [program, "verify", "roms", "--dir", root, "--json"]
        result = json.loads(subprocess.run(verify, capture_output=True, check=True).stdout)
        checked = result["bytes_checked"]
        if result["intact"] != archives:
            sys.exit(f"verify: {result['intact']} of {archives} archives intact")
        cat = ["bash", "-c", f"find '{root}/roms' -type f -exec cat {{}} + > /dev/null"]
        commands = {"verify": verify, "cat": cat}
        print(f"verify roms: {archives} archives, {files / 1e6:.0f} MB of files, {checked / 1e6:.0f} MB decompressed")
        medians, peak = alternate(commands, args.runs)
        print(f"  warm: verify {medians['verify']:.2f} s ({checked / 1e6 / medians['verify']:.0f} MB/s decompressed, "
              f"peak {peak['verify'] / 2**20:.0f} MiB), cat {medians['cat']:.2f} s")
        if args.cold:
            why = drop_caches()
            if why:
                print(f"  cold: not measured ({why})")
            else:
                medians, _ = alternate(commands, args.runs, before=drop_caches)
                print(f"  cold: verify {medians['verify']:.2f} s ({checked / 1e6 / medians['verify']:.0f} MB/s), "
                      f"cat {medians['cat']:.2f} s ({files / 1e6 / medians['cat']:.0f} MB/s of files), "
                      f"verify / cat {medians['verify'] / medians['cat']:.2f}")
    finally:
        shutil.rmtree(root, ignore_errors=True)


if __name__ == "__main__":
    main()
