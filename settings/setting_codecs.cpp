// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/setting_codecs.h"

#include <array>
#include <cmath>

#include "settings/number_text.h"
#include "settings/temperature.h"

namespace zelk {

namespace {

// The module's tools scale with these exact constants; the write side uses the
// reciprocal constants as given rather than a division, so stored counts match
// what the module has always received.
constexpr double kColdStartMsPerCount = 0.82;
constexpr double kColdStartCountsPerMs = 1.2195121951219512;
constexpr double kAdjustSecondsPerCount = 0.21;
constexpr double kAdjustCountsPerSecond = 4.761904761904762;
constexpr double kThrottleUsPerCount = 0.8;
constexpr double kThrottleCountsPerUs = 1.25;

std::string ColdStartShown(std::uint32_t raw, char sep) {
  return FixedText(raw * kColdStartMsPerCount, 0, 0, sep);
}
double ColdStartStored(double ms) {
  return ms * kColdStartCountsPerMs;
}

std::string TemperatureShown(std::uint32_t raw, char sep) {
  return GeneralText(TemperatureFromByte(kEngineSensor, static_cast<std::uint8_t>(raw)), sep);
}
double TemperatureStored(double degrees) {
  // Whole degrees come from an integer conversion; anything else cannot be stored.
  if (!(degrees >= -2147483648.0 && degrees <= 2147483647.0)) return std::nan("");
  return TemperatureToByte(kEngineSensor, static_cast<int>(degrees));
}

std::string Percent64Shown(std::uint32_t raw, char sep) {
  return GeneralText(raw * 100 * 0.015625, sep);
}
double Percent64Stored(double percent) {
  return percent * 64 * 0.01;
}

std::string AdjustTimeShown(std::uint32_t raw, char /*sep*/) {
  return IntegerText(static_cast<long long>(std::trunc(raw * kAdjustSecondsPerCount)));
}
double AdjustTimeStored(double seconds) {
  return seconds * kAdjustCountsPerSecond;
}

std::string LambdaShown(std::uint32_t raw, char /*sep*/) {
  return IntegerText(static_cast<long long>(raw) * 5000 / 255);
}
double LambdaStored(double millivolts) {
  return millivolts * 255 * 0.0002;
}

std::string ThrottleShown(std::uint32_t raw, char sep) {
  return GeneralText(raw * kThrottleUsPerCount, sep);
}
double ThrottleStored(double microseconds) {
  return microseconds * kThrottleCountsPerUs;
}

struct CodecFunctions {
  std::string (*shown)(std::uint32_t raw, char sep);
  double (*stored)(double value);
};

// In the order of the Codec enumerators.
constexpr std::array<CodecFunctions, 6> kCodecs{{
    {ColdStartShown, ColdStartStored},
    {TemperatureShown, TemperatureStored},
    {Percent64Shown, Percent64Stored},
    {AdjustTimeShown, AdjustTimeStored},
    {LambdaShown, LambdaStored},
    {ThrottleShown, ThrottleStored},
}};

const CodecFunctions& FunctionsOf(Codec codec) {
  return kCodecs.at(static_cast<std::size_t>(codec));
}

}  // namespace

std::string ShownText(Codec codec, std::uint32_t raw, char decimal_separator) {
  return FunctionsOf(codec).shown(raw, decimal_separator);
}

double StoredCount(Codec codec, double value) {
  return FunctionsOf(codec).stored(value);
}

}  // namespace zelk
