#!/usr/bin/env bash
# Fails when a C++ file of the project is not formatted by its .clang-format.
# Usage: tools/check_format.sh [--fix]
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files '*.cpp' '*.h' 2>/dev/null || find src tests bench fuzz -name '*.cpp' -o -name '*.h')
if [ "${1:-}" = "--fix" ]; then
  clang-format -i "${files[@]}"
  exit 0
fi
report=$(mktemp)
trap 'rm -f "$report"' EXIT
if ! clang-format --dry-run --Werror "${files[@]}" 2>"$report"; then
  grep -o '^[^:]*\.\(cpp\|h\):' "$report" | sort -u | sed 's/:$/: not formatted/'
  echo "Format check failed: run tools/check_format.sh --fix"
  exit 1
fi
echo "Format check: ${#files[@]} files formatted by .clang-format."
