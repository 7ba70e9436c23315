#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Open on a damaged game file: the program says so and the game in progress
# goes on untouched.
source "$(dirname "$0")/lib.sh"

# A game file of an older format: a whole world, but the version is 1.0, not 2.0.
BAD="$GAMES/old.gam"
"$E2E_SIM" new --seed 7 --size 50 --land 2 --difficulty 1 --players HCOOOO --out "$BAD" >/dev/null
printf '\x00\x00\x80\x3f' | dd of="$BAD" bs=1 seek=0 conv=notrunc status=none
if "$E2E_SIM" info "$BAD" >/dev/null; then e2e_fail "vortan-sim info accepts the damaged file"; fi

e2e_start_game_with_an_army
e2e_wait_still
e2e_screenshot game-in-progress "$MAIN"

e2e_step "File > Open old.gam (not saving the game first)"
e2e_menu "$MAIN" f o
QUESTION=$(e2e_wait_window "Vortan" "$MAIN")
e2e_keys "$QUESTION" n
e2e_wait_closed "$QUESTION"
OPEN=$(e2e_wait_window "Open")
e2e_type "$OPEN" "$BAD"
e2e_keys "$OPEN" Return
OOPS=$(e2e_wait_window "Oops!")
e2e_screenshot out-of-date-message
e2e_keys "$OOPS" Return
e2e_wait_closed "$OOPS"

e2e_step "the game goes on: End turn, Yes"
e2e_park_pointer "$MAIN"
e2e_wait_still
e2e_end_turn
e2e_screenshot played-on "$MAIN"

GOOD="$GAMES/played-on.gam"
e2e_file_dialog "$MAIN" "Save As" "$GOOD"
"$E2E_SIM" info "$GOOD" | tee "$E2E_SHOTS/info.txt"
# The game in memory is still the one started here: RED against GREEN on 50 x 50, not the file's.
grep -q '^world 50 x 50' "$E2E_SHOTS/info.txt" || e2e_fail "the world changed"
grep -q '^RED *Human' "$E2E_SHOTS/info.txt" && grep -q '^GREEN *Computer' "$E2E_SHOTS/info.txt" &&
  grep -q '^BLUE *Out' "$E2E_SHOTS/info.txt" || e2e_fail "the players changed"
[ "$(e2e_game_day "$GOOD")" -gt 5 ] || e2e_fail "the game did not go on past the first Army"
e2e_menu "$MAIN" f x
e2e_wait_program_end
e2e_step "passed"
