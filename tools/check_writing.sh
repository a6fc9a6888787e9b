#!/bin/bash
# What each korvana-cli command that writes a file does with each kind of
# name: a regular file, a device, a pipe, a link, a dangling link, a file of
# two hard links, a file of another owner, and /dev/stdout appended to.
# Usage: tools/check_writing.sh [path/to/korvana-cli]   (run as root: the
# other owner's cases change user with setpriv)
set -u
cli=$(realpath "${1:-build/korvana-cli}")
work=$(mktemp -d)
chmod 0777 "$work"
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
"$cli" generate --key 4 --count 3 --out in.pbn --quiet >/dev/null 2>&1

# The command that writes OUT (a name ending .pbn/.csv/.pdf), by row name.
run() {
    local row=$1 out=$2
    case $row in
    generate) "$cli" generate --key 5 --count 2 --out "$out" --out-format pbn --quiet ;;
    convert) "$cli" convert in.pbn "$out" --out-format pbn ;;
    simulate) "$cli" simulate --from in.pbn --variant "A: 3NT N" --variant "B: 4S N" --csv "$out" --quiet ;;
    leads) "$cli" leads --key 1 --count 2 --fixed "W:AKQ2.KQ2.QJ2.432" --contract "3NT S" --csv "$out" --quiet ;;
    tabulate) "$cli" tabulate --from in.pbn --expression "HCP(N)" --csv "$out" --quiet ;;
    handout) "$cli" handout in.pbn --out "$out" ;;
    esac
}

cell() {
    local row=$1 kind=$2 ext=pbn code note
    case $row in simulate | leads | tabulate) ext=csv ;; handout) ext=pdf ;; esac
    rm -rf d && mkdir d && chmod 0777 d
    local name=d/x.$ext
    case $kind in
    regular)
        echo old >"$name" && chmod 0640 "$name"
        run "$row" "$name" >/dev/null 2>err
        code=$?
        note="mode $(stat -c %a "$name")"
        ;;
    device)
        # A null device of its own: a command that replaced devices must not
        # take the system's /dev/null with it.
        mknod -m 0666 d/null c 1 3
        run "$row" d/null >/dev/null 2>err
        code=$?
        note=$([ -c d/null ] && echo "still a device" || echo "DEVICE REPLACED")
        ;;
    pipe)
        mkfifo "$name"
        cat "$name" >d/read &
        run "$row" "$name" >/dev/null 2>err
        code=$?
        wait
        note="$([ -p "$name" ] && echo "still a pipe" || echo "PIPE REPLACED"), $(wc -c <d/read) bytes read"
        ;;
    link)
        echo old >d/target.$ext && ln -s target.$ext "$name"
        run "$row" "$name" >/dev/null 2>err
        code=$?
        note="$([ -L "$name" ] && echo "link kept" || echo "LINK REPLACED"), target $(grep -q '^old$' d/target.$ext && echo old || echo new)"
        ;;
    dangling)
        ln -s missing.$ext "$name"
        run "$row" "$name" >/dev/null 2>err
        code=$?
        note="$([ -L "$name" ] && echo "link kept" || echo "LINK REPLACED"), target $([ -s d/missing.$ext ] && echo created || echo missing)"
        ;;
    hardlink)
        echo old >"$name" && ln "$name" d/other
        run "$row" "$name" >/dev/null 2>err
        code=$?
        note="other name $(grep -q '^old$' d/other && echo old || echo new)$(grep -q 'жёсткими' err && echo ', told')"
        ;;
    owner)
        echo old >"$name" && chown 65534:65534 "$name" && chmod 0640 "$name"
        run "$row" "$name" >/dev/null 2>err
        code=$?
        note="root saves: $(stat -c %U:%G "$name")"
        echo old >"$name" && chown 0:0 "$name" && chmod 0666 "$name"
        export -f run
        export cli
        setpriv --reuid 65534 --regid 65534 --clear-groups bash -c "run $row $name" >/dev/null 2>err
        note="$note; nobody saves root's 0666 file: exit $?, $(stat -c %U "$name"), $(grep -q '^old$' "$name" && echo old || echo new)"
        ;;
    stdout)
        echo earlier >d/results
        (run "$row" /dev/stdout >>d/results) 2>err
        code=$?
        note=$(head -1 d/results | grep -q earlier && echo "appended, earlier line kept" || echo "RESULTS REPLACED")
        ;;
    esac
    printf '%-9s %-9s exit %-3s %s\n' "$row" "$kind" "${code:-}" "$note"
}

for row in generate convert simulate leads tabulate handout; do
    for kind in regular device pipe link dangling hardlink owner stdout; do
        cell "$row" "$kind"
    done
done
