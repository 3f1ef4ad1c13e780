#!/usr/bin/env bash
# The Debian package: made with cpack from the build, it holds the install under /usr with the
# programs in /usr/games, declares what the game needs at run time, and lintian (when installed)
# finds no error and no warning in it.
#   package_test.sh BUILD_DIR
set -euo pipefail
build=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch" >"$scratch/cpack.log" 2>&1 || { cat "$scratch/cpack.log"; fail cpack; }
deb=$(ls "$scratch"/milgant_*.deb)
contents=$(dpkg-deb --contents "$deb" | awk '{print $6}')
for f in ./usr/games/milgant ./usr/games/milgant-cli ./usr/share/milgant/Map.dat ./usr/share/milgant/CRT.txt \
         ./usr/share/milgant/Midi/kknc_gm.mid ./usr/share/milgant/form3.JPG ./usr/share/milgant/form4.JPG \
         ./usr/share/milgant/form5.JPG ./usr/share/milgant/gametop.JPG \
         ./usr/share/applications/io.github.milgant.Milgant.desktop \
         ./usr/share/metainfo/io.github.milgant.Milgant.metainfo.xml \
         ./usr/share/icons/hicolor/48x48/apps/io.github.milgant.Milgant.png \
         ./usr/share/icons/hicolor/256x256/apps/io.github.milgant.Milgant.png \
         ./usr/share/man/man6/milgant.6.gz ./usr/share/man/man6/milgant-cli.6.gz \
         ./usr/share/doc/milgant/copyright ./usr/share/doc/milgant/changelog.gz; do
  grep -qxF "$f" <<<"$contents" || fail "$f not in the package"
done
# Nothing of the build or the sources, no saves.
grep -qE '\.(o|a|cpp|h)$|Save[0-9]\.dat|Autosave' <<<"$contents" && fail "stray files in the package"
info=$(dpkg-deb --info "$deb")
[ "$(dpkg-deb --field "$deb" Package)" = milgant ] || fail "package name"
depends=$(dpkg-deb --field "$deb" Depends)
for need in libqt6widgets6 libqt6gui6 libqt6core6 qt6-qpa-plugins libfluidsynth3 timgm6mb-soundfont \
            fonts-ipafont-gothic fonts-ipafont-mincho; do
  grep -qw -- "$need" <<<"$depends" || fail "Depends lacks $need: $depends"
done
grep -q '^ Section: games' <<<"$info" || fail "section"
grep -q '^ Priority: optional' <<<"$info" || fail "priority"
grep -q '^Exec=/usr/games/milgant$' <(dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/applications/io.github.milgant.Milgant.desktop) \
  || fail "the desktop entry does not start /usr/games/milgant"
if command -v lintian >/dev/null; then
  # Every error and warning fails; notes and pedantic hints are shown but pass.
  status=0
  lintian --no-cfg --display-info "$deb" >"$scratch/lintian.log" 2>&1 || status=$?
  cat "$scratch/lintian.log"
  [ "$status" -le 1 ] || fail "lintian could not check the package (status $status)"
  grep -E '^[EW]: ' "$scratch/lintian.log" && fail "lintian: errors or warnings"
  lint="lintian clean"
else
  lint="lintian not installed, not run"
fi
echo "package: $(basename "$deb"), $(wc -l <<<"$contents") entries, $lint, Depends: $depends"
