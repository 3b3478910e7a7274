#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds everything and runs every test, in this order:
#   1. the debug build: unit and window tests (offscreen), the end-to-end runs
#      over a pseudo-terminal, the include and packaging checks (ctest);
#   2. the same suite built with AddressSanitizer + UndefinedBehaviorSanitizer;
#   3. static checks (clang-format, clang-tidy) and a short fuzz run of every
#      libFuzzer target, and a short soak through the real pty line;
#   4. the Windows build of the link and zelkctl under wine, then the Windows
#      configurator's package installed and driven under wine (docs/WINDOWS.md);
#   5. the Debian package: built, linted, installed, run and purged.
# The first failing step ends the run with its status.
#
#   scripts/test.sh          everything above
#   scripts/test.sh --asan   only the sanitizer build and its suite
set -euo pipefail
cd "$(dirname "$0")/.."
started=$SECONDS
# The figures of the run (each step's time, each suite's test count) are
# printed as measured and summed up at the end, so no document has to keep them.
summary=()
step_name=""
step_started=$SECONDS
clock() { printf '%dm%02ds' $(($1 / 60)) $(($1 % 60)); }
end_step() {
  [[ -n "$step_name" ]] && summary+=("$(printf '%-60s %s' "$step_name" "$(clock $((SECONDS - step_started)))")")
  step_name=""
}
step() {
  end_step
  step_name="$1"
  step_started=$SECONDS
  printf '\n==== test.sh: %s (%s)\n' "$1" "$(clock $((SECONDS - started)))"
}

# suite PRESET: configure, build and run ctest for one preset; the count of
# its tests joins the summary.
suite() {
  cmake --preset "$1" >/dev/null
  cmake --build --preset "$1" -j 2
  local log
  log=$(mktemp)
  QT_QPA_PLATFORM=offscreen ctest --preset "$1" -j 2 | tee "$log"
  local counted
  counted=$(grep -o 'tests passed, [0-9]* tests failed out of [0-9]*' "$log" | tail -n 1)
  rm -f "$log"
  summary+=("  $1 suite: ${counted:-no count}")
}

scripts/install-deps.sh
if [[ "${1:-}" == "--asan" ]]; then
  suite asan
  exit
fi

step "debug build and tests"
suite debug

step "AddressSanitizer + UndefinedBehaviorSanitizer build and tests"
suite asan

step "static checks"
bash scripts/static-checks.sh

step "fuzz smoke: every target for 30 s"
bash scripts/fuzz.sh 30

step "soak: 2,000 polls with 1 % injected faults"
bash scripts/soak.sh 2000

# The Windows build of the link, the simulator model, the codecs and zelkctl,
# run under wine against zelk-sim (see docs/WINDOWS.md).
step "Windows: link and zelkctl under wine"
if scripts/install-deps.sh --windows; then
  status=0
  bash scripts/windows-check.sh build/debug || status=$?
  if ((status == 77)); then
    echo "windows-check: SKIPPED: mingw-w64 or wine is missing; the Windows build was not tested"
  elif ((status != 0)); then
    exit "$status"
  fi
else
  echo "windows-check: SKIPPED: mingw-w64 and wine could not be installed; the Windows build was not tested"
fi

# The Windows configurator: Qt for Windows (built once into its cache, about
# 22 minutes on 2 cores; a no-op when the cache is up to date), the package,
# and the installed program driven under wine (docs/WINDOWS.md).
# ZELK_SKIP_WINDOWS_GUI=1 leaves this out, and says so.
step "Windows: the configurator's package under wine"
if [[ "${ZELK_SKIP_WINDOWS_GUI:-0}" == 1 ]]; then
  echo "windows-gui-check: SKIPPED: ZELK_SKIP_WINDOWS_GUI=1; the Windows configurator was not tested"
else
  bash scripts/windows-package.sh
  bash scripts/windows-gui-check.sh build/debug
fi

# The Debian package: build, lintian, install, run, purge (installs and
# removes programable-zelk on this machine).
step "Debian package"
bash scripts/deb-check.sh
end_step
printf '\n==== test.sh: all passed in %s\n' "$(clock $((SECONDS - started)))"
printf '%s\n' "${summary[@]}"
