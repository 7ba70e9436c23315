#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks what a distribution checks: the desktop entry, the AppStream metadata
# and the manual pages, then builds the Debian package from a built tree and
# runs lintian on it (no errors, no warnings), and tries the installed layout.
#   bash scripts/check-package.sh [BUILD_FOLDER]     (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}

desktop-file-validate packaging/vortan.desktop
appstreamcli validate --no-net --pedantic packaging/vortan.metainfo.xml
for page in packaging/*.6; do
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null)
  if [ -n "$warnings" ]; then
    echo "$page: man --warnings found problems:"; echo "$warnings"; exit 1
  fi
done

# Debian puts games in /usr/games; only the install folder changes, nothing
# is compiled again.
if ! grep -q '^CMAKE_INSTALL_BINDIR:PATH=games$' "$build/CMakeCache.txt"; then
  cmake -S . -B "$build" -DCMAKE_INSTALL_BINDIR=games > /dev/null
fi
cmake --build "$build" > /dev/null
rm -f "$build"/vortan_*.deb
(cd "$build" && cpack -G DEB > cpack.log 2>&1) || { cat "$build/cpack.log"; exit 1; }
deb=$(ls "$build"/vortan_*.deb)
echo "lintian $(basename "$deb")"
lintian --fail-on error,warning --tag-display-limit 0 "$deb"

# The installed programs, unpacked into a scratch root: they start from
# /usr/games and say their version; the sounds sit where they look.
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
for f in usr/games/vortan usr/games/vortan-sim usr/share/vortan/sounds/victory.wav \
         usr/share/doc/vortan/copyright usr/share/doc/vortan/changelog.gz usr/share/doc/vortan/changelog.Debian.gz \
         usr/share/man/man6/vortan.6.gz usr/share/man/man6/vortan-sim.6.gz \
         usr/share/applications/vortan.desktop usr/share/metainfo/vortan.metainfo.xml \
         usr/share/mime/packages/vortan.xml usr/share/icons/hicolor/256x256/apps/vortan.png; do
  [ -e "$root/$f" ] || { echo "the package lacks /$f"; exit 1; }
done
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
for program in vortan vortan-sim; do
  said=$(QT_QPA_PLATFORM=offscreen "$root/usr/games/$program" --version)
  [ "$said" = "$program $version" ] || { echo "/usr/games/$program --version said '$said', not '$program $version'"; exit 1; }
done
echo "package checks passed: $(basename "$deb")"
