#include "shared/NumberText.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace vtl {

QString FormatNumber15(double value) {
    if (!std::isfinite(value)) {
        return std::isnan(value) ? QStringLiteral("NAN")
                                 : (value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF"));
    }
    if (value == 0) {
        return QStringLiteral("0");
    }
    // d.dddddddddddddde±x: the 15 significant digits and the exponent after rounding.
    std::array<char, 40> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::scientific, 14);
    const std::string text(buffer.data(), result.ptr);
    const auto ePos = text.find('e');
    const bool negative = text.front() == '-';
    std::string digits;
    for (std::size_t i = negative ? 1 : 0; i < ePos; ++i) {
        if (text[i] != '.') {
            digits += text[i];
        }
    }
    const int exponent = std::stoi(text.substr(ePos + 1));
    while (digits.size() > 1 && digits.back() == '0') {
        digits.pop_back();
    }

    std::string out = negative ? "-" : "";
    if (exponent < -4 || exponent >= 15) {
        out += digits.front();
        if (digits.size() > 1) {
            out += '.';
            out += digits.substr(1);
        }
        out += 'E';
        out += std::to_string(exponent);
    } else if (exponent < 0) {
        out += "0.";
        out += std::string(static_cast<std::size_t>(-exponent - 1), '0');
        out += digits;
    } else {
        const auto intDigits = static_cast<std::size_t>(exponent) + 1;
        if (digits.size() <= intDigits) {
            out += digits + std::string(intDigits - digits.size(), '0');
        } else {
            out += digits.substr(0, intDigits) + '.' + digits.substr(intDigits);
        }
    }
    return QString::fromStdString(out);
}

QString FormatFixed6(double value) {
    std::array<char, 400> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::fixed, 6);
    return QString::fromLatin1(buffer.data(), result.ptr - buffer.data());
}

std::optional<std::int32_t> roundHalfEven32(double value) {
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    const double rounded = std::nearbyint(value); // the default rounding mode: halves to even
    if (rounded < std::numeric_limits<std::int32_t>::min() ||
        rounded > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(rounded);
}

} // namespace vtl
