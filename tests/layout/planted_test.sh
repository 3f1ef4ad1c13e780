#!/usr/bin/env bash
# The layout check on a planted tree: it must fail, and name exactly the offending lines.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
out=$("$here/check_includes.sh" "$here/planted" 2>&1)
status=$?
expected=(
  "planted/game/Upward.h:4: the game layer includes \"core/rules/Movement.h\" of the higher rules layer"
  "planted/game/Upward.h:5: the game layer includes \"core/turn/PhaseSequence.h\" of the higher turn layer"
  "planted/rules/Window.cpp:2: the rules layer includes \"core/combat/Battle.h\" of the higher combat layer"
  "planted/rules/Window.cpp:4: includes a Qt or FluidSynth header"
  "planted/rules/Window.cpp:5: includes a Qt or FluidSynth header"
  "planted/rules/Window.cpp:6: includes a Qt or FluidSynth header"
  "planted/rules/Window.cpp:8: includes \"ui/widgets/MapRenderer.h\" from outside the core's layers"
  "planted/stray/Lost.h: not inside a layer folder"
)
fail=0
[ "$status" -eq 1 ] || { echo "the check exited with $status, not 1"; fail=1; }
for e in "${expected[@]}"; do
  grep -qF "$e" <<<"$out" || { echo "missing: $e"; fail=1; }
done
offences=$(grep -c '^/' <<<"$out")
[ "$offences" -eq "${#expected[@]}" ] || { echo "$offences offences reported, ${#expected[@]} planted"; fail=1; }
[ "$fail" -eq 0 ] || { echo "--- the check said:"; echo "$out"; exit 1; }
echo "the check names all ${#expected[@]} planted offences"
