#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs from Debian's packages whatever the build, the game and the tests need
# and the machine does not have yet. Needs root (or sudo) only when something is missing.
set -euo pipefail

packages=(cmake ninja-build g++ libgtest-dev libgmock-dev libbenchmark-dev
          qt6-base-dev qt6-multimedia-dev libgl1-mesa-dev xvfb xauth xdotool imagemagick
          qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools
          dpkg-dev fakeroot lintian appstream desktop-file-utils man-db
          pulseaudio   # the audio tests play into a null sink of a daemon of their own
          clang clang-format)   # libFuzzer for the fuzz target's sanitizer build; the layout check
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
