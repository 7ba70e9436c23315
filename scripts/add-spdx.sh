#!/usr/bin/env bash
# Puts "SPDX-License-Identifier: GPL-3.0-or-later" at the top of every source
# file that lacks it: "// " before it in C++, "# " in scripts and CMake files,
# after the "#!" line of a script. Run it once from anywhere in the tree;
# files that have the line are left alone.
set -euo pipefail
cd "$(dirname "$0")/.."
tag="SPDX-License-Identifier: GPL-3.0-or-later"
changed=0
while IFS= read -r f; do
  head -n 3 "$f" | grep -q "SPDX-License-Identifier:" && continue
  case "$f" in
    *.cpp|*.h|*.h.in) line="// $tag" ;;
    *) line="# $tag" ;;
  esac
  tmp=$(mktemp)
  if head -n 1 "$f" | grep -q '^#!'; then
    { head -n 1 "$f"; echo "$line"; tail -n +2 "$f"; } > "$tmp"
  else
    { echo "$line"; cat "$f"; } > "$tmp"
  fi
  cat "$tmp" > "$f"   # keeps the file's mode (scripts stay executable)
  rm -f "$tmp"
  changed=$((changed + 1))
done < <(bash scripts/spdx-files.sh)
echo "licence line added to $changed files"
