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
}

TEST(NumberText, EmbeddedNulIsInvalid) {
    const QString text = QStringLiteral("12") + QChar(0) + QStringLiteral("x");
    EXPECT_FALSE(ParseWholeDouble(text, nullptr));
    EXPECT_FALSE(ParseWholeInt(text, nullptr));
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
    if (!locale.IsActive())
        GTEST_SKIP() << locale.Why().toStdString();
    double v = 0.0;
    EXPECT_TRUE(ParseWholeDouble(QStringLiteral("2,5"), &v));
    EXPECT_DOUBLE_EQ(v, 2.5);
    // The dot is no separator there: strtod stops at it.
    EXPECT_FALSE(ParseWholeDouble(QStringLiteral("2.5"), &v));
    EXPECT_EQ(FormatG(5.5), QStringLiteral("5,5"));
}

} // namespace
