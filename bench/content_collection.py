#!/usr/bin/env python3
"""Builds a collection for timing identification by content: N archives of
one to four small stored files in the rom folders, 200 to a folder, a
Logiqx DAT that knows nine in ten of them, and a list of their games.

    content_collection.py FOLDER N

Nine archives in ten are named for their game as the list names it, one in
ten by a short name; the DAT is FOLDER/games.dat, the list FOLDER/list.txt.
"""
import os
import random
import struct
import sys
import zlib


def zip_bytes(files):
    """A zip of (name, data) pairs, stored."""
    out, directory = bytearray(), bytearray()
    for name, data in files:
        crc, size, encoded = zlib.crc32(data), len(data), name.encode()
        offset = len(out)
        out += struct.pack("<IHHHHHIIIHH", 0x04034B50, 20, 0, 0, 0, 0, crc, size, size, len(encoded), 0)
        out += encoded + data
        directory += struct.pack("<IHHHHHHIIIHHHHHII", 0x02014B50, 20, 20, 0, 0, 0, 0, crc, size, size,
                                 len(encoded), 0, 0, 0, 0, 0, offset) + encoded
    at = len(out)
    out += directory
    out += struct.pack("<IHHHHIIH", 0x06054B50, 0, 0, len(files), len(files), len(directory), at, 0)
    return bytes(out)


def main():
    root, count = sys.argv[1], int(sys.argv[2])
    rng = random.Random(35)
    dat = ['<?xml version="1.0"?>', "<datafile>", "\t<header><name>bench</name></header>"]
    lines = []
    for i in range(count):
        title = f"Game {i:06d} ({rng.choice(['USA', 'Europe', 'Japan'])})"
        files = [(f"g{i}.{part}", rng.randbytes(rng.randint(16, 64))) for part in range(rng.randint(1, 4))]
        folder = os.path.join(root, ("roms", "romsConsoles")[i % 2], f"set{i // 400:04d}")
        os.makedirs(folder, exist_ok=True)
        name = f"g{i:06d}.zip" if i % 10 == 0 else title + ".zip"
        with open(os.path.join(folder, name), "wb") as f:
            f.write(zip_bytes(files))
        lines.append(title)
        if i % 10 != 9:
            dat.append(f'\t<game name="g{i:06d}"><description>{title}</description>')
            dat += [f'\t\t<rom name="{n}" size="{len(d)}" crc="{zlib.crc32(d):08x}"/>' for n, d in files]
            dat.append("\t</game>")
    dat.append("</datafile>")
    with open(os.path.join(root, "games.dat"), "w") as f:
        f.write("\n".join(dat) + "\n")
    with open(os.path.join(root, "list.txt"), "w") as f:
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
