"""What a generated collection is made of, and how it is written to disk."""
import dataclasses
import json
import os

from name_rules import expected_name, is_archive, unicode_key

LIST_LIMIT = 2097152
LIST_NAME = "- Supported Games Lookup For Naming.txt"
MANIFEST_NAME = "near-misses.json"
ROM_FOLDERS = ["roms", "roms16BitConsoles", "romsConsoles"]
VIDEO_FOLDERS = ["videos", "videos2", "videos3", "videos4", "videosextra"]


@dataclasses.dataclass
class Collection:
    folders: list    # every folder below the root, "/"-separated, parents first
    files: list      # (folder, file name) pairs; the files are created empty
    links: list      # (folder, link name, target)
    list_data: bytes  # the supported roms list
    manifest: dict = None  # the near misses planted, if any
    facts: dict = dataclasses.field(default_factory=dict)  # what only the generator knows, for --stats

    def rom_files(self):
        return [(folder, name) for folder, name in self.files if folder.split("/")[0] in ROM_FOLDERS]

    def archive_keys(self):
        return {unicode_key(name) for _, name in self.rom_files() if is_archive(name)}


def list_bytes(lines, limit, pad=False):
    """The lines with CR LF ends, as many as fit in `limit` bytes. The rest is
    filled with "x" up to the limit when the lines did not all fit, or always
    with `pad`."""
    chunks, size, full = [], 0, False
    for line in lines:
        data = (line + "\r\n").encode()
        if size + len(data) > limit:
            full = True
            break
        chunks.append(data)
        size += len(data)
    if full or pad:
        chunks.append(b"x" * (limit - size))
    return b"".join(chunks)


def list_lines(data):
    return [line for line in data.decode().split("\r\n") if line]


def missing_lines(lines, archive_keys):
    return sum(1 for line in lines if unicode_key(expected_name(line)) not in archive_keys)


def write_collection(root, collection):
    """Creates the folders, the empty files one folder at a time, the links,
    the list and the manifest below `root`. Existing files are kept."""
    os.makedirs(root, exist_ok=True)
    for folder in collection.folders:
        os.makedirs(os.path.join(root, folder), exist_ok=True)
    by_folder = {}
    for folder, name in collection.files:
        by_folder.setdefault(folder, []).append(name)
    for folder, names in by_folder.items():
        directory = os.open(os.path.join(root, folder), os.O_RDONLY | os.O_DIRECTORY)
        try:
            for name in names:
                os.close(os.open(name, os.O_CREAT | os.O_WRONLY, 0o644, dir_fd=directory))
        finally:
            os.close(directory)
    for folder, name, target in collection.links:
        os.symlink(target, os.path.join(root, folder, name))
    with open(os.path.join(root, LIST_NAME), "wb") as out:
        out.write(collection.list_data)
    if collection.manifest is not None:
        with open(os.path.join(root, MANIFEST_NAME), "w", encoding="utf-8") as out:
            out.write(manifest_text(collection.manifest))


def manifest_text(manifest):
    """The manifest as JSON, one pair a line: {..., "kinds": {KIND: {"same game": BOOL, "pairs": [...]}}}."""
    def dumps(value):
        return json.dumps(value, ensure_ascii=False)

    text = "{\n" + "".join(f" {dumps(k)}: {dumps(v)},\n" for k, v in manifest.items() if k != "kinds")
    kinds = []
    for kind, entry in manifest["kinds"].items():
        pairs = ",\n".join("   " + dumps(pair) for pair in entry["pairs"])
        kinds.append(f"  {dumps(kind)}: {{\"same game\": {dumps(entry['same game'])}, \"pairs\": [\n{pairs}\n  ]}}")
    return text + ' "kinds": {\n' + ",\n".join(kinds) + "\n }\n}\n"
