#include "CellNumber.h"
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
