#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds, starts the module simulator on a
# pseudo-terminal and opens the configurator on it. Without a display it
# says so and shows the same link at work through zelkctl.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release

bin=build/release
link="${XDG_RUNTIME_DIR:-/tmp}/zelk-sim-$(id -u)"
# zelk-sim prints the path once its link points at the new pty; a link left
# by an earlier run is never taken for it.
exec {sim_out}< <(exec "$bin/sim/zelk-sim" --link "$link")
sim_pid=$!
trap 'kill "$sim_pid" 2>/dev/null; wait "$sim_pid" 2>/dev/null || true' EXIT
if ! read -r -t 10 -u "$sim_out" link; then
  echo "run.sh: the module simulator did not start" >&2
  exit 1
fi
echo "Simulated Zelk module on $link"

if [[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]]; then
  echo "Press Config., then OK: the version of the simulated module appears."
  "$bin/app/programable-zelk" --port "$link"
else
  echo "No display found: running the zelkctl demo against the simulator instead."
  echo "\$ zelkctl --port $link version"
  "$bin/cli/zelkctl" --port "$link" version
  echo "\$ zelkctl --port $link raw   # settings block, live values, program status"
  printf '1 1 25\n0 0x43 10\n0 0x48 10\n0 0x64 2\n' | "$bin/cli/zelkctl" --port "$link" raw
fi
