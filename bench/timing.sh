# Sourced by the bench scripts: timed runs and rates. The caller sets `work`
# (a scratch folder), `repeat` (runs per measurement), `cli` for run_korvana
# and, for run_dealer, `dealer` (the peer generator's path).

# Runs a command with /usr/bin/time $repeat times and keeps the fastest by the
# wall clock: sets seconds (wall), cpu (user + system) and rss (the largest
# resident size, kB). On a shared machine the slower runs measure the neighbours.
timed() {
  local best_seconds= best_cpu= best_rss= i s user system m
  for ((i = 0; i < repeat; i++)); do
    /usr/bin/time -f '%e %U %S %M' -o "$work/time" "$@"
    read -r s user system m <"$work/time"
    if [ -z "$best_seconds" ] || [ "$(echo "$s < $best_seconds" | bc -l)" = 1 ]; then
      best_seconds=$s best_cpu=$(echo "$user + $system" | bc -l) best_rss=$m
    fi
  done
  seconds=$best_seconds cpu=$best_cpu rss=$best_rss
}

rate() { echo "$1 / $2" | bc -l; }

# dealer with the condition $1 (dealer's syntax), keeping $2 deals; sets dealt.
run_dealer() {
  {
    echo "produce $2"
    echo "generate 2000000000"
    [ -n "$1" ] && echo "condition $1"
    echo "action printoneline"
  } >"$work/input.dl"
  timed "$dealer" -s 1 "$work/input.dl" >"$work/dealer.out"
  dealt=$(sed -n 's/^Generated \([0-9]*\) hands$/\1/p' "$work/dealer.out" | tail -n 1)
}

# korvana-cli with the condition $1 (none when empty), keeping $2 deals on $3
# threads; further arguments choose the dealing (--key 1, else securely); sets
# dealt from the last line of stderr, "kept(dealt)".
run_korvana() {
  local condition=()
  [ -n "$1" ] && condition=(--condition "$1")
  timed "$cli" generate "${@:4}" --count "$2" "${condition[@]}" --threads "$3" --format lines \
    --quiet >/dev/null 2>"$work/korvana.err"
  local last
  last=$(tail -n 1 "$work/korvana.err")
  dealt=${last#*(}
  dealt=${dealt%)}
}

# The condition both speed scripts measure, in each language: North 15-17
# balanced, South five spades or more.
opening_ours='Balanced(North, 15, 17) AND (SuitLength(South, Spades) >= 5)'
opening_dealer='hcp(north) >= 15 && hcp(north) <= 17
  && shape(north, any 4333 + any 4432 + 3352 + 3325 + 3253 + 2353 + 3235 + 2335)
  && spades(south) >= 5'
