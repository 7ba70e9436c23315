#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Lists the source files that should carry the licence line: C++, scripts
# and CMake files tracked by git. Shared by add-spdx.sh and check-spdx.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files -- '*.cpp' '*.h' '*.h.in' '*.py' '*.sh' 'CMakeLists.txt' '*/CMakeLists.txt' '*.cmake'
