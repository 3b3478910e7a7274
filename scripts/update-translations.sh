#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Brings translations/*.ts up to date with the sources: every tr() of the
# windows, every caption of the .ui files and every QT_TRANSLATE_NOOP of the
# plain C++ tables. New texts come in unfinished; translate them (Qt
# Linguist, or by hand) before committing: a test fails on any unfinished one.
#   scripts/update-translations.sh          update the .ts files
#   scripts/update-translations.sh --check  say which texts the .ts files lack, change nothing
set -euo pipefail
cd "$(dirname "$0")/.."
lupdate=/usr/lib/qt6/bin/lupdate
[[ -x "$lupdate" ]] || scripts/install-deps.sh
folders=(app ui text link settings monitor programming settings_file session records)
for ts in translations/*.ts; do
  if [[ "${1:-}" == "--check" ]]; then
    scratch=$(mktemp -d)
    trap 'rm -rf "$scratch"' EXIT
    cp "$ts" "$scratch/check.ts"
    "$lupdate" -silent -I . -locations none -no-obsolete -extensions cpp,h,ui "${folders[@]}" -ts "$scratch/check.ts"
    if ! cmp -s "$ts" "$scratch/check.ts"; then
      echo "update-translations: $ts is not up to date with the sources:" >&2
      diff "$ts" "$scratch/check.ts" >&2 || true
      exit 1
    fi
  else
    "$lupdate" -I . -locations none -no-obsolete -extensions cpp,h,ui "${folders[@]}" -ts "$ts"
  fi
done
