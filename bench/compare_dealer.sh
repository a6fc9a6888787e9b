#!/usr/bin/env bash
# Side by side with the peer generator `dealer` (Debian package `dealer`): both
# programs keep the same number of deals for the same condition, written in each
# language, and the script prints each one's dealt deals per second and the ratio.
#
#   bench/compare_dealer.sh [korvana-cli path]
#   KEPT=20000 bench/compare_dealer.sh       number of deals each program keeps
#   THREADS=1 bench/compare_dealer.sh        passes --threads to korvana-cli
#
# Condition: North 15 to 17 points, balanced, and South five or more spades.
set -euo pipefail
cd "$(dirname "$0")/.."

cli=${1:-build/korvana-cli}
kept=${KEPT:-20000}
dealer=$(command -v dealer || echo /usr/games/dealer)
[ -x "$dealer" ] || { echo "dealer is not installed (apt-get install dealer)" >&2; exit 1; }
[ -x "$cli" ] || { echo "$cli not found; build it first (./run build)" >&2; exit 1; }

# Our balanced hand is 4-3-3-3, 4-4-3-2 or 5-3-3-2 with the five cards in a minor;
# dealer's shapes are written spades-hearts-diamonds-clubs.
korvana_condition='Balanced(North, 15, 17) AND (SuitLength(South, Spades) >= 5)'
dealer_input=$(mktemp --suffix=.dl)
trap 'rm -f "$dealer_input"' EXIT
cat >"$dealer_input" <<DEALER
produce $kept
generate 2000000000
condition hcp(north) >= 15 && hcp(north) <= 17
  && shape(north, any 4333 + any 4432 + 3352 + 3325 + 3253 + 2353 + 3235 + 2335)
  && spades(south) >= 5
action printoneline
DEALER

now() { date +%s.%N; }

# dealer: seed 1, its own count of generated deals.
start=$(now)
dealer_report=$("$dealer" -s 1 "$dealer_input" | tail -n 4)
dealer_seconds=$(echo "$(now) - $start" | bc -l)
dealer_dealt=$(sed -n 's/^Generated \([0-9]*\) hands$/\1/p' <<<"$dealer_report")
dealer_kept=$(sed -n 's/^Produced \([0-9]*\) hands$/\1/p' <<<"$dealer_report")

# korvana-cli: key 1; the last line on stderr is kept(dealt).
threads=()
[ -n "${THREADS:-}" ] && threads=(--threads "$THREADS")
start=$(now)
korvana_last=$("$cli" generate --key 1 --count "$kept" --condition "$korvana_condition" \
  --format lines --quiet "${threads[@]}" 2>&1 >/dev/null | tail -n 1)
korvana_seconds=$(echo "$(now) - $start" | bc -l)
korvana_kept=${korvana_last%%(*}
korvana_dealt=${korvana_last#*(}
korvana_dealt=${korvana_dealt%)}

dealer_rate=$(echo "$dealer_dealt / $dealer_seconds" | bc -l)
korvana_rate=$(echo "$korvana_dealt / $korvana_seconds" | bc -l)
printf 'condition: North 15-17 balanced, South 5+ spades; %s kept deals each\n' "$kept"
printf '  %-12s kept %8s  dealt %11s  %7.3f s  %12.0f deals/s\n' \
  dealer "$dealer_kept" "$dealer_dealt" "$dealer_seconds" "$dealer_rate"
printf '  %-12s kept %8s  dealt %11s  %7.3f s  %12.0f deals/s\n' \
  korvana-cli "$korvana_kept" "$korvana_dealt" "$korvana_seconds" "$korvana_rate"
printf '  ratio korvana/dealer: %.2f\n' "$(echo "$korvana_rate / $dealer_rate" | bc -l)"
