#include "SeriesNameInput.h"

#include <gtest/gtest.h>

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
