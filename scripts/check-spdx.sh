#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Fails, naming each one, when a source file lacks its licence line near the top.
set -euo pipefail
cd "$(dirname "$0")/.."
missing=0
while IFS= read -r f; do
  if ! head -n 3 "$f" | grep -q "SPDX-License-Identifier: GPL-3.0-or-later"; then
    echo "$f: no 'SPDX-License-Identifier: GPL-3.0-or-later' line at the top (run scripts/add-spdx.sh)"
    missing=$((missing + 1))
  fi
done < <(bash scripts/spdx-files.sh)
[ "$missing" -eq 0 ] || { echo "$missing files without the licence line"; exit 1; }
echo "every source file carries the licence line"
