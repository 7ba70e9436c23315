#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Closing the program with a game that has no name asks "Save current game?";
# Cancel keeps everything open and playing, No closes without a trace.
source "$(dirname "$0")/lib.sh"

e2e_start_game_with_an_army
e2e_park_pointer "$MAIN"
e2e_wait_still

e2e_step "File > Exit, Cancel"
e2e_menu "$MAIN" f x
QUESTION=$(e2e_wait_window "Vortan" "$MAIN")
e2e_screenshot save-current-game
e2e_keys "$QUESTION" Escape
e2e_wait_closed "$QUESTION"
e2e_program_running || e2e_fail "Cancel closed the program"
e2e_windows_titled "Vortan" | grep -x "$MAIN" >/dev/null || e2e_fail "the main window is gone"

e2e_step "still playing: End turn, Yes"
e2e_end_turn
e2e_screenshot still-playing "$MAIN"

e2e_step "File > Exit, No"
e2e_menu "$MAIN" f x
QUESTION=$(e2e_wait_window "Vortan" "$MAIN")
e2e_keys "$QUESTION" n
e2e_wait_program_end
[ -z "$(ls -A "$GAMES")" ] || e2e_fail "files left behind: $(ls "$GAMES")"
grep -q '^Sounds=0' "$XDG_CONFIG_HOME/vortan/VORTAN.INI" || e2e_fail "the options were not written back"
e2e_step "passed"
