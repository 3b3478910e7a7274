// SPDX-License-Identifier: GPL-3.0-or-later
// The settings entry's number parsing, any text, with either decimal
// separator. The first byte picks the separator and the fixed-point decimals.

#include <cerrno>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "settings/number_text.h"

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::size_t Digits(std::string_view text, std::size_t& pos) {
  const std::size_t from = pos;
  while (pos < text.size() && IsDigit(text[pos])) ++pos;
  return pos - from;
}

// The integer the text denotes when it is a sign and digits within the 32-bit
// range, by comparing digit strings rather than by arithmetic.
std::optional<std::int32_t> ReferenceInteger(std::string_view text) {
  text = Trim(text);
  bool negative = false;
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  std::size_t pos = 0;
  if (Digits(text, pos) == 0 || pos != text.size()) return std::nullopt;
  const std::size_t nonzero = text.find_first_not_of('0');
  const std::string_view digits = nonzero == std::string_view::npos ? "0" : text.substr(nonzero);
  const std::string_view limit = negative ? "2147483648" : "2147483647";
  if (digits.size() > limit.size() || (digits.size() == limit.size() && digits > limit)) {
    return std::nullopt;
  }
  const long long magnitude = std::stoll(std::string(digits));
  return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

// The text in the form strtod reads in the C locale, when it has the shape the
// entry accepts: sign, digits with one separator, an optional exponent.
std::optional<std::string> DecimalShape(std::string_view text, char separator) {
  text = Trim(text);
  std::size_t pos = 0;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) ++pos;
  std::size_t digits = Digits(text, pos);
  std::string canonical(text.substr(0, pos));
  if (pos < text.size() && text[pos] == separator) {
    canonical += '.';
    const std::size_t from = ++pos;
    digits += Digits(text, pos);
    canonical += text.substr(from, pos - from);
  }
  if (digits == 0) return std::nullopt;
  if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
    const std::size_t from = pos++;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) ++pos;
    if (Digits(text, pos) == 0) return std::nullopt;
    canonical += text.substr(from, pos - from);
  }
  if (pos != text.size()) return std::nullopt;
  return canonical;
}

bool Near(double a, double b, double absolute) {
  return std::fabs(a - b) <= absolute + std::fabs(b) * 1e-14;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const char separator = (data[0] & 1) != 0 ? ',' : '.';
  const int decimals = (data[0] >> 1) % 31;
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

  const std::optional<std::int32_t> integer = zelk::ParseInteger(text);
  ZELK_FUZZ_CHECK(integer == ReferenceInteger(text));
  if (integer) ZELK_FUZZ_CHECK(zelk::ParseInteger(zelk::IntegerText(*integer)) == integer);

  const std::optional<double> decimal = zelk::ParseDecimal(text, separator);
  const std::optional<std::string> shape = DecimalShape(text, separator);
  if (!shape) {
    ZELK_FUZZ_CHECK(!decimal);
    return 0;
  }
  errno = 0;
  const double reference = std::strtod(shape->c_str(), nullptr);
  if (std::isinf(reference)) {
    ZELK_FUZZ_CHECK(!decimal);  // too large for a double
    return 0;
  }
  ZELK_FUZZ_CHECK(decimal.has_value());
  const double v = *decimal;
  ZELK_FUZZ_CHECK(std::isfinite(v));
  // Correctly rounded, as strtod is; below the normal range the entry may read 0.
  ZELK_FUZZ_CHECK(v == reference || (std::fpclassify(reference) == FP_SUBNORMAL && v == 0));

  // What the entry writes back for the value reads back as (nearly) the value.
  const std::string general = zelk::GeneralText(v, separator);
  const std::optional<double> general_back = zelk::ParseDecimal(general, separator);
  ZELK_FUZZ_CHECK(general != "-0" && general_back && Near(*general_back, v, 0));
  const std::string fixed = zelk::FixedText(v, decimals, 0, separator);
  const std::optional<double> fixed_back = zelk::ParseDecimal(fixed, separator);
  ZELK_FUZZ_CHECK(fixed_back && Near(*fixed_back, v, 0.5000001 * std::pow(10.0, -decimals)));
  return 0;
}
