#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# One Human against two Computers: choose the first production, end a turn,
# send the first Army somewhere with a click, save under a name, quit, start
# again, open the file and play on from where the game stood.
source "$(dirname "$0")/lib.sh"

e2e_start_screen
e2e_start_and_dismiss_about
PIECE_INFO=$(e2e_wait_window "Piece Info")
GAME_INFO=$(e2e_wait_window "Game Info")
e2e_wait_still
no_piece=$(e2e_pixels "$PIECE_INFO")

e2e_step "File > New: RED Human, GREEN and BLUE Computer"
e2e_new_game "$MAIN" HCCOOO
found=$(e2e_wait_other_window Vortan "Game Info" Rankings "Piece Info" Production)
CITY=${found%% *}
CITY_NAME=${found#* }
e2e_step "the City dialog of $CITY_NAME asks for the first production"
e2e_screenshot city-dialog
e2e_city_build_army "$CITY"

e2e_step "waiting for the first Army (the computers move meanwhile)"
e2e_wait_change "$PIECE_INFO" "$no_piece" 40
e2e_screenshot army-built

e2e_step "Moves > End turn..., Yes"
e2e_end_turn
e2e_screenshot next-day

# Save the game as it stands, to see where the Army is and what lies around it.
BEFORE="$GAMES/before.gam"
e2e_file_dialog "$MAIN" "Save As" "$BEFORE"
[ "$(stat -c %s "$BEFORE")" = 66964 ] || e2e_fail "before.gam is not a whole game file"
ARMY=$(e2e_find_piece "$BEFORE" 1 0)
[ -n "$ARMY" ] || e2e_fail "RED has no Army in before.gam"
[ "$(e2e_file_uint "$BEFORE" $((E2E_STATE + 4)) 2)" = 0 ] || e2e_fail "it is not RED's turn"
[ "$(e2e_file_uint "$BEFORE" "$E2E_STATE" 2)" = "$ARMY" ] || e2e_fail "the Army is not the current piece"
[ "$(e2e_piece_field "$BEFORE" "$ARMY" 3)" = 2 ] || e2e_fail "the Army is not awaiting orders"
DAY1=$(e2e_game_day "$BEFORE")
W=$(e2e_game_width "$BEFORE")
H=$(e2e_game_height "$BEFORE")
AX=$(e2e_piece_field "$BEFORE" "$ARMY" 4)
AY=$(e2e_piece_field "$BEFORE" "$ARMY" 5)

# An empty Land cell next to the Army is a step it can always take.
TX="" TY=""
for d in "-1 0" "1 0" "0 -1" "0 1" "-1 -1" "1 1" "-1 1" "1 -1"; do
  set -- $d
  x=$(((AX + $1 + W) % W))
  y=$(((AY + $2 + H) % H))
  if [ "$(e2e_terrain "$BEFORE" "$x" "$y")" = 1 ] && [ "$(e2e_top_type "$BEFORE" "$x" "$y")" = 10 ]; then
    TX=$x TY=$y
    break
  fi
done
[ -n "$TX" ] || e2e_fail "no open land next to the Army at ($AX, $AY)"

e2e_step "go-to click for the Army at ($AX, $AY): to ($TX, $TY) on day $DAY1"
point=$(e2e_cell_point "$MAIN" "$TX" "$TY" "$W" "$H" "$(e2e_game_view_x "$BEFORE")" "$(e2e_game_view_y "$BEFORE")")
PX=${point% *}
PY=${point#* }
day_stamp=$(e2e_pixels "$GAME_INFO")
e2e_click "$MAIN" "$PX" "$PY"
# One move a day: the Army steps at once, the turn passes, the computers move.
e2e_wait_change "$GAME_INFO" "$day_stamp" 40
e2e_park_pointer "$MAIN"
e2e_wait_still

SAVED="$GAMES/game.gam"
e2e_step "File > Save as game.gam"
e2e_file_dialog "$MAIN" "Save As" "$SAVED"
"$E2E_SIM" info "$SAVED" | tee "$E2E_SHOTS/info-saved.txt"
grep -q '^RED *Human .*army 1' "$E2E_SHOTS/info-saved.txt" || e2e_fail "the saved game has no RED Army"
DAY2=$(e2e_game_day "$SAVED")
[ "$DAY2" -gt "$DAY1" ] || e2e_fail "the day did not advance ($DAY1 to $DAY2)"
[ "$(e2e_piece_field "$SAVED" "$ARMY" 4),$(e2e_piece_field "$SAVED" "$ARMY" 5)" = "$TX,$TY" ] ||
  e2e_fail "the Army did not move to ($TX, $TY)"
e2e_screenshot before-exit "$MAIN"

e2e_step "File > Exit (a named game is saved without asking)"
e2e_menu "$MAIN" f x
e2e_wait_program_end
[ ! -e "$GAMES/RECOVER.TMP" ] || e2e_fail "RECOVER.TMP was left behind"
[ "$(e2e_game_day "$SAVED")" = "$DAY2" ] || e2e_fail "exit changed the saved day"

e2e_step "start again, File > Open game.gam"
e2e_start_and_dismiss_about
GAME_INFO=$(e2e_wait_window "Game Info")
day_stamp=$(e2e_pixels "$GAME_INFO")
e2e_file_dialog "$MAIN" "Open" "$SAVED"
e2e_wait_change "$GAME_INFO" "$day_stamp"
e2e_park_pointer "$MAIN"
e2e_wait_still
e2e_screenshot after-open "$MAIN"

# The map comes back as it was left (the sea's waves may be drawn afresh);
# an empty map would differ by far more.
changed=$(e2e_picture_difference "$E2E_SHOTS/before-exit.png" "$E2E_SHOTS/after-open.png")
e2e_empty_map_picture "$E2E_SHOTS/before-exit.png" "$WORK/empty-map.png" "$H"
empty=$(e2e_picture_difference "$E2E_SHOTS/before-exit.png" "$WORK/empty-map.png")
e2e_step "pixels changed by the reload: $changed; against the empty map: $empty"
[ "$empty" -gt 0 ] && [ $((changed * 10)) -lt "$empty" ] || e2e_fail "the reopened game does not look as it was left"

e2e_step "the game goes on: End turn, Yes, then Exit"
e2e_end_turn
e2e_screenshot played-on "$MAIN"
e2e_menu "$MAIN" f x
e2e_wait_program_end
"$E2E_SIM" info "$SAVED" | tee "$E2E_SHOTS/info-played-on.txt"
[ "$(e2e_game_day "$SAVED")" -gt "$DAY2" ] || e2e_fail "the reopened game did not go on"
e2e_step "passed"
