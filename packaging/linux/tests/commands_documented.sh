#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Every command and option of zelkctl that its usage text names appears in its
# man page, and the other way round.
#   commands_documented.sh ZELKCTL MAN-PAGE
set -euo pipefail
zelkctl=$1
page=$2
usage=$("$zelkctl" --help)
# The man page as plain words: roff escapes of '-' undone, font changes dropped.
text=$(sed -e 's/\\-/-/g' -e 's/\\f[BIRP]//g' -e 's/^\.[A-Z]* //' "$page")

# Commands: the words after the options on the usage lines ("zelkctl [..] --port NAME version").
commands=$(sed -n 's/^ *\(usage:\)\{0,1\} *zelkctl //p' <<<"$usage" |
  sed -e 's/\[[^]]*\]//g' -e 's/--port NAME//' -e 's/<.*//' | tr ' ' '\n' | grep -E '^[a-z][a-z-]*$' | sort -u)
options=$(grep -oE -- '--[a-z][a-z-]*' <<<"$usage" | sort -u)
[[ -n "$commands" && -n "$options" ]] || { echo "no commands or options found in the usage"; exit 1; }

missing=0
for word in $commands $options; do
  if ! grep -qE -- "(^|[^a-z-])$word([^a-z-]|$)" <<<"$text"; then
    echo "in zelkctl --help but not in $(basename "$page"): $word"
    missing=1
  fi
done
# Commands the man page describes (".TP" then ".B word" under COMMANDS) must be in the usage.
documented=$(awk '/^\.SH COMMANDS/ { on = 1; next } /^\.SH/ { on = 0 } on && prev == ".TP" && /^\.B / { print $2 } { prev = $0 }' "$page")
for word in $documented; do
  grep -qE -- "(^|[^a-z-])$word([^a-z-]|$)" <<<"$usage" || {
    echo "in $(basename "$page") but not in zelkctl --help: $word"
    missing=1
  }
done
echo "commands: $(echo $commands); options: $(echo $options)"
exit "$missing"
