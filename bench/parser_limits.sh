#!/usr/bin/env bash
# Time and resident memory of korvana-cli on conditions of 1 MB: each input is
# written as a conditions file in a temporary folder, then given to
#   korvana-cli check --condition-file F
#   korvana-cli generate --count 1 --max-dealt 10 --key 1 --condition-file F
# Each run must answer (refuse with its message, or accept and deal) within
# 1 second and 100 MB resident. Prints one line per input and command: seconds,
# resident MB, "met" or "NOT met", the exit code and the first line of stderr.
# A condition cannot be given as one 1 MB argument (the kernel limits a single
# argument to 128 kB), so every input goes through a file.
#
#   bench/parser_limits.sh [korvana-cli path]
set -uo pipefail
. "$(dirname "$0")/common.sh" "${1:-}"
command -v python3 >/dev/null || { echo "python3 is needed to write the inputs" >&2; exit 1; }

max_seconds=1
max_mb=100
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Writes every input as <name>.cnd: the header line, then the condition in
# Windows-1251 with CR LF line ends. The bodies are 1 MiB or a few bytes less,
# but for the limit-* ones.
python3 - "$work" <<'EOF'
import random, sys
work = sys.argv[1]
MB = 1 << 20
header = b"This is Conditions File of Tavex's Bridge Generator\r\n"

def rep(unit, total=MB):
    return unit * (total // len(unit))

def body(name, data):
    with open(f"{work}/{name}.cnd", "wb") as f:
        f.write(header + data + b"\r\n")

k = (MB - 9) // 2
and_unit = b"(HCP(N)>=1) AND "
and_count = (MB - 11) // len(and_unit)
def balanced(levels):
    # ((a AND b) OR (c AND d)) ... over 2^levels calls of every seat.
    if levels == 0:
        return b"HCP(N)>=1"
    inner = balanced(levels - 1)
    return b"(" + inner + (b") AND (" if levels % 2 else b") OR (") + inner + b")"

rng = random.Random(1)
garbage = bytes(rng.choice(b"\xc0\xc6\xdf\xe0\xff\xa8\xb8()<>=,+-0123456789 ANDORTHCPNES")
                for _ in range(MB))
inputs = [
    ("open-brackets", rep(b"(")),
    ("close-brackets", rep(b")")),
    ("commas", rep(b",")),
    ("not-chain", rep(b"NOT ")),
    ("not-chain-valid", rep(b"NOT ", MB - 4) + b"TRUE"),
    ("hcp-open-chain", rep(b"HCP(")),
    ("deep-brackets-valid", b"(" * k + b"HCP(N)>=1" + b")" * k),
    ("and-chain-valid", and_unit * and_count + b"(HCP(N)>=1)"),
    ("plus-chain", rep(b"1+", MB - 1) + b"1"),
    ("plus-chain-compare", rep(b"1+", MB - 3) + b"1>0"),
    ("many-parameters", b"BALANCED(N" + rep(b",1", MB - 11) + b")"),
    ("identifier", rep(b"A")),
    ("number", rep(b"1")),
    ("negative-numbers", rep(b"-1")),
    ("cyrillic-word", rep(b"\xc6")),  # Ж in Windows-1251
    ("garbage", garbage),
    ("nul-bytes", rep(b"\0")),
    ("blanks", rep(b" ")),
    ("lines-valid", b"".join([b"(HCP(N)>=1) AND\r\n"] * (MB // 17 - 1)) + b"(HCP(N)>=1)"),
    ("lines-open-brackets", b"\r\n".join([b"(" * 62] * (MB // 64))),
    # The largest correct conditions that are still accepted (a little under
    # the tree's node limit): they are checked, compiled or not, and deal.
    ("limit-deep-brackets", b"(" * 19500 + b"HCP(N)>=1" + b")" * 19500),
    ("limit-and-chain", and_unit * 6000 + b"(HCP(N)>=1)"),
    ("limit-not-chain", b"NOT " * 33000 + b"TRUE"),
    ("limit-many-parameters", b"BALANCED(N" + b",1" * 24500 + b")"),
    ("limit-plus-chain", b"1+" * 49000 + b"1>0"),
    ("limit-padded-to-1mb", rep(b" ", MB - 6000 * 16 - 11) + and_unit * 6000 + b"(HCP(N)>=1)"),
    # The largest trees that are still compiled: one too deep for the
    # compiler, one balanced that it takes.
    ("limit-compiled-and-chain", and_unit * 1450 + b"(HCP(N)>=1)"),
    ("limit-compiled-balanced", balanced(10)),
]
for name, data in inputs:
    body(name, data)
EOF

printf '%-22s %-8s %8s %8s  %-7s %s\n' input command seconds MB target "exit and message"
for file in "$work"/*.cnd; do
  name=$(basename "$file" .cnd)
  for command in check generate; do
    if [ "$command" = check ]; then
      args=(check --condition-file "$file")
    else
      args=(generate --count 1 --max-dealt 10 --key 1 --condition-file "$file")
    fi
    # A run that hangs is stopped after a minute (exit 124).
    /usr/bin/time -f '%e %M' -o "$work/time" timeout 60 "$cli" "${args[@]}" \
      >/dev/null 2>"$work/stderr"
    code=$?
    read -r seconds kb < <(tail -n 1 "$work/time")
    mb=$(( (kb + 1023) / 1024 ))
    # The first line: a message quotes at most 64 characters of a word.
    message=$(head -c 1000 "$work/stderr" | head -n 1 | tr -d '\0')
    if awk -v s="$seconds" -v m="$mb" -v ms="$max_seconds" -v mm="$max_mb" \
        'BEGIN { exit !(s < ms && m <= mm) }'; then
      target=met
    else
      target="NOT met"
    fi
    printf '%-22s %-8s %8s %8s  %-7s %s %s\n' "$name" "$command" "$seconds" "$mb" "$target" \
      "$code" "$message"
  done
done
