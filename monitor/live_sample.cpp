// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/live_sample.h"

#include <algorithm>

#include "monitor/decoders.h"
#include "settings/number_text.h"
#include "settings/temperature.h"

namespace zelk {

namespace {

std::uint16_t WordAt(LiveBlockBytes block, std::size_t low) {
  return static_cast<std::uint16_t>(block[low] | (block[low + 1] << 8));
}

LiveBlock Copy(LiveBlockBytes block) {
  LiveBlock raw{};
  std::copy(block.begin(), block.end(), raw.begin());
  return raw;
}

// "%3.2f"
std::string MapText(double volts, char sep) {
  return FixedText(volts, 2, 3, sep);
}

}  // namespace

LiveSample DecodePollSample(LiveBlockBytes block, std::optional<int> calibration_factor) {
  using namespace poll_block;
  LiveSample sample;
  if (calibration_factor)
    sample.rpm = RpmFromPeriod(WordAt(block, kPeriodLow), *calibration_factor);
  sample.injection_ms = InjectionTimeFromWord(WordAt(block, kInjectionLow));
  sample.correction_pct = CorrectionFromByte(block[kCorrection]);
  sample.temperature_c = TemperatureFromByte(kEngineSensor, block[kTemperature]);
  sample.map_v = MapFromByte(block[kMap]);
  sample.lambda_mv = LambdaFromByte(block[kLambda]);
  sample.raw = Copy(block);
  return sample;
}

InstantSample DecodeInstantSample(LiveBlockBytes block) {
  using namespace instant_block;
  InstantSample sample;
  sample.correction_pct = CorrectionFromByte(block[kCorrection]);
  sample.temperature_c = TemperatureFromByte(kEngineSensor, block[kTemperature]);
  sample.map_v = MapFromByte(block[kMap]);
  sample.lambda_mv = LambdaFromByte(block[kLambda]);
  sample.raw = Copy(block);
  return sample;
}

LiveTexts FormatLiveSample(const LiveSample& sample, char decimal_separator) {
  return {
      GeneralText(sample.temperature_c, decimal_separator),
      MapText(sample.map_v, decimal_separator),
      IntegerText(sample.lambda_mv),
      IntegerText(sample.correction_pct),
      sample.rpm ? FixedText(*sample.rpm, 0, 0, decimal_separator) : "0",
      FixedText(sample.injection_ms, 1, 0, decimal_separator),
  };
}

InstantTexts FormatInstantSample(const InstantSample& sample, char decimal_separator) {
  return {
      GeneralText(sample.temperature_c, decimal_separator),
      MapText(sample.map_v, decimal_separator),
      IntegerText(sample.lambda_mv),
      IntegerText(sample.correction_pct),
  };
}

}  // namespace zelk
