#!/usr/bin/env bash
# Refreshes docs/screenshot.png: the window after a ROM audit of a small
# sample collection, drawn on a virtual display. `screenshot.sh OUT.png
# [--filter TEXT] [--segment N] [--select ROW] [--dark] [--context-menu]
# [--near-misses] [--no-audit] [--list-error] [--turned-box] [--fill [--fill-into
# FOLDER] [--copy]] [--undo | --undo-question | --shell-undo] [--tooltip] [--row-tooltip NAME]
# [--size WxH] [--focus N] [--open-notice N] [--bad-dat] [--click-missing]`
# takes another picture of it instead (see tools/window_screenshot.cpp);
# --fill fills from a download folder beside the sample; with MESSY_LIST=1 the
# list has a line whose period cuts the name it expects, so that a warning shows
# (MESSY_LIST=all: every warning a list can give). SCREEN=WxH sizes the display;
# MISTYPED=1 names the directory with its last letter dropped. CONTENT=1 adds
# archives under names of their own and a DAT of what they hold, chosen with
# --dat before the audit: a rename and a fill by content, decoys under the
# names of missing games, a valid name on another game, and unknown
# archives that hold a game, part of one, or are no zip; --bad-dat gets a
# DAT cut short. SETS=1 (see below) does the same with arcade sets;
# --row-tooltip NAME shows the tooltip of the result row of that name.
# SYSTEMS=1 adds thirty console folders below romsConsoles, each with a few
# games of the list there and some not, for the bars of the systems.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh xvfb xauth
cmake -S . -B build > /dev/null
cmake --build build --target window_screenshot -j "$(nproc)" > /dev/null

# A short, plain path: it shows in the window's fields (SCREENSHOT_SAMPLE names another).
sample=${SCREENSHOT_SAMPLE:-/tmp/Tokenade}
downloads=$sample-downloads
for folder in "$sample" "$downloads"; do
    [ -e "$folder" ] && { echo "$folder exists already; move it away first" >&2; exit 1; }
done
trap 'rm -rf "$sample" "$downloads"' EXIT
mkdir -p "$sample/roms/shooters" "$sample/romsConsoles" "$sample/roms16BitConsoles" "$sample/docs"
for game in asteroid-miner comet-rider galaxy-patrol neon-racer star-lancer; do
    touch "$sample/roms/shooters/$game.zip"
done
touch "$sample/romsConsoles/dino-dash.zip" "$sample/romsConsoles/Pixel-Knight.ZIP" "$sample/roms/bios-basic.zip"
# Two games there under another name than the list expects: near misses.
touch "$sample/roms/shooters/Harbor Heist.zip" "$sample/romsConsoles/rocket_rally.zip"
printf '%s\r\n' asteroid-miner comet-rider dino-dash galaxy-patrol harbor-heist neon-racer pixel-knight \
    rocket-rally star-lancer turbo-tank > "$sample/docs/- Supported Games Lookup For Naming.txt"
if [ -n "${MESSY_LIST:-}" ]; then
    touch "$sample/roms/Dr. Mario (Japan, USA).zip"
    printf '%s\r\n' "Dr. Mario (Japan, USA)" >> "$sample/docs/- Supported Games Lookup For Naming.txt"
fi
# MESSY_LIST=all: every mistake of a list at once, and a folder per system
# with forty games more, most of them there.
if [ "${MESSY_LIST:-}" = all ]; then
    mkdir -p "$sample/romsConsoles/Genesis" "$sample/romsConsoles/SNES"
    for i in $(seq 1 40); do
        printf '%s\r\n' "Sonic Saga $i (USA)" >> "$sample/docs/- Supported Games Lookup For Naming.txt"
        [ $((i % 4)) -ne 0 ] && touch "$sample/romsConsoles/Genesis/Sonic Saga $i (USA).zip"
    done
    printf '%s\r\n' "Star Fox (USA) " "Star Fox (USA)" "  " "Super Mario Bros." "Sonic Saga 5 (USA)" \
        "sonic saga 7 (usa)" " Metroid (Europe)" >> "$sample/docs/- Supported Games Lookup For Naming.txt"
    touch "$sample/romsConsoles/SNES/Star Fox (USA).zip"
fi

if [ -n "${SYSTEMS:-}" ]; then
    for i in $(seq 1 30); do
        system=$(printf 'System %02d' "$i")
        mkdir -p "$sample/romsConsoles/$system"
        for game in $(seq 1 $((4 + i % 7 * 3))); do
            printf '%s\r\n' "$system game $game" >> "$sample/docs/- Supported Games Lookup For Naming.txt"
            [ $(((game + i) % 5)) -ne 0 ] && touch "$sample/romsConsoles/$system/$system game $game.zip"
        done
        [ $((i % 3)) -eq 0 ] && touch "$sample/romsConsoles/$system/homebrew $i.zip"
    done
    mkdir -p "$sample/roms16BitConsoles/Genesis"
    touch "$sample/roms16BitConsoles/Genesis/turbo-tank (Europe).zip" "$sample/roms16BitConsoles/Genesis/neon-racer.zip"
fi

# A download folder with the missing game under a looser name, a decoy of
# another region and a file of no game: what --fill offers from.
mkdir -p "$downloads/new" "$downloads/old"
head -c 1500000 /dev/zero > "$downloads/new/Turbo_Tank.zip"
if [ "${MESSY_LIST:-}" = all ]; then
    head -c 2400000 /dev/zero > "$downloads/new/Star  Fox (USA).zip"
    head -c 900000 /dev/zero > "$downloads/new/Metroid (Europe).zip"
    head -c 3100000 /dev/zero > "$downloads/new/Sonic Saga 8 (USA).zip"
fi
touch "$downloads/old/turbo-tank (Japan).zip" "$downloads/old/readme.txt"
dat_options=()
if [ -n "${CONTENT:-}" ]; then
    printf '%s\r\n' moon-miner sky-scout tide-runner >> "$sample/docs/- Supported Games Lookup For Naming.txt"
    python3 - "$sample" "$downloads" <<'PYTHON'
import sys, zipfile, zlib
sample, downloads = sys.argv[1:3]
# Each game's roms, with made-up bytes; the DAT gives their sizes and CRCs.
games = {
    "moon-miner": ("Moon Miner (World)", {"mm.a": b"moon" * 300}),
    "sky-scout": ("Sky Scout (USA)", {"ss.a": b"sky!" * 500}),
    "tide-runner": ("Tide Runner (USA)", {"tr.a": b"tide" * 200, "tr.b": b"wave" * 250}),
    "space-squad": ("Space Squad (Japan)", {"sq.a": b"sqad" * 400}),
}
def archive(path, roms):
    with zipfile.ZipFile(path, "w") as z:
        for name, data in roms.items():
            z.writestr(name, data)
archive(sample + "/roms/mnmr.zip", games["moon-miner"][1])
archive(sample + "/roms/spsq.zip", games["space-squad"][1])
archive(sample + "/roms/tdr.zip", {"tr.a": games["tide-runner"][1]["tr.a"]})
archive(downloads + "/new/skysct.zip", games["sky-scout"][1])
# Decoys: names of missing games on archives of other games, and a valid
# name on another game.
archive(downloads + "/new/Sky_Scout.zip", games["moon-miner"][1])
archive(sample + "/roms/Turbo Tank.zip", games["moon-miner"][1])
archive(sample + "/roms/tide-runner.zip", games["space-squad"][1])
archive(downloads + "/old/tide.zip", {"tr.b": games["tide-runner"][1]["tr.b"]})
open(sample + "/roms/rarred.zip", "wb").write(b"Rar!\x1a\x07\x00" + b"\x00" * 64)
with open(sample + "/docs/games.dat", "w") as dat:
    dat.write('<?xml version="1.0"?>\n<datafile>\n')
    for name, (description, roms) in games.items():
        dat.write(f'  <game name="{name}">\n    <description>{description}</description>\n')
        for rom, data in roms.items():
            dat.write(f'    <rom name="{rom}" size="{len(data)}" crc="{zlib.crc32(data):08x}"/>\n')
        dat.write('  </game>\n')
    dat.write('</datafile>\n')
PYTHON
    head -c 200 "$sample/docs/games.dat" > "$sample/docs/cut.dat"
    dat_options=(--dat "$sample/docs/games.dat")
fi

# SETS=1: arcade sets and a DAT of them (a BIOS, a parent and its split
# clone, a set with a rom missing and one of another CRC), chosen with --dat;
# SETS=unlisted-bios leaves the BIOS off the list.
if [ -n "${SETS:-}" ]; then
    listed=(arcbios starfury starfuryj moonbase)
    [ "$SETS" = unlisted-bios ] && listed=(starfury starfuryj moonbase)
    printf '%s\r\n' "${listed[@]}" >> "$sample/docs/- Supported Games Lookup For Naming.txt"
    python3 - "$sample" <<'PYTHON'
import sys, zipfile, zlib
sample = sys.argv[1]
def data(name, size):
    return (name.encode() * size)[:size]
machines = [  # name, attributes, roms (name, size, merge)
    ("arcbios", 'isbios="yes"', [("bios.u1", 2048, "")]),
    ("starfury", 'romof="arcbios"', [("sf.p1", 4096, ""), ("sf.c1", 8192, ""), ("bios.u1", 2048, "bios.u1")]),
    ("starfuryj", 'cloneof="starfury" romof="starfury"',
     [("sfj.p1", 4096, ""), ("sf.c1", 8192, "sf.c1"), ("bios.u1", 2048, "bios.u1")]),
    ("moonbase", 'romof="arcbios"', [("mb.p1", 4096, ""), ("mb.p2", 4096, ""), ("mb.c1", 8192, ""),
                                     ("mb.snd", 1024, ""), ("bios.u1", 2048, "bios.u1")]),
]
with open(sample + "/docs/arcade.xml", "w") as dat:
    dat.write('<?xml version="1.0"?>\n<datafile>\n')
    for name, attributes, roms in machines:
        dat.write(f'  <machine name="{name}" {attributes}>\n')
        for rom, size, merge in roms:
            merged = f' merge="{merge}"' if merge else ""
            dat.write(f'    <rom name="{rom}"{merged} size="{size}" crc="{zlib.crc32(data(rom, size)):08x}"/>\n')
        dat.write('  </machine>\n')
    dat.write('</datafile>\n')
def archive(name, roms):
    with zipfile.ZipFile(f"{sample}/roms/{name}.zip", "w") as z:
        for rom, contents in roms:
            z.writestr(rom, contents)
archive("arcbios", [("bios.u1", data("bios.u1", 2048))])
archive("starfury", [("sf.p1", data("sf.p1", 4096)), ("sf.c1", data("sf.c1", 8192))])
archive("starfuryj", [("sfj.p1", data("sfj.p1", 4096))])
archive("moonbase", [("mb.p1", data("mb.p1", 4096)), ("mb.p2", data("mb.p2 old", 4096)), ("mb.c1", data("mb.c1", 8192)),
                     ("readme.txt", b"dumped by a friend")])
PYTHON
    dat_options=(--dat "$sample/docs/arcade.xml")
fi

out=${1:-docs/screenshot.png}
shift || true
options=()
for option in "$@"; do
    options+=("$option")
    [ "$option" = --fill ] && options+=("$downloads")
    [ "$option" = --bad-dat ] && options+=("$sample/docs/cut.dat")
done
mkdir -p "$(dirname "$out")"
directory=$sample
[ -n "${MISTYPED:-}" ] && directory=${sample%?}
xvfb-run -a -s "-screen 0 ${SCREEN:-1024x768}x24" ./build/tools/window_screenshot "$directory" \
    "$sample/docs/- Supported Games Lookup For Naming.txt" "$out" "${options[@]}" "${dat_options[@]}"
echo "$out"
