// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/command_line_help.h"

namespace zelk {

QString HelpBoxText(const QString& help) {
  return QStringLiteral("<pre>") + help.trimmed().toHtmlEscaped() + QStringLiteral("</pre>");
}

}  // namespace zelk
