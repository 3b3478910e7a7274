// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/number_text.h"

#include "text/fill.h"
#include "text/translatable.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace zelk {

namespace {

constexpr int kMaxDecimals = 30;
// 309 integer digits of the largest double, sign, separator and the decimals.
constexpr std::size_t kFixedBufferSize = 309 + 2 + kMaxDecimals + 8;

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

void ReplaceSeparator(std::string& text, char decimal_separator) {
  std::replace(text.begin(), text.end(), '.', decimal_separator);
}

std::size_t CountDigits(std::string_view text, std::size_t from) {
  std::size_t n = 0;
  while (from + n < text.size() && IsDigit(text[from + n])) ++n;
  return n;
}

// Decimal order of magnitude of the leading significant digit, with the
// exponent saturated so that absurdly long exponents cannot overflow.
long long LeadingOrder(std::string_view int_digits, std::string_view frac_digits,
                       long long exponent) {
  long long order = 0;
  const auto first = int_digits.find_first_not_of('0');
  if (first != std::string_view::npos) {
    order = static_cast<long long>(int_digits.size() - first) - 1;
  } else {
    const auto frac_first = frac_digits.find_first_not_of('0');
    if (frac_first == std::string_view::npos) return std::numeric_limits<long long>::min() / 2;
    order = -static_cast<long long>(frac_first) - 1;
  }
  return order + exponent;
}

}  // namespace

std::string GeneralText(double v, char decimal_separator) {
  if (v == 0.0) v = 0.0;  // drops the sign of -0
  std::array<char, 64> buffer{};
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), v,
                                    std::chars_format::general, 15);
  std::string text(buffer.data(), result.ptr);
  ReplaceSeparator(text, decimal_separator);
  return text;
}

std::string FixedText(double v, int decimals, int min_width, char decimal_separator) {
  decimals = std::clamp(decimals, 0, kMaxDecimals);
  std::array<char, kFixedBufferSize> buffer{};
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), v,
                                    std::chars_format::fixed, decimals);
  std::string text(buffer.data(), result.ptr);
  if (!text.empty() && text.front() == '-' &&
      text.find_first_of("123456789") == std::string::npos && std::isfinite(v)) {
    text.erase(0, 1);
  }
  ReplaceSeparator(text, decimal_separator);
  if (min_width > 0 && text.size() < static_cast<std::size_t>(min_width)) {
    text.insert(0, static_cast<std::size_t>(min_width) - text.size(), ' ');
  }
  return text;
}

std::string IntegerText(long long v) {
  std::array<char, 24> buffer{};
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), v);
  return std::string(buffer.data(), result.ptr);
}

std::optional<std::int32_t> ParseInteger(std::string_view text) {
  text = TrimBlanks(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  // Accumulate the magnitude; the limit is one larger on the negative side.
  const long long limit = negative ? 2147483648LL : 2147483647LL;
  long long magnitude = 0;
  for (const char c : text) {
    if (!IsDigit(c)) return std::nullopt;
    magnitude = magnitude * 10 + (c - '0');
    if (magnitude > limit) return std::nullopt;
  }
  return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

std::optional<double> ParseDecimal(std::string_view text, char decimal_separator) {
  text = TrimBlanks(text);
  std::size_t pos = 0;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    negative = text[pos] == '-';
    ++pos;
  }
  const std::size_t int_count = CountDigits(text, pos);
  const std::string_view int_digits = text.substr(pos, int_count);
  pos += int_count;
  std::string_view frac_digits;
  if (pos < text.size() && text[pos] == decimal_separator) {
    ++pos;
    const std::size_t frac_count = CountDigits(text, pos);
    frac_digits = text.substr(pos, frac_count);
    pos += frac_count;
  }
  if (int_digits.empty() && frac_digits.empty()) return std::nullopt;

  bool exponent_negative = false;
  std::string_view exponent_digits;
  if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
    ++pos;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
      exponent_negative = text[pos] == '-';
      ++pos;
    }
    const std::size_t exp_count = CountDigits(text, pos);
    if (exp_count == 0) return std::nullopt;
    exponent_digits = text.substr(pos, exp_count);
    pos += exp_count;
  }
  if (pos != text.size()) return std::nullopt;

  // Rebuild in the one form std::from_chars reads, whatever the separator.
  std::string canonical;
  canonical.reserve(text.size() + 4);
  if (negative) canonical += '-';
  canonical += int_digits.empty() ? std::string_view("0") : int_digits;
  if (!frac_digits.empty()) {
    canonical += '.';
    canonical += frac_digits;
  }
  long long exponent = 0;
  if (!exponent_digits.empty()) {
    canonical += exponent_negative ? "e-" : "e";
    canonical += exponent_digits;
    for (const char c : exponent_digits) {
      exponent = std::min(exponent * 10 + (c - '0'), 1000000LL);
    }
    if (exponent_negative) exponent = -exponent;
  }

  double value = 0.0;
  const auto result = std::from_chars(canonical.data(), canonical.data() + canonical.size(), value);
  if (result.ec == std::errc::result_out_of_range) {
    // Out of range either way: too large is an error, too small is zero.
    if (LeadingOrder(int_digits, frac_digits, exponent) >= 0) return std::nullopt;
    return negative ? -0.0 : 0.0;
  }
  if (result.ec != std::errc() || result.ptr != canonical.data() + canonical.size()) {
    return std::nullopt;
  }
  if (!std::isfinite(value)) return std::nullopt;
  return value;
}

std::string DecimalSeparatorHint(std::string_view text) {
  // The text was refused with the user's separator; if it reads with the
  // other one, that other one is what was typed.
  const bool has_point = text.find('.') != std::string_view::npos;
  const bool has_comma = text.find(',') != std::string_view::npos;
  if (has_point == has_comma) return {};
  const char typed = has_point ? '.' : ',';
  const char expected = has_point ? ',' : '.';
  if (!ParseDecimal(text, typed)) return {};
  std::string corrected(text);
  std::replace(corrected.begin(), corrected.end(), typed, expected);
  return Fill(
      has_point ? QT_TRANSLATE_NOOP("Settings", "A comma is expected as the decimal separator: %1")
                : QT_TRANSLATE_NOOP("Settings", "A point is expected as the decimal separator: %1"),
      {corrected});
}

std::string NotAValidNumberMessage(std::string_view text, bool integer) {
  std::string message =
      Fill(integer ? QT_TRANSLATE_NOOP("Settings", "'%1' is not a valid integer value")
                   : QT_TRANSLATE_NOOP("Settings", "'%1' is not a valid floating point value"),
           {text});
  const std::string hint = integer ? std::string() : DecimalSeparatorHint(text);
  if (hint.empty()) return message;
  // Two lines: the refusal as it always read, then the hint.
  return Fill(QT_TRANSLATE_NOOP("Settings", "%1\n%2"), {message, hint});
}

}  // namespace zelk
