#!/usr/bin/env bash
# usage: windows-dlls.sh SEARCH FILE...
# Prints the path of every DLL that the Windows programs and plugins FILE...
# import, and of every DLL those import in turn, taken from the first folder
# of the colon-separated list SEARCH that holds it. A DLL that none holds is
# left to Windows (KERNEL32.dll and the like).
set -euo pipefail
IFS=: read -ra search <<<"$1"
shift

declare -A met=() # by lower-cased name: Windows matches DLL names in any case
queue=("$@")
while [ ${#queue[@]} -gt 0 ]; do
  imports=$(x86_64-w64-mingw32-objdump -p "${queue[0]}" | sed -n 's/^[[:space:]]*DLL Name: //p')
  queue=("${queue[@]:1}")
  for name in $imports; do
    [ -z "${met[${name,,}]:-}" ] || continue
    met[${name,,}]=1
    for dir in "${search[@]}"; do
      found=$(find "$dir" -maxdepth 1 -iname "$name" -print -quit)
      if [ -n "$found" ]; then
        echo "$found"
        queue+=("$found")
        break
      fi
    done
  done
done
