#!/usr/bin/env python3
"""Times identification by content (tokenade-audit identify roms).

On a collection of N archives of one to four files (bench/content_collection.py),
in alternation, medians of --runs runs: identification with an empty cache of
contents (the DAT's index cached), with --no-cache (the DAT parsed and every
archive read), with a full cache, and with no archive at all (the DAT and the
list alone, the DAT's index cached, and the DAT parsed); against them `find`
printing each archive's inode, size and modification time (what checking a
cache needs: one stat per archive) and `find | xargs tail -c 1024` (a process
reading each archive's last KiB).
With --cold, the same again after dropping the page cache before each run.
Then a MAME-sized Logiqx DAT of about --dat-mb MB is made and read
(bench/dat_read: seconds and peak memory, against `xmllint --stream` when
it is installed, and through its cached index), and the size of the cache of a million archives is told
(bench/cache_size).
"""
import argparse
import os
import random
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
from run_bench import alternate, drop_caches, timed  # noqa: E402

FOLDERS = ["roms", "romsConsoles"]


def mame_like_dat(path, megabytes):
    """A Logiqx DAT padded as MAME's own: most of each machine is not roms."""
    rng = random.Random(250)
    filler = "".join(f'\t\t<chip type="cpu" tag="cpu{i}" name="Z80" clock="{3000000 + i}"/>\n' for i in range(4))
    filler += '\t\t<display tag="screen" type="raster" rotate="0" width="256" height="224" refresh="60.0"/>\n'
    filler += "\t\t<input players=\"2\" coins=\"2\">" + '<control type="joy" ways="8"/>' * 4 + "</input>\n"
    filler += "\t\t<dipswitch name=\"Lives\" tag=\"DSW\" mask=\"3\">" + "".join(
        f'<dipvalue name="{n}" value="{n}"/>' for n in range(8)) + "</dipswitch>\n"
    filler += '\t\t<driver status="good" emulation="good" savestate="supported"/>\n'
    with open(path, "w") as f:
        f.write('<?xml version="1.0"?>\n<datafile>\n\t<header><name>big</name></header>\n')
        machine = 0
        while f.tell() < megabytes << 20:
            f.write(f'\t<machine name="m{machine:06d}"><description>Machine {machine} (World)</description>\n'
                    f"\t\t<year>1984</year><manufacturer>Maker</manufacturer>\n")
            for r in range(rng.randint(4, 16)):
                f.write(f'\t\t<rom name="m{machine}.{r}" size="{rng.randint(1, 64) * 1024}" '
                        f'crc="{rng.getrandbits(32):08x}" sha1="{rng.getrandbits(160):040x}" region="maincpu"/>\n')
            f.write(filler * 3 + "\t</machine>\n")
            machine += 1
        f.write("</datafile>\n")


def quoted(command):
    return " ".join(f"'{word}'" for word in command)


def identify_commands(build, root, cache, empty):
    audit = os.path.join(build, "tokenade-audit")
    dat, listed = os.path.join(root, "games.dat"), os.path.join(root, "list.txt")
    def identify(directory, cache_home, *more):
        return ["env", f"XDG_CACHE_HOME={cache_home}", audit, "identify", "roms", "--dir", directory, "--dat", dat,
                "--list", listed, "--format", "csv", *more]
    finds = ["find"] + [os.path.join(root, f) for f in FOLDERS] + ["-type", "f", "-iname", "*.zip"]
    empty_cache, full_cache = os.path.join(cache, "empty"), os.path.join(cache, "full")
    contents = os.path.join(empty_cache, "tokenade-auditor", "contents-*.cache")
    return {
        "find stat": finds + ["-printf", "%i %s %T@\\n"],
        "tail 1 KiB": ["sh", "-c", quoted(finds) + " -print0 | xargs -0 tail -q -c 1024"],
        # The removal takes a few milliseconds of a run of a second or more.
        "empty cache": ["sh", "-c", f"rm -f {contents} && exec " + quoted(identify(root, empty_cache))],
        "no cache": identify(root, empty_cache, "--no-cache"),
        "full cache": identify(root, full_cache),
        "DAT and list": identify(empty, full_cache),
        "DAT parsed": identify(empty, full_cache, "--no-cache"),
    }


def print_table(title, median, peak, archives):
    print(f"\n{title}: medians over {archives:,} archives")
    print(f"  {'run':<14}{'seconds':>10}{'us/archive':>12}{'peak MB':>10}")
    for name, seconds in median.items():
        print(f"  {name:<14}{seconds:>10.3f}{seconds * 1e6 / archives:>12.2f}{peak[name] / 1e6:>10.1f}")
    for name, base in (("empty cache", "DAT and list"), ("full cache", "DAT and list"), ("no cache", "DAT parsed")):
        print(f"  {name} less {base}: {(median[name] - median[base]) * 1e6 / archives:.2f} us/archive")
    print(f"  full cache / find stat: {median['full cache'] / median['find stat']:.2f}")


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build", default="build")
    parser.add_argument("--size", type=int, default=100000)
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--keep", help="folder that keeps the collection between runs")
    parser.add_argument("--cold", action="store_true")
    parser.add_argument("--dat-mb", type=int, default=250)
    args = parser.parse_args()
    base = args.keep or tempfile.mkdtemp(prefix="tokenade-content-")
    scratch = tempfile.mkdtemp(prefix="tokenade-content-out-")
    try:
        root = os.path.join(base, f"content-{args.size}")
        if not os.path.isdir(root):
            print(f"building {args.size:,} archives in {root} ...", file=sys.stderr, flush=True)
            subprocess.run([sys.executable, os.path.join(HERE, "content_collection.py"), root, str(args.size)],
                           check=True)
        empty = os.path.join(scratch, "no-archives")
        os.makedirs(empty)
        commands = identify_commands(args.build, root, scratch, empty)
        for command in commands.values():  # warm the page cache and fill the full cache
            timed(command)
        median, peak = alternate(commands, args.runs)
        print_table("Identification, warm", median, peak, args.size)
        if args.cold and drop_caches() is None:
            median, peak = alternate(commands, args.runs, drop_caches)
            print_table("Identification, cold", median, peak, args.size)
        big = os.path.join(scratch, "big.dat")
        mame_like_dat(big, args.dat_mb)
        size = os.path.getsize(big)
        reader = [os.path.join(args.build, "bench", "dat_read"), big]
        index = os.path.join(scratch, "big.index")
        cached = reader + [index]
        timed(reader)
        timed(cached)  # writes the index
        read, memory = alternate({"dat_read": reader, "cached": cached}, 3)
        kept = subprocess.run(reader, capture_output=True, text=True, check=True).stdout.strip()
        print(f"\nA {size / 1e6:.0f} MB DAT: read in {read['dat_read']:.2f} s, peak {memory['dat_read'] / 1e6:.1f} MB"
              f" ({kept})")
        print(f"  from its cached index ({os.path.getsize(index) / 1e6:.0f} MB): {read['cached']:.2f} s,"
              f" peak {memory['cached'] / 1e6:.1f} MB")
        if shutil.which("xmllint"):
            lint, _ = alternate({"xmllint": ["xmllint", "--stream", "--noout", big]}, 3)
            print(f"  xmllint --stream: {lint['xmllint']:.2f} s")
        print("\nThe cache of a million archives: " + subprocess.run(
            [os.path.join(args.build, "bench", "cache_size"), "1000000"], capture_output=True, text=True,
            check=True).stdout.strip() + " bytes")
    finally:
        shutil.rmtree(scratch, ignore_errors=True)
        if not args.keep:
            shutil.rmtree(base, ignore_errors=True)


if __name__ == "__main__":
    main()
