#!/usr/bin/env bash
# The desktop program's limits with many deals, offscreen: start and close
# with a setup file of 1,000,000 deals (each under one second), and a run that
# keeps 9,999,999 deals with no condition (under 1.2 GB resident, the window
# answering all along). Prints seconds and resident megabytes, and whether
# each target is met.
#   Usage: bench/window_limits.sh [BUILD_FOLDER] [RUN_COUNT]
set -euo pipefail
build=$(realpath "${1:-build}")
count=${2:-9999999}
limits="$build/WindowLimits"
cli="$build/korvana-cli"
[ -x "$limits" ] && [ -x "$cli" ] || { echo "build WindowLimits and korvana-cli first" >&2; exit 2; }
export QT_QPA_PLATFORM=offscreen

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A setup file as the window writes it: the state record, two folders, the
# deal lines, "[Conditions]" and an empty condition; lines end in CR LF.
mkdir "$work/million"
{
    printf '1111%10d%10d%10d%10d%1d%5d%5d%5d%5d\r\n\r\n\r\n' 1 1 1 5 0 131 134 543 420
    "$cli" generate --key 1 --count 1000000 --format lines --quiet 2>/dev/null | sed 's/$/\r/'
    printf '[Conditions]\r\n'
} > "$work/million/generate.stp"

verdict() {  # value, limit, "below" text
    awk -v v="$1" -v l="$2" 'BEGIN { print (v < l) ? "met" : "NOT met" }'
}
field() { sed -n "s/^$1 //p" "$2"; }

"$limits" start-close "$work/million" > "$work/first.txt"
# The second start reads the file the first close wrote.
"$limits" start-close "$work/million" > "$work/second.txt"
start=$(field start_seconds "$work/second.txt")
close=$(field close_seconds "$work/first.txt")
deals=$(field deals "$work/second.txt")
resident=$(field resident_mb "$work/second.txt")
printf 'start with %s deals: %s s, %s MB resident (target < 1 s): %s\n' "$deals" "$start" "$resident" "$(verdict "$start" 1)"
printf 'close with %s deals: %s s (target < 1 s): %s\n' "$deals" "$close" "$(verdict "$close" 1)"

mkdir "$work/run"
"$limits" run "$work/run" "$count" > "$work/run.txt"
kept=$(field deals "$work/run.txt")
seconds=$(field run_seconds "$work/run.txt")
gap=$(field longest_gap_ms "$work/run.txt")
resident=$(field resident_mb "$work/run.txt")
peak=$(field peak_resident_mb "$work/run.txt")
close=$(field close_seconds "$work/run.txt")
printf 'run keeping %s deals: %s s; window unanswered at most %s ms (target < 250 ms): %s\n' \
    "$kept" "$seconds" "$gap" "$(verdict "$gap" 250)"
printf '  resident at the end %s MB, peak %s MB (target < 1200 MB): %s\n' "$resident" "$peak" "$(verdict "$peak" 1200)"
printf '  close with %s deals: %s s\n' "$kept" "$close"
