#!/usr/bin/env bash
# Kills renames, fills and set-asides at random points and checks that undo
# gives back the collection exactly: every path, the inode of every file that
# was there before, every size, and no file left under a temporary name.
# Then the same, 50 times, on an exFAT image mounted through FUSE, where there
# is neither a no-replace rename nor a hard link (contents compared there, for
# FUSE numbers its inodes as it pleases), with a case-only rename and its undo.
#
#   tests/faults/kill_anywhere.sh [PATH/TO/tokenade-audit] [RUNS] [EXFAT_RUNS]
#
# Then, on that exFAT image, archives of one size and one time identified, the
# image mounted again (which numbers its files anew), and renames and fills by
# content applied: each must act on what the archive holds now.
#
# Exits non-zero on any failure. A fixed seed makes every run kill at the
# same points. Also probes a vfat image for renames where a loop mount is
# allowed. Each probe that cannot run here says so in one line and is skipped.
set -euo pipefail

program=${1:-build/tokenade-audit}
runs=${2:-200}
exfat_runs=${3:-50}
program=$(realpath "$program")
tests=$(dirname "$program")/tests
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

# Mounts an exFAT image through FUSE at $work/exfat; 1 (with the reason said) where that cannot be.
exfat_mount() {
    local image=$work/exfat.img mount=$work/exfat
    if [ ! -e /dev/fuse ] || ! command -v mount.exfat-fuse > /dev/null || ! command -v mkfs.exfat > /dev/null ||
        [ "$(id -u)" != 0 ]; then
        echo "exfat: no /dev/fuse, no exfat-fuse or exfatprogs, or not root: the exFAT runs are skipped"
        return 1
    fi
    truncate -s 256M "$image" && mkfs.exfat "$image" > /dev/null && mkdir -p "$mount"
    local refused
    # Mounted by root, exfat-fuse asks for a block device: a loop device stands for the image.
    loop=$(losetup -f --show "$image" 2>&1) || { echo "exfat: no loop device here ($loop): the exFAT runs are skipped"; return 1; }
    if ! refused=$(mount.exfat-fuse "$loop" "$mount" 2>&1); then
        losetup -d "$loop"
        echo "exfat: the FUSE mount is refused here ($(echo "$refused" | tail -1)): the exFAT runs are skipped"
        return 1
    fi
    trap 'umount "$work/exfat" 2> /dev/null; losetup -d "$loop" 2> /dev/null; [ -n "${KEEP:-}" ] || rm -rf "$work"' EXIT
}

vfat_probe
kill_runs() {
python3 - "$program" "$@" <<'PY'
import os, random, shutil, signal, subprocess, sys, time, unicodedata, hashlib

program, runs, work, live, by_contents = sys.argv[1], int(sys.argv[2]), sys.argv[3], sys.argv[4], sys.argv[5] == "contents"
random.seed(1)
pristine, state = work + "/pristine", work + "/state"
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
            folder_itself = os.path.isdir(path) and not os.path.islink(path)
            size = None if folder_itself else status.st_size
            if by_contents:
                with open(path, "rb") if not folder_itself else open(os.devnull, "rb") as data:
                    which = hashlib.sha1(data.read()).hexdigest()
            else:
                which = status.st_ino
            seen[os.path.relpath(path, root)] = (status.st_mode >> 12, which, size)
    return seen

def restore():
    shutil.rmtree(live, ignore_errors=True)
    shutil.copytree(pristine, live, symlinks=True)

# "fill new" copies into a rom folder that the batch has to make first;
# "set-aside" moves every unknown archive (the misspelt ones) out of the way.
def command(kind):
    base = [program, kind.split()[0], "roms", "--dir", live + "/Tokenade", "--list", live + "/list.txt", "--apply"]
    if kind.startswith("fill"):
        base += ["--from", live + "/Downloads"]
    if kind == "set-aside":
        base += ["--all"]
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
kinds = ("rename", "fill", "set-aside", "rename", "fill new")
for kind in kinds[:3] + kinds[4:]:
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
    kind = kinds[run % len(kinds)]
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
print("%s: %d runs, %d kills, %d undos compared (%d of them not complete), %d failures, %.1f s" % (
    live, runs, kills, compared, refused, failures, time.monotonic() - started))
sys.exit(1 if failures else 0)
PY
}

# Six stored zips of one size and one time, each another game, named for none:
# identified (the cache would be written), the image mounted again, the files
# looked up in another order, then renamed and filled by content.
exfat_remount_case() {
    local top=$work/exfat/remount home=$work/remount-home
    python3 - "$top" <<'PY'
import os, random, sys, zipfile
top = sys.argv[1]
rng = random.Random(3)
games = ["Alpha", "Bravo", "Delta", "Gamma", "Kappa", "Omega"]
for folder in ("Tokenade/roms", "Target/roms", "Downloads"):
    os.makedirs(os.path.join(top, folder), exist_ok=True)
dat, crcs = "", {}
for number, game in enumerate(games):
    data = rng.randbytes(4096)
    crcs[game] = zipfile.crc32(data)
    dat += 'game ( name "%s" rom ( name rom.bin size 4096 crc %08x ) )\n' % (game, crcs[game])
    for folder in ("Tokenade/roms", "Downloads"):
        path = os.path.join(top, folder, "x%d.zip" % (len(games) - number))
        with zipfile.ZipFile(path, "w", zipfile.ZIP_STORED) as archive:
            archive.writestr(zipfile.ZipInfo("rom.bin", (2020, 1, 1, 0, 0, 0)), data)
        os.utime(path, (1600000000, 1600000000))
open(os.path.join(top, "games.dat"), "w").write(dat)
open(os.path.join(top, "list.txt"), "w").write("".join(game + "\n" for game in games))
PY
    local common=(--list "$top/list.txt" --dat "$top/games.dat")
    XDG_CACHE_HOME=$home XDG_STATE_HOME=$home "$program" identify roms --dir "$top/Tokenade" "${common[@]}" > /dev/null
    XDG_CACHE_HOME=$home XDG_STATE_HOME=$home "$program" fill roms --dir "$top/Target" --from "$top/Downloads" \
        "${common[@]}" > /dev/null
    umount "$work/exfat" && mount.exfat-fuse "$loop" "$work/exfat" > /dev/null 2>&1
    # Looked up by name against the order they were made in (x6 first), the
    # files take each other's numbers: x1 gets the one x6 had.
    for number in 1 2 3 4 5 6; do stat "$top/Tokenade/roms/x$number.zip" "$top/Downloads/x$number.zip" > /dev/null; done
    XDG_CACHE_HOME=$home XDG_STATE_HOME=$home "$program" rename roms --dir "$top/Tokenade" "${common[@]}" --apply > /dev/null
    XDG_CACHE_HOME=$home XDG_STATE_HOME=$home "$program" fill roms --dir "$top/Target" --from "$top/Downloads" \
        "${common[@]}" --apply > /dev/null
    python3 - "$top" <<'PY'
import os, sys, zipfile
top = sys.argv[1]
crcs = {}
for line in open(os.path.join(top, "games.dat")):
    crcs[line.split('"')[1]] = int(line.split("crc ")[1].split()[0], 16)
wrong = []
for folder in ("Tokenade/roms", "Target/roms"):
    names = sorted(os.listdir(os.path.join(top, folder)))
    if names != sorted(game + ".zip" for game in crcs):
        wrong.append("%s holds %s" % (folder, names))
    for name in names:
        held = zipfile.ZipFile(os.path.join(top, folder, name)).infolist()[0].CRC
        if crcs.get(name[:-4]) != held:
            wrong.append("%s/%s holds another game" % (folder, name))
print("exfat: renames and fills by content after a remount: " + ("ok" if not wrong else "FAILED: " + "; ".join(wrong)))
sys.exit(1 if wrong else 0)
PY
}

kill_runs "$runs" "$work" "$work/live" inodes
if exfat_mount; then
    kill_runs "$exfat_runs" "$work" "$work/exfat/live" contents
    if [ -x "$tests/repair_tests" ]; then
        TOKENADE_CASE_FOLDING_FOLDER=$work/exfat "$tests/repair_tests" --gtest_brief=1 \
            --gtest_filter='*CaseOnlyRenameOnACaseFoldingFileSystem*' | grep -E 'FAILED|PASSED|SKIPPED'
        [ "${PIPESTATUS[0]}" = 0 ] || { echo "exfat: case-only rename and its undo: FAILED"; exit 1; }
        echo "exfat: case-only rename and its undo: ok"
    else
        echo "exfat: no $tests/repair_tests: the case-only rename is not tried"
    fi
    exfat_remount_case
fi
