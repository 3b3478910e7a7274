// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The About box: the program, its version, the Qt it runs on, its licence,
// and the module's version while one is connected.

#include <QCoreApplication>
#include <QString>

namespace zelk {

inline QString AboutTitle() {
  return QCoreApplication::translate("About", "About Programable Zelk");
}

// `module_version` empty: no module connected.
inline QString AboutText(const QString& program_version, const QString& qt_version,
                         const QString& module_version) {
  QString text = QCoreApplication::translate(
                     "About",
                     "Programable Zelk %1\n"
                     "The configurator of the Zelk flex-fuel injection module.\n\n"
                     "Qt %2\n"
                     "Licence: GPL-3.0-or-later. This program comes with "
                     "ABSOLUTELY NO WARRANTY; you may redistribute it under the "
                     "terms of the GNU General Public License, version 3 or later.\n\n")
                     .arg(program_version, qt_version);
  text += module_version.isEmpty()
              ? QCoreApplication::translate("About", "Module: not connected")
              : QCoreApplication::translate("About", "Module version: %1").arg(module_version);
  return text;
}

}  // namespace zelk
