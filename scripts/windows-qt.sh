#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Qt 6 (qtbase only) for 64-bit Windows from Debian's qt6-base source
# package with mingw-w64, and installs it into a cache outside the source tree:
#   ${ZELK_QT_WIN_PREFIX:-<cache>/qt6-mingw64-<version>}, both named in cmake/windows-qt.env
# A stamp in the prefix records the configure options; a second run with the
# same options does nothing. Only Debian packages are downloaded.
#
#   scripts/windows-qt.sh            build (or say it is up to date)
#   scripts/windows-qt.sh --check    exit 0 when the cache is up to date, 1 if not
#
# Environment: ZELK_QT_WIN_PREFIX (install prefix), ZELK_QT_WIN_WORK (source and
# build folder, default beside the prefix), ZELK_QT_WIN_JOBS (default nproc).
# It takes long (about 1,100 build steps); it prints progress as it goes.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$PWD"

source cmake/windows-qt.env
qt_version=$ZELK_QT_WIN_VERSION
prefix="${ZELK_QT_WIN_PREFIX:-$ZELK_QT_WIN_CACHE/qt6-mingw64-$qt_version}"
work="${ZELK_QT_WIN_WORK:-$(dirname "$prefix")/qt6-mingw64-$qt_version-work}"
jobs="${ZELK_QT_WIN_JOBS:-$(nproc)}"
stamp="$prefix/zelk-qt.stamp"
toolchain_src="$root/cmake/mingw-w64-x86_64-qt.cmake"

# What we do not use is switched off: fewer build steps, nothing to ship that
# needs sources Debian does not serve here (wintab for tablet events).
options=(
  -DCMAKE_BUILD_TYPE=Release
  -DBUILD_SHARED_LIBS=ON -DQT_BUILD_TESTS=OFF -DQT_BUILD_EXAMPLES=OFF
  -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_opengl=OFF -DFEATURE_dynamicgl=OFF
  -DFEATURE_dbus=OFF -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_vulkan=OFF
  -DFEATURE_tabletevent=OFF -DFEATURE_zstd=OFF
  -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_png=OFF
  -DFEATURE_system_jpeg=OFF -DFEATURE_system_freetype=OFF -DFEATURE_system_harfbuzz=OFF
  -DFEATURE_system_doubleconversion=OFF
)
stamp_text() {
  printf 'qtbase %s for x86_64-w64-mingw32\n' "$qt_version"
  printf '%s\n' "${options[@]}"
  sha256sum <"$toolchain_src" | cut -d' ' -f1
}

if [[ "${1:-}" == "--check" ]]; then
  [[ -f "$stamp" && "$(cat "$stamp")" == "$(stamp_text)" ]]
  exit
fi
if [[ -f "$stamp" && "$(cat "$stamp")" == "$(stamp_text)" ]]; then
  echo "windows-qt: Qt $qt_version for Windows is up to date in $prefix"
  exit 0
fi

started=$SECONDS
say() { printf 'windows-qt: [%dm%02ds] %s\n' $(((SECONDS - started) / 60)) $(((SECONDS - started) % 60)) "$*"; }

say "installing the tools (mingw-w64, Debian's host Qt tools, dpkg-dev)"
scripts/install-deps.sh --windows --windows-qt

# --- source: Debian's qt6-base through a private apt configuration ----------
apt_dir="$work/apt"
src_dir="$work/src"
if [[ ! -f "$src_dir/.unpacked" ]]; then
  say "fetching Debian's qt6-base source package"
  rm -rf "$apt_dir" "$src_dir"
  mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$src_dir"
  # The machine's own Debian entries, as source entries, in a folder of ours:
  # the machine's apt configuration stays as it is.
  mkdir -p "$apt_dir/sources"
  if [[ -f /etc/apt/sources.list.d/debian.sources ]]; then
    sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources \
      >"$apt_dir/sources/debian-src.sources"
  fi
  if [[ -f /etc/apt/sources.list ]]; then
    sed -n 's/^deb /deb-src /p' /etc/apt/sources.list >"$apt_dir/sources/debian-src.list"
  fi
  apt_opts=(-o "Dir::Etc::SourceList=/dev/null" -o "Dir::Etc::SourceParts=$apt_dir/sources"
    -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache")
  apt-get "${apt_opts[@]}" update -qq
  (cd "$src_dir" && apt-get "${apt_opts[@]}" source -qq --download-only qt6-base)
  tarball=$(find "$src_dir" -maxdepth 1 -name 'qt6-base_*.orig.tar.*' | head -n 1)
  [[ -n "$tarball" ]] || { echo "windows-qt: no qt6-base tarball was fetched" >&2; exit 1; }
  say "unpacking $(basename "$tarball")"
  tar -xf "$tarball" -C "$src_dir"
  touch "$src_dir/.unpacked"
fi
qt_src=$(find "$src_dir" -mindepth 1 -maxdepth 1 -type d -name 'qtbase*' | head -n 1)
[[ -f "$qt_src/CMakeLists.txt" ]] || { echo "windows-qt: no qtbase source in $src_dir" >&2; exit 1; }

# --- configure, build, install ----------------------------------------------
# The installed qt.toolchain.cmake refers to the toolchain Qt was built with by
# path, so that toolchain lives in the prefix, not in this checkout.
rm -f "$stamp"
mkdir -p "$prefix"
cp "$toolchain_src" "$prefix/mingw-w64-x86_64-qt.cmake"
build="$work/build"
log="$work/build.log"
if [[ ! -f "$build/build.ninja" ]]; then
  say "configuring qtbase ($qt_src)"
  rm -rf "$build"
  cmake -S "$qt_src" -B "$build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$prefix/mingw-w64-x86_64-qt.cmake" \
    -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    "${options[@]}" >"$work/configure.log" 2>&1 || {
    tail -n 30 "$work/configure.log" >&2
    echo "windows-qt: configure failed (see $work/configure.log)" >&2
    exit 1
  }
fi
say "building with $jobs jobs (log: $log)"
# One progress line every 50 steps; compiler errors go through whole.
cmake --build "$build" -j "$jobs" 2>&1 | tee "$log" | while IFS= read -r line; do
  if [[ "$line" =~ ^\[([0-9]+)/([0-9]+)\] ]]; then
    step=${BASH_REMATCH[1]} total=${BASH_REMATCH[2]}
    if ((step % 50 == 0 || step == total)); then say "step $step of $total"; fi
  elif [[ "$line" == *error* || "$line" == FAILED* ]]; then
    printf '%s\n' "$line"
  fi
done
say "installing into $prefix"
cmake --install "$build" >"$work/install.log" 2>&1 || {
  tail -n 20 "$work/install.log" >&2
  exit 1
}
stamp_text >"$stamp"
say "done: Qt $qt_version for Windows in $prefix ($(du -sh "$prefix" | cut -f1)), in $((SECONDS - started)) s"
