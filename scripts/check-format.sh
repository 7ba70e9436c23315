#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Fails, naming each file, when a C++ source file strays from the layout in
# .clang-format. Fix with: git ls-files '*.cpp' '*.h' | xargs clang-format -i
set -euo pipefail
cd "$(dirname "$0")/.."
files=$(git ls-files '*.cpp' '*.h' 2>/dev/null || find model rules ai worldgen persist game ui tools tests bench -name '*.cpp' -o -name '*.h')
bad=0
for f in $files; do
  if ! clang-format --dry-run --Werror "$f" > /dev/null 2>&1; then
    echo "$f: not in the house layout (run: clang-format -i $f)"
    bad=$((bad + 1))
  fi
done
[ "$bad" -eq 0 ] || { echo "$bad files out of layout"; exit 1; }
echo "every C++ source file is in the house layout"
