# SPDX-License-Identifier: GPL-3.0-or-later
# shellcheck shell=bash
# Drives the real configurator the way a technician does, on a private X
# display against the simulated module. Sourced by scripts/screenshot.sh and
# bench/gui_idle.sh; not meant to be run on its own.
#
#   zc_init BUILD_DIR        check the programs, make a private temporary folder,
#                            install the clean-up trap; set ZC_APP_CMD (an array)
#                            first to start another build of the configurator,
#                            e.g. (wine /path/programable-zelk.exe),
#                            ZC_APP_PORT to give it another port name than the link
#                            (from-list: no --port, the port is picked in the dialog),
#                            and ZC_LANG=pt_BR to drive it in Portuguese (default en,
#                            whatever the locale)
#   zc_set_language LANG     start the next configurator in LANG (en, pt_BR)
#   zc_start_display         Xvfb on a free display (1280x1024x24) and openbox
#   zc_start_sim             zelk-sim on <tmp>/zelk-sim, waits for the link
#   zc_start_app             the configurator with --port <link>, waits for
#                            its main window (ZC_APP_PID, ZC_MAIN_WIN)
#   zc_config_ok             Alt+C, Enter on the COM port dialog, waits for the
#                            "Version" box (ZC_VERSION_WIN) and leaves it open
#   zc_close_version         Enter on the "Version" box, waits for both to go
#   zc_read                  Alt+R, waits until the live poll runs
#   zc_capture WIN FILE      the window with its title bar, as a PNG
#   zc_green_pixels FILE     how many pure green (lamp) pixels an image has
#   zc_fail MESSAGE          report and exit 1 (the trap cleans up)
#
# Needs: Xvfb, openbox, xdotool, xprop (x11-utils), ImageMagick (import, convert).
# Every process started here is ended by the EXIT trap, by its own id.

ZC_SCREEN="${ZC_SCREEN:-1280x1024x24}"   # the main window sits at (274, 50) and is 794 x 576
ZC_TIMEOUT=${ZC_TIMEOUT:-20}              # seconds any one step may take
# The title carries the project's major.minor version, read where it is set.
ZC_PROJECT_VERSION=$(sed -n 's/^project([A-Za-z]* VERSION \([0-9]*\.[0-9]*\).*/\1/p' \
  "$(dirname "${BASH_SOURCE[0]}")/../../CMakeLists.txt")
ZC_MAIN_TITLE="Quibrane - Programable Zelk v ${ZC_PROJECT_VERSION}"
ZC_LANG=${ZC_LANG:-en}

ZC_TMP=""
ZC_PIDS=()                 # started processes, in start order
ZC_APP_PID=""
ZC_SIM_PID=""
ZC_LINK=""
ZC_MAIN_WIN=""
ZC_DIALOG_WIN=""
ZC_VERSION_WIN=""

zc_log() { printf '%s: %s\n' "${ZC_NAME:-drive}" "$*" >&2; }

zc_fail() {
  zc_log "FAILED: $*"
  if [[ -n "$ZC_TMP" && -s "$ZC_TMP/sim.log" ]]; then
    zc_log "last simulator requests:"
    tail -n 5 "$ZC_TMP/sim.log" >&2 || true
  fi
  if [[ -n "$ZC_TMP" && -s "$ZC_TMP/app.log" ]]; then
    zc_log "configurator output:"
    tail -n 10 "$ZC_TMP/app.log" >&2 || true
  fi
  exit 1
}

# Ends the started processes, newest first: TERM, then KILL after 3 s.
zc_cleanup() {
  local i pid
  for ((i = ${#ZC_PIDS[@]} - 1; i >= 0; i--)); do
    pid=${ZC_PIDS[i]}
    kill -TERM "$pid" 2>/dev/null || continue
    for _ in $(seq 30); do
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
    kill -KILL "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  ZC_PIDS=()
  [[ -n "$ZC_TMP" && -d "$ZC_TMP" ]] && rm -rf "$ZC_TMP"
  ZC_TMP=""
}

# The language the configurator is started in, and the titles the driver
# waits for and the Read button's accelerator in it.
zc_set_language() {
  ZC_LANG=$1
  case "$ZC_LANG" in
    en)
      ZC_DIALOG_TITLE="COM Port Config." ZC_VERSION_TITLE="Version" ZC_READ_KEY=alt+r
      ZC_FAILURE_TITLES=("Fail" "Error!" "Warning!" "Programable Zelk")
      ;;
    pt_BR)
      ZC_DIALOG_TITLE="Config. Porta COM" ZC_VERSION_TITLE="Versão" ZC_READ_KEY=alt+l
      ZC_FAILURE_TITLES=("Falha" "Erro!" "Atenção!" "Programable Zelk")
      ;;
    *) zc_fail "ZC_LANG=$ZC_LANG: the languages are en and pt_BR" ;;
  esac
}

zc_init() {
  local build=$1 tool
  ZC_BIN_APP="$build/app/programable-zelk"
  ZC_BIN_SIM="$build/sim/zelk-sim"
  [[ -v ZC_APP_CMD[0] ]] || ZC_APP_CMD=("$ZC_BIN_APP")
  for tool in "${ZC_APP_CMD[0]}" "$ZC_BIN_SIM"; do
    command -v "$tool" >/dev/null || zc_fail "$tool not found: build first (cmake --build --preset release)"
  done
  for tool in Xvfb openbox xdotool xprop import convert; do
    command -v "$tool" >/dev/null || zc_fail "$tool is missing (apt-get install xvfb openbox xdotool x11-utils imagemagick)"
  done
  zc_set_language "$ZC_LANG"
  ZC_TMP=$(mktemp -d /tmp/zelk-drive.XXXXXX) || zc_fail "no temporary folder"
  chmod 700 "$ZC_TMP"
  trap zc_cleanup EXIT
  trap 'exit 130' INT
  trap 'exit 143' TERM
}

# Waits until COMMAND (a string, run by bash) succeeds, up to ZC_TIMEOUT s.
zc_wait_until() {
  local what=$1 cmd=$2 deadline=$((SECONDS + ZC_TIMEOUT))
  until eval "$cmd"; do
    ((SECONDS < deadline)) || zc_fail "$what not within ${ZC_TIMEOUT} s"
    sleep 0.1
  done
}

zc_start_display() {
  # -displayfd lets the server pick a display nobody else uses.
  Xvfb -displayfd 3 -screen 0 "$ZC_SCREEN" -nolisten tcp -noreset \
    3>"$ZC_TMP/display" >"$ZC_TMP/xvfb.log" 2>&1 &
  ZC_PIDS+=($!)
  local xvfb_pid=$!
  zc_wait_until "Xvfb display" "[[ -s '$ZC_TMP/display' ]] || ! kill -0 $xvfb_pid 2>/dev/null"
  [[ -s "$ZC_TMP/display" ]] || zc_fail "Xvfb did not start: $(tail -n 3 "$ZC_TMP/xvfb.log")"
  DISPLAY=":$(tr -d '[:space:]' <"$ZC_TMP/display")"
  export DISPLAY
  unset WAYLAND_DISPLAY
  export QT_QPA_PLATFORM=xcb
  export XDG_RUNTIME_DIR="$ZC_TMP"
  # The same decimal separator and texts on every machine.
  export LC_ALL=C.UTF-8 LANG=C.UTF-8

  # A small window manager gives the windows title bars and keyboard focus.
  # Icon, title and close button only, as on the technician's dialogs.
  cat >"$ZC_TMP/openbox-rc.xml" <<'EOF'
<?xml version="1.0" encoding="UTF-8"?>
<openbox_config xmlns="http://openbox.org/3.4/rc">
  <theme><name>Clearlooks</name><titleLayout>NLC</titleLayout></theme>
  <focus><focusNew>yes</focusNew><followMouse>no</followMouse></focus>
</openbox_config>
EOF
  openbox --sm-disable --config-file "$ZC_TMP/openbox-rc.xml" >"$ZC_TMP/openbox.log" 2>&1 &
  ZC_PIDS+=($!)
  zc_wait_until "openbox" "xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'"
  # Keep the pointer off the windows so no button shows a hover look.
  xdotool mousemove 0 0
}

zc_start_sim() {
  ZC_LINK="$ZC_TMP/zelk-sim"
  "$ZC_BIN_SIM" --link "$ZC_LINK" >"$ZC_TMP/sim.out" 2>"$ZC_TMP/sim.log" &
  ZC_SIM_PID=$!
  ZC_PIDS+=("$ZC_SIM_PID")
  zc_wait_until "simulator link $ZC_LINK" "[[ -e '$ZC_LINK' ]] || ! kill -0 $ZC_SIM_PID 2>/dev/null"
  [[ -e "$ZC_LINK" ]] || zc_fail "zelk-sim ended: $(tail -n 3 "$ZC_TMP/sim.log")"
}

# The id of the one visible window titled exactly TITLE, waiting for it.
zc_find_window() {
  local title=$1 pattern id
  pattern="^$(printf '%s' "$title" | sed 's/[].[^$*+?(){}|\\]/\\&/g')\$"
  id=$(timeout "$ZC_TIMEOUT" xdotool search --sync --onlyvisible --name "$pattern" 2>/dev/null | head -n 1)
  [[ -n "$id" ]] || zc_fail "window \"$title\" not found within ${ZC_TIMEOUT} s"
  printf '%s\n' "$id"
}

zc_window_gone() {
  local pattern
  pattern="^$(printf '%s' "$1" | sed 's/[].[^$*+?(){}|\\]/\\&/g')\$"
  ! xdotool search --onlyvisible --name "$pattern" >/dev/null 2>&1
}

# Gives WIN the keyboard focus and waits until it has it.
zc_focus() {
  local win=$1 deadline=$((SECONDS + ZC_TIMEOUT))
  while [[ "$(xdotool getwindowfocus 2>/dev/null)" != "$win" ]]; do
    ((SECONDS < deadline)) || zc_fail "window $win did not get the keyboard focus"
    xdotool windowactivate "$win" 2>/dev/null || xdotool windowfocus "$win" 2>/dev/null || true
    sleep 0.1
  done
}

# Fails when a message box of the failure kinds is showing.
zc_check_no_failure_box() {
  local title
  for title in "${ZC_FAILURE_TITLES[@]}"; do
    zc_window_gone "$title" || zc_fail "a \"$title\" box appeared in $1"
  done
}

zc_sim_requests() { grep -c "command $1 address $2 " "$ZC_TMP/sim.log" 2>/dev/null || true; }

zc_start_app() {
  local port=(--port "${ZC_APP_PORT:-$ZC_LINK}")
  [[ "${ZC_APP_PORT:-}" == from-list ]] && port=()
  "${ZC_APP_CMD[@]}" --lang "$ZC_LANG" "${port[@]}" >"$ZC_TMP/app.log" 2>&1 &
  ZC_APP_PID=$!
  ZC_PIDS+=("$ZC_APP_PID")
  ZC_MAIN_WIN=$(zc_find_window "$ZC_MAIN_TITLE") || exit 1
  zc_focus "$ZC_MAIN_WIN"
  sleep 1   # first paint
  kill -0 "$ZC_APP_PID" 2>/dev/null || zc_fail "the configurator ended"
}

zc_config_ok() {
  zc_focus "$ZC_MAIN_WIN"
  xdotool key --clearmodifiers alt+c
  ZC_DIALOG_WIN=$(zc_find_window "$ZC_DIALOG_TITLE") || exit 1
  zc_focus "$ZC_DIALOG_WIN"
  sleep 0.3
  xdotool key Return   # OK is the default button
  ZC_VERSION_WIN=$(zc_find_window "$ZC_VERSION_TITLE") || exit 1
  zc_focus "$ZC_VERSION_WIN"
  (($(zc_sim_requests 3 1) >= 1)) || zc_fail "the version query did not reach the simulator"
  sleep 0.5
}

zc_close_version() {
  zc_focus "$ZC_VERSION_WIN"
  xdotool key Return
  zc_wait_until "the Version box to close" "zc_window_gone '$ZC_VERSION_TITLE'"
  zc_wait_until "the COM port dialog to close" "zc_window_gone '$ZC_DIALOG_TITLE'"
}

zc_read() {
  local polls_before
  zc_focus "$ZC_MAIN_WIN"
  # shellcheck disable=SC2034  # read by the condition that zc_wait_until evaluates
  polls_before=$(zc_sim_requests 0 67)
  xdotool key --clearmodifiers "$ZC_READ_KEY"
  zc_wait_until "the settings read" "(( \$(zc_sim_requests 1 1) >= 1 ))"
  zc_wait_until "the instant values read" "(( \$(zc_sim_requests 0 72) >= 1 ))"
  zc_wait_until "the live poll" "(( \$(zc_sim_requests 0 67) >= polls_before + 2 ))"
  zc_check_no_failure_box "the Read"
}

zc_capture() {
  local win=$1 file=$2
  import -frame -window "$win" "$file" 2>"$ZC_TMP/import.log" ||
    zc_fail "capture of window $win: $(cat "$ZC_TMP/import.log")"
}

zc_green_pixels() {
  convert "$1" -fill black +opaque '#00ff00' -fill white -opaque '#00ff00' \
    -format '%[fx:round(mean*w*h)]' info:
}
