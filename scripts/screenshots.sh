#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the real program on a virtual screen, starts a demonstration game and
# saves a screenshot at each zoom level into the build folder.
#   scripts/screenshots.sh [build-folder]      (default: build)
# Needs xvfb-run, xdotool and ImageMagick's import.
set -eu
BUILD=$(cd "${1:-build}" && pwd)
PROGRAM="$BUILD/ui/vortan"
[ -x "$PROGRAM" ] || { echo "no program at $PROGRAM; build the vortan target first" >&2; exit 1; }
OUT="$BUILD/screenshots"
mkdir -p "$OUT"

# A private home: the settings file turns sound off, the recovery file stays here.
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
mkdir -p "$WORK/config/vortan"
printf '[Setup]\nSounds=0\nColour=1\n' > "$WORK/config/vortan/VORTAN.INI"

cat > "$WORK/session.sh" <<'SESSION'
set -eu
cd "$WORK"
XDG_CONFIG_HOME="$WORK/config" "$PROGRAM" 2>"$WORK/stderr.txt" &
PID=$!
window() { xdotool search --sync --onlyvisible --name '^Vortan$' | head -1; }
sleep 2
xdotool key Return                     # the About box
sleep 0.5
WID=$(window)
xdotool windowfocus "$WID"
xdotool key alt+f d                    # File > Demo
sleep 3
# The zoom buttons of the strip (10 to 13), 45 pixels below the window's top
# edge: below the menu bar, in the middle of the strip.
for zoom in 75:365 100:396 150:427 200:458; do
  name=${zoom%%:*}; x=${zoom##*:}
  WID=$(window)
  xdotool mousemove --window "$WID" "$x" 45 click 1
  sleep 2
  xdotool mousemove 0 0
  sleep 0.3
  import -window root "$OUT/zoom-$name.png"
  echo "saved $OUT/zoom-$name.png"
done
kill "$PID"
wait "$PID" 2>/dev/null || true
SESSION

WORK="$WORK" PROGRAM="$PROGRAM" OUT="$OUT" \
  xvfb-run -a -s "-screen 0 1920x1200x24" sh "$WORK/session.sh"
