# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package: cpack -G DEB in a Release build (scripts/deb-check.sh).
# Dependencies are computed from the binaries by dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME programable-zelk)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Quibrane)
set(CPACK_PACKAGE_CONTACT "Programable Zelk maintainers <maintainers@programable-zelk.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configurator of the Zelk flex-fuel injection module")
# CPack puts the summary first and indents each further line itself.
set(CPACK_PACKAGE_DESCRIPTION
    "Programable Zelk connects to a Zelk flex-fuel injection module on a serial
port: it shows the module's version, reads, edits (with range checks) and
writes its settings, shows the live engine values, sets the idle RPM and the
RPM calibration factor, and starts the module's calibration programs.
.
The package also holds zelkctl, the same link for the shell, and zelk-sim,
a simulated module on a pseudo-terminal.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
