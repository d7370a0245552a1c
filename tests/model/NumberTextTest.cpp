#include "NumberText.h"
#include "CommaLocale.h"

#include <gtest/gtest.h>

#include <clocale>

using namespace numtext;

namespace {

struct DoubleCase {
    const char* text;
    bool valid;
    double value;
};

TEST(NumberText, WholeTextDecidesValidity) {
    const DoubleCase cases[] = {
        {"", true, 0.0},       {"12", true, 12.0},        {" 12", true, 12.0},
        {"12 ", false, 0.0},   {"-3.5", true, -3.5},      {"+7", true, 7.0},
        {"1e3", true, 1000.0}, {"1e", false, 0.0},        {"4x", false, 0.0},
        {"x", false, 0.0},     {" ", false, 0.0},         {".5", true, 0.5},
        {"3,5", false, 0.0},   {"-", false, 0.0},         {"12\n", false, 0.0},
        {"inf", false, 0.0},   {"-INFINITY", false, 0.0}, {"nan", false, 0.0},
        {"0x10", false, 0.0},  {"1e999", false, 0.0},     {"-2E-3", true, -0.002},
        {"1e-400", true, 0.0},
    };
    for (const DoubleCase& c : cases) {
        double v = -999.0;
        EXPECT_EQ(ParseWholeDouble(QString::fromLatin1(c.text), &v), c.valid) << '"' << c.text;
        if (c.valid) {
            EXPECT_DOUBLE_EQ(v, c.value) << '"' << c.text;
        } else {
            EXPECT_EQ(v, -999.0) << "an invalid text must leave the value alone: " << c.text;
        }
    }
    const QString nul =
        QStringLiteral("12") + QChar(0) + QStringLiteral("x"); // C strings end there
    EXPECT_FALSE(ParseWholeDouble(nul, nullptr));
    EXPECT_FALSE(ParseWholeInt(nul, nullptr));
}

TEST(NumberText, IntegersAreBaseTenAndFitIn32Bits) {
    struct Case {
        const char* text;
        bool valid;
        int value;
    } const cases[] = {
        {"", true, 0},
        {"8", true, 8},
        {" -8", true, -8},
        {"8.5", false, 0},
        {"12 ", false, 0},
        {"010", true, 10},
        {"0x10", false, 0},
        {"2147483647", true, 2147483647},
        {"2147483648", false, 0},
        {"-2147483648", true, INT32_MIN},
        {"-2147483649", false, 0},
        {"99999999999999999999", false, 0},
    };
    for (const auto& c : cases) {
        std::int32_t v = -999;
        EXPECT_EQ(ParseWholeInt(QString::fromLatin1(c.text), &v), c.valid) << '"' << c.text;
        EXPECT_EQ(v, c.valid ? c.value : -999) << c.text;
    }
}

TEST(NumberText, CommaLocaleReadsAndShowsCommas) {
    CommaLocale locale;
    ASSERT_TRUE(locale.IsActive()) << locale.Why().toStdString();
    double v = 0.0;
    EXPECT_TRUE(ParseWholeDouble(QStringLiteral("2,5"), &v));
    EXPECT_DOUBLE_EQ(v, 2.5);
    // The dot is no separator there: strtod stops at it.
    EXPECT_FALSE(ParseWholeDouble(QStringLiteral("2.5"), &v));
    EXPECT_EQ(FormatG(5.5), QStringLiteral("5,5"));
    EXPECT_EQ(Format4G(0.75), QStringLiteral("0,75"));
    EXPECT_EQ(FormatFixed(-2.0), QStringLiteral("-2,000000"));
    // Files and programs' output keep the point.
    char buf[32];
    SnprintfC(buf, sizeof buf, "%13.5E", 1.5);
    EXPECT_STREQ(buf, "  1.50000E+00");
}

// The tables' rule: the longest leading number, refused when there is none, when it overflows
// or when it is the other convention's decimal number.
TEST(NumberText, LeadingNumberUnderEitherSeparator) {
    struct Case {
        const char* text;
        Leading status;
        double value;
    };
    const Case point[] = {
        {"1.5e3abc", Leading::Number, 1500.0},
        {"  -12.7", Leading::Number, -12.7},
        {"+3.25x", Leading::Number, 3.25},
        {".5", Leading::Number, 0.5},
        {"5.", Leading::Number, 5.0},
        {"1.2.3", Leading::Number, 1.2},
        {"1e+", Leading::Number, 1.0},
        {"2E-1", Leading::Number, 0.2},
        {"1e-999", Leading::Number, 0.0},
        {"0x1A", Leading::Number, 0.0},
        {"", Leading::NoNumber, 0},
        {"abc", Leading::NoNumber, 0},
        {"-.e3", Leading::NoNumber, 0},
        {"inf", Leading::NoNumber, 0},
        {"nan", Leading::NoNumber, 0},
        {"1e999", Leading::OutOfRange, 0},
        {"-1e999", Leading::OutOfRange, 0},
        {"2,5", Leading::WrongSeparator, 0},
    };
    const Case comma[] = {
        {"0,9", Leading::Number, 0.9},       {"50,5", Leading::Number, 50.5},
        {"1,5e3x", Leading::Number, 1500.0}, {"7", Leading::Number, 7.0},
        {"2.5", Leading::WrongSeparator, 0}, {"x", Leading::NoNumber, 0},
    };
    auto check = [](const Case& c) {
        double v = -999.0;
        EXPECT_EQ(ParseLeadingDouble(QString::fromLatin1(c.text), &v), c.status) << c.text;
        EXPECT_DOUBLE_EQ(v, c.status == Leading::Number ? c.value : -999.0) << c.text;
    };
    for (const Case& c : point)
        check(c);
    CommaLocale locale;
    ASSERT_TRUE(locale.IsActive()) << locale.Why().toStdString();
    for (const Case& c : comma)
        check(c);
}

} // namespace
