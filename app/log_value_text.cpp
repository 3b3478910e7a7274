// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/log_value_text.h"

#include <QLocale>
#include <cmath>

#include "app/translation.h"
#include "monitor/live_series.h"

namespace zelk {

namespace {

// Beyond this a whole number reads better than an exponent.
constexpr double kWholeFrom = 100000;
constexpr int kSignificantDigits = 6;

}  // namespace

// The log's columns are the live series, in the same order.
static_assert(kLogValueCount == kLiveSeriesCount);

QString LogValueName(LogValue value) {
  return Translated("Monitor", kLiveSeries.at(static_cast<std::size_t>(value)).label);
}

QString LogValueUnit(LogValue value) {
  return Translated("Monitor", kLiveSeries.at(static_cast<std::size_t>(value)).unit);
}

QString LogValueLabel(LogValue value) {
  return QStringLiteral("%1 (%2)").arg(LogValueName(value), LogValueUnit(value));
}

QString LogNumberText(double value) {
  if (std::isnan(value)) return {};
  QLocale locale;
  locale.setNumberOptions(QLocale::OmitGroupSeparator);
  if (std::fabs(value) >= kWholeFrom) return locale.toString(value, 'f', 0);
  return locale.toString(value, 'g', kSignificantDigits);
}

QString ElapsedText(double seconds) {
  if (std::isnan(seconds)) return {};
  const bool negative = seconds < 0;
  const long long ms = std::llround(std::fabs(seconds) * 1000);
  const QLocale locale;
  const QString text = QStringLiteral("%1:%2:%3%4%5")
                           .arg(ms / 3600000)
                           .arg(ms / 60000 % 60, 2, 10, QLatin1Char('0'))
                           .arg(ms / 1000 % 60, 2, 10, QLatin1Char('0'))
                           .arg(locale.decimalPoint())
                           .arg(ms % 1000, 3, 10, QLatin1Char('0'));
  return negative ? QStringLiteral("-") + text : text;
}

}  // namespace zelk
