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
