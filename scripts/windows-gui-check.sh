#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Proves the Windows package under wine, as a technician would use it:
#   1. a fresh 64-bit WINEPREFIX; the installer run silently (/S);
#   2. zelk-sim (Linux build) on a pty registered as wine registers a serial
#      port (HKLM\Software\Wine\Ports), so it is listed in SERIALCOMM as COM5;
#   3. the installed programable-zelk.exe, started without --port, on a private
#      X display, driven from the keyboard: Config., Find (which picks COM5
#      from the dialog's list), OK, the "Version" box, Read, a few polls,
#      Write (Yes, "Program OK"), the adapter pulled mid-poll and put back
#      (the reconnect watch finds it), Quit;
#   4. checked from the simulator's side (the requests in order, the poll's
#      period) and by the program's exit status;
#   5. the silent uninstall, which must leave no file, shortcut or registry
#      entry behind, the program's own settings included, and must keep the
#      technician's data folder.
#
#   scripts/windows-gui-check.sh [LINUX-BUILD-DIR] [SCREENSHOT-DIR]
#     (defaults build/debug, and no screenshot kept)
# ZELK_WINE_SCALE_PERCENT=125 (or 150, 200) runs the prefix at that display
# scaling (its DPI), for the screenshots. Needs the package of
# scripts/windows-package.sh. Ends with
# "windows-gui-check: N passed, M failed"; exits 0 only when nothing failed.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
linux_build=$(realpath -m "${1:-$root/build/debug}")
shots="${2:-}"
started=$SECONDS

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$root/build/windows-x64-gui/CMakeCache.txt" 2>/dev/null)
installer="$root/build/windows-package/ProgramableZelk-$version-win64-setup.exe"
[[ -n "$version" && -f "$installer" ]] || {
  echo "windows-gui-check: no installer: run scripts/windows-package.sh first" >&2
  exit 1
}

ZC_NAME=windows-gui-check
# A display that holds the window at the scale asked for, as a monitor set to
# that scaling would (the window tests use the same sizes).
case "${ZELK_WINE_SCALE_PERCENT:-100}" in
  150) ZC_SCREEN=1920x1080x24 ;;
  200) ZC_SCREEN=2560x1440x24 ;;
esac
ZC_TIMEOUT=60 # wine's first start in a fresh prefix takes 10 to 15 s
"$root/scripts/install-deps.sh" --screens --windows
# shellcheck source=scripts/lib/drive-configurator.sh
source "$root/scripts/lib/drive-configurator.sh"

# shellcheck source=scripts/lib/checks.sh
source "$root/scripts/lib/checks.sh"

export WINEPREFIX="$root/build/windows-x64-gui/wineprefix"
export WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
install_dir="$WINEPREFIX/drive_c/users/$(id -un)/AppData/Local/Programs/Programable Zelk"
shortcut="$WINEPREFIX/drive_c/users/$(id -un)/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Programable Zelk.lnk"
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\ProgramableZelk'
# QSettings' place for the organisation and application names main.cpp gives.
settings_key='HKCU\Software\Quibrane\Programable Zelk'

ZC_APP_CMD=(wine "$install_dir/programable-zelk.exe")
# No --port: the technician picks the port from the dialog's list.
ZC_APP_PORT=from-list
# The app is checked once installed; zc_init only needs wine itself here.
zc_init "$linux_build"
trap 'wineserver -k 2>/dev/null; zc_cleanup' EXIT
zc_start_display

phase "Fresh wine prefix"
[[ -d "$WINEPREFIX" ]] && wineserver -k 2>/dev/null
rm -rf "$WINEPREFIX"
mkdir -p "$WINEPREFIX"
wineboot -i >"$ZC_TMP/wineboot.log" 2>&1 </dev/null || zc_fail "wineboot failed"
# wine has no Arial; Debian's Liberation Sans has its metrics (Tahoma is wine's own).
wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Arial /t REG_SZ /d 'Liberation Sans' /f \
  >"$ZC_TMP/reg.log" 2>&1
scale=${ZELK_WINE_SCALE_PERCENT:-100}
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d $((96 * scale / 100)) /f \
  >>"$ZC_TMP/reg.log" 2>&1
echo "prefix ready in $((SECONDS - started))s (display at $scale %)"

phase "Silent install"
find "$WINEPREFIX/drive_c" | sort >"$ZC_TMP/files-before"
install_started=$SECONDS
wine "$installer" /S >"$ZC_TMP/install.log" 2>&1
install_status=$?
wineserver -w # until every wine process has ended
echo "installed in $((SECONDS - install_started))s"
expect "the installer exits 0" test "$install_status" -eq 0
expect "programable-zelk.exe is installed per user" test -f "$install_dir/programable-zelk.exe"
expect "zelkctl.exe is installed beside it" test -f "$install_dir/zelkctl.exe"
expect "the Windows platform plugin is installed" test -f "$install_dir/platforms/qwindows.dll"
expect "a Start-menu shortcut is made" test -f "$shortcut"
wine reg query "$uninstall_key" >"$ZC_TMP/uninstall-key.out" 2>&1
expect "the uninstaller is registered in Apps & features" \
  grep -q 'QuietUninstallString' "$ZC_TMP/uninstall-key.out"
expect "the registered version is $version" grep -q "DisplayVersion.*$version" "$ZC_TMP/uninstall-key.out"
[[ -f "$install_dir/programable-zelk.exe" ]] || zc_fail "nothing to run"

phase "The installed executable's record"
exe="$install_dir/programable-zelk.exe"
record=$(wrestool -x --raw --type=16 "$exe" 2>/dev/null | strings -el | tr '\n' ' ')
expect "the version record says FileVersion $version" grep -q "FileVersion $version " <<<"$record"
expect "the version record says ProductVersion $version" grep -q "ProductVersion $version " <<<"$record"
expect "the version record names the company Quibrane" grep -q "CompanyName Quibrane " <<<"$record"
expect "the program's icon is in the .exe" grep -q 'type=group_icon' < <(wrestool -l "$exe")
expect "the .exe is a 64-bit Windows GUI program" \
  grep -q 'Subsystem.*0002' < <(x86_64-w64-mingw32-objdump -p "$exe")

phase "zelk-sim on COM5, as wine lists a serial port"
zc_start_sim
# wine's mount manager reads HKLM\Software\Wine\Ports as it starts: each
# COMn value names the Unix device, which it links as COMn and lists in
# HKLM\HARDWARE\DEVICEMAP\SERIALCOMM, the list the COM-port dialog shows.
wine reg add 'HKLM\Software\Wine\Ports' /v COM5 /t REG_SZ /d "$ZC_LINK" /f >>"$ZC_TMP/reg.log" 2>&1
wineserver -k 2>/dev/null
wineserver -w
wine reg query 'HKLM\HARDWARE\DEVICEMAP\SERIALCOMM' >"$ZC_TMP/serialcomm.out" 2>&1
sed 's/^/  /' "$ZC_TMP/serialcomm.out" | tr -d '\r' | grep -v '^ *$'
expect "SERIALCOMM lists COM5 once wine registered the port" \
  grep -q 'REG_SZ *COM5' <(tr -d '\r' <"$ZC_TMP/serialcomm.out")

phase "The installed configurator, driven from the keyboard"
zc_start_app
# Config., then Find: the version request on every listed port, and the one
# that answered selected; then OK on it.
zc_focus "$ZC_MAIN_WIN"
xdotool key --clearmodifiers alt+c
ZC_DIALOG_WIN=$(zc_find_window "$ZC_DIALOG_TITLE") || exit 1
zc_focus "$ZC_DIALOG_WIN"
sleep 0.3
xdotool key --clearmodifiers alt+i
# The search's progress and its summary share the title "Find": the summary
# is the one left once COM5 has answered and every other port has been tried
# (wine lists COM1 for /dev/ttyS0, which fails at once).
zc_wait_until "Find to ask COM5" "(( \$(zc_sim_requests 3 1) >= 1 ))"
expect "Find asked COM5 for the module's version" test "$(zc_sim_requests 3 1)" -ge 1
sleep 3
find_box=$(zc_find_window "Find") || exit 1
zc_focus "$find_box"
xdotool key Return
zc_wait_until "the Find box to close" "zc_window_gone Find"
zc_focus "$ZC_DIALOG_WIN"
sleep 0.3
xdotool key Return # OK on the port Find selected
ZC_VERSION_WIN=$(zc_find_window "$ZC_VERSION_TITLE") || exit 1
expect "OK opened the port Find picked from the list: the module answered" \
  test "$(zc_sim_requests 3 1)" -ge 2
zc_close_version
zc_read
sleep 2.5 # a few polls
zc_check_no_failure_box "the live poll"
[[ -n "$shots" ]] && mkdir -p "$shots" && zc_capture "$ZC_MAIN_WIN" "$shots/windows-main-window-after-read.png"

zc_focus "$ZC_MAIN_WIN"
xdotool key --clearmodifiers alt+w
confirm=$(zc_find_window "Warning") || exit 1
zc_focus "$confirm"
xdotool key --clearmodifiers alt+y
done_box=$(zc_find_window "Program") || exit 1
zc_focus "$done_box"
xdotool key Return
zc_wait_until "the \"Program\" box to close" "zc_window_gone 'Program'"
# Read, the read of the module's own bytes just before the write, the read back.
zc_wait_until "the read-back" "(( \$(zc_sim_requests 1 1) >= 3 ))"
sleep 1.5
zc_check_no_failure_box "the Write"
# What the configurator sent, before the unplug and zelkctl.exe add theirs.
cp "$ZC_TMP/sim.log" "$ZC_TMP/app-requests.log"

phase "The adapter pulled mid-poll and put back"
# The simulator ends: its pty hangs up under the poll. Wine reports the next
# write as ERROR_NOT_READY (its word for the Linux EIO); the link takes it for
# a vanished device, closes the port, the poll's failure is shown and the
# reconnect watch starts, which looks once a second whether COM5 is back.
kill "$ZC_SIM_PID"
wait "$ZC_SIM_PID" 2>/dev/null
fail_box=$(zc_find_window "Fail") || exit 1
zc_focus "$fail_box"
xdotool key Return
zc_wait_until "the \"Fail\" box to close" "zc_window_gone Fail"
zc_start_sim # the adapter back: a new pty behind the same COM5
zc_wait_until "the reconnect watch to ask the module on COM5 again" "(( \$(zc_sim_requests 3 1) >= 1 ))"
expect "the reconnect watch found the module back on COM5 (a version request, nothing else)" \
  test "$(grep -c ': command ' "$ZC_TMP/sim.log")" -eq "$(zc_sim_requests 3 1)"
zc_check_no_failure_box "the reconnect"

zc_focus "$ZC_MAIN_WIN"
xdotool key --clearmodifiers alt+q
zc_wait_until "the program to end" "! kill -0 $ZC_APP_PID 2>/dev/null"
wait "$ZC_APP_PID"
app_status=$?
expect "the program exits cleanly (status 0) after Quit" test "$app_status" -eq 0

# zelkctl.exe from the installed folder, on the same module (the DLLs
# beside it are all it needs).
timeout 60 wine "$install_dir/zelkctl.exe" --port COM5 version >"$ZC_TMP/zelkctl.out" 2>&1
expect "the installed zelkctl.exe reads the version: 2.10" test "$(tr -d '\r' <"$ZC_TMP/zelkctl.out")" == "2.10"

phase "What reached the simulator"
# "zelk-sim: 123.4 ms: command 0 address 67 count 10 -> 13 bytes": one line a request
# (count: the payload bytes it carried; reads carry the buffer they read into).
log="$ZC_TMP/app-requests.log"
awk '/: command / { print $5, $7, $9, $11 }' "$log" >"$ZC_TMP/requests"
# The technician's road as request kinds, each run of polls folded into one.
road=$(awk '{ k = $1 "/" $2 "/" $3 "/" $4; if (k != last) print k; last = k }' "$ZC_TMP/requests" | tr '\n' ' ')
echo "  requests (command/address/count/reply bytes): $road"
expect "version, settings, instant block, polls, settings, write, read-back, instant block, polls" \
  test "$road" == "3/1/1/5 1/1/25/28 0/72/10/13 0/67/10/13 1/1/25/28 4/1/25/3 1/1/25/28 0/72/10/13 0/67/10/13 "
expect "only the requests of that road" test "$(grep -c ': command ' "$log")" -eq "$(wc -l <"$ZC_TMP/requests")"
# Poll period: the steps between polls that follow each other (wine's timers
# are looser than Windows', and CI is loaded: 250 to 1000 ms each, mean 450-600).
awk '/: command 0 address 67 / { t = $2 + 0; if (n++ && last_kind == "poll") print t - prev; prev = t; last_kind = "poll"; next }
     /: command / { last_kind = "" }' "$log" >"$ZC_TMP/poll-gaps"
gaps=$(wc -l <"$ZC_TMP/poll-gaps")
mean=$(awk '{ s += $1 } END { if (NR) printf "%.0f", s / NR }' "$ZC_TMP/poll-gaps")
echo "  $gaps poll periods, mean ${mean:-?} ms"
expect "at least 4 polls followed each other" test "$gaps" -ge 4
expect "every poll period is 250-1000 ms" awk '$1 < 250 || $1 > 1000 { bad = 1 } END { exit bad }' "$ZC_TMP/poll-gaps"
expect "the mean poll period is 450-600 ms" test "${mean:-0}" -ge 450 -a "${mean:-0}" -le 600
# The Write saved the settings as read first, in the user's data folder.
data_dir="$WINEPREFIX/drive_c/users/$(id -un)/AppData/Roaming/Programable Zelk"
points=$(find "$data_dir/restore-points" -name '*.zelk' 2>/dev/null)
expect "the Write saved one restore point in %APPDATA%\\Programable Zelk" \
  test "$(grep -c . <<<"$points")" -eq 1 -a -n "$points"
expect "the restore point says before-write and module 2.10" \
  bash -c "grep -q '\"reason\": \"before-write\"' \"\$1\" && grep -q '\"module_version\": \"2.10\"' \"\$1\"" _ "$points"

phase "The installed configurator in Portuguese"
# Its windows' titles are what the driver waits for: the COM-port dialog and
# the version box come up as "Config. Porta COM" and "Versão" only when the
# translation built into the .exe is loaded.
zc_set_language pt_BR
zc_start_app
zc_config_ok
expect "the COM-port dialog and the version box are in Portuguese" test -n "$ZC_VERSION_WIN"
zc_close_version
zc_read
zc_check_no_failure_box "the live poll in Portuguese"
[[ -n "$shots" ]] && zc_capture "$ZC_MAIN_WIN" "$shots/windows-main-window-after-read.pt_BR.png"
zc_focus "$ZC_MAIN_WIN"
xdotool key --clearmodifiers alt+s # &Sair
zc_wait_until "the program to end" "! kill -0 $ZC_APP_PID 2>/dev/null"
wait "$ZC_APP_PID"
app_status=$?
expect "the Portuguese program exits cleanly (status 0) after Sair" test "$app_status" -eq 0

phase "Silent uninstall"
expect "before it: the program kept its settings under $settings_key" \
  bash -c "wine reg query \"\$1\" >/dev/null 2>&1" _ "$settings_key"
wine "$install_dir/uninstall.exe" /S >"$ZC_TMP/uninstall.log" 2>&1
# The uninstaller runs from a copy in %TEMP% and returns at once: wait for it.
wineserver -w
expect "the program's folder is gone" test ! -e "$install_dir"
# The uninstaller runs from a copy in the temporary folder, which Windows
# deletes at the next restart (wine never restarts): that copy is allowed.
# The restore points are the technician's data, never the program's to
# remove: the data folder stays too.
find "$WINEPREFIX/drive_c" | sort | grep -v '/Temp/~nsu[^/]*\.tmp' |
  grep -v "^$data_dir\(/\|\$\)" >"$ZC_TMP/files-after"
diff "$ZC_TMP/files-before" "$ZC_TMP/files-after" | sed -n 's/^> /        left: /p' | head -n 10
expect "no file is left anywhere on drive C: that was not there before the install" \
  diff -q "$ZC_TMP/files-before" "$ZC_TMP/files-after"
expect "the Start-menu shortcut is gone" test ! -e "$shortcut"
expect "the Apps & features entry is gone" bash -c "! wine reg query '$uninstall_key' >/dev/null 2>&1"
expect "the program's own settings are gone ($settings_key)" \
  bash -c "! wine reg query '$settings_key' >/dev/null 2>&1"
expect "the technician's data folder stays, its restore point with it" test -n "$points" -a -f "$points"

echo
echo "windows-gui-check: done in $((SECONDS - started))s"
echo "windows-gui-check: $passed passed, $failed failed"
((failed == 0))
