#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Mutation testing of the core: applies each one-line mutant of
# scripts/mutants.txt in turn, rebuilds the core tests, runs them and tells
# whether some test caught the change. Prints one line per mutant and the
# share caught.
#
#   scripts/mutate.sh            every mutant
#   scripts/mutate.sh PATTERN    only the mutants whose line contains PATTERN
#   scripts/mutate.sh --check    only check that every mutant applies
#
# The sources are mirrored into the build folder and mutated there, so the
# working tree is never touched, even when the run is interrupted. Build
# folder: $VORTAN_MUTATE_BUILD, default build-mutate/ (core and core tests
# only, ccache where there is one, -j2). Mutant files are looked up by name anywhere in the core
# folders, and a text no longer in its named file is looked for in every core
# file, so the list survives code moving between files and layers.
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
list="$root/scripts/mutants.txt"
build="${VORTAN_MUTATE_BUILD:-$root/build-mutate}"
src="$build/src"
bin="$build/bin"
core_folders=(model rules worldgen ai persist game)
test_timeout=600
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-/work}" CCACHE_NOHASHDIR=true

filter=""
check_only=0
case "${1:-}" in
  --check) check_only=1 ;;
  "") ;;
  *) filter="$1" ;;
esac

# The mutants: "file<TAB>original<TAB>mutated" per line.
mutants() {
  grep -v '^\s*\(#\|$\)' "$list" | grep -F -- "$filter" |
    sed -n 's/^\([^:]*\): \(.*\) ==> \(.*\)$/\1\t\2\t\3/p'
}

# The core file under folder $1 holding text $3 exactly once: the file named
# $2 wherever it lives, else (the code moved) the one core file that holds it.
locate() {
  python3 - "$1" "$2" "$3" "${core_folders[@]}" <<'PY'
import os, sys
base, name, text, *folders = sys.argv[1:]
files = [os.path.join(d, f) for folder in folders for d, _, fs in os.walk(os.path.join(base, folder)) for f in fs
         if f.endswith((".cpp", ".h"))]
count = lambda path: open(path, encoding="utf-8").read().count(text)
named = [f for f in files if os.path.basename(f) == name and count(f) == 1]
anywhere = [f for f in files if count(f) > 0]
if len(named) == 1:
    print(named[0])
elif len(anywhere) == 1 and count(anywhere[0]) == 1:
    print(anywhere[0])
else:
    sys.exit(f"text found in {len(anywhere)} core files, {sum(map(count, anywhere))} times")
PY
}

# Replaces the one occurrence of $2 by $3 in file $1; fails (changing nothing)
# when the text occurs not exactly once.
replace_once() {
  python3 - "$@" <<'PY'
import sys
path, old, new = sys.argv[1:4]
text = open(path, encoding="utf-8").read()
count = text.count(old)
if count != 1:
    sys.exit(f"found {count} times")
open(path, "w", encoding="utf-8").write(text.replace(old, new))
PY
}

if (( check_only )); then
  bad=0
  while IFS=$'\t' read -r file old new; do
    if ! where=$(locate "$root" "$file" "$old" 2>&1); then echo "NOT APPLICABLE $file: '$old' ($where)"; bad=1
    elif [[ $(basename "$where") != "$file" ]]; then echo "moved: $file -> ${where#"$root"/}: '$old'"; fi
  done < <(mutants)
  (( bad )) || echo "every mutant applies"
  exit $bad
fi

# --- a private copy of the sources, configured once
# Files whose content changed are copied with a fresh time (a mutant left over
# from an interrupted run included), so the build sees every change.
mkdir -p "$src"
python3 - "$root" "$src" <<'PY'
import filecmp, os, shutil, sys
root, src = sys.argv[1:3]
skip = lambda name: name == ".git" or name == "ui" or name.startswith("build")
wanted = set()
for folder, dirs, files in os.walk(root):
    dirs[:] = [d for d in dirs if not skip(d)]
    for name in files:
        rel = os.path.relpath(os.path.join(folder, name), root)
        wanted.add(rel)
        there = os.path.join(src, rel)
        if not os.path.exists(there) or not filecmp.cmp(os.path.join(root, rel), there, shallow=False):
            os.makedirs(os.path.dirname(there), exist_ok=True)
            shutil.copyfile(os.path.join(root, rel), there)
for folder, dirs, files in os.walk(src):
    for name in files:
        if os.path.relpath(os.path.join(folder, name), src) not in wanted:
            os.remove(os.path.join(folder, name))
PY
# ccache makes the rebuild after each mutant cheap, but is not required.
launcher=()
command -v ccache > /dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
if [[ ! -f "$bin/build.ninja" ]]; then
  cmake -S "$src" -B "$bin" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" \
    -DVORTAN_BUILD_UI=OFF -DVORTAN_BUILD_BENCH=OFF > "$build/configure.log" 2>&1 ||
    { echo "configure failed, see $build/configure.log"; exit 2; }
fi

# The core tests: one executable per tests/*_test.cpp (the tools, UI and
# end-to-end tests live in subfolders and are not run).
mapfile -t tests < <(cd "$src/tests" && ls *_test.cpp | sed 's/\.cpp$//')

build_test() { cmake --build "$bin" -j2 --target "$1" >> "$build/build.log" 2>&1; }
run_test() { (cd "$bin/tests" && timeout "$test_timeout" "./$1" --gtest_brief=1 > "$build/test.log" 2>&1); }

# The unmutated code must pass; the tests' times give the running order,
# quickest first, so that a caught mutant is known soon.
: > "$build/build.log"
declare -A seconds=()
for t in "${tests[@]}"; do
  build_test "$t" || { echo "the unmutated core does not build ($t), see $build/build.log"; exit 2; }
  start=$(date +%s.%N)
  run_test "$t" || { echo "the unmutated core fails $t, see $build/test.log"; exit 2; }
  seconds[$t]=$(echo "$(date +%s.%N) - $start" | bc)
done
mapfile -t order < <(for t in "${tests[@]}"; do echo "${seconds[$t]} $t"; done | sort -n | cut -d' ' -f2)

caught=0 survived=0 invalid=0 total=0
survivors=()
started=$(date +%s)
while IFS=$'\t' read -r file old new; do
  total=$((total + 1))
  label="$file: $old ==> $new"
  if ! path=$(locate "$src" "$file" "$old" 2>&1); then
    echo "INVALID   $label ($path)"; invalid=$((invalid + 1)); continue
  fi
  cp -p "$path" "$build/original"
  if ! why=$(replace_once "$path" "$old" "$new" 2>&1); then
    echo "INVALID   $label (text $why)"; invalid=$((invalid + 1)); continue
  fi
  verdict=SURVIVED by=""
  for t in "${order[@]}"; do
    if ! build_test "$t"; then verdict=INVALID by="does not compile"; break; fi
    if ! run_test "$t"; then verdict=CAUGHT by="$t"; break; fi
  done
  cp -p "$build/original" "$path"
  touch "$path"  # newer than the mutant's objects, so the next build compiles it again
  case $verdict in
    CAUGHT) caught=$((caught + 1)); echo "caught    $label  [$by]" ;;
    SURVIVED) survived=$((survived + 1)); survivors+=("$label"); echo "SURVIVED  $label" ;;
    INVALID) invalid=$((invalid + 1)); echo "INVALID   $label ($by)" ;;
  esac
done < <(mutants)

scored=$((caught + survived))
echo
echo "mutants: $total, caught: $caught, survived: $survived, invalid: $invalid, time: $(( $(date +%s) - started )) s"
if (( scored > 0 )); then
  echo "mutation score: $caught/$scored = $(( 100 * caught / scored )) %"
fi
(( ${#survivors[@]} )) && printf 'survivor: %s\n' "${survivors[@]}"
exit 0
