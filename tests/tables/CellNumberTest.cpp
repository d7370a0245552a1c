#include "CellNumber.h"
#include "SeriesNameInput.h"
#include "TableOrder.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

TEST(CellNumber, FormatsAsTheTablesShowNumbers) {
    EXPECT_EQ(Format4G(1500.0), "1500");
    EXPECT_EQ(Format4G(12345.6), "1.235e+04");
    EXPECT_EQ(Format4G(-0.000123456), "-0.0001235");
    EXPECT_EQ(FormatG(0.1), "0.1");
    EXPECT_EQ(FormatG(1234567.0), "1.23457e+06");
    EXPECT_EQ(FormatInt(-42), "-42");
}

TEST(TableOrder, AscendingWithLaterCollectedFirstOnTies) {
    struct Rec {
        int number;
        int collected;
    };
    std::vector<Rec> recs = {{5, 0}, {3, 1}, {5, 2}, {1, 3}, {3, 4}, {5, 5}};
    std::vector<Rec*> order;
    for (Rec& r : recs)
        order.push_back(&r);
    SortForTable(order, [](const Rec* r) { return r->number; });
    std::vector<int> collected;
    for (const Rec* r : order)
        collected.push_back(r->collected);
    EXPECT_EQ(collected, (std::vector<int>{3, 4, 1, 5, 2, 0}));
}

// A series name is stored one Latin-1 byte a character: anything beyond is left out and named
// once in the hint, a character outside the basic plane as a whole (both its halves).
TEST(SeriesName, KeepsOnlyLatin1AndNamesTheRestOnce) {
    const struct {
        const char16_t* text;
        const char16_t* kept;
        const char16_t* dropped;
    } cases[] = {
        {u"Motor \u00e4\u00ff", u"Motor \u00e4\u00ff", u""},
        {u"\u0100a\u20acb\u20ac", u"ab", u"\u0100\u20ac"},
        {u"x\U0001F600y\U0001F600", u"xy", u"\U0001F600"},
        {u"\xD83Dz", u"z", u"\xD83D"}, // a lone high surrogate goes alone
    };
    for (const auto& c : cases) {
        QString dropped;
        const QString text = QString::fromUtf16(c.text);
        EXPECT_EQ(StorableSeriesName(text, &dropped), QString::fromUtf16(c.kept));
        EXPECT_EQ(dropped, QString::fromUtf16(c.dropped));
    }
}
