#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Polls a zelk-sim that answers 1 % of its requests with a random fault,
# through the real pty line, and checks that every reported failure matches an
# injected fault (or a reply a busy host made the simulator send late, which
# the link rightly cuts: counted apart), that no fault passed as a success,
# and that memory and open descriptors stay flat (bench/soak).
#   scripts/soak.sh [POLLS] [SEED]     (2000 and 1 by default; a day at 500 ms is 172800)
set -euo pipefail
cd "$(dirname "$0")/.."
polls=${1:-2000}
seed=${2:-1}
build=build/release
scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release -j 2 --target soak zelk-sim
soak=$(find "$build/bench/soak" -maxdepth 1 -type f -name soak -perm -u+x | head -n 1)
[[ -n "$soak" ]] || { echo "soak: the soak program was not built" >&2; exit 1; }
"$soak" --polls "$polls" --seed "$seed"
