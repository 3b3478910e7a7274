// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/idle_period.h"

#include <cmath>

#include "monitor/decoders.h"
#include "monitor/idle_rpm.h"
#include "settings/number_text.h"
#include "text/fill.h"
#include "text/translatable.h"

namespace zelk {

namespace {

// The idle RPM a read back shows for `period` at the factor it was written with.
bool ShowsWithinTheButtonsLimits(std::int64_t period, int cal) {
  const auto rpm = RpmFromPeriod(static_cast<std::uint16_t>(period), cal);
  if (!rpm) return false;
  const auto shown = ParseDecimal(FixedText(*rpm, 0, 0, '.'), '.');
  return shown && *shown >= kIdleRpmMin && *shown <= kIdleRpmMax;
}

// An RPM the buttons can reach is stored as the period nearest to its exact
// one that reads back inside the buttons' limits, so the window never shows
// an idle speed its own buttons could not have set.
std::int64_t NearestPeriodWithinLimits(double rpm, int cal, double period, std::int64_t rounded) {
  if (rpm < kIdleRpmMin || rpm > kIdleRpmMax || ShowsWithinTheButtonsLimits(rounded, cal)) {
    return rounded;
  }
  // The limits lie a fraction of a period away: a few steps are plenty.
  constexpr std::int64_t kFarthest = 16;
  for (std::int64_t distance = 1; distance <= kFarthest; ++distance) {
    std::int64_t first = rounded - distance;
    std::int64_t second = rounded + distance;
    if (std::abs(static_cast<double>(second) - period) <
        std::abs(static_cast<double>(first) - period)) {
      std::swap(first, second);
    }
    for (const std::int64_t candidate : {first, second}) {
      if (candidate > 0 && candidate <= 0xFFFF && ShowsWithinTheButtonsLimits(candidate, cal)) {
        return candidate;
      }
    }
  }
  return rounded;
}

}  // namespace

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

  // Two ignition pulses a turn: half a tick a pulse per unit of the factor.
  const double period = 60000000 / *rpm / (*cal * (kTimerTickMicroseconds / 2));
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
  const std::int64_t stored =
      NearestPeriodWithinLimits(*rpm, static_cast<int>(*cal), period, *whole);
  WriteWord(block, kIdlePeriodOffset, static_cast<std::uint16_t>(stored));
  return {};
}

}  // namespace zelk
