# shellcheck shell=bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The counting helpers of the check scripts (windows-check, windows-gui-check,
# deb-check). Sourced; the script sets `started=$SECONDS` first and ends with
# "NAME: $passed passed, $failed failed".
#
#   phase TITLE            a heading with the seconds since the start
#   pass NAME / fail NAME  one check's result
#   expect NAME COMMAND... one check that holds when COMMAND succeeds
passed=0
failed=0

phase() { printf '\n== %s (%ds)\n' "$1" "$((SECONDS - started))"; }
pass() {
  echo "  ok    $1"
  passed=$((passed + 1))
}
fail() {
  echo "  FAIL  $1"
  failed=$((failed + 1))
}
expect() {
  local name="$1"
  shift
  if "$@"; then pass "$name"; else fail "$name"; fi
}
