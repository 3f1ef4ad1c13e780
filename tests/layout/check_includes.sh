#!/usr/bin/env bash
# Keeps the rules core layered: check_includes.sh CORE_DIR
# Every "quoted" include under CORE_DIR must name a file of the same layer or a layer below it
# (game < rules < combat < ai < turn), as core/<layer>/<file>; no Qt or FluidSynth header may be
# included at all. Prints each offence as file:line and exits 1 if there is one.
set -euo pipefail
core=${1:?usage: check_includes.sh CORE_DIR}
layers=(game rules combat ai turn)

rank() {  # rank LAYER -> its height, or nothing for a folder that is no layer
  local i
  for i in "${!layers[@]}"; do [ "${layers[$i]}" = "$1" ] && echo "$i" && return; done
  return 0
}

bad=0
offend() { echo "$1: $2" >&2; bad=1; }

while IFS= read -r file; do
  rel=${file#"$core"/}
  own=$(rank "${rel%%/*}")
  if [ -z "$own" ]; then
    offend "$file" "not inside a layer folder (${layers[*]})"
    continue
  fi
  while IFS= read -r hit; do
    line=${hit%%:*}
    text=${hit#*:}
    if [[ $text =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\"([^\"]+)\" ]]; then
      inc=${BASH_REMATCH[1]}
      if [[ $inc =~ ^core/([^/]+)/ ]] && [ -n "$(rank "${BASH_REMATCH[1]}")" ]; then
        to=$(rank "${BASH_REMATCH[1]}")
        if [ "$to" -gt "$own" ]; then
          offend "$file:$line" "the ${layers[$own]} layer includes \"$inc\" of the higher ${layers[$to]} layer"
        fi
      else
        offend "$file:$line" "includes \"$inc\" from outside the core's layers"
      fi
    elif [[ $text =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\<(Q[A-Za-z]*|fluidsynth)([./>]) ]]; then
      offend "$file:$line" "includes a Qt or FluidSynth header: ${text#*include}"
    fi
  done < <(grep -nE '^[[:space:]]*#[[:space:]]*include' "$file" || true)
done < <(find "$core" -type f \( -name '*.h' -o -name '*.cpp' -o -name '*.hpp' -o -name '*.cc' \) | sort)

if [ "$bad" -ne 0 ]; then
  echo "the rules core must include only its own layer and those below it" >&2
  exit 1
fi
echo "core layers: every include points down"
