# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by the end-to-end scenarios: a private virtual screen, a private home,
# the real program, and the hands and eyes of a player (xdotool and import).
# A scenario sources this file and is run as
#   bash <scenario>.sh <vortan> <vortan-sim> <artifact folder>
# It exits 0 on success, 77 when no virtual screen can be had, else 1.

set -euo pipefail

E2E_PROGRAM=$(readlink -f "$1")
E2E_SIM=$(readlink -f "$2")
E2E_ARTIFACTS=$3
E2E_NAME=$(basename "$0" .sh)
E2E_SHOTS="$E2E_ARTIFACTS/$E2E_NAME"
E2E_SKIP=77
# Every wait is for a window or a file; this only bounds how long a wait may take.
E2E_TIMEOUT=${E2E_TIMEOUT:-20}

for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit $E2E_SKIP; }
done
# The scenarios look at the screen through ImageMagick (scripts/install-deps.sh installs it).
for tool in import compare convert identify; do
  command -v "$tool" >/dev/null || { echo "FAIL: ImageMagick's $tool is not installed" >&2; exit 1; }
done
[ -x "$E2E_PROGRAM" ] || { echo "no program at $E2E_PROGRAM" >&2; exit 1; }

rm -rf "$E2E_SHOTS"
mkdir -p "$E2E_SHOTS"
WORK=$(mktemp -d "${TMPDIR:-/tmp}/vortan-e2e.XXXXXX")
GAMES="$WORK/games"
mkdir -p "$WORK/home" "$WORK/config/vortan" "$GAMES"
# The settings file and every save stay in this folder, never the user's.
export HOME="$WORK/home" XDG_CONFIG_HOME="$WORK/config" XDG_DATA_HOME="$WORK/home/.local/share"
export XDG_RUNTIME_DIR="$WORK/runtime"
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
export QT_QPA_PLATFORM=xcb
unset SESSION_MANAGER QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS
# No sound card here; sound off keeps the game quiet and its timing steady.
printf '[Setup]\nSounds=0\nColour=1\n' > "$XDG_CONFIG_HOME/vortan/VORTAN.INI"

XVFB_PID=""
VORTAN_PID=""

e2e_cleanup() {
  local rc=$?
  if [ -n "$VORTAN_PID" ] && kill -0 "$VORTAN_PID" 2>/dev/null; then
    e2e_screenshot "at-exit" || true
    kill "$VORTAN_PID" 2>/dev/null || true
    wait "$VORTAN_PID" 2>/dev/null || true
  fi
  [ -n "$XVFB_PID" ] && { kill "$XVFB_PID" 2>/dev/null || true; wait "$XVFB_PID" 2>/dev/null || true; }
  if [ "$rc" -ne 0 ] && [ -f "$WORK/vortan.log" ]; then
    echo "--- program output ---"; cat "$WORK/vortan.log"
  fi
  [ -f "$WORK/vortan.log" ] && cp "$WORK/vortan.log" "$E2E_SHOTS/" 2>/dev/null
  rm -rf "$WORK"
  exit "$rc"
}
trap e2e_cleanup EXIT
trap 'echo "FAIL ($E2E_NAME): line $LINENO: $BASH_COMMAND" >&2' ERR

e2e_fail() {
  echo "FAIL ($E2E_NAME): $*" >&2
  exit 1
}

e2e_step() { echo "[$E2E_NAME $(date +%T)] $*"; }

# A virtual screen of our own on a free display number, so scenarios can run side by side.
e2e_start_screen() {
  local fd_file="$WORK/display"
  Xvfb -displayfd 3 -screen 0 1600x1200x24 -nolisten tcp -noreset 3>"$fd_file" 2>"$WORK/xvfb.log" &
  XVFB_PID=$!
  local waited=0
  while [ ! -s "$fd_file" ]; do
    kill -0 "$XVFB_PID" 2>/dev/null || { echo "SKIP: Xvfb would not start"; cat "$WORK/xvfb.log"; exit $E2E_SKIP; }
    sleep 0.1
    waited=$((waited + 1))
    [ "$waited" -lt 100 ] || { echo "SKIP: Xvfb did not come up"; exit $E2E_SKIP; }
  done
  export DISPLAY=":$(head -1 "$fd_file")"
}

# Starts the program in the games folder (saves are relative to the working folder).
e2e_start_program() {
  (cd "$GAMES" && exec "$E2E_PROGRAM" >>"$WORK/vortan.log" 2>&1) &
  VORTAN_PID=$!
}

e2e_program_running() { kill -0 "$VORTAN_PID" 2>/dev/null; }

# Waits until the program has ended by itself; fails after the time limit.
e2e_wait_program_end() {
  local deadline=$((SECONDS + E2E_TIMEOUT))
  while e2e_program_running; do
    [ "$SECONDS" -lt "$deadline" ] || e2e_fail "the program did not end"
    sleep 0.1
  done
  wait "$VORTAN_PID" 2>/dev/null || true
  VORTAN_PID=""
}

# Visible windows whose title is exactly $1, one id a line. xdotool's own
# name match ignores case and misses the menus' popups (called "vortan"), so
# every visible window is listed and its title compared here.
e2e_windows_titled() {
  local id
  for id in $(xdotool search --onlyvisible --name '' 2>/dev/null); do
    [ "$(xdotool getwindowname "$id" 2>/dev/null)" = "$1" ] && echo "$id"
  done
  return 0
}

# Waits for a visible window titled exactly $1 other than the ids in $2 (a
# space-separated list) and prints its id.
e2e_wait_window() {
  local title=$1 except=${2:-} deadline=$((SECONDS + ${3:-$E2E_TIMEOUT})) id
  while :; do
    for id in $(e2e_windows_titled "$title"); do
      case " $except " in *" $id "*) continue ;; esac
      echo "$id"
      return 0
    done
    e2e_program_running || e2e_fail "the program ended while waiting for \"$title\""
    [ "$SECONDS" -lt "$deadline" ] || e2e_fail "no window \"$title\" within the time limit"
    sleep 0.1
  done
}

# Waits until window $1 is no longer visible.
e2e_wait_closed() {
  local id=$1 deadline=$((SECONDS + ${2:-$E2E_TIMEOUT}))
  while xdotool search --onlyvisible --name '' 2>/dev/null | grep -x "$id" >/dev/null; do
    [ "$SECONDS" -lt "$deadline" ] || e2e_fail "window $id did not close"
    sleep 0.1
  done
}

# Gives window $1 the keyboard (there is no window manager to do it) and types keys.
e2e_keys() {
  local id=$1
  shift
  xdotool windowfocus --sync "$id" 2>/dev/null || xdotool windowfocus "$id"
  xdotool key --delay 60 "$@"
}

e2e_type() {
  local id=$1
  shift
  xdotool windowfocus --sync "$id" 2>/dev/null || xdotool windowfocus "$id"
  xdotool type --delay 20 "$1"
}

# Left click at (x, y) inside window $1.
e2e_click() {
  xdotool mousemove --sync --window "$1" "$2" "$3" 2>/dev/null || xdotool mousemove --window "$1" "$2" "$3"
  xdotool click 1
}

# Picture of the whole screen, or of window $2, as <artifacts>/<scenario>/$1.png.
e2e_screenshot() {
  import -window "${2:-root}" "$E2E_SHOTS/$1.png" 2>/dev/null || true
}

# Starts the program, waits for its main window (its id goes to MAIN) and
# dismisses the About box that greets the user.
e2e_start_and_dismiss_about() {
  e2e_start_program
  local about
  about=$(e2e_wait_window "About")
  MAIN=$(e2e_wait_window "Vortan")
  e2e_keys "$about" Return
  e2e_wait_closed "$about"
}

# A menu command by its keys, as the underlined letters show: e2e_menu <main> f n
# is File > New. The item key goes only to an open popup; a key that arrives
# before the popup has opened is tried again.
e2e_menu() {
  local id=$1 try popup deadline
  for try in 1 2 3; do
    e2e_keys "$id" "alt+$2"
    popup=""
    deadline=$((SECONDS + 3))
    while [ -z "$popup" ] && [ "$SECONDS" -lt "$deadline" ]; do
      popup=$(e2e_windows_titled "vortan" | sed -n 1p)
      [ -n "$popup" ] || sleep 0.1
    done
    if [ -n "$popup" ]; then
      xdotool key "$3"
      e2e_wait_closed "$popup"
      return 0
    fi
    xdotool key Escape
  done
  e2e_fail "the menu alt+$2 did not open"
}

# A stamp of the pixels of window $1 (raw pixels: no file dates in the way).
e2e_pixels() {
  import -window "$1" rgb:- 2>/dev/null | md5sum | cut -d' ' -f1
}

# Waits until the whole screen has stopped changing: three equal pictures a
# third of a second apart. The game loop idles only when a human must act.
e2e_wait_still() {
  local deadline=$((SECONDS + ${1:-$E2E_TIMEOUT})) last="" same=0 now
  while :; do
    now=$(e2e_pixels root)
    if [ "$now" = "$last" ]; then same=$((same + 1)); else same=0; fi
    [ "$same" -ge 2 ] && return 0
    last=$now
    [ "$SECONDS" -lt "$deadline" ] || e2e_fail "the screen never came to rest"
    sleep 0.3
  done
}

# Waits until window $1 shows something other than the stamp $2, and the screen is at rest.
e2e_wait_change() {
  local id=$1 before=$2 deadline=$((SECONDS + ${3:-$E2E_TIMEOUT}))
  while :; do
    if [ "$(e2e_pixels "$id")" != "$before" ]; then
      e2e_wait_still "${3:-$E2E_TIMEOUT}"
      [ "$(e2e_pixels "$id")" != "$before" ] && return 0
    fi
    e2e_program_running || e2e_fail "the program ended"
    [ "$SECONDS" -lt "$deadline" ] || e2e_fail "window $id did not change"
    sleep 0.2
  done
}

# A visible window whose title is none of the given ones (nor a menu's
# popup); prints "id title".
e2e_wait_other_window() {
  local deadline=$((SECONDS + E2E_TIMEOUT)) id name known
  while :; do
    for id in $(xdotool search --onlyvisible --name '' 2>/dev/null); do
      name=$(xdotool getwindowname "$id" 2>/dev/null || true)
      known=0
      for t in "$@" vortan; do [ "$name" = "$t" ] && known=1; done
      [ "$known" = 0 ] && [ -n "$name" ] && { echo "$id $name"; return 0; }
    done
    e2e_program_running || e2e_fail "the program ended while waiting for a window"
    [ "$SECONDS" -lt "$deadline" ] || e2e_fail "no new window came up"
    sleep 0.1
  done
}

# File > Save as (or File > Open when $2 is "Open"): types the full path into the file dialog.
e2e_file_dialog() {
  local main=$1 title=$2 path=$3 dialog
  if [ "$title" = "Open" ]; then e2e_menu "$main" f o; else e2e_menu "$main" f a; fi
  dialog=$(e2e_wait_window "$title")
  e2e_type "$dialog" "$path"
  e2e_keys "$dialog" Return
  e2e_wait_closed "$dialog"
}

# File > New with the players given as six letters H, C or O, on the smallest world.
e2e_new_game() {
  local main=$1 players=$2 dialog p x
  e2e_menu "$main" f n
  dialog=$(e2e_wait_window "New Game")
  # The radio buttons of player p sit in column p of the Players box: rows Human, Computer, Out.
  for p in 0 1 2 3 4 5; do
    x=$((117 + p * 30 - (p > 0 ? 1 : 0)))
    case ${players:$p:1} in
      H) e2e_click "$dialog" "$x" 77 ;;
      C) e2e_click "$dialog" "$x" 97 ;;
      O) e2e_click "$dialog" "$x" 117 ;;
    esac
  done
  e2e_click "$dialog" 30 171   # 50 x 50
  e2e_screenshot new-game-dialog "$dialog"
  e2e_click "$dialog" 74 289   # OK
  e2e_wait_closed "$dialog"
}

# In the City dialog $1: build Armies, OK.
e2e_city_build_army() {
  e2e_click "$1" 172 38
  e2e_click "$1" 195 245
  e2e_wait_closed "$1"
}

# Starts the program, RED Human against GREEN, Army in the first city, and
# waits until the Army is built. Sets GAME_INFO and PIECE_INFO.
e2e_start_game_with_an_army() {
  local no_piece found
  e2e_start_screen
  e2e_start_and_dismiss_about
  GAME_INFO=$(e2e_wait_window "Game Info")
  PIECE_INFO=$(e2e_wait_window "Piece Info")
  no_piece=$(e2e_pixels "$PIECE_INFO")
  e2e_step "File > New: RED Human against GREEN"
  e2e_new_game "$MAIN" HCOOOO
  found=$(e2e_wait_other_window Vortan "Game Info" Rankings "Piece Info" Production)
  e2e_city_build_army "${found%% *}"
  e2e_step "waiting for the first Army"
  e2e_wait_change "$PIECE_INFO" "$no_piece" 40
}

# Moves > End turn..., Yes, and waits until the Game Info window shows the next day.
e2e_end_turn() {
  local day_stamp question
  day_stamp=$(e2e_pixels "$GAME_INFO")
  e2e_menu "$MAIN" m e
  question=$(e2e_wait_window "End turn...")
  e2e_keys "$question" y
  e2e_wait_closed "$question"
  e2e_wait_change "$GAME_INFO" "$day_stamp" 40
}

# Where cell ($2, $3) of a W x H world ($4, $5) is drawn in main window $1 at
# 100 %, when the view is centred on ($6, $7); prints "x y" of its middle.
e2e_cell_point() {
  local id=$1 x=$2 y=$3 w=$4 h=$5 vx=$6 vy=$7 geo width height menu cols rows
  geo=$(xdotool getwindowgeometry "$id" | awk '/Geometry/ { print $2 }')
  width=${geo%x*}
  height=${geo#*x}
  # The window is sized to show the whole world: client height H x 16 + 49, the menu bar above it.
  menu=$((height - h * 16 - 49))
  [ "$menu" -ge 10 ] && [ "$menu" -le 60 ] || e2e_fail "unexpected main window size $geo"
  cols=$(((width - 16) / 16))
  rows=$((height - menu - 50))
  rows=$((rows / 16))
  echo "$((((cols / 2 + x - vx + w) % w) * 16 + 8)) $((((rows / 2 + y - vy + h) % h) * 16 + 34 + menu + 8))"
}

# Clicks the strip button whose middle is $2 pixels from the left of main
# window $1, sized for a world $3 cells high at 100 %.
e2e_strip_click() {
  local geo menu
  geo=$(xdotool getwindowgeometry "$1" | awk '/Geometry/ { print $2 }')
  menu=$((${geo#*x} - $3 * 16 - 49))
  e2e_click "$1" "$2" $((menu + 17))
}

# Rests the pointer on the main window's vertical scroll bar, where no go-to line is drawn.
e2e_park_pointer() {
  local geo
  geo=$(xdotool getwindowgeometry "$1" | awk '/Geometry/ { print $2 }')
  xdotool mousemove --window "$1" $((${geo%x*} - 8)) $((${geo#*x} / 2))
}

# Picture $1 of the main window with its map blacked out, as $2: what the
# window shows before anything is explored. $3 is the world's height.
e2e_empty_map_picture() {
  local size width height menu
  size=$(identify -format '%w %h' "$1")
  width=${size% *}
  height=${size#* }
  menu=$((height - $3 * 16 - 49))
  convert "$1" -fill black -draw "rectangle 0,$((menu + 34)) $((width - 17)),$((height - 17))" "$2"
}

# Pixels that differ noticeably between two pictures of the same size.
e2e_picture_difference() {
  { compare -metric AE -fuzz 10% "$1" "$2" null: 2>&1 || true; } | awk '{ print int($1) }'
}

# --- reading a saved game (the file is the four records byte for byte) ---

# Unsigned little-endian integer of $3 bytes at offset $2 of file $1.
e2e_file_uint() {
  local v
  v=$(od -An -t"u$3" -j "$2" -N "$3" --endian=little "$1" | tr -d ' ')
  echo "$v"
}

readonly E2E_STATE=56 E2E_PIECES=164 E2E_WORLD=8164

e2e_game_day() { e2e_file_uint "$1" $((E2E_STATE + 6)) 2; }
e2e_game_view_x() { e2e_file_uint "$1" $((E2E_STATE + 80)) 2; }
e2e_game_view_y() { e2e_file_uint "$1" $((E2E_STATE + 82)) 2; }
e2e_game_width() { e2e_file_uint "$1" 4 1; }
e2e_game_height() { e2e_file_uint "$1" 5 1; }
# The field at offset $3 (type 0, owner 1, moves left 2, state 3, x 4, y 5) of piece slot $2.
e2e_piece_field() { e2e_file_uint "$1" $((E2E_PIECES + 16 * $2 + $3)) 1; }
e2e_terrain() { e2e_file_uint "$1" $((E2E_WORLD + 12 * ($3 * 70 + $2))) 1; }
e2e_top_type() { e2e_file_uint "$1" $((E2E_WORLD + 12 * ($3 * 70 + $2) + 4)) 1; }

# The lowest slot holding a piece of type $2 owned by player $3, or nothing.
e2e_find_piece() {
  od -An -tu1 -v -w16 -j "$E2E_PIECES" -N 8000 "$1" |
    awk -v t="$2" -v o="$3" '$1 == t && $2 == o && !found { print NR - 1; found = 1 }'
}
