#include "monitor/live_blocks.h"

#include "monitor/decoders.h"
#include "settings/number_text.h"
#include "settings/temperature.h"

namespace zelk {

namespace {

std::uint16_t WordAt(LiveBlockBytes block, std::size_t low) {
  return static_cast<std::uint16_t>(block[low] | (block[low + 1] << 8));
}

std::string TemperatureText(std::uint8_t byte, char sep) {
  return GeneralText(TemperatureFromByte(kEngineSensor, byte), sep);
}

std::string MapText(std::uint8_t byte, char sep) {
  return FixedText(MapFromByte(byte), 2, 3, sep);
}

std::string RpmText(std::uint16_t period, std::string_view cal_text, char sep) {
  const auto cal = ParseInteger(cal_text);
  if (!cal) return "0";
  const auto rpm = RpmFromPeriod(period, *cal);
  return rpm ? FixedText(*rpm, 0, 0, sep) : "0";
}

}  // namespace

LiveTexts DecodePollBlock(LiveBlockBytes block, std::string_view cal_text, char decimal_separator) {
  using namespace poll_block;
  return {
      TemperatureText(block[kTemperature], decimal_separator),
      MapText(block[kMap], decimal_separator),
      IntegerText(LambdaFromByte(block[kLambda])),
      IntegerText(CorrectionFromByte(block[kCorrection])),
      RpmText(WordAt(block, kPeriodLow), cal_text, decimal_separator),
      FixedText(InjectionTimeFromWord(WordAt(block, kInjectionLow)), 1, 0, decimal_separator),
  };
}

InstantTexts DecodeInstantBlock(LiveBlockBytes block, char decimal_separator) {
  using namespace instant_block;
  return {
      TemperatureText(block[kTemperature], decimal_separator),
      MapText(block[kMap], decimal_separator),
      IntegerText(LambdaFromByte(block[kLambda])),
      IntegerText(CorrectionFromByte(block[kCorrection])),
  };
}

}  // namespace zelk
