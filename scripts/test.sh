#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test:
# the unit and window tests (offscreen), the end-to-end runs over a
# pseudo-terminal, and, where mingw-w64 and wine can be installed, the
# Windows build of the link and zelkctl under wine.
#   scripts/test.sh          debug build
#   scripts/test.sh --asan   AddressSanitizer + UndefinedBehaviorSanitizer build
set -euo pipefail
cd "$(dirname "$0")/.."

preset=debug
[[ "${1:-}" == "--asan" ]] && preset=asan

scripts/install-deps.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j 2
QT_QPA_PLATFORM=offscreen ctest --preset "$preset" -j 2

# The Windows build of the link, the simulator model, the codecs and zelkctl,
# run under wine against zelk-sim (see docs/WINDOWS.md).
if scripts/install-deps.sh --windows; then
  status=0
  bash scripts/windows-check.sh "build/$preset" || status=$?
  if ((status == 77)); then
    echo "windows-check: SKIPPED: mingw-w64 or wine is missing; the Windows build was not tested"
  elif ((status != 0)); then
    exit "$status"
  fi
else
  echo "windows-check: SKIPPED: mingw-w64 and wine could not be installed; the Windows build was not tested"
fi
