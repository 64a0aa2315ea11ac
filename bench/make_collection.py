#!/usr/bin/env python3
"""Builds a synthetic Tokenade directory for the benchmarks.

    make_collection.py FOLDER N [--style short|realistic|families|collector|mostly-valid] [--near-miss] [--seed S] [--stats]

N archives over the three rom folders and N/4 videos over the five video
folders, about 2% other extensions, a few links to files and folders, and a
supported roms list at the 2097152-byte limit with CR LF line ends.

short (the default): names of a random word and a number, nested 1 to 4
levels in numbered sets, about 10% outside ASCII (some written decomposed),
random letter case throughout; two thirds of the list present.

realistic: names that look like a real collection's (see realistic_titles and
realistic_collection), about 36 bytes, in system folders split by letters and
regions; about 60,000 list lines, two thirds present.

families: the realistic style with titles in families that share long
prefixes ("Admiral (Brazil) (Demo) (Disc 2)", "ADMIRAL (BRAZIL) (DISC 2)"),
over about 4,700 folders per million archives (see family_titles).

collector and mostly-valid: a big set the list barely covers (96% unknown,
22% in another letter case), and a set kept in order (90% valid); see
collector_collection.

--near-miss: the realistic collection with a list of short titles, about
100,000 of them missing, and archives planted under slightly wrong names for
a few percent of those; the pairs are listed in near-misses.json in FOLDER.

The same N and seed (by default N) always give the same collection.
"""
import argparse
import random
import statistics
import time
import unicodedata

from collection import (Collection, LIST_LIMIT, ROM_FOLDERS, VIDEO_FOLDERS, list_bytes, list_lines,
                        missing_lines, write_collection)
from name_rules import is_archive
from realistic_collection import realistic_collection
from collector_collection import collector_collection, mostly_valid_collection

ACCENTED = "éèàüöñçåøßÉÜÖ"


def game_name(rng, index):
    word = "".join(rng.choice("abcdefghijklmnopqrstuvwxyz") for _ in range(rng.randint(4, 12)))
    name = f"{word} {index}"
    if rng.random() < 0.10:
        name = rng.choice(ACCENTED) + name + rng.choice(ACCENTED)
        if rng.random() < 0.5:
            name = unicodedata.normalize("NFD", name)
    return name


def random_case(rng, text):
    return "".join(c.upper() if rng.random() < 0.2 else c for c in text)


def place(rng, folders, names, extension):
    """(folder, file name) for each name, and the folders in the order made."""
    subfolders, files = {}, []
    for index, name in enumerate(names):
        top = folders[index % len(folders)]
        depth = rng.randint(1, 4)
        key = (top, index % 97, depth)
        if key not in subfolders:
            subfolders[key] = "/".join([top] + [f"set{(index % 97) + level}" for level in range(depth - 1)])
        ext = extension if rng.random() >= 0.02 else rng.choice(["7z", "txt", "zip.bak"])
        files.append((subfolders[key], random_case(rng, name) + "." + (ext.upper() if rng.random() < 0.05 else ext)))
    return files, list(subfolders.values())


def short_collection(n, seed):
    rng = random.Random(seed)
    games = [game_name(rng, i) for i in range(n)]
    # The list names about three games present for every two absent, within its size.
    rng.shuffle(games)
    present = games[:n]
    listed = present[: (2 * n) // 3]
    listed += [game_name(rng, n + i) for i in range(n // 3)]
    rng.shuffle(listed)
    rom_files, rom_dirs = place(rng, ROM_FOLDERS, present, "zip")
    video_files, video_dirs = place(rng, VIDEO_FOLDERS, present[: n // 4], "xmv")
    links = []
    for i, folder in enumerate(rom_dirs[:5] + video_dirs[:5]):
        links += [(folder, f"up{i}", "../"), (folder, f"dangling{i}.zip", "missing.zip")]
    return Collection(folders=rom_dirs + video_dirs, files=rom_files + video_files, links=links,
                      list_data=list_bytes(listed, LIST_LIMIT, pad=True))


def below(folders, tops):
    """Every folder below `tops`, parents included."""
    parts = [f.split("/") for f in folders if f.split("/")[0] in tops]
    return sorted({"/".join(p[:i]) for p in parts for i in range(2, len(p) + 1)})


def print_stats(collection, seconds):
    roms = collection.rom_files()
    archives = [name for _, name in roms if is_archive(name)]
    videos = [name for folder, name in collection.files if folder.split("/")[0] in VIDEO_FOLDERS]
    stems = [name[:name.rfind(".")] for name in archives]
    rom_dirs = below(collection.folders, ROM_FOLDERS)
    lines = list_lines(collection.list_data)
    missing = missing_lines(lines, collection.archive_keys())

    def share(count):
        return f"{100 * count / max(1, len(archives)):.1f}%"

    print(f"built in {seconds:.0f} s")
    print(f"folders: {len(rom_dirs):,} below the rom folders (1 to {max(f.count('/') for f in rom_dirs)} levels), "
          f"{len(below(collection.folders, VIDEO_FOLDERS)):,} below the video folders; {len(collection.links)} links")
    print(f"rom folders: {len(roms):,} files, {len(archives):,} archives; video folders: {len(videos):,} files, "
          f"{sum(1 for v in videos if v.lower().endswith('.xmv')):,} videos")
    print(f"archive names: {statistics.mean(len(a.encode()) for a in archives):.1f} bytes on average; "
          f"outside ASCII {share(sum(1 for a in archives if not a.isascii()))}, "
          f"decomposed {share(sum(1 for a in archives if unicodedata.normalize('NFC', a) != a))}, "
          f"period before the extension {share(sum(1 for s in stems if '.' in s))}"
          + (f", other letter case {share(collection.facts['case changed'])}" if "case changed" in collection.facts
             else ""))
    print(f"list: {len(collection.list_data):,} bytes, {len(lines):,} lines, "
          f"{len(lines) - missing:,} present, {missing:,} missing")
    if collection.manifest:
        kinds = collection.manifest["kinds"]
        print(f"near misses planted: {collection.manifest['planted']:,} ("
              + ", ".join(f"{kind} {len(entry['pairs'])}" for kind, entry in kinds.items()) + ")")


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("folder")
    parser.add_argument("n", type=int)
    parser.add_argument("--style", choices=["short", "realistic", "families", "collector", "mostly-valid"], help="short unless --near-miss")
    parser.add_argument("--near-miss", action="store_true", help="the realistic style with near misses")
    parser.add_argument("--seed", type=int, help="defaults to N")
    parser.add_argument("--stats", action="store_true", help="print what was built")
    args = parser.parse_args()
    if args.near_miss and args.style not in (None, "realistic"):
        parser.error("--near-miss goes with the realistic style alone")
    style = args.style or ("realistic" if args.near_miss else "short")
    seed = args.n if args.seed is None else args.seed

    start = time.perf_counter()
    if style == "short":
        collection = short_collection(args.n, seed)
    elif style == "collector":
        collection = collector_collection(args.n, seed)
    elif style == "mostly-valid":
        collection = mostly_valid_collection(args.n, seed)
    else:
        collection = realistic_collection(args.n, seed, with_near_misses=args.near_miss,
                                          families=style == "families")
    write_collection(args.folder, collection)
    if args.stats:
        print_stats(collection, time.perf_counter() - start)


if __name__ == "__main__":
    main()
