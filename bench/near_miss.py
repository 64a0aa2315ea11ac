"""Near misses: a listed game missing while its archive is there under a name
slightly off the expected one, as collectors get names wrong.

Each kind turns a title into the list line and the archive's name on disk,
or None when it does not apply. Every kind names the same game except
"different region", which must NOT be taken for it. The list of the near-miss
collection holds the planted lines, a few thousand short titles present, and
as many short absent titles as the size limit leaves room for (about 100,000).
"""
import collections
import unicodedata

from collection import LIST_LIMIT
from name_rules import expected_name, unicode_key
from realistic_titles import REGION_NAMES, TitleMaker, list_line

PER_KIND = 250  # at most one game in 400 of the collection, so that a small one stays mostly as it was
PRESENT_SHORT_LINES = 5000
SHORT_PRESENT_BYTES = 20

Plant = collections.namedtuple("Plant", "kind same_game game line disk_title disk_extension folder")


def _double_space(rng, title):
    spaces = [i for i, c in enumerate(title) if c == " "]
    i = rng.choice(spaces)
    return title, title[:i] + " " + title[i:], "zip"


def _swap(title, one, other):
    if one in title:
        return title, title.replace(one, other, 1), "zip"
    if other in title:
        return title, title.replace(other, one, 1), "zip"
    return None


def _full_width(rng, title):
    words = [w for w in title.split(" ") if len(w) >= 3 and w.isascii() and w.isalpha()]
    if not words:
        return None
    word = rng.choice(words)
    wide = "".join(chr(ord(c) + 0xFEE0) for c in word)
    return title, title.replace(word, wide, 1), "zip"


def _accents_dropped(rng, title):
    plain = "".join(c for c in unicodedata.normalize("NFD", title) if not unicodedata.combining(c))
    plain = unicodedata.normalize("NFC", plain)
    return (title, plain, "zip") if plain != title and plain.isascii() else None


def _other_region(rng, title):
    for region in REGION_NAMES:
        if f"({region})" in title:
            other = rng.choice([r for r in ["USA", "Europe", "Japan", "World"] if r != region])
            return title, title.replace(f"({region})", f"({other})", 1), "zip"
    return None


# (kind, same game, title -> (line, title on disk, extension on disk) or None)
KINDS = [
    ("double space", True, _double_space),
    ("trailing space in the line", True, lambda rng, t: (t + " ", t, "zip")),
    ("space before the extension", True, lambda rng, t: (t, t + " ", "zip")),
    ("& and 'and'", True, lambda rng, t: _swap(t, " & ", " and ")),
    ("colon as dash", True, lambda rng, t: (t, t.replace(": ", " - ", 1), "zip") if ": " in t else None),
    ("question mark dropped", True, lambda rng, t: (t, t.replace("?", "", 1), "zip") if "?" in t else None),
    ("straight and curly apostrophe", True, lambda rng, t: _swap(t, "'", "’")),
    ("extension doubled", True, lambda rng, t: (t, t, "zip.zip")),
    ("full-width letters", True, _full_width),
    ("accents dropped", True, _accents_dropped),
    ("period cuts the line", True, lambda rng, t: (t, t, "zip")),
    ("different region", False, _other_region),
]


def plant(rng, titles, candidates, folders, existing):
    """Up to PER_KIND games of `candidates` (indices of games whose archive is
    on disk exactly as titled, "TITLE.zip") for each kind. A planted game's
    line is missing; its archive takes the new name, which no other archive
    has (`existing` holds the keys of the rom folders' file names and takes
    the new ones). Only "period cuts the line" takes titles with a period, so
    that no other line is cut."""
    order = list(candidates)
    rng.shuffle(order)
    per_kind = min(PER_KIND, max(1, len(titles) // 400))
    taken = existing
    used, planted = set(), []
    for kind, same_game, make in KINDS:
        found = 0
        for game in order:
            if found == per_kind:
                break
            title = titles[game]
            if game in used or ("." in title) != (kind == "period cuts the line"):
                continue
            made = make(rng, title)
            if made is None:
                continue
            line, disk_title, disk_extension = made
            own_key = unicode_key(title + ".zip")
            file_key = unicode_key(disk_title + "." + disk_extension)
            expected_key = unicode_key(expected_name(line))
            renamed = file_key != own_key
            # The game's own name is free once it is renamed, and the line must expect a name not there.
            if (renamed and file_key in taken) or (expected_key in taken and expected_key != own_key) \
                    or expected_key == file_key:
                continue
            taken.add(file_key)
            used.add(game)
            planted.append(Plant(kind, same_game, game, line, disk_title, disk_extension, folders[game]))
            found += 1
    return planted


def loose_key(title):
    """What is left of a title without accents, case, width, punctuation and spaces."""
    text = unicodedata.normalize("NFKD", title)
    text = "".join(c for c in text if not unicodedata.combining(c)).casefold().replace("&", "and")
    return "".join(c for c in text if c.isalnum())


def short_list(rng, titles, archives, planted, keys):
    """The planted lines, PRESENT_SHORT_LINES short titles of `archives`, and
    short absent titles up to the size limit, shuffled. An absent title is new
    to `keys` (which takes it) and loosely unlike every game, so that the
    planted pairs are the only near misses."""
    used = {p.game for p in planted}
    short = [g for g in archives if g not in used and "." not in titles[g]
             and len(titles[g].encode()) <= SHORT_PRESENT_BYTES]
    lines = [p.line for p in planted]
    lines += [titles[g] for g in rng.sample(short, min(len(short), PRESENT_SHORT_LINES))]
    size = sum(len(line.encode()) + 2 for line in lines)
    # No absent line may name a planted archive, such as one under another region.
    keys.update(unicode_key(p.disk_title) for p in planted)
    loose = {loose_key(title) for title in titles} | {loose_key(p.disk_title) for p in planted}
    maker = TitleMaker(rng)
    while True:
        title = maker.short_title()
        key = unicode_key(title)
        if key in keys or loose_key(title) in loose:
            continue
        line = list_line(rng, title)
        if size + len(line.encode()) + 2 > LIST_LIMIT:
            break
        keys.add(key)
        lines.append(line)
        size += len(line.encode()) + 2
    rng.shuffle(lines)
    return lines


def manifest(planted, n, seed, lines, missing):
    """The planted pairs by kind, for a test or benchmark to check what a
    near-miss finder found: each pair's list line, the name it expects, and
    the archive present (its path below the collection)."""
    kinds = {}
    for p in planted:
        entry = kinds.setdefault(p.kind, {"same game": p.same_game, "pairs": []})
        entry["pairs"].append({"line": p.line, "expected": expected_name(p.line),
                               "file": f"{p.folder}/{p.disk_title}.{p.disk_extension}"})
    return {"archives": n, "seed": seed, "list lines": lines, "missing lines": missing,
            "planted": len(planted), "kinds": kinds}
