#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
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

# libFuzzer comes with clang only: a sanitizer build by clang of the fuzz
# target alone (the core and the loader's fuzz entry), and a short run of it.
if command -v clang++ > /dev/null; then
  cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVORTAN_SANITIZE=ON -DCMAKE_CXX_COMPILER=clang++ \
        -DVORTAN_BUILD_UI=OFF -DVORTAN_BUILD_BENCH=OFF
  cmake --build build-fuzz -j "$jobs" --target game_file_fuzz
  ctest --test-dir build-fuzz --output-on-failure -R GameFileFuzz
fi

if [ -n "$(git status --porcelain --untracked-files=normal 2>/dev/null | grep -v '^?? build' || true)" ]; then
  echo "The tests left the source tree changed:"
  git status --porcelain
  exit 1
fi
