"""A collection laid out as a collector keeps one.

Each rom and video folder holds system folders ("Orbis - Pocket Color"), split
by region, by letter ranges ("A-F") or single letters, and in a few systems
once more into sets, 1 to 4 levels deep, about 1,900 folders below the rom
folders for a million archives. Games carry realistic titles (see
realistic_titles), a few percent written in another letter case, about a third
of those outside ASCII written decomposed, 2% with another extension. A
quarter of the games have a video. The supported roms list names about two
games present for one absent, up to the size limit; with near_miss it names
short titles instead, mostly absent, and plants near misses (see near_miss).
With families, the titles come in families that share long prefixes (see
family_titles), each family in one system folder, over about 4,700 folders
per million archives; the list names members present and members absent.

Every part draws from a random stream of its own, so the near-miss variant
lays out the same games in the same folders as the plain collection.
"""
import random
import unicodedata

from collection import (Collection, LIST_LIMIT, ROM_FOLDERS, VIDEO_FOLDERS, list_bytes, list_lines,
                        missing_lines)
from name_rules import unicode_key
from family_titles import FamilyMaker
from realistic_titles import TitleMaker, list_line
import near_miss

FOLDERS_PER_MILLION = 1900
FAMILY_FOLDERS_PER_MILLION = 4700
MAKERS = ("Orbis Velto Hikarido Sorrel Brightmoor Tavix Manta Quasar Sunfield Ferro Nimbus Kairo Lumen "
          "Zephon Kestrova Aldane").split()
MODELS = ["Pocket", "Pocket Color", "Advance", "Deck", "Nova", "Station", "Vision", "16", "64", "Turbo",
          "CD", "Mini", "Portable", "Home", "Super Deck", "Color", "Jet", "Micro", "Vector", "Duo", "Neo",
          "Ultra", "Card", "Disk"]
RANGES = ["#", "A-F", "G-L", "M-R", "S-Z"]
LETTERS = ["#"] + [chr(c) for c in range(ord("A"), ord("Z") + 1)]
REGION_FOLDERS = ["Japan", "USA", "Europe"]
# How a system folder is split, and how often.
LAYOUTS = [("flat", 0.2), ("ranges", 0.3), ("letters", 0.2), ("regions", 0.2), ("sets", 0.1)]
OTHER_ROM_EXTENSIONS = ["7z", "txt", "zip.bak", "nfo"]
OTHER_VIDEO_EXTENSIONS = ["mp4", "txt", "xmv.part"]
PRESENT_LINES = 45000  # more than the list holds: it is cut at the size limit


def first_letter(title):
    letter = unicodedata.normalize("NFD", title[:1])[:1].upper()
    return letter if "A" <= letter <= "Z" else "#"


def letter_range(title):
    letter = first_letter(title)
    return next((r for r in RANGES[1:] if r[0] <= letter <= r[2]), "#")


def region_folder(title):
    tag = title[title.rfind("(", 0, title.find(")")) + 1:title.find(")")]
    if "Japan" in tag and "USA" not in tag:
        return "Japan"
    return "USA" if "USA" in tag or "World" in tag else "Europe"


class System:
    """One system folder: its subfolders and the one a title goes to."""

    def __init__(self, path, layout):
        self.path, self.layout = path, layout
        regions = [f"{path}/{r}" for r in REGION_FOLDERS]
        ranged = [f"{g}/{r}" for g in regions for r in RANGES]
        self.folders = [path] + {
            "flat": [],
            "ranges": [f"{path}/{r}" for r in RANGES],
            "letters": [f"{path}/{letter}" for letter in LETTERS],
            "regions": regions + ranged,
            "sets": regions + ranged + [f"{r}/Set {k}" for r in ranged for k in (1, 2)],
        }[layout]

    def folder_for(self, title, rng):
        if self.layout == "flat":
            return self.path
        if self.layout == "ranges":
            return f"{self.path}/{letter_range(title)}"
        if self.layout == "letters":
            return f"{self.path}/{first_letter(title)}"
        folder = f"{self.path}/{region_folder(title)}/{letter_range(title)}"
        return folder if self.layout == "regions" else f"{folder}/Set {rng.randint(1, 2)}"


class Layout:
    """Systems spread over `tops` until about `per_million` folders per
    million items; each item, or each group of items, goes to a system drawn
    by the system's size."""

    def __init__(self, rng, tops, items, system_names, per_million=FOLDERS_PER_MILLION):
        target = max(len(tops), round(per_million * items / 1e6))
        self.systems, weights, count = [], [], 0
        while count < target or len(self.systems) < len(tops):
            layout = rng.choices([k for k, _ in LAYOUTS], [w for _, w in LAYOUTS])[0]
            top = tops[len(self.systems) % len(tops)]
            system = System(f"{top}/{system_names[len(self.systems)]}", layout)
            self.systems.append(system)
            leaves = sum(1 for f in system.folders if f.count("/") == system.folders[-1].count("/"))
            weights.append(leaves * rng.uniform(0.5, 1.5))
            count += len(system.folders)
        self.weights = weights
        self.folders = [f for s in self.systems for f in s.folders]

    def place(self, rng, titles, groups=None):
        systems = rng.choices(self.systems, self.weights, k=len(titles))
        if groups is not None:  # the system drawn for a group's first item
            first = {}
            systems = [systems[first.setdefault(group, i)] for i, group in enumerate(groups)]
        return [system.folder_for(title, rng) for system, title in zip(systems, titles)]


def system_names(rng):
    names = [f"{maker} - {model}" for maker in MAKERS for model in MODELS]
    rng.shuffle(names)
    return names + [f"{name} (Set 2)" for name in names]


def unique_titles(make, count, keys):
    """`count` titles from `make` whose keys are not in `keys` (which takes them)."""
    titles = []
    while len(titles) < count:
        title = make()
        key = unicode_key(title)
        if key not in keys:
            keys.add(key)
            titles.append(title)
    return titles


def family_titles(rng, count, keys):
    """At least `count` titles of whole families, a family's in a row, and
    the family of each; titles whose key is in `keys` are left out, and the
    keys of the others go into it."""
    maker = FamilyMaker(rng)
    titles, groups = [], []
    while len(titles) < count:
        # Capitals share their key with a member of the family: both are kept.
        fresh = [title for title in maker.family() if unicode_key(title) not in keys]
        keys.update(unicode_key(title) for title in fresh)
        groups += [groups[-1] + 1 if groups else 0] * len(fresh)
        titles += fresh
    return titles, groups


def on_disk(rng, title, facts=None):
    """The title as a collector's tools wrote it: sometimes decomposed, now
    and then in another letter case (counted in `facts`)."""
    if not title.isascii() and rng.random() < 0.35:
        title = unicodedata.normalize("NFD", title)
    pick = rng.random()
    if pick < 0.03:
        if facts is not None:
            facts["case changed"] += 1
        if pick < 0.01:
            return title.upper()
        if pick < 0.02:
            return title.lower()
        return "".join(c.swapcase() if rng.random() < 0.3 else c for c in title)
    return title


def extension(rng, usual, others):
    if rng.random() < 0.02:
        return rng.choice(others)
    return usual.upper() if rng.random() < 0.01 else usual


def videos_of(rng, titles, system_names, per_million):
    """A quarter of the games with a video, laid out over the video folders:
    the layout and the (folder, file name) pairs."""
    n = len(titles)
    videos = Layout(rng, VIDEO_FOLDERS, n // 4, system_names, per_million)
    with_video = rng.sample(range(n), n // 4)
    video_folders = videos.place(rng, [titles[g] for g in with_video])
    return videos, [(folder, on_disk(rng, titles[g]) + "." + extension(rng, "xmv", OTHER_VIDEO_EXTENSIONS))
                    for folder, g in zip(video_folders, with_video)]


def realistic_collection(n, seed, with_near_misses=False, families=False):
    def stream(part):
        return random.Random(f"{part}-{seed}")

    facts = {"case changed": 0}
    keys = set()
    groups, absent = None, []
    if families:
        # A third more members than archives: those left over are listed but absent.
        rng = stream("families")
        drawn, drawn_groups = family_titles(rng, n + n // 2, keys)
        chosen = set(rng.sample(range(len(drawn)), n))
        titles = [t for i, t in enumerate(drawn) if i in chosen]
        groups = [g for i, g in enumerate(drawn_groups) if i in chosen]
        absent = [t for i, t in enumerate(drawn) if i not in chosen]
        rng.shuffle(absent)
    else:
        titles = unique_titles(TitleMaker(stream("titles")).title, n, keys)
    names = system_names(stream("systems"))
    per_million = FAMILY_FOLDERS_PER_MILLION if families else FOLDERS_PER_MILLION

    rng = stream("roms")
    roms = Layout(rng, ROM_FOLDERS, n, names, per_million)
    rom_folders = roms.place(rng, titles, groups)
    rng = stream("disk")
    disk_titles = [on_disk(rng, title, facts) for title in titles]
    rom_extensions = [extension(rng, "zip", OTHER_ROM_EXTENSIONS) for _ in titles]

    videos, video_files = videos_of(stream("videos"), titles, names, per_million)

    archives = [g for g in range(n) if rom_extensions[g].lower() == "zip"]
    if with_near_misses:
        plain = [g for g in archives if disk_titles[g] == titles[g] and rom_extensions[g] == "zip"]
        existing = {unicode_key(t + "." + e) for t, e in zip(disk_titles, rom_extensions)}
        planted = near_miss.plant(stream("near"), titles, plain, rom_folders, existing)
        for p in planted:
            disk_titles[p.game], rom_extensions[p.game] = p.disk_title, p.disk_extension
        lines = near_miss.short_list(stream("near-list"), titles, archives, planted, keys)
    else:
        rng = stream("list")
        listed = [titles[g] for g in rng.sample(archives, min(len(archives), PRESENT_LINES))]
        if families:
            listed += absent[:len(listed) // 2]
        else:
            listed += unique_titles(TitleMaker(rng).title, len(listed) // 2, keys)
        rng.shuffle(listed)
        lines = [list_line(rng, title) for title in listed]

    rom_files = [(folder, disk_title + "." + ext)
                 for folder, disk_title, ext in zip(rom_folders, disk_titles, rom_extensions)]
    # The links: a loop to the parent and a dangling archive in a few folders.
    leaves = [f for f in roms.folders[1:6]] + [f for f in videos.folders[1:6]]
    links = [(folder, f"up{i}", "../") for i, folder in enumerate(leaves)]
    links += [(folder, f"dangling{i}.zip", "missing.zip") for i, folder in enumerate(leaves)]
    collection = Collection(folders=roms.folders + videos.folders, files=rom_files + video_files, links=links,
                            list_data=list_bytes(lines, LIST_LIMIT, pad=with_near_misses), facts=facts)
    if with_near_misses:
        written = list_lines(collection.list_data)
        collection.manifest = near_miss.manifest(
            planted, n, seed, len(written), missing_lines(written, collection.archive_keys()))
    return collection
