#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Static checks: clang-format over every tracked C++ file, clang-tidy (.clang-tidy) over the
# Qt-free sources. One line per file and tool; any finding fails the run.
#   scripts/static-checks.sh            STATIC_JOBS=N  parallel clang-tidy runs (default: nproc)
set -uo pipefail
cd "$(dirname "$0")/.."

tidy_dirs=(text link settings monitor programming settings_file records session cli sim)
build=build/tidy
jobs=${STATIC_JOBS:-$(nproc)}

# Debian's clang-format 14 and clang-tidy 14, only when missing.
missing=()
for p in clang-format clang-tidy; do
  command -v "$p" >/dev/null || missing+=("$p")
done
if ((${#missing[@]})); then
  SUDO=""
  ((EUID == 0)) || SUDO=sudo
  # Another apt or dpkg may hold the lock (unattended upgrades, a concurrent install).
  for attempt in 1 2 3; do
    $SUDO apt-get -o DPkg::Lock::Timeout=300 update -qq &&
      $SUDO apt-get -o DPkg::Lock::Timeout=300 install -y -qq --no-install-recommends \
        "${missing[@]}" >/dev/null && break
    ((attempt == 3)) && { echo "static-checks: cannot install ${missing[*]}" >&2; exit 2; }
    sleep 20
  done
fi

passed=0
failed=0
report() {  # report STATUS TOOL FILE [FINDINGS-FILE]
  if [[ $1 == ok ]]; then
    passed=$((passed + 1))
    printf 'ok    %-12s %s\n' "$2" "$3"
  else
    failed=$((failed + 1))
    printf 'FAIL  %-12s %s\n' "$2" "$3"
    [[ -n ${4:-} && -s $4 ]] && sed 's/^/      /' "$4"
  fi
}

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# clang-format: every tracked source and header; generated files are not tracked.
while IFS= read -r f; do
  if clang-format --dry-run -Werror "$f" >"$tmp/out" 2>&1; then
    report ok clang-format "$f"
  else
    report fail clang-format "$f" "$tmp/out"
  fi
done < <(git ls-files '*.cpp' '*.h' | grep -v '^build/')

# clang-tidy needs the compile commands and the generated headers of a Qt-free build.
if ! { cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZELK_WARNINGS_AS_ERRORS=ON -DZELK_BUILD_GUI=OFF \
         -DZELK_BUILD_BENCH=OFF >"$tmp/configure.log" 2>&1 &&
       cmake --build "$build" -j"$jobs" >"$tmp/build.log" 2>&1; }; then
  tail -n 30 "$tmp/configure.log" "$tmp/build.log" 2>/dev/null
  report fail clang-tidy "(the $build build failed)"
  echo "static-checks: $passed passed, $failed failed"
  exit 1
fi

# Only the files this platform compiles are in the compile commands (not the Win32 line).
mapfile -t sources < <(git ls-files "${tidy_dirs[@]/%//*.cpp}" | while IFS= read -r f; do
  grep -q "\"file\": \"$PWD/$f\"" "$build/compile_commands.json" && echo "$f"
done)

mkdir -p "$tmp/tidy"
export build tmp
printf '%s\n' "${sources[@]}" | xargs -P "$jobs" -I{} sh -c \
  'out="$tmp/tidy/$(echo "$1" | tr / _)"
   clang-tidy -p "$build" --quiet "$1" >"$out" 2>&1; echo $? >"$out.rc"' _ {}
for f in "${sources[@]}"; do
  out="$tmp/tidy/$(echo "$f" | tr / _)"
  # A clean file can still print a "N warnings generated" count; only a finding or a non-zero
  # exit fails it.
  if [[ $(cat "$out.rc") == 0 ]] && ! grep -qE ': (warning|error):' "$out"; then
    report ok clang-tidy "$f"
  else
    report fail clang-tidy "$f" "$out"
  fi
done

echo "static-checks: $passed passed, $failed failed"
((failed == 0))
