#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The configurator's cost while its live poll runs against the simulated
# module: CPU time over one minute of polling, and resident memory at start,
# after the Read and after some minutes of polling.
#
# On a private X display (Xvfb) the configurator is driven as a technician
# drives it: Config., OK on the COM port dialog, Enter on the "Version" box,
# Read. Then the poll runs (a request every 500 ms) and nothing else happens.
#
# usage: bench/gui_idle.sh [BUILD_DIR] [MINUTES]
#        BUILD_DIR defaults to build/release; MINUTES (default 5, or $MINUTES)
#        is how long the poll runs before the last memory reading; at least 1.
# Target: under 0.5 % of one core. Needs: xvfb openbox xdotool x11-utils imagemagick.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${1:-$root/build/release}")
minutes=${2:-${MINUTES:-5}}
[[ "$minutes" =~ ^[1-9][0-9]*$ ]] || { echo "gui_idle: MINUTES must be a whole number >= 1" >&2; exit 2; }
ZC_NAME=gui_idle
"$root/scripts/install-deps.sh" --screens
# shellcheck source=scripts/lib/drive-configurator.sh
source "$root/scripts/lib/drive-configurator.sh"

ticks_per_second=$(getconf CLK_TCK)

# utime + stime of PID, in clock ticks (fields 14 and 15 of /proc/PID/stat;
# the command name in field 2 may hold spaces, so count from its closing ')').
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

zc_init "$build"
zc_start_display
zc_start_sim
zc_start_app
pid=$ZC_APP_PID
rss_start=$(rss_kib "$pid")

zc_config_ok
zc_close_version
zc_read
sleep 1.5
rss_read=$(rss_kib "$pid")
read_time=$SECONDS

# One minute of polling.
polls_before=$(polls)
ticks_before=$(cpu_ticks "$pid")
t0=$(date +%s.%N)
sleep 60
ticks_after=$(cpu_ticks "$pid")
t1=$(date +%s.%N)
polls_minute=$(($(polls) - polls_before))
zc_check_no_failure_box "the first minute of polling"

# The rest of the N minutes, counted from the Read.
remaining=$((minutes * 60 - (SECONDS - read_time)))
if ((remaining > 0)); then sleep "$remaining"; fi
zc_check_no_failure_box "$minutes minutes of polling"
kill -0 "$pid" 2>/dev/null || zc_fail "the configurator ended"
rss_end=$(rss_kib "$pid")
polls_total=$(polls)
ticks_total=$(cpu_ticks "$pid")

awk -v tb="$ticks_before" -v ta="$ticks_after" -v hz="$ticks_per_second" \
    -v t0="$t0" -v t1="$t1" -v n="$polls_minute" '
  BEGIN {
    cpu = (ta - tb) / hz; wall = t1 - t0
    per_minute = cpu * 60 / wall
    printf "Polls in the measured minute: %d (one every %.0f ms)\n", n, (n ? wall * 1000 / n : 0)
    printf "CPU seconds per minute: %.3f (%.3f %% of one core)\n", per_minute, per_minute / 60 * 100
    printf "  clock ticks: %d over %.1f s wall, %d ticks per second\n", ta - tb, wall, hz
    printf "  target: under 0.5 %% of one core: %s\n", (per_minute / 60 * 100 < 0.5 ? "met" : "NOT met")
  }'
awk -v s="$rss_start" -v r="$rss_read" -v e="$rss_end" -v m="$minutes" \
    -v tt="$ticks_total" -v hz="$ticks_per_second" -v p="$polls_total" '
  BEGIN {
    printf "Resident memory (VmRSS) right after start:      %7d KiB\n", s
    printf "Resident memory (VmRSS) after the Read:         %7d KiB\n", r
    printf "Resident memory (VmRSS) after %d min of polling: %7d KiB\n", m, e
    printf "Growth during %d min of polling: %+d KiB (%+d KiB since start)\n", m, e - r, e - s
    printf "Whole run: %.2f CPU seconds, %d polls answered\n", tt / hz, p
  }'
