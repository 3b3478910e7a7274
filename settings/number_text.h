// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Number texts as the user sees and types them. Nothing here consults the C
// locale: the caller passes the user's decimal separator (one ASCII character
// that is not a digit, sign, blank or 'e'), so the same texts come out on every
// platform.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zelk {

// Shortest text of up to 15 significant digits: no trailing zeros, no decimal
// separator for whole numbers, never "-0". Magnitudes from 1e-4 up to 1e15 are
// written without an exponent; others get one ("1e+15").
std::string GeneralText(double v, char decimal_separator);

// Fixed-point text with `decimals` digits after the separator (0 to 30),
// correctly rounded from the binary value (an exact tie goes to the even
// digit, as printf does), left-padded with spaces to `min_width`. A value that
// rounds to zero is written without a minus sign.
std::string FixedText(double v, int decimals, int min_width, char decimal_separator);

std::string IntegerText(long long v);

// A whole number: blanks (spaces, tabs) around it, an optional sign, decimal
// digits only, within the 32-bit signed range.
std::optional<std::int32_t> ParseInteger(std::string_view text);

// A decimal number: blanks around it, an optional sign, digits with at most one
// `decimal_separator` (".5" and "5." are fine), an optional exponent (e or E,
// optional sign, digits). The result must be finite; a value too small for a
// double reads as 0. Names such as "nan" or "inf", hex forms and a '.' that is
// not the user's separator are refused.
std::optional<double> ParseDecimal(std::string_view text, char decimal_separator);

// "'abc' is not a valid integer value" / "'abc' is not a valid floating point value".
// A decimal refused only for its separator ("40.5" where the user's is a
// comma) gets a second line saying which one is expected, with the text
// written that way.
std::string NotAValidNumberMessage(std::string_view text, bool integer);

// That second line for `text`, refused as a decimal: empty unless the text
// is a decimal with the other separator ('.' for ',', ',' for '.').
std::string DecimalSeparatorHint(std::string_view text);

}  // namespace zelk
