#!/usr/bin/env python3
"""Cuts the extract of real machines the arcade tests read from the
emulator's whole catalogue (`mame -listxml > mame.xml`):

    python3 tests/data/arcade/cut_mame_extract.py /work/data/mame.xml \
        > tests/data/arcade/mame_0251_extract.xml

It keeps the chosen machines, their parents and BIOSes up to the root, and
every device they hold, devices of devices included, each whole as far as
matching goes (description, year, maker, BIOS choices, roms, disks, device
references, samples) and without what it does not read (inputs, switches,
slots, chips, displays, ...). The catalogue's own DOCTYPE is kept. Lines are
copied as they are, so the extract reads exactly as the whole file does.
"""
import re
import sys
import xml.etree.ElementTree as ET

# Eight parent and clone families. Among them: a clone whose rom has the
# parent's name and another CRC (msheartb), clones sharing a CRC their parent
# lacks (galagamw and galagamf, 1942a and 1942b, sf2ea and sf2en, baracuda and
# hangly), bad dumps (pacmanfm) and roms never dumped (sf2en).
FAMILIES = [
    "puckman", "pacman", "puckmanb", "baracuda", "hangly", "pacmanfm",
    "galaga", "galagao", "galagamw", "galagamf",
    "dkong", "dkongj", "dkongo",
    "digdug", "digdugat",
    "xevious", "xeviousa", "xevios",
    "1942", "1942a", "1942b",
    "mspacman", "msheartb", "mspacmnf",
    "sf2", "sf2ua", "sf2en", "sf2ea",
]
# Games that run on four BIOSes (neogeo, pgm, decocass, konamigv), a clone of
# a BIOS game among them (kof98a, orlegend111c), and games with a CHD, one of
# them a bad dump (simpbowl, btchamp).
BIOS_GAMES = ["kof98", "kof98a", "mslug", "orlegend", "orlegend111c", "cterrani", "cexplore", "simpbowl", "btchamp"]

# The elements of a machine the extract keeps, each written on a line of its own.
KEPT = {"machine", "description", "year", "manufacturer", "biosset", "rom", "disk", "device_ref", "sample"}


def machines_needed(path):
    """The chosen machines with their parents, BIOSes and devices, transitively."""
    links = {}
    for _, element in ET.iterparse(path, events=("end",)):
        if element.tag == "machine":
            needs = {element.get("cloneof"), element.get("romof")}
            needs |= {ref.get("name") for ref in element.findall("device_ref")}
            links[element.get("name")] = needs - {None}
            element.clear()
    needed, todo = set(), FAMILIES + BIOS_GAMES
    while todo:
        name = todo.pop()
        if name in needed:
            continue
        if name not in links:
            sys.exit(f"{name} is not a machine of {path}")
        needed.add(name)
        todo.extend(links[name])
    return needed


def copy_extract(path, needed, out):
    start = re.compile(r'\s*<(/?)([a-z_]+)')
    machine = re.compile(r'\s*<machine name="([^"]+)"')
    keeping = None  # None: before the first machine; then whether this machine is kept
    with open(path, encoding="utf-8") as lines:
        for line in lines:
            found = machine.match(line)
            if found:
                keeping = found.group(1) in needed
            if keeping is None:
                out.write(line)  # the declaration, the DOCTYPE and the root
                continue
            tag = start.match(line)
            if tag and tag.group(2) == "mame":
                out.write(line)
            elif keeping and tag and tag.group(2) in KEPT:
                out.write(line)


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: cut_mame_extract.py MAME_LISTXML > EXTRACT")
    copy_extract(sys.argv[1], machines_needed(sys.argv[1]), sys.stdout)


if __name__ == "__main__":
    main()
