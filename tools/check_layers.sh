#!/usr/bin/env bash
# Checks the includes between the folders of src/ against the layer graph that
# CMakeLists.txt declares (its korvana_layer and korvana_include_view calls:
# each names a target, its FOLDERS and the layers it USES; a layer may include
# its own folders and, transitively, those of the layers it uses). The
# compiler enforces the same through each layer's include folder; this is the
# readable summary, and it also refuses includes that climb out of their
# folder with "..", a layer's internal/ headers included from another folder,
# and Qt in the core (the layers that use no Qt library). It checks that
# docs/architecture.md shows the graph as this script draws it and that the
# README names every layer.
# Usage: tools/check_layers.sh [-v | --picture | --write-picture]
#   -v               also lists the include edges between folders
#   --picture        prints the graph as docs/architecture.md shows it
#   --write-picture  writes that picture into docs/architecture.md
set -euo pipefail
cd "$(dirname "$0")/.."
doc=docs/architecture.md
begin='<!-- The layer graph: written by tools/check_layers.sh --write-picture from CMakeLists.txt. -->'
end='<!-- End of the layer graph. -->'

# One line a call, in the order declared: target|folders|uses.
declarations=$(awk '
  /^[[:space:]]*korvana_(layer|include_view)\(/ { call = ""; open = 1 }
  open {
    line = $0; sub(/#.*/, "", line); call = call " " line
    if (line ~ /\)/) {
      open = 0
      sub(/^[^(]*\(/, "", call); sub(/\).*$/, "", call)
      n = split(call, word, /[[:space:]]+/)
      target = ""; key = ""; folders = ""; uses = ""
      for (i = 1; i <= n; i++) {
        if (word[i] == "") continue
        if (target == "") { target = word[i]; continue }
        if (word[i] ~ /^(FOLDERS|USES|EXCLUDE)$/) { key = word[i]; continue }
        if (key == "FOLDERS") { sub(/^src\//, "", word[i]); folders = folders " " word[i] }
        if (key == "USES") uses = uses " " word[i]
      }
      # The call inside korvana_layer itself names no layer.
      if (target !~ /^\$/) print target "|" substr(folders, 2) "|" substr(uses, 2)
    }
  }' CMakeLists.txt)

failed=0
declare -A folders_of=() uses_of=() layer_of=() below=() qt=()
order=()
while IFS='|' read -r target folders uses; do
  order+=("$target")
  folders_of[$target]=$folders
  uses_of[$target]=$uses
  allowed="" with_qt=""
  for used in $uses; do
    case "$used" in
      korvana_*)
        if [ -z "${folders_of[$used]+set}" ]; then
          echo "CMakeLists.txt: $target uses $used, which is not declared before it"
          failed=1
          continue
        fi
        allowed="$allowed ${folders_of[$used]} ${below[$used]}"
        [ -n "${qt[$used]}" ] && with_qt=1
        ;;
      Qt6::*) with_qt=1 ;;
    esac
  done
  below[$target]=$(tr ' ' '\n' <<<"$allowed" | sed '/^$/d' | sort -u | tr '\n' ' ')
  qt[$target]=$with_qt
  for folder in $folders; do layer_of[$folder]=$target; done
done <<<"$declarations"

# The graph, the highest layer first: each folder and what it uses directly.
picture() {
  echo '```'
  local i target used names
  for ((i = ${#order[@]} - 1; i >= 0; i--)); do
    target=${order[i]}
    names=""
    for used in ${uses_of[$target]}; do
      case "$used" in
        korvana_*) names="$names, ${folders_of[$used]// /, }" ;;
        Qt6::*) names="$names, Qt ${used#Qt6::}" ;;
        PkgConfig::SODIUM) names="$names, libsodium" ;;
        Threads::Threads) names="$names, threads" ;;
        \$\{CMAKE_DL_LIBS\}) names="$names, dlopen" ;;
        *) names="$names, $used" ;;
      esac
    done
    printf '%-16s -> %s\n' "${folders_of[$target]// /, }" "${names:-, the standard library}" |
      sed 's/-> , /-> /'
  done
  echo '```'
}

case "${1:-}" in
  --picture) picture; exit 0 ;;
  --write-picture)
    picture >"$doc.picture"
    awk -v begin="$begin" -v end="$end" -v file="$doc.picture" '
      $0 == begin { print; while ((getline line < file) > 0) print line; skip = 1; next }
      $0 == end { skip = 0 }
      !skip' "$doc" >"$doc.new"
    rm "$doc.picture"
    mv "$doc.new" "$doc"
    exit 0
    ;;
esac

declare -A edges=()
while IFS= read -r source; do
  folder=$(dirname "$source")
  folder=${folder%/internal}
  if [ -z "${layer_of[$folder]+set}" ]; then
    echo "unknown layer: $folder ($source): add its folder to a korvana_layer in CMakeLists.txt"
    failed=1
    continue
  fi
  layer=${layer_of[$folder]}
  # Every include, in quotes or angle brackets, indented or not.
  while IFS= read -r included; do
    if [[ "$included" == *..* ]]; then
      echo "include climbing out of its folder: $source includes $included"
      failed=1
      continue
    fi
    [[ "$included" == */* ]] || continue  # a system header or one beside the file
    target=$(dirname "$included")
    if [[ "$target" == */internal ]]; then
      target=${target%/internal}
      if [ "$target" != "$folder" ]; then
        echo "another layer's internal header: $source includes $included"
        failed=1
        continue
      fi
    fi
    [ -n "${layer_of[$target]+set}" ] || continue  # not a layer of ours (dds/dll.h, sys/...)
    [ "${layer_of[$target]}" = "$layer" ] && continue
    edges["$folder -> $target"]=1
    if [[ " ${below[$layer]} " != *" $target "* ]]; then
      echo "upward include: $source includes $included"
      failed=1
    fi
  done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]\([^>"]*\)[>"].*/\1/p' "src/$source")
  if [ -z "${qt[$layer]}" ] && grep -Eq '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]Q' "src/$source"; then
    echo "Qt in the core: $source"
    failed=1
  fi
done < <(cd src && find . -type f \( -name '*.h' -o -name '*.cpp' -o -name '*.inc' -o -name '*.hpp' \) |
  sed 's#^\./##' | sort)

if ! diff <(picture) <(sed -n "\\|^$begin\$|,\\|^$end\$|p" "$doc" | sed '1d;$d') >/dev/null; then
  echo "$doc does not show the layer graph of CMakeLists.txt: run tools/check_layers.sh --write-picture"
  failed=1
fi
for folder in "${!layer_of[@]}"; do
  if ! grep -q "^| \`$folder\` |" "$doc"; then
    echo "$doc: the table of layers has no row for $folder"
    failed=1
  fi
  if ! grep -q "\`$folder\`" README.md; then
    echo "README.md does not name the layer $folder"
    failed=1
  fi
done

if [ "${1:-}" = "-v" ]; then
  printf '%s\n' "${!edges[@]}" | sort
fi
if [ "$failed" -ne 0 ]; then
  echo "Layer check failed."
  exit 1
fi
echo "Layer check: ${#layer_of[@]} layers, ${#edges[@]} include edges between folders, none pointing up."
