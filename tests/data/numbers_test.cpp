#include "data/numbers.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <random>
#include <string>

#include "engine/errors.h"

namespace kalvoro {
namespace {

TEST(NumberTexts, ParseOnlyTheGrammar)
{
    const std::pair<std::string, std::optional<std::int32_t>> integers[] = {
        {"-12", -12},
        {"+12", 12},
        {"007", 7},
        {"2147483647", 2147483647},
        {"-2147483648", INT32_MIN},
        {"2147483648", {}},
        {"", {}},
        {"-", {}},
        {"1.0", {}},
        {"1e3", {}},
        {" 1", {}},
        {"1 ", {}},
        {"+-1", {}},
        {"0x10", {}},
        {"\xD9\xA1", {}},  // another script's digit one
    };
    for (const auto& [text, value] : integers) EXPECT_EQ(parseInt(text), value) << "'" << text << "'";

    const std::pair<std::string, std::optional<double>> reals[] = {
        {"-1.00", -1.0},    {"+2.5", 2.5},
        {"1e3", 1000.0},    {"2.5E-3", 0.0025},
        {"2.5e+3", 2500.0}, {"00012.50", 12.5},
        {"1E-400", 0.0},  // underflow is zero, not an error
        {"1E400", {}},      {"1E99999999999999999999", {}},
        {".5", {}},         {"5.", {}},
        {"1,5", {}},        {"E5", {}},
        {"1E+", {}},        {"1D5", {}},
        {"inf", {}},        {"nan", {}},
        {"0x1p3", {}},      {"1.5\r", {}},
        {"- 1", {}},
    };
    for (const auto& [text, value] : reals) EXPECT_EQ(parseReal(text), value) << "'" << text << "'";

    EXPECT_THROW(toInt("3 "), ConversionError);
    EXPECT_THROW(toReal("1,5"), ConversionError);
}

TEST(NumberTexts, GeneralFormats)
{
    struct Row {
        double value;
        int digits;  // 12: a cell text; 8 or 7: a magnitude text
        const char* text;
    };
    const Row rows[] = {
        {1.0, 12, "1"},
        {0.5, 12, "0.5"},
        {-0.0, 12, "0"},
        {0.1 + 0.2, 12, "0.3"},
        {2.0 / 3.0, 12, "0.666666666667"},
        {0.0001, 12, "0.0001"},
        {0.00009999, 12, "9.999E-5"},
        {0.000099999999999999, 12, "0.0001"},  // rounds up into fixed notation
        {1e-5, 12, "1E-5"},
        {-2.5e-7, 12, "-2.5E-7"},
        {123456789012.4, 12, "123456789012"},
        {999999999999.5, 12, "1E12"},  // rounding adds a thirteenth integer digit
        {2.5e13, 12, "2.5E13"},
        {12.0000000001, 12, "12.0000000001"},
        {12.000000000001, 12, "12"},
        {0.0, 8, "0"},
        {1.234567891, 8, "1.2345679"},
        {0.00001, 8, "0.00001"},
        {9.9e-6, 8, "9.9E-006"},
        {12345678.0, 8, "12345678"},
        {123456789.0, 8, "1.2345679E+008"},
        {1.5e9, 8, "1.5E+009"},
        {1e100, 8, "1E+100"},
        {2.5, 7, "2.5"},
        {12345678.0, 7, "1.234568E+007"},
    };
    for (const auto& row : rows) {
        const std::string text =
            row.digits == 12 ? formatGeneral(row.value, 12) : formatMagnitude(row.value, row.digits);
        EXPECT_EQ(text, row.text) << row.value << " with " << row.digits << " digits";
    }
}

// 17 digits give every double back exactly; fewer keep the rounding's error.
TEST(NumberTexts, FormattedValuesParseBack)
{
    std::mt19937_64 random(12345);
    std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
    std::uniform_int_distribution<int> exponent(-40, 40);
    for (int i = 0; i < 20000; ++i) {
        const double v = mantissa(random) * std::pow(10.0, exponent(random));
        ASSERT_EQ(parseReal(formatGeneral(v, 17)), v) << formatGeneral(v, 17);
        ASSERT_NEAR(parseReal(formatGeneral(v, 12)).value(), v, std::fabs(v) * 5e-12) << formatGeneral(v, 12);
        ASSERT_NEAR(parseReal(formatMagnitude(v, 8)).value(), v, std::fabs(v) * 5e-8)
            << formatMagnitude(v, 8);
    }
}

// A locale with "," as its decimal separator changes nothing.
TEST(NumberTexts, IgnoreTheLocale)
{
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    const char* chosen = nullptr;
    for (const char* name : {"de_DE.UTF-8", "pt_BR.UTF-8", "fr_FR.UTF-8"})
        if ((chosen = std::setlocale(LC_ALL, name))) break;
    if (!chosen) GTEST_SKIP() << "no locale with a decimal comma is installed";
    const bool comma = std::string(std::localeconv()->decimal_point) == ",";
    const auto parsed = parseReal("1.5");
    const std::string cell = formatGeneral(1.5, 12), label = formatMagnitude(1.5e9, 8);
    std::setlocale(LC_ALL, saved.c_str());
    EXPECT_TRUE(comma);
    EXPECT_EQ(parsed, 1.5);
    EXPECT_EQ(cell, "1.5");
    EXPECT_EQ(label, "1.5E+009");
}

}  // namespace
}  // namespace kalvoro
