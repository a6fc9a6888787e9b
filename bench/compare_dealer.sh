#!/usr/bin/env bash
# Side by side with the peer generator `dealer` (Debian package `dealer`): both
# programs keep the same number of deals for the same condition, written in each
# language, and the script prints each one's dealt deals per second and the
# ratio, by the wall clock and per CPU second (the fairer figure for one thread
# on a machine that other work shares).
#
#   bench/compare_dealer.sh [korvana-cli path]
#   KEPT=20000 bench/compare_dealer.sh       number of deals each program keeps
#   THREADS=1 bench/compare_dealer.sh        passes --threads to korvana-cli
#
# Condition: North 15 to 17 points, balanced, and South five or more spades.
set -euo pipefail
. "$(dirname "$0")/common.sh" "${1:-}" dealer
kept=${KEPT:-20000}

# Our balanced hand is 4-3-3-3, 4-4-3-2 or 5-3-3-2 with the five cards in a minor;
# dealer's shapes are written spades-hearts-diamonds-clubs.
korvana_condition='Balanced(North, 15, 17) AND (SuitLength(South, Spades) >= 5)'
dealer_input=$(mktemp --suffix=.dl)
dealer_output=$(mktemp)
korvana_errors=$(mktemp)
trap 'rm -f "$dealer_input" "$dealer_output" "$korvana_errors"' EXIT
cat >"$dealer_input" <<DEALER
produce $kept
generate 2000000000
condition hcp(north) >= 15 && hcp(north) <= 17
  && shape(north, any 4333 + any 4432 + 3352 + 3325 + 3253 + 2353 + 3235 + 2335)
  && spades(south) >= 5
action printoneline
DEALER

# Runs a command with /usr/bin/time; sets seconds (wall) and cpu (user + system).
timed() {
  local times
  times=$(mktemp)
  /usr/bin/time -f '%e %U %S' -o "$times" "$@"
  read -r seconds user system <"$times"
  cpu=$(echo "$user + $system" | bc -l)
  rm -f "$times"
}

# dealer: seed 1, its own count of generated deals.
timed "$dealer" -s 1 "$dealer_input" >"$dealer_output"
dealer_seconds=$seconds dealer_cpu=$cpu
dealer_dealt=$(sed -n 's/^Generated \([0-9]*\) hands$/\1/p' "$dealer_output")
dealer_kept=$(sed -n 's/^Produced \([0-9]*\) hands$/\1/p' "$dealer_output")

# korvana-cli: key 1; the last line on stderr is kept(dealt).
threads=()
[ -n "${THREADS:-}" ] && threads=(--threads "$THREADS")
timed "$cli" generate --key 1 --count "$kept" --condition "$korvana_condition" \
  --format lines --quiet "${threads[@]}" >/dev/null 2>"$korvana_errors"
korvana_seconds=$seconds korvana_cpu=$cpu
korvana_last=$(tail -n 1 "$korvana_errors")
korvana_kept=${korvana_last%%(*}
korvana_dealt=${korvana_last#*(}
korvana_dealt=${korvana_dealt%)}

rate() { echo "$1 / $2" | bc -l; }
dealer_rate=$(rate "$dealer_dealt" "$dealer_seconds")
korvana_rate=$(rate "$korvana_dealt" "$korvana_seconds")
dealer_cpu_rate=$(rate "$dealer_dealt" "$dealer_cpu")
korvana_cpu_rate=$(rate "$korvana_dealt" "$korvana_cpu")
printf 'condition: North 15-17 balanced, South 5+ spades; %s kept deals each; korvana-cli threads: %s\n' \
  "$kept" "${THREADS:-all cores}"
printf '  %-12s %11s %11s %9s %14s %9s %14s\n' program kept dealt wall-s deals/s cpu-s deals/cpu-s
printf '  %-12s %11s %11s %9.3f %14.0f %9.3f %14.0f\n' \
  dealer "$dealer_kept" "$dealer_dealt" "$dealer_seconds" "$dealer_rate" "$dealer_cpu" "$dealer_cpu_rate"
printf '  %-12s %11s %11s %9.3f %14.0f %9.3f %14.0f\n' \
  korvana-cli "$korvana_kept" "$korvana_dealt" "$korvana_seconds" "$korvana_rate" "$korvana_cpu" "$korvana_cpu_rate"
printf '  ratio korvana/dealer: %.2f (wall clock), %.2f (per CPU second)\n' \
  "$(rate "$korvana_rate" "$dealer_rate")" "$(rate "$korvana_cpu_rate" "$dealer_cpu_rate")"
