#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian 12 packages the build needs, only when some are missing.
#   scripts/install-deps.sh           build and run (Qt, GoogleTest, toolchain)
#   scripts/install-deps.sh --windows also the mingw-w64 cross compiler and wine
#   scripts/install-deps.sh --windows-qt also what Qt for Windows and the Windows package are built with
#   scripts/install-deps.sh --fuzz    also clang with its libFuzzer and sanitizer runtimes
#   scripts/install-deps.sh --deb     also what builds and checks the Debian package
#   scripts/install-deps.sh --screens also what the screenshot and GUI bench scripts drive X with
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6svg6 qt6-svg-dev libgl-dev
  qt6-l10n-tools qt6-translations-l10n  # lrelease; Qt's own pt_BR texts
  libgtest-dev libgmock-dev googletest
  nlohmann-json3-dev
  dpkg-dev  # unpacks the QCustomPlot source package (scripts/qcustomplot-source.sh)
  fonts-liberation2 fonts-wine
  xvfb xauth
  appstream desktop-file-utils librsvg2-bin
  poppler-utils  # pdftotext: the customer report's text checked from its PDF
)
for extra in "$@"; do
  case "$extra" in
    --windows) packages+=(g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix wine wine64) ;;
    --windows-qt) packages+=(dpkg-dev xz-utils librsvg2-bin icoutils nsis zip) ;;
    --fuzz) packages+=(clang libclang-rt-14-dev) ;;
    --deb) packages+=(dpkg-dev lintian fakeroot man-db) ;;
    --screens) packages+=(xdotool imagemagick x11-utils openbox) ;;
    *) echo "install-deps.sh: unknown option $extra" >&2; exit 2 ;;
  esac
done

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [[ $(id -u) -ne 0 ]] && SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
