#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# File > Demo: six computer players play to the end and the Victory dialog
# names the winner. Elimination announcements on the way are dismissed.
source "$(dirname "$0")/lib.sh"
# A demo game runs its whole course on screen, battles and all.
DEMO_LIMIT=${E2E_DEMO_LIMIT:-240}

e2e_start_screen
e2e_start_and_dismiss_about
e2e_step "File > Demo"
e2e_menu "$MAIN" f d
# The demo world is 40 x 40. The 75 % button of the strip: smaller pictures, a quicker game to watch.
e2e_strip_click "$MAIN" 365 40

deadline=$((SECONDS + DEMO_LIMIT))
shown=0
while :; do
  found=$(E2E_TIMEOUT=$DEMO_LIMIT e2e_wait_other_window Vortan "Game Info" Rankings "Piece Info" Production "World Map")
  id=${found%% *}
  title=${found#* }
  if [ "$title" = "Victory!" ]; then
    break
  fi
  # Anything else on the way (an elimination) is acknowledged as a player would.
  shown=$((shown + 1))
  e2e_step "\"$title\" on the way"
  [ "$shown" -le 3 ] && e2e_screenshot "announcement-$shown"
  e2e_keys "$id" Return
  e2e_wait_closed "$id"
  [ "$SECONDS" -lt "$deadline" ] || e2e_fail "no winner within $DEMO_LIMIT seconds"
done
e2e_step "Victory! after $SECONDS seconds"
e2e_screenshot victory
e2e_keys "$id" Return
e2e_wait_closed "$id"
e2e_program_running || e2e_fail "the program ended with the Victory dialog"
e2e_wait_still
e2e_screenshot after-victory
# A demo game is never saved: quitting asks nothing and leaves no file behind.
e2e_menu "$MAIN" f x
e2e_wait_program_end
[ -z "$(ls -A "$GAMES")" ] || e2e_fail "the demo left files: $(ls "$GAMES")"
e2e_step "passed"
