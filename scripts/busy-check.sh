#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The test command on a busy machine: while two compilers at normal priority
# keep both cores busy, runs the end-to-end tests (every test that starts
# zelk-sim) ROUNDS times in a row in the sanitizer build, then the CI soak
# SOAKS times, and stops at the first failure. Not part of CI: it takes long
# and proves something about the host, not the code.
#   scripts/busy-check.sh [ROUNDS] [SOAKS] [POLLS]     (20, 5 and 2000 by default)
# Logs go to build/busy-check/; the last line says PASSED or FAILED.
set -euo pipefail
cd "$(dirname "$0")/.."
rounds=${1:-20}
soaks=${2:-5}
polls=${3:-2000}
out=build/busy-check
# The tests that start zelk-sim: the link on a pty, zelkctl as a process, the
# window against the program.
e2e='^(e2e\.|cli\.blackbox\.|cli\.settings\.|gui_end_to_end_test$)'
launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)

mkdir -p "$out"
echo "busy-check: building (asan: the end-to-end tests; release: the soak)"
cmake --preset asan "${launcher[@]}" >"$out/configure.log"
nice cmake --build --preset asan -j 2 --target zelk-sim zelkctl e2e_tests \
  zelkctl_blackbox_tests zelkctl_settings_tests gui_end_to_end_test >"$out/build.log"
cmake --preset release "${launcher[@]}" >>"$out/configure.log"
nice cmake --build --preset release -j 2 --target soak zelk-sim >>"$out/build.log"

# The load: a heavy translation unit compiled over and over, past ccache, by
# two processes as busy as any build. Each runs in a session of its own, so
# that its whole group (the compiler included) can be stopped at the end.
cat >"$out/heavy.cpp" <<'EOF'
#include <bits/stdc++.h>
#include <regex>
int main(int argc, char** argv) {
  std::regex pattern(argc > 1 ? argv[1] : "(a|b)*c[0-9]+");
  std::map<std::string, std::vector<std::pair<int, double>>> table;
  std::ranges::sort(table["x"]);
  return std::regex_match(argv[0], pattern) ? static_cast<int>(table.size()) : 0;
}
EOF
load=()
stop_load() {
  for pid in "${load[@]}"; do kill -TERM -- "-$pid" 2>/dev/null || true; done
  for pid in "${load[@]}"; do wait "$pid" 2>/dev/null || true; done
}
trap stop_load EXIT
for i in 1 2; do
  setsid nice -n 0 bash -c 'while :; do g++ -std=c++20 -O2 -c "$1" -o "$2"; done' _ \
    "$out/heavy.cpp" "$out/heavy-$i.o" >/dev/null 2>&1 &
  load+=($!)
done
sleep 20  # let the load average climb
echo "busy-check: load $(cut -d' ' -f1-3 /proc/loadavg) with ${#load[@]} compilers running"

status=PASSED
e2e_done=0
soak_done=0
tests_per_round=0
started=$SECONDS
for ((round = 1; round <= rounds; ++round)); do
  log="$out/e2e-$round.log"
  t0=$SECONDS
  if ! ctest --preset asan -R "$e2e" >"$log" 2>&1; then
    status=FAILED
    echo "busy-check: end-to-end round $round FAILED (load $(cut -d' ' -f1-3 /proc/loadavg)):"
    grep -E '\*\*\*Failed|Failed|Timeout' "$log" | head -n 20 || true
    break
  fi
  tests_per_round=$(sed -n 's/.*tests passed, 0 tests failed out of \([0-9]*\).*/\1/p' "$log")
  e2e_done=$round
  echo "busy-check: end-to-end round $round: $tests_per_round tests passed in" \
    "$((SECONDS - t0)) s, load $(cut -d' ' -f1-3 /proc/loadavg)"
done
if [[ $status == PASSED ]]; then
  for ((soak = 1; soak <= soaks; ++soak)); do
    log="$out/soak-$soak.log"
    if ! scripts/soak.sh "$polls" >"$log" 2>&1; then
      status=FAILED
      echo "busy-check: soak $soak FAILED (load $(cut -d' ' -f1-3 /proc/loadavg)):"
      grep -E '^(failures|problem|soak:)' "$log" || tail -n 20 "$log"
      break
    fi
    soak_done=$soak
    echo "busy-check: soak $soak: $(grep -E '^failures reported' "$log" | tr -s ' '), " \
      "$(grep -E '^failures matched' "$log" | tr -s ' '), " \
      "$(grep -E '^failures cut by the host' "$log" | tr -s ' '), load $(cut -d' ' -f1-3 /proc/loadavg)"
  done
fi
stop_load
trap - EXIT
echo "busy-check: end-to-end rounds $e2e_done of $rounds ($tests_per_round tests each)," \
  "soaks $soak_done of $soaks ($polls polls each), $((SECONDS - started)) s under load: $status"
[[ $status == PASSED ]]
