#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The configurator's cost with the live chart open, against the simulated
# module: CPU over one minute at the usual 500 ms poll, CPU over one minute
# polling as fast as the link allows, and resident memory every minute of
# the fastest polling (the chart keeps a bounded history: it must stay flat).
#
# On a private X display (Xvfb) the configurator is driven as a technician
# drives it: Config., OK, Enter on "Version", Read, Ctrl+G for the chart,
# then Log > Poll rate > As fast as the link allows.
#
# usage: bench/gui_chart.sh [BUILD_DIR] [MINUTES]
#        BUILD_DIR defaults to build/release; MINUTES (default 5, or $MINUTES)
#        of fastest polling for the memory readings; at least 1.
# Targets: under 2 % of one core at 500 ms, under 10 % at the fastest poll.
# Needs: xvfb openbox xdotool x11-utils imagemagick.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${1:-$root/build/release}")
minutes=${2:-${MINUTES:-5}}
[[ "$minutes" =~ ^[1-9][0-9]*$ ]] || { echo "gui_chart: MINUTES must be a whole number >= 1" >&2; exit 2; }
ZC_NAME=gui_chart
"$root/scripts/install-deps.sh" --screens
# shellcheck source=scripts/lib/drive-configurator.sh
source "$root/scripts/lib/drive-configurator.sh"

hz=$(getconf CLK_TCK)
cpu_ticks() {
  local stat
  stat=$(<"/proc/$1/stat") || zc_fail "the configurator ended"
  stat=${stat##*) }
  read -r -a f <<<"$stat"
  echo $((f[11] + f[12]))
}
rss_kib() {
  awk '/^VmRSS:/ { print $2 }' "/proc/$1/status" 2>/dev/null || zc_fail "the configurator ended"
}
polls() { zc_sim_requests 0 67; }

# CPU share of one core and polls per second over one minute: "PERCENT RATE".
measure_minute() {
  local p0 c0 t0 p1 c1 t1
  p0=$(polls) c0=$(cpu_ticks "$pid") t0=$(date +%s.%N)
  sleep 60
  p1=$(polls) c1=$(cpu_ticks "$pid") t1=$(date +%s.%N)
  awk -v c="$((c1 - c0))" -v hz="$hz" -v t0="$t0" -v t1="$t1" -v n="$((p1 - p0))" \
    'BEGIN { w = t1 - t0; printf "%.2f %.1f\n", c / hz / w * 100, n / w }'
}

zc_init "$build"
zc_start_display
zc_start_sim
zc_start_app
pid=$ZC_APP_PID
zc_config_ok
zc_close_version
zc_read
zc_focus "$ZC_MAIN_WIN"
xdotool key --clearmodifiers ctrl+g
zc_find_window "Programable Zelk: live chart" >/dev/null || exit 1
sleep 2

read -r cpu_500 rate_500 < <(measure_minute)
zc_check_no_failure_box "the minute at 500 ms"

zc_focus "$ZC_MAIN_WIN"
xdotool key --clearmodifiers alt+l
sleep 0.5
xdotool key p
sleep 0.5
xdotool key a
sleep 2
read -r cpu_fast rate_fast < <(measure_minute)
zc_check_no_failure_box "the minute at the fastest poll"
rss=("$(rss_kib "$pid")")
for ((m = 2; m <= minutes; m++)); do
  sleep 60
  rss+=("$(rss_kib "$pid")")
done
zc_check_no_failure_box "$minutes minutes at the fastest poll"
kill -0 "$pid" 2>/dev/null || zc_fail "the configurator ended"
zc_window_gone "Programable Zelk: live chart" && zc_fail "the chart window closed"

printf 'Chart open, 500 ms poll:  %6.2f %% of one core, %5.1f polls/s (target under 2 %%: %s)\n' \
  "$cpu_500" "$rate_500" "$(awk -v c="$cpu_500" 'BEGIN { print (c < 2 ? "met" : "NOT met") }')"
printf 'Chart open, fastest poll: %6.2f %% of one core, %5.1f polls/s (target under 10 %%: %s)\n' \
  "$cpu_fast" "$rate_fast" "$(awk -v c="$cpu_fast" 'BEGIN { print (c < 10 ? "met" : "NOT met") }')"
printf 'Resident memory (VmRSS) at each minute of the fastest poll, KiB:'
printf ' %s' "${rss[@]}"
printf '\nGrowth from the first to the last reading: %+d KiB\n' $((rss[${#rss[@]} - 1] - rss[0]))
