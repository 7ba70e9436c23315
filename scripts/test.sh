#!/usr/bin/env bash
# Installs what is missing, builds everything (plain and with the sanitizers)
# and runs every test. Leaves the source tree as it found it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

jobs=$(nproc)
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"
# The Debian package (lintian), the desktop files and the manuals.
bash scripts/check-package.sh build

# The core again under AddressSanitizer and UndefinedBehaviorSanitizer.
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVORTAN_SANITIZE=ON \
      -DVORTAN_BUILD_UI=OFF -DVORTAN_BUILD_BENCH=OFF
cmake --build build-asan -j "$jobs"
ctest --test-dir build-asan --output-on-failure -j "$jobs"

if [ -n "$(git status --porcelain --untracked-files=normal 2>/dev/null | grep -v '^?? build' || true)" ]; then
  echo "The tests left the source tree changed:"
  git status --porcelain
  exit 1
fi
