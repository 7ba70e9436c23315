#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# What a player is told, on the real program: a refused click gives its reason
# in the list of events, a fight appears there, keys reach the map after a
# click in the World Map, and the wheel scrolls the map. Pictures of the game
# at 75 % and 200 % for the README's gallery.
source "$(dirname "$0")/lib.sh"

# Writes byte $3 (0..255) at offset $2 of file $1.
put_byte() { printf "\\$(printf '%03o' "$3")" | dd of="$1" bs=1 seek="$2" conv=notrunc status=none; }
# Copies the 16 bytes of piece slot $2 into slot $3 of file $1.
copy_piece() {
  dd if="$1" of="$1" bs=1 skip=$((E2E_PIECES + 16 * $2)) seek=$((E2E_PIECES + 16 * $3)) count=16 conv=notrunc status=none
}
# Puts piece slot $2 of file $1 on cell ($3, $4), standing still, and marks it the cell's top piece.
place_piece() {
  local f=$1 slot=$2 x=$3 y=$4 cell=$((E2E_WORLD + 12 * ($4 * 70 + $3)))
  put_byte "$f" $((E2E_PIECES + 16 * slot + 4)) "$x"; put_byte "$f" $((E2E_PIECES + 16 * slot + 5)) "$y"
  put_byte "$f" $((E2E_PIECES + 16 * slot + 6)) "$x"; put_byte "$f" $((E2E_PIECES + 16 * slot + 7)) "$y"
  put_byte "$f" $((cell + 4)) "$(e2e_piece_field "$f" "$slot" 0)"
  put_byte "$f" $((cell + 5)) "$(e2e_piece_field "$f" "$slot" 1)"
}
# How many pixels of window $1 are written in red: RED's own lines and the
# darker red of refusals (the text is smoothed, so a range, not one colour).
red_pixels() {
  import -window "$1" -depth 8 txt:- 2>/dev/null | sed -n 's/^[^(]*(\([0-9]*\),\([0-9]*\),\([0-9]*\)).*/\1 \2 \3/p' |
    awk '$1 >= 100 && $2 <= 80 && $3 <= 80 { n++ } END { print n + 0 }'
}
free_slots() { od -An -tu1 -v -w16 -j "$E2E_PIECES" -N 8000 "$1" | awk '$1 == 10 { print NR - 1 }' | head -2; }

e2e_start_game_with_an_army
PRODUCTION=$(e2e_wait_window "Production")
BEFORE="$GAMES/before.gam"
e2e_file_dialog "$MAIN" "Save As" "$BEFORE"
ARMY=$(e2e_find_piece "$BEFORE" 1 0)
[ -n "$ARMY" ] || e2e_fail "RED has no Army in before.gam"
W=$(e2e_game_width "$BEFORE") H=$(e2e_game_height "$BEFORE")
AX=$(e2e_piece_field "$BEFORE" "$ARMY" 4) AY=$(e2e_piece_field "$BEFORE" "$ARMY" 5)

# The scene: a GREEN army, all but dead, on open land beside RED's army, and a
# RED destroyer at sea near by that waits for an order. Both are written into
# the saved game, which is then opened.
ENEMY_X="" SEA_X="" INLAND_X=""
for d in "-1 0" "1 0" "0 -1" "0 1" "-1 -1" "1 1" "-1 1" "1 -1"; do
  set -- $d
  x=$(((AX + $1 + W) % W)) y=$(((AY + $2 + H) % H))
  if [ -z "$ENEMY_X" ] && [ "$(e2e_terrain "$BEFORE" "$x" "$y")" = 1 ] && [ "$(e2e_top_type "$BEFORE" "$x" "$y")" = 10 ]; then
    ENEMY_X=$x ENEMY_Y=$y
  fi
done
for r in 1 2 3 4 5 6; do
  for dx in $(seq -$r $r); do
    for dy in $(seq -$r $r); do
      x=$(((AX + dx + W) % W)) y=$(((AY + dy + H) % H))
      [ -z "$SEA_X" ] && [ "$(e2e_terrain "$BEFORE" "$x" "$y")" = 0 ] && [ "$(e2e_top_type "$BEFORE" "$x" "$y")" = 10 ] &&
        [ "$(e2e_file_uint "$BEFORE" $((E2E_WORLD + 12 * (y * 70 + x) + 2)) 1)" != 0 ] && SEA_X=$x SEA_Y=$y
    done
  done
done
[ -n "$ENEMY_X" ] && [ -n "$SEA_X" ] || e2e_fail "no place for the scene around the Army at ($AX, $AY)"
slots=($(free_slots "$BEFORE"))
DESTROYER=${slots[0]} ENEMY=${slots[1]}
SCENE="$GAMES/scene.gam"
cp "$BEFORE" "$SCENE"
copy_piece "$SCENE" "$ARMY" "$ENEMY"
put_byte "$SCENE" $((E2E_PIECES + 16 * ENEMY + 1)) 1                        # GREEN
put_byte "$SCENE" $((E2E_PIECES + 16 * ENEMY + 3)) 0                        # Ready
put_byte "$SCENE" $((E2E_PIECES + 16 * ENEMY + 8)) 1                        # strength 1
put_byte "$SCENE" $((E2E_PIECES + 16 * ENEMY + 9)) 0
place_piece "$SCENE" "$ENEMY" "$ENEMY_X" "$ENEMY_Y"
for dx in -1 0 1; do                                                        # which GREEN has looked round
  for dy in -1 0 1; do
    explored=$((E2E_WORLD + 12 * (((ENEMY_Y + dy + H) % H) * 70 + (ENEMY_X + dx + W) % W) + 1))
    put_byte "$SCENE" "$explored" $(($(e2e_file_uint "$SCENE" "$explored" 1) | 2))
  done
done
copy_piece "$SCENE" "$ARMY" "$DESTROYER"
put_byte "$SCENE" $((E2E_PIECES + 16 * DESTROYER)) 2                        # a destroyer
put_byte "$SCENE" $((E2E_PIECES + 16 * DESTROYER + 2)) 6                    # with its moves
place_piece "$SCENE" "$DESTROYER" "$SEA_X" "$SEA_Y"
put_byte "$SCENE" "$E2E_STATE" "$DESTROYER"                                 # the piece waiting for RED
put_byte "$SCENE" $((E2E_STATE + 1)) 0
e2e_file_dialog "$MAIN" "Open" "$SCENE"
e2e_wait_still
VX=$(e2e_game_view_x "$SCENE") VY=$(e2e_game_view_y "$SCENE")

e2e_step "a click on the Army's cell sends the destroyer on land: refused, and the list says why"
refusals=$(red_pixels "$PRODUCTION")
point=$(e2e_cell_point "$MAIN" "$AX" "$AY" "$W" "$H" "$VX" "$VY")
e2e_click "$MAIN" ${point% *} ${point#* }
deadline=$((SECONDS + E2E_TIMEOUT))
until [ "$(red_pixels "$PRODUCTION")" -gt $((refusals + 100)) ]; do
  [ "$SECONDS" -lt "$deadline" ] || { e2e_screenshot refusal-missing; e2e_fail "no refusal reason in the event list ($refusals red pixels before, $(red_pixels "$PRODUCTION") after)"; }
  sleep 0.2
done
e2e_screenshot refused-click

e2e_step "F for the destroyer; the Army attacks the GREEN army at ($ENEMY_X, $ENEMY_Y)"
e2e_keys "$MAIN" f
e2e_wait_still
red=$(red_pixels "$PRODUCTION")
point=$(e2e_cell_point "$MAIN" "$ENEMY_X" "$ENEMY_Y" "$W" "$H" "$VX" "$VY")
e2e_click "$MAIN" ${point% *} ${point#* }
deadline=$((SECONDS + E2E_TIMEOUT))
until [ "$(red_pixels "$PRODUCTION")" -gt $((red + 100)) ]; do
  [ "$SECONDS" -lt "$deadline" ] || { e2e_screenshot combat-missing; e2e_fail "the fight did not appear in the event list"; }
  sleep 0.2
done
e2e_wait_still
e2e_screenshot combat-listed

e2e_step "G closes Game Info; W, a click in the World Map, then G opens it again"
GAME_INFO=$(e2e_wait_window "Game Info")
e2e_keys "$MAIN" g
e2e_wait_closed "$GAME_INFO"
e2e_keys "$MAIN" w
WORLD=$(e2e_wait_window "World Map")
e2e_click "$WORLD" 40 40
# With no window manager the click moves no keyboard focus; a desktop's would
# give it to the World Map, and so does this.
e2e_keys "$WORLD" g
e2e_wait_window "Game Info" >/dev/null
e2e_keys "$MAIN" w
e2e_wait_closed "$WORLD"

e2e_step "the wheel scrolls the map"
e2e_park_pointer "$MAIN"
e2e_wait_still
point=$(e2e_cell_point "$MAIN" "$AX" "$AY" "$W" "$H" "$VX" "$VY")
xdotool mousemove --window "$MAIN" ${point% *} ${point#* }
e2e_wait_still
before=$(e2e_pixels "$MAIN")
xdotool click 5
e2e_wait_change "$MAIN" "$before"

e2e_step "Ctrl + wheel: 75 %, then 200 %"
xdotool keydown ctrl click 5 keyup ctrl
e2e_park_pointer "$MAIN"
e2e_keys "$MAIN" c   # the map centred on the piece waiting
e2e_wait_still
e2e_screenshot gallery-75
point=$(xdotool getwindowgeometry "$MAIN" | awk '/Geometry/ { print $2 }')
xdotool mousemove --window "$MAIN" $((${point%x*} / 2)) $((${point#*x} / 2))
xdotool keydown ctrl click 4 click 4 click 4 keyup ctrl
e2e_park_pointer "$MAIN"
e2e_keys "$MAIN" c
e2e_wait_still
e2e_screenshot gallery-200
e2e_step "done"
