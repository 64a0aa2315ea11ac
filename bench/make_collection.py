#!/usr/bin/env python3
"""Builds a synthetic Tokenade directory for the benchmarks.

N archives over the three rom folders and N/4 videos over the five video
folders, nested 1 to 4 levels, about 2% other extensions, about 10% names
outside ASCII (some written decomposed), random letter case, a few links to
files and folders, and a supported roms list at the 2097152-byte limit of
which about two thirds of the names are present.
"""
import os
import random
import sys
import unicodedata

LIST_LIMIT = 2097152
ROM_FOLDERS = ["roms", "roms16BitConsoles", "romsConsoles"]
VIDEO_FOLDERS = ["videos", "videos2", "videos3", "videos4", "videosextra"]
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


def place(rng, root, folders, names, extension):
    subfolders = {}
    for index, name in enumerate(names):
        top = folders[index % len(folders)]
        depth = rng.randint(1, 4)
        key = (top, index % 97, depth)
        folder = subfolders.get(key)
        if folder is None:
            parts = [top] + [f"set{(index % 97) + level}" for level in range(depth - 1)]
            folder = os.path.join(root, *parts)
            os.makedirs(folder, exist_ok=True)
            subfolders[key] = folder
        ext = extension if rng.random() >= 0.02 else rng.choice(["7z", "txt", "zip.bak"])
        file_name = random_case(rng, name) + "." + (ext.upper() if rng.random() < 0.05 else ext)
        os.close(os.open(os.path.join(folder, file_name), os.O_CREAT | os.O_WRONLY, 0o644))
    return list(subfolders.values())


def write_list(path, names):
    lines, size = [], 0
    for name in names:
        line = (name + "\r\n").encode()
        if size + len(line) > LIST_LIMIT:
            break
        lines.append(line)
        size += len(line)
    data = b"".join(lines)
    data += b"x" * (LIST_LIMIT - len(data))  # exactly at the limit
    with open(path, "wb") as out:
        out.write(data)


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: make_collection.py FOLDER N")
    root, n = sys.argv[1], int(sys.argv[2])
    rng = random.Random(n)
    games = [game_name(rng, i) for i in range(n)]
    # The list names about three games present for every two absent, within its size.
    rng.shuffle(games)
    present = games[: n]
    listed = present[: (2 * n) // 3]
    listed += [game_name(rng, n + i) for i in range(n // 3)]
    rng.shuffle(listed)
    os.makedirs(root, exist_ok=True)
    rom_dirs = place(rng, root, ROM_FOLDERS, present, "zip")
    video_dirs = place(rng, root, VIDEO_FOLDERS, present[: n // 4], "xmv")
    for i, folder in enumerate(rom_dirs[:5] + video_dirs[:5]):
        os.symlink("../", os.path.join(folder, f"up{i}"))
        os.symlink("missing.zip", os.path.join(folder, f"dangling{i}.zip"))
    write_list(os.path.join(root, "- Supported Games Lookup For Naming.txt"), listed)


if __name__ == "__main__":
    main()
