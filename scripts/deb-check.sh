#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package and proves it as a user of Debian 12 would meet it:
#   1. a Release build in build/deb and `cpack -G DEB`:
#      build/deb/programable-zelk_VERSION_amd64.deb
#   2. lintian (errors fail the check; warnings are listed) and the package's
#      dependencies, computed by dpkg-shlibdeps;
#   3. `apt-get install ./programable-zelk_VERSION_amd64.deb`, then zelkctl
#      --version, the man pages, the menu entry, the metainfo, and the
#      configurator started from the menu entry's Exec line on a private X
#      display against zelk-sim (Config., OK, Read, Quit);
#   4. `apt-get purge`, after which none of the package's files is left.
# Installs and removes a system package: run it as root, on a machine where
# programable-zelk is not installed otherwise.
#
#   scripts/deb-check.sh
# Ends with "deb-check: N passed, M failed"; exits 0 only when nothing failed.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root" || exit 1
started=$SECONDS
build="$root/build/deb"
# shellcheck source=scripts/lib/checks.sh
source "$root/scripts/lib/checks.sh"
die() {
  echo "deb-check: $*" >&2
  echo "deb-check: $passed passed, $((failed + 1)) failed"
  exit 1
}

scripts/install-deps.sh --deb --screens || die "cannot install the tools"

phase "Release build and package (build/deb)"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZELK_WARNINGS_AS_ERRORS=ON -DZELK_BUILD_TESTS=OFF \
  -DZELK_BUILD_BENCH=OFF >"$build.configure.log" 2>&1 || die "configure failed (see $build.configure.log)"
cmake --build "$build" -j "$(nproc)" || die "the build failed"
rm -f "$build"/*.deb
(cd "$build" && cpack -G DEB >cpack.log 2>&1) || die "cpack failed (see $build/cpack.log)"
deb=$(find "$build" -maxdepth 1 -name 'programable-zelk_*_amd64.deb' | head -n 1)
[[ -f "$deb" ]] || die "no programable-zelk_*_amd64.deb in $build"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
expect "the package is named programable-zelk_${version}_amd64.deb" \
  test "$(basename "$deb")" == "programable-zelk_${version}_amd64.deb"
echo "  $(basename "$deb"): $(du -h "$deb" | cut -f1)"

phase "Package contents and dependencies"
dpkg-deb -c "$deb" | awk '{ print $6 }' | sed 's|^\./|/|' >"$build/contents"
for f in /usr/bin/programable-zelk /usr/bin/zelkctl /usr/bin/zelk-sim \
  /usr/share/applications/com.quibrane.ProgramableZelk.desktop \
  /usr/share/metainfo/com.quibrane.ProgramableZelk.metainfo.xml \
  /usr/share/icons/hicolor/scalable/apps/programable-zelk.svg \
  /usr/share/icons/hicolor/48x48/apps/programable-zelk.png \
  /usr/share/icons/hicolor/256x256/apps/programable-zelk.png \
  /usr/share/man/man1/zelkctl.1.gz /usr/share/man/man1/zelk-sim.1.gz \
  /usr/share/man/man1/programable-zelk.1.gz \
  /usr/share/bash-completion/completions/zelkctl \
  /usr/share/doc/programable-zelk/copyright /usr/share/doc/programable-zelk/changelog.gz \
  /usr/share/doc/programable-zelk/CHANGELOG.md.gz; do
  expect "holds $f" grep -qxF "$f" "$build/contents"
done
depends=$(dpkg-deb -f "$deb" Depends)
echo "  Depends: $depends"
expect "depends on Qt 6 Widgets (computed by dpkg-shlibdeps)" grep -q 'libqt6widgets6' <<<"$depends"
expect "depends on the C++ runtime (computed by dpkg-shlibdeps)" grep -q 'libstdc++6' <<<"$depends"

phase "lintian"
lintian --tag-display-limit 0 "$deb" >"$build/lintian.log" 2>&1
sed 's/^/  /' "$build/lintian.log"
expect "lintian reports no error" bash -c "! grep -q '^E:' '$build/lintian.log'"

phase "apt-get install ./$(basename "$deb")"
export DEBIAN_FRONTEND=noninteractive
apt-get install -y -qq "$deb" >"$build/install.log" 2>&1
expect "apt-get install succeeds" test $? -eq 0
expect "zelkctl --version prints $version" test "$(zelkctl --version 2>&1)" == "$version"
expect "zelk-sim --version prints $version" test "$(zelk-sim --version 2>&1)" == "$version"
expect "man finds zelkctl(1)" test -n "$(man -w zelkctl 2>/dev/null)"
expect "man finds zelk-sim(1)" test -n "$(man -w zelk-sim 2>/dev/null)"
expect "the menu entry is valid" desktop-file-validate /usr/share/applications/com.quibrane.ProgramableZelk.desktop
expect "the metainfo is valid" bash -c "appstreamcli validate --no-net --no-color /usr/share/metainfo/com.quibrane.ProgramableZelk.metainfo.xml >'$build/appstream.log' 2>&1"
exec_line=$(sed -n 's/^Exec=//p' /usr/share/applications/com.quibrane.ProgramableZelk.desktop)
expect "the menu entry starts the installed program" test "$(command -v "${exec_line%% *}")" == /usr/bin/programable-zelk

phase "The installed configurator from its menu entry, against zelk-sim"
(
  ZC_NAME=deb-check
  # shellcheck disable=SC2206  # the Exec line is a command line
  ZC_APP_CMD=($exec_line)
  # shellcheck source=scripts/lib/drive-configurator.sh
  source "$root/scripts/lib/drive-configurator.sh"
  zc_init "$build"
  ZC_BIN_SIM=/usr/bin/zelk-sim
  zc_start_display
  zc_start_sim
  zc_start_app
  zc_config_ok
  zc_close_version
  zc_read
  zc_focus "$ZC_MAIN_WIN"
  xdotool key --clearmodifiers alt+q
  zc_wait_until "the program to end" "! kill -0 $ZC_APP_PID 2>/dev/null"
  wait "$ZC_APP_PID"
)
expect "it connects, reads, polls and quits" test $? -eq 0

phase "apt-get purge programable-zelk"
dpkg -L programable-zelk >"$build/installed-files"
apt-get purge -y -qq programable-zelk >"$build/purge.log" 2>&1
expect "apt-get purge succeeds" test $? -eq 0
left=()
while IFS= read -r f; do
  # Folders the package shares with the system (/usr/bin, ...) stay.
  [[ -e "$f" && ! -d "$f" ]] && left+=("$f")
done <"$build/installed-files"
((${#left[@]})) && printf "        left: %s\n" "${left[@]:0:10}"
expect "none of the package's files is left" test "${#left[@]}" -eq 0
expect "the package is gone from dpkg's list" bash -c "! dpkg -s programable-zelk >/dev/null 2>&1"

echo
echo "deb-check: done in $((SECONDS - started))s"
echo "deb-check: $passed passed, $failed failed"
((failed == 0))
