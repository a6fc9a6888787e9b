#!/usr/bin/env bash
# Lists the include edges between the folders of src/ and fails on any edge
# that points up: a folder may include only the folders listed below it. The
# compiler enforces the same through each layer's include folder (see
# CMakeLists.txt); this is the readable summary, and it also refuses includes
# that climb out of their folder with "..", which the compiler would resolve
# beside the including file. The core folders may not include Qt at all.
# Usage: tools/check_layers.sh [-v]
set -euo pipefail
cd "$(dirname "$0")/../src"

declare -A uses=(
  [text]=""
  [deals]="text"
  [analysis]="deals text"
  [language]="analysis deals text"
  [engine]="language analysis deals text"
  [reports]="analysis deals text"
  [simulation]="language analysis deals text"
  [help]="language analysis deals text"
  [files]="deals text"
  [printing]="reports analysis deals text"
  [cli]="files printing engine reports simulation help language analysis deals text"
  [widgets]="text"
  [dialogs]="widgets simulation language analysis deals text"
  [reports/windows]="widgets files printing reports analysis deals text"
  [mainwindow]="dialogs reports/windows widgets files printing engine reports simulation help language analysis deals text"
)
core="text deals analysis language engine reports simulation help"

failed=0
declare -A edges=()
while IFS= read -r source; do
  folder=$(dirname "$source")
  if [ -z "${uses[$folder]+set}" ]; then
    echo "unknown layer: $folder ($source)"; failed=1; continue
  fi
  # Every include, in quotes or angle brackets, indented or not.
  while IFS= read -r included; do
    if [[ "$included" == *..* ]]; then
      echo "include climbing out of its folder: $source includes $included"
      failed=1
      continue
    fi
    [[ "$included" == */* ]] || continue  # a system header or one beside the file
    target=$(dirname "$included")
    [ -n "${uses[$target]+set}" ] || continue  # not a layer of ours (dds/dll.h, sys/...)
    [ "$target" = "$folder" ] && continue
    edges["$folder -> $target"]=1
    if [[ " ${uses[$folder]} " != *" $target "* ]]; then
      echo "upward include: $source includes $included"
      failed=1
    fi
  done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]\([^>"]*\)[>"].*/\1/p' "$source")
  if [[ " $core " == *" $folder "* ]] && grep -Eq '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]Q' "$source"; then
    echo "Qt in the core: $source"
    failed=1
  fi
done < <(find . -type f \( -name '*.h' -o -name '*.cpp' -o -name '*.inc' -o -name '*.hpp' \) | sed 's#^\./##' | sort)

if [ "${1:-}" = "-v" ]; then
  printf '%s\n' "${!edges[@]}" | sort
fi
if [ "$failed" -ne 0 ]; then
  echo "Layer check failed."
  exit 1
fi
echo "Layer check: ${#edges[@]} include edges between folders, none pointing up."
