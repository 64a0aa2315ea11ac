"""Two more collection styles, for what a real collector's set does to an audit.

collector: a big set that the list barely covers. Titles come in families that
share long prefixes (see family_titles), about 4,650 folders per million
archives; about 10% of titles carry a word outside ASCII, a third of those
written decomposed; 22% of the names are in another letter case (10% all lower,
7% all upper, 5% with each letter's case drawn at random). The list is filled to
the 2 MiB limit (about 58,000 lines) and names one archive in 27 (40,000 of a
million), so about 96% of the archives are unknown and the rest of the list is
missing.

mostly-valid: a set kept in order. Short titles (see realistic_titles), 90% of
the archives named by the list and 10% unknown, plus about 5,000 missing lines.
The list holds about 110,000 short lines at most, so this style goes up to about
120,000 archives.

Both lay their folders out as the realistic style does, and draw each part from a
random stream of its own.
"""
import random
import unicodedata

from collection import Collection, LIST_LIMIT, ROM_FOLDERS, list_bytes
from realistic_collection import (FAMILY_FOLDERS_PER_MILLION, FOLDERS_PER_MILLION, OTHER_ROM_EXTENSIONS, Layout,
                                  extension, family_titles, on_disk, system_names, unique_titles, videos_of)
from realistic_titles import TitleMaker, list_line

PRESENT_SHARE = 40000 / 1070933  # the list names this share of a collector's archives
ABSENT_LINES = 60000  # more than the list has room for beside the present ones
VALID_SHARE = 0.9
MISSING_LINES = 5000
# (share of names, how the name is written): the rest keep the title's case.
CASES = [(0.10, "lower"), (0.07, "upper"), (0.05, "random")]


def collector_case(rng, title, facts):
    """The title in the letter case a collector's tools left it in, now and then decomposed."""
    if not title.isascii() and rng.random() < 0.35:
        title = unicodedata.normalize("NFD", title)
    pick = rng.random()
    for share, case in CASES:
        if pick >= share:
            pick -= share
            continue
        facts["case changed"] += 1
        if case == "lower":
            return title.lower()
        if case == "upper":
            return title.upper()
        return "".join(c.upper() if rng.random() < 0.5 else c.lower() for c in title)
    return title


def stream_of(seed):
    return lambda part: random.Random(f"{part}-{seed}")


def collector_collection(n, seed):
    stream = stream_of(seed)
    facts = {"case changed": 0}
    rng = stream("families")
    drawn, drawn_groups = family_titles(rng, n + ABSENT_LINES, set())
    chosen = set(rng.sample(range(len(drawn)), n))
    titles = [t for i, t in enumerate(drawn) if i in chosen]
    groups = [g for i, g in enumerate(drawn_groups) if i in chosen]
    absent = [t for i, t in enumerate(drawn) if i not in chosen]
    rng.shuffle(absent)

    rng = stream("disk")
    disk_titles = [collector_case(rng, title, facts) for title in titles]
    extensions = [extension(rng, "zip", OTHER_ROM_EXTENSIONS) for _ in titles]
    archives = [g for g in range(n) if extensions[g].lower() == "zip"]

    rng = stream("list")
    listed = [titles[g] for g in rng.sample(archives, round(n * PRESENT_SHARE))]
    rng.shuffle(listed)
    lines = [list_line(rng, title) for title in listed + absent]
    return laid_out(stream, titles, groups, disk_titles, extensions, lines, FAMILY_FOLDERS_PER_MILLION, facts)


def mostly_valid_collection(n, seed):
    stream = stream_of(seed)
    keys = set()
    titles = unique_titles(TitleMaker(stream("titles")).short_title, n, keys)
    rng = stream("disk")
    facts = {"case changed": 0}
    disk_titles = [on_disk(rng, title, facts) for title in titles]
    extensions = [extension(rng, "zip", OTHER_ROM_EXTENSIONS) for _ in titles]
    archives = [g for g in range(n) if extensions[g].lower() == "zip"]

    rng = stream("list")
    listed = [titles[g] for g in rng.sample(archives, round(len(archives) * VALID_SHARE))]
    listed += unique_titles(TitleMaker(rng).short_title, MISSING_LINES, keys)
    rng.shuffle(listed)
    lines = [list_line(rng, title) for title in listed]
    if sum(len((line + "\r\n").encode()) for line in lines) > LIST_LIMIT:
        raise SystemExit(f"mostly-valid: {n:,} archives need a list over the size limit")
    return laid_out(stream, titles, None, disk_titles, extensions, lines, FOLDERS_PER_MILLION, facts)


def laid_out(stream, titles, groups, disk_titles, extensions, lines, per_million, facts):
    """The archives in system folders, a quarter of the games with a video, a few links, and the list."""
    n = len(titles)
    names = system_names(stream("systems"))
    rng = stream("roms")
    roms = Layout(rng, ROM_FOLDERS, n, names, per_million)
    rom_folders = roms.place(rng, titles, groups)
    videos, video_files = videos_of(stream("videos"), titles, names, per_million)
    rom_files = [(folder, title + "." + ext) for folder, title, ext in zip(rom_folders, disk_titles, extensions)]
    leaves = roms.folders[1:6] + videos.folders[1:6]
    links = [(folder, f"up{i}", "../") for i, folder in enumerate(leaves)]
    links += [(folder, f"dangling{i}.zip", "missing.zip") for i, folder in enumerate(leaves)]
    return Collection(folders=roms.folders + videos.folders, files=rom_files + video_files, links=links,
                      list_data=list_bytes(lines, LIST_LIMIT), facts=facts)
