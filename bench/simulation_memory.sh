#!/usr/bin/env bash
# The memory of the simulations as the number of deals grows, by the largest
# resident size that /usr/bin/time -v reports, with the time taken:
#   1. simulate over 1,000 and 2,000 deals (three variants, three declarer and
#      strain pairs a deal), as it runs (the solver's tables capped at 60 MB)
#      and with the solver uncapped (KORVANA_SOLVER_MEMORY_MB=0);
#   2. tabulate over 1,000 and 1,000,000 deals (no solver).
# Then each difference against its target of 5 MB, with the load average of
# the machine; on a shared machine compare the processor times, not the clock.
#
#   bench/simulation_memory.sh [korvana-cli path]      SCALE=1 (SCALE=0.1 for a quick look)
set -euo pipefail
. "$(dirname "$0")/common.sh" "${1:-}"
scale=${SCALE:-1}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Runs a korvana-cli command under /usr/bin/time -v; sets rss (kB), seconds
# (wall) and cpu.
measure() {
  /usr/bin/time -v -o "$work/time" "$@" --quiet >/dev/null
  rss=$(sed -n 's/^\s*Maximum resident set size (kbytes): //p' "$work/time")
  user=$(sed -n 's/^\s*User time (seconds): //p' "$work/time")
  system=$(sed -n 's/^\s*System time (seconds): //p' "$work/time")
  cpu=$(echo "$user + $system" | bc -l)
  seconds=$(sed -n 's/^\s*Elapsed (wall clock) time (h:mm:ss or m:ss): //p' "$work/time")
}

count() { printf '%.0f' "$(echo "$1 * $scale" | bc -l)"; }

verdicts=()
# Measures a korvana-cli command at two deal counts; $1 names it, $2 and $3
# are the counts, the rest is the command.
compare() {
  local name=$1 small=$2 large=$3 small_rss
  shift 3
  measure "$@" --count "$small"
  small_rss=$rss
  printf '  %-28s %9s deals: %8.1f MB  %8.2f s cpu  %s wall\n' "$name" "$small" \
    "$(echo "$rss / 1024" | bc -l)" "$cpu" "$seconds"
  measure "$@" --count "$large"
  printf '  %-28s %9s deals: %8.1f MB  %8.2f s cpu  %s wall\n' "$name" "$large" \
    "$(echo "$rss / 1024" | bc -l)" "$cpu" "$seconds"
  local growth
  growth=$(echo "($rss - $small_rss) / 1024" | bc -l)
  if [ -n "${NO_TARGET:-}" ]; then
    verdicts+=("$(printf '%s: %.1f MB more over %s deals than over %s|-' \
      "$name" "$growth" "$large" "$small")")
  else
    verdicts+=("$(printf '%s: %.1f MB more over %s deals than over %s (target at most 5 MB)|%s <= 5' \
      "$name" "$growth" "$large" "$small" "$growth")")
  fi
}

variants=(--variant "NT: 3NT S"
  --variant "Major: (SuitLength(N,SP) + SuitLength(S,SP)) >= 8 => 4S N; 4H N"
  --variant "Sacrifice: 5CX E")
load_before=$(cut -d' ' -f1-3 /proc/loadavg)

echo "== simulate (largest resident size, processor time, wall clock)"
compare "simulate" "$(count 1000)" "$(count 2000)" \
  env -u KORVANA_SOLVER_MEMORY_MB "$cli" simulate --key 1 "${variants[@]}"
# Uncapped, for comparison: the solver's tables grow on hard deals.
NO_TARGET=1 compare "simulate, solver uncapped" "$(count 1000)" "$(count 2000)" \
  env KORVANA_SOLVER_MEMORY_MB=0 "$cli" simulate --key 1 "${variants[@]}"

echo "== tabulate"
compare "tabulate" 1000 "$(count 1000000)" "$cli" tabulate --key 1 --expression "HCP(N) + HCP(S)"

echo "== Against the targets"
for entry in "${verdicts[@]}"; do
  if [ "${entry#*|}" = - ]; then
    met="no target, for comparison"
  else
    met=$([ "$(echo "${entry#*|}" | bc -l)" = 1 ] && echo met || echo "NOT met")
  fi
  printf '  %s: %s\n' "${entry%|*}" "$met"
done
printf '  load average before: %s, after: %s (%s cores)\n' "$load_before" \
  "$(cut -d' ' -f1-3 /proc/loadavg)" "$(nproc)"
