#!/usr/bin/env bash
# Kills renames and fills at random points and checks that undo gives back
# the collection exactly: every path, the inode of every file that was there
# before, every size, and no file left under a temporary name.
#
#   tests/faults/kill_anywhere.sh [PATH/TO/tokenade-audit] [RUNS]
#
# Exits non-zero on any failure. A fixed seed makes every run kill at the
# same points. Also probes a vfat image for case-only renames where a loop
# mount is allowed.
set -euo pipefail

program=${1:-build/tokenade-audit}
runs=${2:-200}
program=$(realpath "$program")
work=$(mktemp -d "${TMPDIR:-/tmp}/kill-anywhere.XXXXXX")
[ -n "${KEEP:-}" ] || trap 'rm -rf "$work"' EXIT

vfat_probe() {
    local image=$work/vfat.img mount=$work/vfat
    if ! command -v mkfs.vfat > /dev/null || [ "$(id -u)" != 0 ]; then
        echo "vfat: no mkfs.vfat, or not root: case-folding test skipped"
        return 0
    fi
    truncate -s 8M "$image" && mkfs.vfat "$image" > /dev/null && mkdir -p "$mount"
    local refused
    if ! refused=$(mount -o loop "$image" "$mount" 2>&1); then
        echo "vfat: loop mount refused here ($(echo "$refused" | head -1)), case-folding test skipped"
        return 0
    fi
    # Letter case alone is no difference to the audit: the rename mends "&" too,
    # and its case goes through the temporary name on a file system that folds it.
    mkdir -p "$mount/roms" && echo tom > "$mount/roms/tom and jerry (usa).zip" && printf 'Tom & Jerry (USA)\n' > "$work/vfat.txt"
    local ok=1
    XDG_STATE_HOME=$work/vfat-state "$program" rename roms --dir "$mount" --list "$work/vfat.txt" --apply > /dev/null || ok=0
    [ "$(ls "$mount/roms")" = "Tom & Jerry (USA).zip" ] || ok=0
    XDG_STATE_HOME=$work/vfat-state "$program" undo > /dev/null || ok=0
    [ "$(ls "$mount/roms")" = "tom and jerry (usa).zip" ] || ok=0
    umount "$mount"
    if [ $ok = 1 ]; then echo "vfat: case-only rename and its undo: ok"; else echo "vfat: case-only rename and its undo: FAILED"; return 1; fi
}

vfat_probe

python3 - "$program" "$runs" "$work" <<'PY'
import os, random, shutil, signal, subprocess, sys, time, unicodedata

program, runs, work = sys.argv[1], int(sys.argv[2]), sys.argv[3]
random.seed(1)
pristine, live, state = work + "/pristine", work + "/live", work + "/state"
journals = state + "/tokenade-auditor/renames"
env = dict(os.environ, XDG_STATE_HOME=state)

def nfd(text):
    return unicodedata.normalize("NFD", text)

# Expected titles with the misspelt names the collection has them under,
# in several regions, spread over the rom folders; and titles it lacks, with
# the names a download folder has them under.
misspelt = [("Pokémon Red", "Pokemon Red"), ("Tom & Jerry", "Tom and Jerry"),
            ("Zelda: A Link to the Past", "Zelda - A Link to the Past"), ("Kirby’s Adventure", "Kirby's Adventure"),
            ("Dr. Mario", "Dr Mario"), (nfd("Pokémon Blue"), "Pokemon Blue"), ("Café Bros", "Cafe Bros"),
            ("ドラゴンクエスト: 天空の花嫁", "ドラゴンクエスト - 天空の花嫁")]
lacking = [("Metroid", "Metroid"), ("Street Fighter II: Turbo", "Street Fighter II - Turbo"),
           ("Mario’s Quest", "Mario's Quest"), ("ゼルダの伝説", "sub/ゼルダの伝説"), ("Kid Icarus & Pit", "deep/er/Kid Icarus and Pit"),
           ("Tetris", "tetris"), ("Crème Brûlée Panic", "sub/" + nfd("Crème Brûlée Panic")), ("Ys: Ancient Land", "Ys - Ancient Land")]
regions = ["(USA)", "(Europe)", "(Japan)", "(USA, Europe)"]
folders = ["roms", "roms/Sega", "romsConsoles"]

def plant():
    rng = random.Random(7)
    def add(path, size):
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as out:
            out.write(rng.randbytes(size))
    titles = []
    for number, (title, name) in enumerate(misspelt):
        for region in regions:
            titles.append(title + " " + region)
            add("%s/Tokenade/%s/%s %s.zip" % (pristine, folders[number % 3], name, region), rng.randrange(100, 300) << 10)
    add(pristine + "/Tokenade/roms/Tetris (World).zip", 200 << 10)  # already right
    titles.append("Tetris (World)")
    for title, name in lacking:
        for region in regions[:3]:
            titles.append(title + " " + region)
            add("%s/Downloads/%s %s.zip" % (pristine, name, region), rng.randrange(300, 900) << 10)
    with open(pristine + "/list.txt", "w") as out:
        # A title with a period is given its extension, lest the period start one.
        out.write("".join(title + (".zip" if "." in title else "") + "\n" for title in titles))

def snapshot(root):
    seen = {}
    for folder, folders, files in os.walk(root):
        for name in folders + files:
            path = os.path.join(folder, name)
            status = os.lstat(path)
            # A folder's own size grows with the names it held once: not compared.
            size = None if os.path.isdir(path) and not os.path.islink(path) else status.st_size
            seen[os.path.relpath(path, root)] = (status.st_mode >> 12, status.st_ino, size)
    return seen

def restore():
    shutil.rmtree(live, ignore_errors=True)
    shutil.copytree(pristine, live, symlinks=True)

# "fill new" copies into a rom folder that the batch has to make first.
def command(kind):
    base = [program, kind.split()[0], "roms", "--dir", live + "/Tokenade", "--list", live + "/list.txt", "--apply"]
    if kind.startswith("fill"):
        base += ["--from", live + "/Downloads"]
    return base + (["--to", "roms16BitConsoles"] if kind == "fill new" else [])

def journal_names():
    # A journal killed before it was whole is a hidden ".NAME.part", never a journal.
    names = os.listdir(journals) if os.path.isdir(journals) else []
    return {name for name in names if name.endswith(".renames") and not name.startswith(".")}

def undo_newest(before):
    written = sorted(journal_names() - before)
    if not written:
        return None
    return subprocess.run([program, "undo", journals + "/" + written[-1]], env=env, capture_output=True, text=True)

def differences(before, after):
    lines = []
    for path in sorted(set(before) | set(after)):
        if ".tokenade-" in path:
            lines.append("left under a temporary name: " + path)
        elif path not in after:
            lines.append("gone: " + path)
        elif path not in before:
            lines.append("new: " + path)
        elif before[path] != after[path]:
            lines.append("changed: %s %s -> %s" % (path, before[path], after[path]))
    return lines

plant()
durations = {}
kinds = ("rename", "fill", "rename", "fill new")
for kind in kinds[:2] + kinds[3:]:
    restore()
    before, names = snapshot(live), journal_names()
    start = time.monotonic()
    done = subprocess.run(command(kind), env=env, capture_output=True, text=True)
    durations[kind] = time.monotonic() - start
    made = done.stdout.count("  renamed: ") + done.stdout.count("  made: ")
    undone = undo_newest(names)
    problems = differences(before, snapshot(live))
    print("unkilled %s: %.3f s, %d changes, exit %d; undo exit %s%s" % (
        kind, durations[kind], made, done.returncode, undone.returncode if undone else "-",
        "" if not problems else "; " + "; ".join(problems)))
    if made == 0 or problems:
        print("the unkilled %s must make changes and be undone exactly:\n%s%s" % (kind, done.stdout, done.stderr))
        sys.exit(1)

kills = compared = failures = refused = 0
started = time.monotonic()
for run in range(runs):
    kind = kinds[run % 4]
    delay = random.uniform(0, durations[kind])
    restore()
    before, names = snapshot(live), journal_names()
    process = subprocess.Popen(command(kind), env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        process.wait(timeout=delay)
    except subprocess.TimeoutExpired:
        process.send_signal(signal.SIGKILL)
        process.wait()
        kills += 1
    undone = undo_newest(names)
    if undone is not None:
        compared += 1
        refused += undone.returncode != 0
        if undone.returncode != 0:
            print("run %d (%s killed after %.3f s): undo exit %d: %s" % (run, kind, delay, undone.returncode,
                  (undone.stdout + undone.stderr).strip().replace("\n", " | ")))
    problems = differences(before, snapshot(live))
    if problems:
        failures += 1
        print("run %d (%s killed after %.3f s): %s" % (run, kind, delay, "; ".join(problems)))
        if undone is not None:
            print("  undo said: " + (undone.stdout + undone.stderr).strip().replace("\n", "\n  "))
print("%d runs, %d kills, %d undos compared (%d of them not complete), %d failures, %.1f s" % (
    runs, kills, compared, refused, failures, time.monotonic() - started))
sys.exit(1 if failures else 0)
PY
