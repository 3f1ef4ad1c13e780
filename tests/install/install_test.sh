#!/usr/bin/env bash
# The install as a player gets it: every file in a scratch prefix, the desktop entry and the
# metainfo valid, and the installed programs running from a copy of the prefix with the source
# tree out of reach: data from share/milgant (left untouched), saves in a scratch XDG_DATA_HOME.
#   install_test.sh BUILD_DIR
set -euo pipefail
build=$1
id=io.github.milgant.Milgant
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$scratch/prefix" >/dev/null
expected=(
  bin/milgant bin/milgant-cli
  share/milgant/Map.dat share/milgant/CRT.txt share/milgant/Midi/kknc_gm.mid
  share/milgant/form3.JPG share/milgant/form4.JPG share/milgant/form5.JPG share/milgant/gametop.JPG
  share/applications/$id.desktop share/metainfo/$id.metainfo.xml
  share/icons/hicolor/48x48/apps/$id.png share/icons/hicolor/64x64/apps/$id.png
  share/icons/hicolor/128x128/apps/$id.png share/icons/hicolor/256x256/apps/$id.png
  share/man/man6/milgant.6.gz share/man/man6/milgant-cli.6.gz
  share/doc/milgant/copyright share/doc/milgant/changelog.gz
)
for f in "${expected[@]}"; do [ -s "$scratch/prefix/$f" ] || fail "missing $f"; done
for f in bin/milgant bin/milgant-cli; do [ -x "$scratch/prefix/$f" ] || fail "$f not executable"; done
# Each icon is a PNG of the size its folder names.
for size in 48 64 128 256; do
  png="$scratch/prefix/share/icons/hicolor/${size}x${size}/apps/$id.png"
  read -r w h < <(python3 -c 'import struct,sys; d=open(sys.argv[1],"rb").read(24); assert d[:8]==b"\x89PNG\r\n\x1a\n"; print(*struct.unpack(">II", d[16:24]))' "$png")
  [ "$w" = "$size" ] && [ "$h" = "$size" ] || fail "icon $size is ${w}x$h"
done
grep -qx 'Name=ミルガント・改' "$scratch/prefix/share/applications/$id.desktop" || fail "desktop entry name"
grep -qx 'Categories=Game;StrategyGame;' "$scratch/prefix/share/applications/$id.desktop" || fail "desktop categories"
grep -q '^Comment\[ja\]=' "$scratch/prefix/share/applications/$id.desktop" || fail "no Japanese comment"
grep -qx "Exec=$scratch/prefix/bin/milgant" "$scratch/prefix/share/applications/$id.desktop" || fail "desktop entry does not start bin/milgant"
grep -qx "TryExec=$scratch/prefix/bin/milgant" "$scratch/prefix/share/applications/$id.desktop" || fail "desktop entry TryExec"
desktop-file-validate "$scratch/prefix/share/applications/$id.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$scratch/prefix/share/metainfo/$id.metainfo.xml" >/dev/null || fail "appstreamcli validate"
if command -v man >/dev/null; then
  for page in milgant milgant-cli; do
    man -l "$scratch/prefix/share/man/man6/$page.6.gz" 2>&1 >/dev/null | grep . && fail "$page.6 has formatting warnings"
    man -l "$scratch/prefix/share/man/man6/$page.6.gz" 2>/dev/null | grep -q "^NAME" || fail "$page.6 does not format"
  done
fi

# The prefix moved elsewhere, run from an empty folder: nothing of the source tree is at hand.
mv "$scratch/prefix" "$scratch/moved"
prefix=$scratch/moved
chmod -R a-w "$prefix/share/milgant"
before=$(cd "$prefix/share/milgant" && find . -type f -exec sha1sum {} + | sort)
mkdir "$scratch/cwd" "$scratch/xdg"
cd "$scratch/cwd"
run() { env -u MILGANT_DATA HOME="$scratch/home" XDG_DATA_HOME="$scratch/xdg" QT_QPA_PLATFORM=offscreen MILGANT_MUTE=1 "$@"; }

folders=$(run "$prefix/bin/milgant-cli" folders)
python3 - "$folders" "$prefix/share/milgant" "$scratch/xdg/milgant" <<'PY' || fail "folders: $folders"
import json, os, sys
got = json.loads(sys.argv[1])
assert os.path.samefile(got["data"], sys.argv[2]), got
assert got["saves"] == sys.argv[3], got
PY
run "$prefix/bin/milgant-cli" new --side 1 --seed 5 --start --out slot:1 >/dev/null || fail "milgant-cli new into slot:1"
[ "$(stat -c %s "$scratch/xdg/milgant/Save1.dat")" = 93856 ] || fail "no Save1.dat in the scratch XDG_DATA_HOME"
run "$prefix/bin/milgant-cli" inspect slot:1 >/dev/null || fail "slot:1 does not read back"
run "$prefix/bin/milgant-cli" --saves "$scratch/other" phase-end slot:1 --seed 2 --out slot:auto >/dev/null 2>&1 \
  && fail "--saves: slot:1 of an empty folder was read"
run "$prefix/bin/milgant-cli" phase-end slot:1 --seed 2 --out "$scratch/next.dat" >/dev/null || fail "phase-end"

# The window starts from the moved prefix and stays up (a missing CRT.txt ends it at once).
run "$prefix/bin/milgant" --version | grep -q '^milgant ' || fail "milgant --version"
# Not through run(): a function sent to the background is a subshell, and killing it would
# leave the game running. env execs the game, so $! is the game itself.
env -u MILGANT_DATA HOME="$scratch/home" XDG_DATA_HOME="$scratch/xdg" QT_QPA_PLATFORM=offscreen MILGANT_MUTE=1 \
  "$prefix/bin/milgant" >"$scratch/game.log" 2>&1 &
game=$!
sleep 3
kill -0 "$game" 2>/dev/null || fail "the installed game ended at start: $(cat "$scratch/game.log")"
kill "$game"
wait "$game" 2>/dev/null || true
# Without its data the same program says so and ends.
run "$prefix/bin/milgant" --data "$scratch/cwd" >/dev/null 2>&1 && fail "started without data"

after=$(cd "$prefix/share/milgant" && find . -type f -exec sha1sum {} + | sort)
[ "$before" = "$after" ] || fail "the data folder was written"
[ -z "$(ls -A "$scratch/cwd")" ] || fail "files left in the working folder: $(ls -A "$scratch/cwd")"
chmod -R u+w "$prefix"
echo "install: ${#expected[@]} files, entry and metainfo valid, installed programs ran from a moved prefix"
