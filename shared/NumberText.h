#pragma once

// Number texts for script calls, always with "." whatever the locale.

#include <QString>
#include <cstdint>
#include <optional>

namespace vtl {

// Rounded to 15 significant digits, trailing zeros and point dropped; exponent
// form ("5E-5", "1E15") below 0.0001 and from 10^15 on.
QString FormatNumber15(double value);

// Fixed point with six decimals ("47.500000").
QString FormatFixed6(double value);

// Rounded to the nearest whole number, halves to even; none when the value is
// not finite or does not fit a signed 32-bit integer.
std::optional<std::int32_t> roundHalfEven32(double value);

} // namespace vtl
