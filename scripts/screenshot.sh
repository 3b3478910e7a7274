#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Takes screenshots of the configurator on a private X display (Xvfb) against
# the simulated module, driven from the keyboard as a technician would use it:
#
#   main-window.png             the main window at start
#   version-box.png             Config., OK: the "Version" box with the module's version
#   main-window-after-read.png  Read: settings filled in, live values, green "Sync." lamp
#
# usage: scripts/screenshot.sh [BUILD_DIR] [OUTPUT_DIR]
#        (defaults: build/release and docs/, relative to the repository)
#        ZC_LANG=pt_BR scripts/screenshot.sh ...   the same in Portuguese, saved as *.pt_BR.png
# Needs: xvfb openbox xdotool x11-utils imagemagick. Exits non-zero when a step fails.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${1:-$root/build/release}")
out=$(realpath -m "${2:-$root/docs}")
ZC_NAME=screenshot
"$root/scripts/install-deps.sh" --screens
# shellcheck source=scripts/lib/drive-configurator.sh
source "$root/scripts/lib/drive-configurator.sh"

zc_init "$build"
zc_start_display
zc_start_sim
zc_start_app

shot="$ZC_TMP/shot"
mkdir -p "$shot"

zc_capture "$ZC_MAIN_WIN" "$shot/main-window.png"
(($(zc_green_pixels "$shot/main-window.png") == 0)) || zc_fail "a lamp is green at start"

zc_config_ok
zc_capture "$ZC_VERSION_WIN" "$shot/version-box.png"
zc_close_version

zc_read
sleep 1.5   # a few live updates
zc_check_no_failure_box "the live poll"
zc_capture "$ZC_MAIN_WIN" "$shot/main-window-after-read.png"
# The 14 x 14 "Sync." lamp is the only pure green in the window.
(($(zc_green_pixels "$shot/main-window-after-read.png") >= 40)) ||
  zc_fail "the Sync. lamp is not green after the Read"

# Only a complete set replaces the previous one.
mkdir -p "$out"
suffix=""
[[ "${ZC_LANG:-en}" == en ]] || suffix=".$ZC_LANG"
for f in main-window version-box main-window-after-read; do
  cp "$shot/$f.png" "$out/$f$suffix.png"
  echo "$out/$f$suffix.png"
done
