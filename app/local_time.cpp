// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/local_time.h"

#include <QDateTime>

#include "app/qt_text.h"

namespace zelk {

QString LocalTimeText(std::string_view utc) {
  const QString text = ToQString(utc);
  QDateTime time = QDateTime::fromString(text, Qt::ISODate);
  if (!time.isValid() || time.timeSpec() != Qt::UTC) return text;
  return time.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QString LocalTimeOfMs(std::int64_t utc_ms) {
  return QDateTime::fromMSecsSinceEpoch(utc_ms, Qt::UTC)
      .toLocalTime()
      .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
}

}  // namespace zelk
