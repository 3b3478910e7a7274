#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Windows configurator and zelkctl against the Qt of
# scripts/windows-qt.sh, and packages them:
#   build/windows-package/ProgramableZelk-VERSION-win64/         the portable folder
#   build/windows-package/ProgramableZelk-VERSION-win64.zip      the same, zipped
#   build/windows-package/ProgramableZelk-VERSION-win64-setup.exe the NSIS installer
# The folder holds everything the programs need on a Windows with nothing else
# installed: the Qt DLLs and plugins they load, the mingw runtime DLLs those
# import, a README and the licence texts. Executables and DLLs are stripped.
#
#   scripts/windows-package.sh        (builds Qt for Windows first if its cache is missing)
set -euo pipefail
cd "$(dirname "$0")/.."
root="$PWD"
started=$SECONDS
say() { printf 'windows-package: [%ds] %s\n' $((SECONDS - started)) "$*"; }
die() { echo "windows-package: $*" >&2; exit 1; }

scripts/install-deps.sh --windows --windows-qt
scripts/windows-qt.sh
source cmake/windows-qt.env
qt_prefix="${ZELK_QT_WIN_PREFIX:-$ZELK_QT_WIN_CACHE/qt6-mingw64-$ZELK_QT_WIN_VERSION}"
qt_src=$(find "${ZELK_QT_WIN_WORK:-$(dirname "$qt_prefix")/qt6-mingw64-$ZELK_QT_WIN_VERSION-work}/src" \
  -mindepth 1 -maxdepth 1 -type d -name 'qtbase*' | head -n 1)
[[ -d "$qt_src/LICENSES" ]] || die "the Qt source (for its licence texts) is missing: remove $qt_prefix/zelk-qt.stamp and run scripts/windows-qt.sh"

say "building the configurator and zelkctl for Windows (build/windows-x64-gui)"
cmake --preset windows-x64-gui >/dev/null
cmake --build --preset windows-x64-gui -j "$(nproc)"
build="$root/build/windows-x64-gui"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
[[ -n "$version" ]] || die "no project version in $build/CMakeCache.txt"

name="ProgramableZelk-$version-win64"
out="$root/build/windows-package"
stage="$out/$name"
say "laying out $stage"
rm -rf "$stage" "$out/$name.zip" "$out/$name-setup.exe"
mkdir -p "$stage/platforms" "$stage/styles" "$stage/licenses"
cp "$build/app/programable-zelk.exe" "$build/cli/zelkctl.exe" "$stage/"
# Plugins Qt loads at start: the Windows platform (mandatory) and the native
# look. The icons are PNG, which Qt reads without an image-format plugin.
cp "$qt_prefix/plugins/platforms/qwindows.dll" "$stage/platforms/"
cp "$qt_prefix/plugins/styles/qwindowsvistastyle.dll" "$stage/styles/"

# DLLs: everything the executables and plugins import, found in the Qt prefix
# or the mingw-w64 runtime, until nothing new turns up. What is found in
# neither must be a Windows system DLL (wine ships a builtin of each).
dll_dirs=("$qt_prefix/bin" /usr/lib/gcc/x86_64-w64-mingw32/12-posix /usr/x86_64-w64-mingw32/lib)
system_dlls=/usr/lib/x86_64-linux-gnu/wine/x86_64-windows
imports() { x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^\s*DLL Name: //p'; }
changed=1
while ((changed)); do
  changed=0
  while IFS= read -r pe; do
    while IFS= read -r dll; do
      [[ -e "$stage/$dll" ]] && continue
      found=""
      for dir in "${dll_dirs[@]}"; do
        [[ -f "$dir/$dll" ]] && { found="$dir/$dll"; break; }
      done
      if [[ -n "$found" ]]; then
        cp "$found" "$stage/"
        changed=1
      elif [[ ! -f "$system_dlls/${dll,,}" && "${dll,,}" != api-ms-win-* ]]; then
        die "$(basename "$pe") needs $dll, which is neither in Qt, the mingw runtime nor Windows"
      fi
    done < <(imports "$pe")
  done < <(find "$stage" -name '*.exe' -o -name '*.dll')
done
x86_64-w64-mingw32-strip --strip-unneeded $(find "$stage" -name '*.exe' -o -name '*.dll')

sed "s/@VERSION@/$version/g" packaging/windows/README.txt | sed 's/$/\r/' >"$stage/README.txt"
cp LICENSE "$stage/licenses/Programable-Zelk-GPL-3.0-or-later.txt"
for f in LGPL-3.0-only GPL-3.0-only GPL-2.0-only Qt-GPL-exception-1.0; do
  cp "$qt_src/LICENSES/$f.txt" "$stage/licenses/Qt-$f.txt"
done
# The third-party code compiled into this Qt build.
for lib in zlib freetype harfbuzz-ng libpng libjpeg pcre2 double-conversion md4c pixman easing icc; do
  for f in "$qt_src/src/3rdparty/$lib"/{LICENSE,LICENCE,COPYING,LICENSE.txt,LICENSE.md,FTL.TXT,docs/FTL.TXT,ijg-license.txt}; do
    [[ -f "$f" ]] && cp "$f" "$stage/licenses/Qt-3rdparty-$lib-$(basename "$f")"
  done
done
cp /usr/share/doc/gcc-mingw-w64-base/copyright "$stage/licenses/GCC-runtime-copyright.txt"
# QCustomPlot (the live chart) is compiled into the configurator.
qcp_src="${ZELK_QCUSTOMPLOT_DIR:-$ZELK_QT_WIN_CACHE/qcustomplot}/src"
cp "$qcp_src/debian-copyright" "$stage/licenses/QCustomPlot-copyright.txt"
cp /usr/share/doc/mingw-w64-common/copyright "$stage/licenses/mingw-w64-copyright.txt"

say "zipping"
(cd "$out" && zip -qr -9 "$name.zip" "$name")

say "building the installer"
files="$out/installer-files.nsh"
unfiles="$out/installer-unfiles.nsh"
# File lines folder by folder; the uninstaller deletes exactly those files,
# then the folders, deepest first.
: >"$files"
: >"$unfiles"
while IFS= read -r dir; do
  rel="${dir#"$stage"}"
  rel="${rel#/}"
  win="${rel//\//\\}"
  printf 'SetOutPath "$INSTDIR%s"\n' "${win:+\\$win}" >>"$files"
  find "$dir" -maxdepth 1 -type f -printf '%f\n' | sort | while IFS= read -r f; do
    printf 'File "%s/%s"\n' "$dir" "$f" >>"$files"
    printf 'Delete "$INSTDIR\\%s%s"\n' "${win:+$win\\}" "$f" >>"$unfiles"
  done
done < <(find "$stage" -type d | sort)
printf 'SetOutPath "$INSTDIR"\n' >>"$files"
find "$stage" -mindepth 1 -type d | sort -r | while IFS= read -r dir; do
  rel="${dir#"$stage"/}"
  printf 'RMDir "$INSTDIR\\%s"\n' "${rel//\//\\}" >>"$unfiles"
done
makensis -V2 -DVERSION="$version" -DSTAGE="$stage" -DOUTFILE="$out/$name-setup.exe" \
  -DFILES="$files" -DUNFILES="$unfiles" packaging/windows/installer.nsi

size() { du -h "$1" | cut -f1; }
say "done in $((SECONDS - started)) s:"
echo "  $stage ($(du -sh "$stage" | cut -f1), $(find "$stage" -type f | wc -l) files)"
echo "  $out/$name.zip ($(size "$out/$name.zip"))"
echo "  $out/$name-setup.exe ($(size "$out/$name-setup.exe"))"
