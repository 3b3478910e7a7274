// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLocale>

namespace zelk {

// The user's decimal separator as the Qt-free number texts take it.
inline char DecimalSeparatorOf(const QLocale& locale) {
  const QString point = locale.decimalPoint();
  if (point.size() == 1 && point.at(0).unicode() < 0x80) return point.at(0).toLatin1();
  return '.';
}

}  // namespace zelk
