# Sourced first by the bench scripts that run korvana-cli, with the program's
# path (empty: build/korvana-cli) and, for a script that also runs the peer
# generator `dealer`, the word dealer: goes to the root of the tree, sets `cli`
# (and `dealer`, its path) and stops when a program is missing.
cd "$(dirname "${BASH_SOURCE[0]}")/.."
cli=${1:-build/korvana-cli}
if [ "${2:-}" = dealer ]; then
  dealer=$(command -v dealer || echo /usr/games/dealer)
  [ -x "$dealer" ] || { echo "dealer is not installed (apt-get install dealer)" >&2; exit 1; }
fi
[ -x "$cli" ] || { echo "$cli not found; build it first (./run build)" >&2; exit 1; }
