#!/usr/bin/env bash
# A condition on double-dummy tricks, as korvana-cli runs it:
#   1. the same kept deals whether a comparison is asked as a question with a
#      target ("Tricks(N, SP) OP 9") or from the exact count it was asked as
#      before ("(0 + Tricks(N, SP)) OP 9", which the sum keeps exact), for
#      several keys and all six comparison operators;
#   2. deals dealt (each one solved) per second on one thread and on two, for
#      "Tricks(N, SP) >= 10", with the ratio and the machine's load.
# The rate against exact solving with the solver's own entry point is
# bench/TricksQuestionBench (build/TricksQuestionBench).
#
#   bench/tricks_questions.sh [korvana-cli path]     COUNT=40 REPEAT=3
set -euo pipefail
. "$(dirname "$0")/common.sh" "${1:-}"
count=${COUNT:-40}
repeat=${REPEAT:-3}

same=0 differ=0
for key in 1 2 3; do
  for op in '>=' '>' '<=' '<' '=' '<>'; do
    asked=$("$cli" generate --key "$key" --count 3 --threads 1 --quiet --format lines \
      --condition "Tricks(N, SP) $op 9" 2>/dev/null)
    exact=$("$cli" generate --key "$key" --count 3 --threads 1 --quiet --format lines \
      --condition "(0 + Tricks(N, SP)) $op 9" 2>/dev/null)
    if [ "$asked" = "$exact" ]; then same=$((same + 1)); else
      differ=$((differ + 1)); echo "differ: key $key, Tricks(N, SP) $op 9"; fi
  done
done
echo "same kept deals: $same of $((same + differ)) runs (3 keys x 6 operators)"

# Deals dealt per wall-clock second, the best of $repeat runs.
rate() { # threads
  local best=0 i
  for ((i = 0; i < repeat; i++)); do
    local start end last dealt r
    start=$(date +%s.%N)
    last=$("$cli" generate --key 1 --count "$count" --threads "$1" --format lines \
      --condition "Tricks(N, SP) >= 10" 2>&1 >/dev/null | tail -1)
    end=$(date +%s.%N)
    dealt=${last#*(}; dealt=${dealt%)}
    r=$(echo "$dealt / ($end - $start)" | bc -l)
    best=$(echo "if ($r > $best) $r else $best" | bc -l)
  done
  printf '%.1f' "$best"
}
one=$(rate 1)
two=$(rate 2)
printf 'Tricks(N, SP) >= 10: %s deals/s on 1 thread, %s on 2: x%.2f (target x1.8)\n' \
  "$one" "$two" "$(echo "$two / $one" | bc -l)"
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
[ "$differ" -eq 0 ]
