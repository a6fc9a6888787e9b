#!/usr/bin/env bash
# Secure dealing side by side with the key's dealing and the peer generator
# `dealer` (Debian package `dealer`), in one run:
#   1. one thread, no condition and a filtered condition: deals per second of
#      dealer, of korvana-cli with a key, and of korvana-cli dealing securely;
#      the targets are 5 times dealer for secure dealing, 10 times for the key;
#   2. secure dealing on two threads against one (target 1.9);
#   3. the seed search (bench SeedSearchBench) and the uniformity check over
#      10,000,000 deals (bench SecureUniformityBench), when they are built.
# Every run is made REPEAT times (default 3) and the fastest counts.
#
#   bench/secure_targets.sh [build folder]      SCALE=2 doubles every count
set -euo pipefail
build=${1:-build}
. "$(dirname "$0")/common.sh" "$build/korvana-cli" dealer
scale=${SCALE:-1}
repeat=${REPEAT:-3}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

. bench/timing.sh

verdicts=()
verdict() { [ "$(echo "$1" | bc -l)" = 1 ] && echo met || echo "NOT met"; }

echo "== One thread (deals per second by the wall clock; ratios against dealer)"
printf '  %-32s %12s %12s %12s %8s %8s\n' condition dealer key secure key/d secure/d
compare() { # name, ours, dealer's, kept
  run_dealer "$3" "$4"
  local d k s
  d=$(rate "$dealt" "$seconds")
  run_korvana "$2" "$4" 1 --key 1
  k=$(rate "$dealt" "$seconds")
  run_korvana "$2" "$4" 1
  s=$(rate "$dealt" "$seconds")
  printf '  %-32s %12.0f %12.0f %12.0f %8.2f %8.2f\n' "$1" "$d" "$k" "$s" "$(rate "$k" "$d")" \
    "$(rate "$s" "$d")"
  verdicts+=("$(printf 'secure, one thread, %s: %.2f times dealer (target 5)' "$1" "$(rate "$s" "$d")")|$s >= 5 * $d")
  verdicts+=("$(printf 'key, one thread, %s: %.2f times dealer (target 10)' "$1" "$(rate "$k" "$d")")|$k >= 10 * $d")
}
compare "no condition" "" "" $((2000000 * scale))
compare "N 15-17 balanced, S 5+ spades" "$opening_ours" "$opening_dealer" $((50000 * scale))

echo "== Secure dealing, two threads against one (N 15-17 balanced, S 5+ spades; $(nproc) cores)"
run_korvana "$opening_ours" $((200000 * scale)) 1
one=$(rate "$dealt" "$seconds")
run_korvana "$opening_ours" $((200000 * scale)) 2
two=$(rate "$dealt" "$seconds")
printf '  1 thread %12.0f deals/s, 2 threads %12.0f deals/s, ratio %.2f\n' "$one" "$two" "$(rate "$two" "$one")"
verdicts+=("$(printf 'secure, two threads / one: %.2f (target 1.9)' "$(rate "$two" "$one")")|$two >= 1.9 * $one")

for program in SeedSearchBench SecureUniformityBench; do
  if [ -x "$build/$program" ]; then
    echo "== $program"
    "$build/$program" --benchmark_format=console 2>/dev/null | grep -E "^BM_"
  fi
done

echo "== Against the targets (load average $(cut -d' ' -f1-3 /proc/loadavg))"
for entry in "${verdicts[@]}"; do
  printf '  %s: %s\n' "${entry%|*}" "$(verdict "${entry#*|}")"
done
