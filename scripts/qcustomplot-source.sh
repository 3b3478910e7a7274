#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Fetches Debian's qcustomplot source package (the plotting library of the
# live chart) into a cache outside the source tree, the same source for the
# Linux and the Windows builds:
#   ${ZELK_QCUSTOMPLOT_DIR:-/var/cache/programable-zelk/qcustomplot}/src
# holding qcustomplot.h, qcustomplot.cpp and the licence. A stamp records what
# was unpacked; a second run with the stamp in place does nothing. Only
# Debian's archive is asked, through an apt configuration of our own (the
# machine's apt configuration stays as it is).
#
#   scripts/qcustomplot-source.sh          fetch (or say it is there)
#   scripts/qcustomplot-source.sh --check  exit 0 when the source is there
set -euo pipefail

cache="${ZELK_QCUSTOMPLOT_DIR:-/var/cache/programable-zelk/qcustomplot}"
src="$cache/src"
stamp="$cache/zelk-qcustomplot.stamp"

have_source() {
  [[ -f "$stamp" && -f "$src/qcustomplot.h" && -f "$src/qcustomplot.cpp" ]]
}
if [[ "${1:-}" == "--check" ]]; then
  have_source
  exit
fi
if have_source; then
  echo "qcustomplot-source: $(cat "$stamp") in $src"
  exit 0
fi

command -v dpkg-source >/dev/null || {
  echo "qcustomplot-source: dpkg-source is missing (apt-get install dpkg-dev)" >&2
  exit 1
}
work="$cache/work"
apt_dir="$work/apt"
rm -rf "$work" "$src"
mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$apt_dir/sources" "$work/pkg"
# The machine's own Debian entries, as source entries, in a folder of ours.
if [[ -f /etc/apt/sources.list.d/debian.sources ]]; then
  sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources \
    >"$apt_dir/sources/debian-src.sources"
fi
if [[ -f /etc/apt/sources.list ]]; then
  sed -n 's/^deb /deb-src /p' /etc/apt/sources.list >"$apt_dir/sources/debian-src.list"
fi
apt_opts=(-o "Dir::Etc::SourceList=/dev/null" -o "Dir::Etc::SourceParts=$apt_dir/sources"
  -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache")
echo "qcustomplot-source: fetching Debian's qcustomplot source package"
apt-get "${apt_opts[@]}" update -qq
(cd "$work/pkg" && apt-get "${apt_opts[@]}" source -qq --download-only qcustomplot)
dsc=$(find "$work/pkg" -maxdepth 1 -name 'qcustomplot_*.dsc' | head -n 1)
[[ -n "$dsc" ]] || {
  echo "qcustomplot-source: no qcustomplot source package was fetched" >&2
  exit 1
}
# Unpacked with Debian's patches applied, as Debian builds it.
dpkg-source --no-check -x "$dsc" "$work/unpacked" >/dev/null
header=$(find "$work/unpacked" -name qcustomplot.h -not -path '*/examples/*' | head -n 1)
[[ -n "$header" ]] || {
  echo "qcustomplot-source: no qcustomplot.h in $(basename "$dsc")" >&2
  exit 1
}
top=$(dirname "$header")
mkdir -p "$src"
cp "$top/qcustomplot.h" "$top/qcustomplot.cpp" "$src/"
for licence in GPL.txt LICENSE COPYING; do
  found=$(find "$work/unpacked" -maxdepth 2 -name "$licence" | head -n 1)
  [[ -n "$found" ]] && cp "$found" "$src/"
done
cp "$work/unpacked/debian/copyright" "$src/debian-copyright" 2>/dev/null || true
basename "$dsc" .dsc >"$stamp"
rm -rf "$work"
echo "qcustomplot-source: $(cat "$stamp") in $src"
