#include "shared/NumberText.h"

#include <QLocale>
#include <clocale>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

using namespace vtl;

TEST(NumberText15, FifteenDigitsWithExponentOutsideTheFixedRange) {
    struct Case {
        double value;
        const char* text;
    } const cases[] = {
        {47.5, "47.5"},
        {-122.25, "-122.25"},
        {static_cast<double>(-122.31f), "-122.309997558594"},
        {0.0, "0"},
        {-0.0, "0"},
        {1.0, "1"},
        {5e-5, "5E-5"},
        {0.0001, "0.0001"},
        {0.00012345, "0.00012345"},
        {9.99999e-5, "9.99999E-5"},
        {-1.25e-7, "-1.25E-7"},
        {1e15, "1E15"},
        {999999999999999.0, "999999999999999"},
        {1.5e15, "1.5E15"},
        {123456789012345678.0, "1.23456789012346E17"},
        {0.1 + 0.2, "0.3"},
        {100.0, "100"},
        {47.4502, "47.4502"},
        {-122.3088, "-122.3088"},
        {1.0 / 3.0, "0.333333333333333"},
        {0.000099999999999999999, "0.0001"}, // rounds up into the fixed range
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatNumber15(c.value).toStdString(), c.text) << c.value;
    }
}

TEST(NumberText15, IgnoresTheUserLocale) {
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German));
    std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    EXPECT_EQ(FormatNumber15(1.5), QStringLiteral("1.5"));
    EXPECT_EQ(FormatFixed6(1.5), QStringLiteral("1.500000"));
    std::setlocale(LC_NUMERIC, "C");
    QLocale::setDefault(before);
}

TEST(NumberTextFixed6, SixDecimals) {
    EXPECT_EQ(FormatFixed6(47.449), QStringLiteral("47.449000"));
    EXPECT_EQ(FormatFixed6(-0.5), QStringLiteral("-0.500000"));
    EXPECT_EQ(FormatFixed6(0), QStringLiteral("0.000000"));
}

TEST(HeadingRounding, HalvesToEvenAndRefusesUnusableValues) {
    struct Case {
        double value;
        std::optional<std::int32_t> rounded;
    } const cases[] = {
        {4.5, 4},
        {5.5, 6},
        {354.5, 354},
        {354.6, 355},
        {-3.0, -3},
        {-2.5, -2},
        {725.0, 725},
        {2147483647.0, 2147483647},
        {2147483647.6, std::nullopt},
        {-2147483648.4, -2147483647 - 1},
        {1e300, std::nullopt},
        {std::numeric_limits<double>::quiet_NaN(), std::nullopt},
        {std::numeric_limits<double>::infinity(), std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(roundHalfEven32(c.value), c.rounded) << c.value;
    }
}
