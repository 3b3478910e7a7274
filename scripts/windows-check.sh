#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Windows programs with mingw-w64 and proves them under wine:
#   1. zelk-sim from a Linux build (the simulated modules on ptys);
#   2. the x86_64 Windows build (zelkctl.exe and the unit tests) and the i686
#      build (compiled only: running it needs 32-bit wine);
#   3. a fresh WINEPREFIX in build/windows-x64/wineprefix, each simulator's
#      pty linked there as a COM port, SERIALCOMM filled with `wine reg add`;
#   4. the unit tests under wine (ctest), then zelkctl.exe as a technician
#      runs it: ports, version, raw against the simulator's fault modes.
#
#   scripts/windows-check.sh [LINUX-BUILD-DIR]   (default build/debug)
#
# Ends with "windows-check: N passed, M failed"; exits 0 only when nothing
# failed, 77 when mingw-w64 or wine is missing (nothing was checked).
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1
root="$PWD"

linux_dir="${1:-build/debug}"
win_dir="build/windows-x64"
x86_dir="build/windows-x86"
work="$root/$win_dir/wine-check"
zelkctl="$root/$win_dir/cli/zelkctl.exe"
started=$SECONDS
# shellcheck source=scripts/lib/checks.sh
source "$root/scripts/lib/checks.sh"

for tool in wine wineserver x86_64-w64-mingw32-g++-posix i686-w64-mingw32-g++-posix; do
  if ! command -v "$tool" >/dev/null; then
    echo "windows-check: skipped: $tool is missing (scripts/install-deps.sh --windows installs it)"
    exit 77
  fi
done

die() {
  echo "windows-check: $*" >&2
  echo "windows-check: $passed passed, $((failed + 1)) failed"
  exit 1
}

# --- builds -----------------------------------------------------------------

phase "Linux zelk-sim in $linux_dir"
if [[ ! -f "$linux_dir/CMakeCache.txt" ]]; then
  if [[ "$linux_dir" == "build/debug" ]]; then
    cmake --preset debug >/dev/null || die "cannot configure $linux_dir"
  else
    cmake -S . -B "$linux_dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZELK_WARNINGS_AS_ERRORS=ON -DZELK_BUILD_GUI=OFF \
      -DZELK_BUILD_TESTS=OFF -DZELK_BUILD_BENCH=OFF >/dev/null || die "cannot configure $linux_dir"
  fi
fi
cmake --build "$linux_dir" -j 2 --target zelk-sim zelkctl || die "cannot build zelk-sim"
linux_dir="$(cd "$linux_dir" && pwd)"
sim="$linux_dir/sim/zelk-sim"
linux_zelkctl="$linux_dir/cli/zelkctl"

phase "Windows x86_64 build ($win_dir)"
cmake --preset windows-x64 >/dev/null || die "cannot configure windows-x64"
cmake --build --preset windows-x64 -j 2 || die "the windows-x64 build failed"

phase "Windows i686 build ($x86_dir, compiled only)"
cmake --preset windows-x86 >/dev/null || die "cannot configure windows-x86"
cmake --build --preset windows-x86 -j 2 || die "the windows-x86 build failed"

# --- checks -----------------------------------------------------------------


phase "Executables"
expect "zelkctl.exe is a 64-bit Windows program" \
  grep -q 'pei-x86-64' <(x86_64-w64-mingw32-objdump -f "$zelkctl")
expect "the i686 zelkctl.exe is a 32-bit Windows program" \
  grep -q 'pei-i386' <(i686-w64-mingw32-objdump -f "$root/$x86_dir/cli/zelkctl.exe")
x86_tests=$(find "$x86_dir/tests" -name '*_tests.exe' | wc -l)
x64_tests=$(find "$win_dir/tests" -name '*_tests.exe' | wc -l)
expect "the i686 build has the same $x64_tests test programs (compiled, not run)" \
  test "$x86_tests" -eq "$x64_tests" -a "$x64_tests" -gt 0

phase "Fresh wine prefix"
prefix_started=$SECONDS
export WINEPREFIX="$root/$win_dir/wineprefix"
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=" # no Mono or Gecko download prompts
unset DISPLAY WAYLAND_DISPLAY              # console programs only
sims=()
cleanup() {
  local pid
  for pid in "${sims[@]}"; do kill "$pid" 2>/dev/null; done
  for pid in "${sims[@]}"; do wait "$pid" 2>/dev/null; done
  [[ -d "$WINEPREFIX" ]] && wineserver -k 2>/dev/null
  rm -f "$WINEPREFIX"/dosdevices/com{3,4,5,6,7,8,9,10,11,12}
}
trap cleanup EXIT
[[ -d "$WINEPREFIX" ]] && wineserver -k 2>/dev/null
rm -rf "$WINEPREFIX" "$work"
mkdir -p "$work" "$WINEPREFIX"
# One persistent server for the whole run: SERIALCOMM lives in the volatile
# HARDWARE branch, so the values added below last only as long as it does.
# Its output goes to a log: it dumps its objects there when a pty it holds
# hangs up.
wineserver -p >"$work/wineserver.log" 2>&1 </dev/null || die "wineserver did not start"
wineboot -i >"$work/wineboot.log" 2>&1 </dev/null || die "wineboot failed (see $work/wineboot.log)"
echo "prefix ready in $((SECONDS - prefix_started))s"

phase "Unit tests under wine"
# failed_of LOG: "FAILED TOTAL" from ctest's summary line; nothing when it has none.
failed_of() {
  [[ "$(grep -E '^[0-9]+% tests passed' "$1")" =~ ([0-9]+)\ tests\ failed\ out\ of\ ([0-9]+) ]] &&
    echo "${BASH_REMATCH[1]} ${BASH_REMATCH[2]}"
}
ctest --preset windows-x64 -j 2 >"$work/ctest.log" 2>&1
ctest_status=$?
grep -E '^[0-9]+% tests passed' "$work/ctest.log" | sed 's/^/  /'
read -r unit_failed unit_total <<<"$(failed_of "$work/ctest.log")"
[[ -n "${unit_total:-}" ]] || fail "ctest ran (see $work/ctest.log)"
if ((ctest_status != 0)); then
  # What the failing tests printed, so a failure in CI can be read from its log.
  grep -E -A 25 '\*\*\*Failed|\*\*\*Timeout|Exception' "$work/ctest.log" | head -200
  # Wine now and then fails to start a test process at all (it ends in
  # milliseconds with no test output). Each failed test runs once more, alone:
  # a fault of ours fails again and counts.
  ctest --preset windows-x64 --rerun-failed >"$work/ctest-rerun.log" 2>&1
  read -r unit_failed _ <<<"$(failed_of "$work/ctest-rerun.log")"
  echo "  the failed tests run again, one at a time: ${unit_failed:-?} failed again"
  [[ -n "${unit_failed:-}" ]] || fail "ctest ran again (see $work/ctest-rerun.log)"
fi
if [[ -n "${unit_total:-}" ]]; then
  passed=$((passed + unit_total - unit_failed))
  failed=$((failed + unit_failed))
fi

phase "Simulated modules on COM ports"
# serve NAME COM ARGS...: a zelk-sim whose pty the prefix sees as COM.
serve() {
  local name="$1" com="$2"
  shift 2
  "$sim" --link "$work/$name" --quiet "$@" >"$work/$name.log" 2>&1 &
  sims+=($!)
  local i
  for ((i = 0; i < 100; i++)); do
    [[ -e "$work/$name" ]] && break
    sleep 0.1
  done
  [[ -e "$work/$name" ]] || die "zelk-sim $name did not start (see $work/$name.log)"
  [[ -n "$com" ]] && ln -sfn "$work/$name" "$WINEPREFIX/dosdevices/$com"
  echo "  $name: ${com:-Linux only} ${*:-}"
}
serve module com5
serve module-3.7 com12 --module-version 3.7
serve silent com6 --fault silent
serve bad-check com7 --fault bad-check
serve hang-up com8 --fault hangup-after=1
serve split-10ms com3 --fault split-pause=10
serve split-60ms com4 --fault split-pause=60
serve oversize com9 --fault oversize
serve names com10
serve unplugged com11
unplugged_sim=${sims[-1]}
serve linux-reference ""

# Value names in the order they are added, which is also their name order:
# Windows lists values in the order they were added, wine by name. The data
# is deliberately neither sorted nor unique, and one is empty.
serialcomm='HKLM\HARDWARE\DEVICEMAP\SERIALCOMM'
wine reg delete "$serialcomm" /va /f >"$work/reg.log" 2>&1
for value in 'ZelkSim0=COM5' 'ZelkSim1=COM12' 'ZelkSim2=' 'ZelkSim3=COM5' 'ZelkSim4=COM3'; do
  wine reg add "$serialcomm" /v "\\Device\\${value%%=*}" /t REG_SZ /d "${value#*=}" /f \
    >>"$work/reg.log" 2>&1 || die "wine reg add failed (see $work/reg.log)"
done

phase "zelkctl.exe under wine"
# run NAME INPUT ARGS...: zelkctl.exe with INPUT on stdin. Leaves its exit
# status in $rc, its stdout in $out and NAME.out, its stderr in $err_file,
# all with the CRs of Windows text mode dropped. Output goes through files:
# a wine service started on the way would hold a pipe open.
run() {
  local name="$1" input="$2"
  shift 2
  printf '%b' "$input" >"$work/$name.in"
  timeout 120 wine "$zelkctl" "$@" <"$work/$name.in" >"$work/$name.crlf-out" \
    2>"$work/$name.crlf-err"
  rc=$?
  tr -d '\r' <"$work/$name.crlf-out" >"$work/$name.out"
  tr -d '\r' <"$work/$name.crlf-err" >"$work/$name.err"
  rm -f "$work/$name.crlf-out" "$work/$name.crlf-err"
  out=$(<"$work/$name.out")
  out_file="$work/$name.out"
  err_file="$work/$name.err"
}
# check TITLE EXPECTED-STATUS EXPECTED-STDOUT: the last run.
check() {
  local title="$1" want_rc="$2" want_out="$3"
  if [[ "$rc" == "$want_rc" && "$out" == "$want_out" ]]; then
    pass "$title"
  else
    fail "$title"
    echo "        exit $rc (expected $want_rc); stdout:"
    sed 's/^/          /' "$out_file"
    echo "        expected stdout:"
    printf '%s\n' "$want_out" | sed 's/^/          /'
    echo "        stderr:"
    sed 's/^/          /' "$err_file"
  fi
}
# Trace lines are "  12.345 ms > f3 03 ...": times of one direction, one a line.
trace_times() { awk -v d="$1" '$3 == d { print $1 }' "$err_file"; }
trace_frames() { awk -v d="$1" '$3 == d { $1 = $2 = $3 = ""; sub(/^ +/, ""); print }' "$err_file"; }
# gaps_between LOW HIGH: every step between successive times is in [LOW, HIGH] ms.
gaps_between() {
  awk -v lo="$1" -v hi="$2" 'NR > 1 { g = $1 - prev; if (g < lo || g > hi) bad = 1 }
    { prev = $1 } END { exit (NR < 2 || bad) }'
}

run ports "" ports
check "ports: SERIALCOMM data in enumeration order, duplicate and empty kept" 0 \
  "$(printf 'COM5\nCOM12\n\nCOM5\nCOM3')"
wine reg query "$serialcomm" >"$work/reg-query.out" 2>&1
listed=$(tr -d '\r' <"$work/reg-query.out" | awk -F 'REG_SZ    ' 'NF > 1 { print $2 }')
expect "ports: the same list as wine's reg.exe enumerates" test "$out" == "$listed"

run version "" --port COM5 version
check "version on COM5" 0 "2.10"

run version-com12 "" --port COM12 version
check "version on COM12 (two-digit ports open through \\\\.\\)" 0 "3.7"

run trace "" --trace --port COM5 version
check "version with --trace" 0 "2.10"
expect "the version request goes out byte-exact" \
  test "$(trace_frames '>')" == "f3 03 00 01 01 00 9c"
expect "the reply comes back whole in one read" \
  test "$(trace_frames '<')" == "f3 03 02 0a 98"

# The same requests through the Linux build on a fresh module of its own.
requests='3 1 1\n1 1 25\n4 3 1 28\n1 1 25\n0 0x64 2\n'
printf '%b' "$requests" >"$work/linux-reference.in"
"$linux_zelkctl" --port "$work/linux-reference" raw <"$work/linux-reference.in" \
  >"$work/linux-reference.out" 2>"$work/linux-reference.err"
run raw "$requests" --port COM5 raw
check "raw: settings, mixture write and read-back as the Linux build sees them" 0 \
  "$(<"$work/linux-reference.out")"
expect "raw: the Linux reference answered the version" \
  test "$(head -n 1 "$work/linux-reference.out")" == "ok 020a"

run silent '3 1 1\n' --trace --port COM6 raw
check "silent module: fail" 1 "fail"
expect "silent module: three tries, the same request each time" \
  test "$(trace_frames '>' | uniq -c | awk '{ print $1 }')" == "3"
expect "silent module: nothing received" test -z "$(trace_frames '<')"
# Each try waits out the 350 ms read time-out (wine: 350-360 ms).
expect "silent module: 300-1500 ms between tries" gaps_between 300 1500 < <(trace_times '>')

run bad-check '3 1 1\n3 1 1\n' --trace --port COM7 raw
check "bad check byte: fail, fail" 1 "$(printf 'fail\nfail')"
expect "bad check byte: the reply as sent, with its wrong last byte" \
  test "$(trace_frames '<' | head -n 1)" == "f3 03 02 0a 67"
# After a failed exchange the next one first drains the line for 350 ms.
expect "bad check byte: the next request waits for the drain read" \
  gaps_between 300 1500 < <({ trace_times '<' | head -n 1; trace_times '>' | sed -n 2p; })

# The pty hung up: wine reports the Linux EIO of the next write as
# ERROR_NOT_READY, which the link takes for a vanished device, as the
# classic serial driver's ERROR_BAD_COMMAND: the port is closed at once.
run hang-up '3 1 1\n3 1 1\n3 1 1\n' --port COM8 raw
check "hang-up after one exchange: ok, then fail" 1 "$(printf 'ok 020a\nfail')"
expect "hang-up: the port was closed as gone, nothing more was sent" \
  grep -q 'the port was closed by a device error; stopped' "$err_file"

run split-10ms '3 1 1\n' --port COM3 raw
check "a 10 ms pause stays inside the reply" 0 "ok 020a"

run split-60ms '3 1 1\n' --trace --port COM4 raw
check "a 60 ms pause cuts the reply: fail" 1 "fail"
first_read=$(trace_frames '<' | head -n 1 | wc -w)
expect "a 60 ms pause cuts the reply: the first read ends at the pause" \
  test "$first_read" -ge 1 -a "$first_read" -le 4

oversize_payload="020a$(for ((b = 2; b <= 0x60; b++)); do printf '%02x' "$b"; done)"
run oversize '3 1 1\n' --trace --port COM9 raw
check "a 100-byte reply: 97 payload bytes" 0 "ok $oversize_payload"
expect "a 100-byte reply: one read of 100 bytes" \
  test "$(trace_frames '<' | wc -w)" -eq 100

run no-port "" --port COM42 version
check "a port that does not exist: exit 2" 2 ""
expect "a port that does not exist: says so" \
  test "$(<"$err_file")" == "Invalid COMM Port: COM42: no such port"

# The adapter pulled in the middle of a poll: the simulator ends, its pty
# hangs up, and monitor stops on the device error as it does on Linux.
printf '' >"$work/unplugged.in"
timeout 120 wine "$zelkctl" --port COM11 monitor --interval 200 <"$work/unplugged.in" \
  >"$work/unplugged.crlf-out" 2>"$work/unplugged.crlf-err" &
monitor_pid=$!
for ((i = 0; i < 150; i++)); do
  [[ "$(grep -c 'rpm' "$work/unplugged.crlf-out" 2>/dev/null)" -ge 3 ]] && break
  sleep 0.1
done
kill "$unplugged_sim"
wait "$monitor_pid"
rc=$?
out=$(tr -d '\r' <"$work/unplugged.crlf-out")
tr -d '\r' <"$work/unplugged.crlf-err" >"$work/unplugged.err"
expect "unplugged mid-poll: polls went on until the unplug" test "$(grep -c rpm <<<"$out")" -ge 3
expect "unplugged mid-poll: exit 1" test "$rc" -eq 1
expect "unplugged mid-poll: monitor says the device went away and stops" \
  grep -q 'the port was closed by a device error; stopped' "$work/unplugged.err"

# Names outside the ANSI code page (wine's is 1252 here: "Zoë" fits, Greek and
# Japanese do not). They reach the file system through the wide command line
# and are printed as UTF-8. The locale gives wine UTF-8 arguments and
# environment to start from.
utf8_name='Zoë-Ωμέγα-日本'
utf8_folder="$work/$utf8_name"
mkdir -p "$utf8_folder"
utf8_folder_win=$(LC_ALL=C.UTF-8 winepath -w "$utf8_folder" 2>/dev/null | tr -d '\r')
export LC_ALL=C.UTF-8 ZELK_DATA_DIR="$utf8_folder_win\\data"
run utf8-backup "" --port COM10 backup "$utf8_folder_win\\$utf8_name.zelk"
check "backup to $utf8_name.zelk: saved, the name printed as UTF-8" 0 \
  "saved $utf8_folder_win\\$utf8_name.zelk"
expect "backup to $utf8_name.zelk: the file has that name" test -s "$utf8_folder/$utf8_name.zelk"
run utf8-restore "" --port COM10 restore "$utf8_folder_win\\$utf8_name.zelk"
expect "restore from $utf8_name.zelk: restored, with a restore point in a folder of that name" \
  grep -qF "restored; restore point $utf8_folder_win\\data\\restore-points\\" "$out_file"
run utf8-restore-points "" restore-points
expect "restore-points: the point listed, its path printed as UTF-8" \
  grep -qF " before-restore  $utf8_folder_win\\data\\restore-points\\" "$out_file"
expect "restore-points: no escapes in what it printed" bash -c "! grep -q '\\\\x' \"\$1\"" _ "$out_file"
unset LC_ALL ZELK_DATA_DIR

run usage ""
check "no command: exit 2" 2 ""
expect "no command: usage on stderr" grep -q '^usage: zelkctl' "$err_file"

echo
echo "windows-check: done in $((SECONDS - started))s; logs and outputs in $work"
echo "windows-check: $passed passed, $failed failed"
((failed == 0))
