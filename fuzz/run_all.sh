#!/usr/bin/env bash
# Builds the libFuzzer targets with clang, AddressSanitizer and UBSan, and runs
# each for a bounded time from its seed corpus in fuzz/corpus/<target>/.
# Fails on any finding.  Usage: fuzz/run_all.sh [seconds per target]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
if [ ! -f build-fuzz/build.ninja ]; then
  CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja "${launcher[@]}" \
    -DKORVANA_WERROR=ON -DKORVANA_FUZZ=ON -DKORVANA_SANITIZE=ON -DKORVANA_GUI=OFF -DKORVANA_BENCH=OFF >/dev/null
fi
cmake --build build-fuzz --target fuzzers
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
for source in fuzz/*.cpp; do
  target=$(basename "$source" .cpp)
  mkdir -p "$work/$target"
  [ -d "fuzz/corpus/$target" ] && cp -r "fuzz/corpus/$target/." "$work/$target/"
  echo "== Fuzzing $target for ${seconds}s"
  mkdir -p fuzz-out
  if ! (cd "$work" && "$OLDPWD/build-fuzz/$target" -max_total_time="$seconds" -rss_limit_mb=4096 \
        -artifact_prefix="$OLDPWD/fuzz-out/$target-" \
        -print_final_stats=1 "$target" 2>"$work/$target.log"); then
    tail -n 60 "$work/$target.log"
    echo "FINDING in $target"
    failed=1
  else
    grep -E 'stat::number_of_executed_units|Done [0-9]+ runs' "$work/$target.log" || true
  fi
done
exit $failed
