#!/usr/bin/env bash
# Directed dealing against the peer generator `deal` (Debian package `deal`)
# with its smart stacking, which also draws the constrained hand directly:
#   1. one thread each, on one-hand conditions with frequencies from about
#      10^-3 to 10^-6, COUNT kept deals (default 100,000), set-up included;
#      deal prints nothing (format/none, its fastest), korvana-cli writes its
#      deals in the default text to a file; kept deals per second;
#   2. two threads against one on 10 x COUNT kept deals, directed;
#   3. directed against plain dealing on HCP(N) >= 12 and on the heavy
#      condition of speed_targets.sh, where the bounds leave most hands in;
# and then each figure against its target. Every run is made REPEAT times
# (default 3) and the fastest counts.
#
#   bench/directed_targets.sh [korvana-cli path]     COUNT=2000 REPEAT=1 for a smoke run
set -euo pipefail
. "$(dirname "$0")/common.sh" "${1:-}"
deal=$(command -v deal || echo /usr/games/deal)
[ -x "$deal" ] || { echo "deal is not installed (apt-get install deal)" >&2; exit 1; }
count=${COUNT:-100000}
repeat=${REPEAT:-3}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

. bench/timing.sh
# The clock's hundredths: a smoke run's fastest runs take no measurable time.
at_least_tick() { [ "$(echo "$seconds < 0.01" | bc -l)" = 1 ] && seconds=0.01 || true; }

# korvana-cli keeping $2 deals of condition $1 on $3 threads, its deals to a
# file; further arguments are added. Sets seconds, cpu and dealt.
run_ours() {
  timed "$cli" generate --key 1 --count "$2" --condition "$1" --threads "$3" "${@:4}" --quiet \
    >"$work/korvana.out" 2>"$work/korvana.err"
  at_least_tick
  local last
  last=$(tail -n 1 "$work/korvana.err")
  dealt=${last#*(}
  dealt=${dealt%)}
}

# deal keeping $3 deals of North's shape class $1 (a Tcl expression over
# $s $h $d $c) with points $2 ("min max"), smart stacked, printing nothing.
run_deal() {
  {
    echo "source /usr/share/deal/format/none"
    echo "shapecond wanted {$1}"
    echo "deal::input smartstack north wanted hcp $2"
  } >"$work/input.tcl"
  timed "$deal" -s 1 -i "$work/input.tcl" "$3"
  at_least_tick
}

verdicts=()
echo "== One thread against deal's smart stacking ($count kept deals; kept deals per second)"
printf '  %-40s %10s %12s %12s %7s\n' condition frequency deal/s korvana/s ratio
compare() { # name, ours, deal's shape class, deal's points
  run_deal "$3" "$4" "$count"
  local deal_rate ours_rate frequency
  deal_rate=$(rate "$count" "$seconds")
  run_ours "$2" "$count" 1 --directed
  ours_rate=$(rate "$count" "$seconds")
  frequency=$(sed -n 's/^доля условия [≈<] //p' "$work/korvana.err")
  printf '  %-40s %10s %12.0f %12.0f %7.1f\n' "$1" "$frequency" "$deal_rate" "$ours_rate" \
    "$(rate "$ours_rate" "$deal_rate")"
  verdicts+=("$(printf '%s: %.1f times deal (target 10)' "$1" "$(rate "$ours_rate" "$deal_rate")")|$ours_rate >= 10 * $deal_rate")
}
compare "N 8+ hearts, 5-10" '(SuitLength(N, Hearts) >= 8) AND Range(N, 5, 10)' '$h>=8' "5 10"
compare "N 4-4-4-1, 22-24" 'Shape(N, 0, 4, 4, 4, 1) AND Range(N, 22, 24)' \
  '($s==4||$s==1)&&($h==4||$h==1)&&($d==4||$d==1)&&($c==4||$c==1)' "22 24"
compare "N 9+ clubs, 6-9" '(SuitLength(N, Clubs) >= 9) AND Range(N, 6, 9)' '$c>=9' "6 9"
compare "N 7+ spades, 5+ hearts, 10-12" \
  '(SuitLength(N, Spades) >= 7) AND (SuitLength(N, Hearts) >= 5) AND Range(N, 10, 12)' \
  '$s>=7&&$h>=5' "10 12"
compare "N 7+ spades, 6+ hearts, 8-12" \
  '(SuitLength(N, Spades) >= 7) AND (SuitLength(N, Hearts) >= 6) AND Range(N, 8, 12)' \
  '$s>=7&&$h>=6' "8 12"

echo "== Two threads against one ($((10 * count)) kept deals, directed, N 9+ clubs, 6-9)"
clubs='(SuitLength(N, Clubs) >= 9) AND Range(N, 6, 9)'
run_ours "$clubs" $((10 * count)) 1 --directed
one_rate=$(rate "$dealt" "$seconds") one_dealt=$dealt
run_ours "$clubs" $((10 * count)) 2 --directed
two_rate=$(rate "$dealt" "$seconds")
[ "$dealt" = "$one_dealt" ] || echo "  (!) dealt counts differ: $one_dealt and $dealt"
two_ratio=$(rate "$two_rate" "$one_rate")
printf '  1 thread %12.0f/s, 2 threads %12.0f/s, ratio %.2f\n' "$one_rate" "$two_rate" "$two_ratio"
verdicts+=("$(printf 'two threads / one %.2f (target 1.8)' "$two_ratio")|$two_ratio >= 1.8")

echo "== Directed against plain dealing where the bounds leave most hands in (one thread)"
heavy='(HCP(North) >= 12) AND (HCP(South) >= 8) AND (HCP(East) <= 10) AND (HCP(West) <= 10) AND (SuitLength(North, Spades) >= 4) AND (SuitLength(South, Hearts) >= 3) AND (SuitLength(East, Diamonds) <= 4) AND (SuitLength(West, Clubs) <= 5)'
for entry in "HCP(N) >= 12|HCP(N) >= 12" "heavy: 8 calls, all four seats|$heavy"; do
  run_ours "${entry#*|}" $((2 * count)) 1
  plain=$seconds
  run_ours "${entry#*|}" $((2 * count)) 1 --directed
  slower=$(rate "$seconds" "$plain")
  printf '  %-34s plain %6.2f s, directed %6.2f s, ratio %.2f\n' "${entry%%|*}" "$plain" "$seconds" "$slower"
  verdicts+=("$(printf '%s: directed / plain %.2f (target at most 1.10)' "${entry%%|*}" "$slower")|$slower <= 1.1")
done

echo "== Against the targets"
verdict() { [ "$(echo "$1" | bc -l)" = 1 ] && echo met || echo "NOT met"; }
for entry in "${verdicts[@]}"; do
  printf '  %s: %s\n' "${entry%|*}" "$(verdict "${entry#*|}")"
done
printf '  load average: %s (%s cores)\n' "$(cut -d' ' -f1-3 /proc/loadavg)" "$(nproc)"
