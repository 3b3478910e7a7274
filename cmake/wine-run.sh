#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a Windows program under wine for ctest, with wine's own chatter off.
# The CRs of the program's text-mode output are dropped, so that tools reading
# it (gtest_discover_tests) see the same lines as from a Linux build. The
# output goes through a file, not a pipe: a wine service started on the way
# inherits stdout and would hold a pipe open long after the program ended.
# The exit status is the program's.
export WINEDEBUG="${WINEDEBUG:--all}"
out="$(mktemp)"
trap 'rm -f "$out"' EXIT
wine "$@" >"$out"
status=$?
tr -d '\r' <"$out"
exit "$status"
