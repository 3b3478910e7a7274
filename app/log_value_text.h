// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The texts of a log's values in the review window: each value's name with
// its unit, as the live chart names it, and numbers as the user's locale
// writes them.

#include <QString>

#include "monitor/log_reader.h"

namespace zelk {

// "RPM (1/min)"; its parts "RPM" and "1/min".
QString LogValueLabel(LogValue value);
QString LogValueName(LogValue value);
QString LogValueUnit(LogValue value);

// Six significant digits (whole numbers from 100,000 up), in the locale's
// decimal separator; empty for no value (NaN).
QString LogNumberText(double value);

// Seconds since the log's start as "1:02:03.500" (a minus sign before a
// negative difference).
QString ElapsedText(double seconds);

}  // namespace zelk
