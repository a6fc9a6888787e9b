#!/usr/bin/env bash
# A session of the window by keys alone, under Xvfb: open a menu, insert a
# function through its dialog, generate, step through the deals, show the deal
# information, save, open the help and insert an example. Each step leaves a
# screenshot docs/keyboard-N-*.png. Needs Xvfb, xdotool and ImageMagick.
# Usage: tools/keyboard_session.sh [path/to/korvana]
set -euo pipefail
cd "$(dirname "$0")/.."
program=$(realpath "${1:-build/korvana}")
work=$(mktemp -d)
cp "$program" "$work/korvana"  # its setup file goes beside it, not into the tree
export DISPLAY=:57 QT_QPA_PLATFORM=xcb
Xvfb "$DISPLAY" -screen 0 1366x768x24 -nolisten tcp &
xvfb=$!
trap 'kill $korvana $xvfb 2>/dev/null; rm -rf "$work"' EXIT
sleep 2
"$work/korvana" &
korvana=$!
window=$(xdotool search --sync --name '^Korvana$' | head -1)
sleep 2
xdotool windowfocus --sync "$window"  # no window manager gives it the focus
step=0
shot() { step=$((step + 1)); import -window root "docs/keyboard-$step-$1.png"; }
key() { xdotool key --delay 200 "$@"; sleep 1; }
# Without a window manager a closed dialog leaves the keyboard focus nowhere:
# give it back to the main window, as a window manager would.
refocus() { xdotool windowfocus --sync "$window"; sleep 0.5; }

key F10; shot menu-from-the-keyboard                       # the first menu opens
key Escape Escape
key F1; sleep 1; shot help
key Tab Return; shot example-inserted                      # the first example link
key Home parenleft End parenright space A N D space
key F10 Right Down Down Right; shot function-menu          # Условия → Вставить функцию
key Down Down Down Down Down Down Return; shot function-dialog   # Balanced's dialog
key Return; shot function-inserted                         # OK: the call is in the editor
refocus
key Tab; shot condition-whole                              # Tab leaves the editor
key ctrl+g; sleep 2; key ctrl+g; sleep 2; key ctrl+g; sleep 2; shot generated
key ctrl+Up; shot previous-deal
key F3; shot deal-information
key Escape
refocus
key ctrl+v; sleep 1
xdotool type --delay 40 "$work/lesson.dls"
key Return; shot saved
test -s "$work/lesson.dls" && echo "saved: $(wc -l < "$work/lesson.dls") lines"
