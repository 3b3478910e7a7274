#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer targets in fuzz/ (clang, AddressSanitizer and
# UndefinedBehaviorSanitizer, no Qt) and runs each on a copy of its seed corpus.
# Fails on any finding (crash, broken invariant, leak, time-out, memory limit).
#   scripts/fuzz.sh [SECONDS] [TARGET...]   SECONDS per target, 30 by default
#   FUZZ_RUNS=N                             also stop a target after N executions
# Findings are kept as build/fuzz/findings/<target>-crash-...; replay one with
#   build/fuzz/fuzz/<target> build/fuzz/findings/<file>
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-30}
shift || true
targets=("$@")
((${#targets[@]})) || targets=(frame_link_fuzz request_parser_fuzz raw_line_fuzz number_text_fuzz
  settings_file_fuzz log_reader_fuzz commissioning_record_fuzz)

# Longest input per target: a few dozen exchanges of up to 100-byte replies;
# a stream of (gap, byte) pairs of several frames; one line; one typed number;
# one settings file; a log of a few dozen rows; one commissioning record.
declare -A max_len=(
  [frame_link_fuzz]=2048
  [request_parser_fuzz]=1024
  [raw_line_fuzz]=512
  [number_text_fuzz]=256
  [settings_file_fuzz]=4096
  [log_reader_fuzz]=8192
  [commissioning_record_fuzz]=4096
)

scripts/install-deps.sh --fuzz

build=build/fuzz
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZELK_WARNINGS_AS_ERRORS=ON \
  -DZELK_BUILD_FUZZ=ON -DZELK_BUILD_GUI=OFF -DZELK_BUILD_TESTS=OFF -DZELK_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --target fuzz -j 2

findings="$build/findings"
logs="$build/logs"
mkdir -p "$findings" "$logs"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

passed=0
failed=0
for target in "${targets[@]}"; do
  if [[ -z "${max_len[$target]:-}" ]]; then
    echo "fuzz.sh: unknown target $target" >&2
    exit 2
  fi
  # A copy: what the run adds never lands in the committed seeds.
  corpus="$work/$target"
  mkdir -p "$corpus"
  cp fuzz/corpus/"$target"/* "$corpus"/
  rm -f "$findings/$target"-*
  log="$logs/$target.log"
  runs=()
  [[ -n "${FUZZ_RUNS:-}" ]] && runs=(-runs="$FUZZ_RUNS")
  status=0
  "$build/fuzz/$target" "$corpus" -max_total_time="$seconds" "${runs[@]}" \
    -max_len="${max_len[$target]}" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$findings/$target-" >"$log" 2>&1 || status=$?

  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  per_second=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  elapsed=$(sed -n 's/^Done [0-9]* runs in \([0-9]*\) second.*/\1/p' "$log" | tail -1)
  if ((status == 0)) && ! compgen -G "$findings/$target-*" >/dev/null; then
    passed=$((passed + 1))
    verdict="ok"
  else
    failed=$((failed + 1))
    verdict="FAILED (exit $status, see $log)"
    grep -m 3 -E "invariant broken|ERROR:|SUMMARY:" "$log" | sed 's/^/  /' || true
  fi
  echo "$target: ${executions:-?} executions, ${per_second:-?} exec/s, ${elapsed:-?} s: $verdict"
done

echo "fuzz: $passed passed, $failed failed"
((failed == 0))
