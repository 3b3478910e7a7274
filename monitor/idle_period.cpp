// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/idle_period.h"

#include <cmath>

#include "monitor/decoders.h"
#include "settings/number_text.h"
#include "text/fill.h"
#include "text/translatable.h"

namespace zelk {

std::string DecodeIdleRpm(ConstSettingsBytes block, char decimal_separator) {
  const auto rpm = RpmFromPeriod(ReadWord(block, kIdlePeriodOffset), 1);
  return rpm ? FixedText(*rpm, 0, 0, decimal_separator) : "0";
}

EncodeResult EncodeIdleRpm(std::string_view rpm_text, std::string_view cal_text,
                           char decimal_separator, SettingsBytes block) {
  const auto rpm = ParseDecimal(rpm_text, decimal_separator);
  if (!rpm) return EncodeResult::Failure(NotAValidNumberMessage(rpm_text, false));
  const auto cal = ParseInteger(cal_text);
  if (!cal) return EncodeResult::Failure(NotAValidNumberMessage(cal_text, true));

  const std::string rpm_shown(rpm_text);
  if (*rpm == 0.0) {
    return EncodeResult::Failure(
        QT_TRANSLATE_NOOP("Monitor", "Idle RPM 0 has no idle period: division by zero"));
  }
  if (*cal == 0) {
    return EncodeResult::Failure(
        QT_TRANSLATE_NOOP("Monitor", "RPM factor 0 gives no idle period: division by zero"));
  }
  if (*rpm < 0.0) {
    return EncodeResult::Failure(Fill(
        QT_TRANSLATE_NOOP("Monitor", "Idle RPM %1 is not valid: it must be above 0"), {rpm_shown}));
  }
  if (*cal < 0) {
    return EncodeResult::Failure(
        Fill(QT_TRANSLATE_NOOP("Monitor", "RPM factor %1 is not valid: it must be above 0"),
             {IntegerText(*cal)}));
  }

  const double period = 60000000 / *rpm / (*cal * 1.6);
  const auto whole = RoundToWhole(period);
  if (!whole || *whole > 0xFFFF) {
    if (!std::isfinite(period)) {
      return EncodeResult::Failure(
          Fill(QT_TRANSLATE_NOOP(
                   "Monitor",
                   "Idle RPM %1 is too low: the module's idle period would be unbounded, beyond "
                   "65535"),
               {rpm_shown}));
    }
    return EncodeResult::Failure(
        Fill(QT_TRANSLATE_NOOP(
                 "Monitor",
                 "Idle RPM %1 is too low: the module's idle period would be %2, beyond 65535"),
             {rpm_shown, GeneralText(std::round(period), '.')}));
  }
  // A period of 0 is one no read can turn back into an idle speed.
  if (*whole == 0) {
    return EncodeResult::Failure(
        Fill(QT_TRANSLATE_NOOP("Monitor",
                               "Idle RPM %1 is too high: the module's idle period would be 0"),
             {rpm_shown}));
  }
  WriteWord(block, kIdlePeriodOffset, static_cast<std::uint16_t>(*whole));
  return {};
}

}  // namespace zelk
