#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Pictures of every information window and dialog of a game in progress, at
# 100 %, saved in <build folder>/screenshots; then, when Xvfb is at hand, the
# hot-seat hand-over played on a virtual display, with a picture of the
# screen while the Next Player prompt hides the map.
#   scripts/window_screenshots.sh [build folder]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
[ -f "$build/CMakeCache.txt" ] || cmake -S . -B "$build" -G Ninja
cmake --build "$build" --target ui_info_windows_test -j2
out="$(cd "$build" && pwd)/screenshots"
mkdir -p "$out"
test_exe="$build/tests/ui/ui_info_windows_test"

VORTAN_SCREENSHOT_DIR="$out" QT_QPA_PLATFORM=offscreen "$test_exe" \
  --gtest_filter='GeneratedGameTest.EveryWindow*'

if command -v xvfb-run >/dev/null; then
  VORTAN_SCREENSHOT_DIR="$out" VORTAN_TEST_ON_DISPLAY=1 QT_QPA_PLATFORM=xcb \
    xvfb-run -a -s "-screen 0 1600x1000x24" "$test_exe" --gtest_filter='GeneratedGameTest.HotSeat*'
else
  echo "xvfb-run not found: the hot-seat check on a display is skipped" >&2
fi
ls -1 "$out"
