#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when a message of translations/*.ts is unfinished or untranslated, as
# lrelease counts them, or finished with an empty translation (which lrelease
# takes as finished).
set -euo pipefail
cd "$(dirname "$0")/../.."
lrelease=/usr/lib/qt6/bin/lrelease
status=0
for ts in translations/*.ts; do
  report=$("$lrelease" "$ts" -qm /dev/null 2>&1)
  echo "$report"
  if ! grep -Eq 'Generated [0-9]+ translation\(s\) \([0-9]+ finished and 0 unfinished\)' <<<"$report" ||
     grep -q 'untranslated' <<<"$report"; then
    echo "all_finished: $ts has messages that are not finished" >&2
    grep -n -B3 'type="unfinished"' "$ts" | grep '<source>' >&2 || true
    status=1
  fi
  if grep -Eq '<translation( [^>]*)?(/>|></translation>)' "$ts"; then
    echo "all_finished: $ts has empty translations:" >&2
    grep -n -B3 -E '<translation( [^>]*)?(/>|></translation>)' "$ts" | grep '<source>' >&2 || true
    status=1
  fi
done
exit "$status"
