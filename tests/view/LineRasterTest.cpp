// Lines smoothed by the processor: their ink, their depth, and safety for any input.
#include "CLineRaster.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

namespace {

constexpr int W = 200, H = 120;
const int kViewport[4] = {0, 0, W, H};
constexpr std::uint32_t kWhite = 0xffffffffu;

// An end at window position (x, y) and depth z (0..1), under an identity projection.
CLineRaster::End At(double x, double y, double z, float grey = 0.0f) {
    return {{x / W * 2.0 - 1.0, y / H * 2.0 - 1.0, z * 2.0 - 1.0, 1.0}, {grey, grey, grey}};
}

// Darkness of the column x (rows from the bottom), as coverage in pixels of a black line.
double ColumnInk(const std::vector<std::uint32_t>& px, int x) {
    double ink = 0.0;
    for (int row = 0; row < H; ++row)
        ink += (255 - (px[static_cast<std::size_t>(H - 1 - row) * W + x] & 0xffu)) / 255.0;
    return ink;
}

TEST(LineRaster, InkMatchesWidthAndEndsAtTheEnds) {
    for (float width : {1.0f, 1.6f, 3.0f}) {
        for (double slope : {0.0, 0.3, 3.0}) { // across columns, and along rows
            CLineRaster r;
            ASSERT_TRUE(r.Begin(W, H, kViewport));
            std::vector<std::uint32_t> px(W * H, kWhite);
            const double x0 = 40, y0 = 20, dx = slope > 1 ? 60 / slope : 120, dy = dx * slope;
            r.Add(At(x0, y0, 0.5), At(x0 + dx, y0 + dy, 0.5), width);
            r.Draw(px.data());
            // Alpha is the frame's own.
            EXPECT_EQ(px[0] & 0xff000000u, 0xff000000u);
            const int mid = static_cast<int>(x0 + dx / 2);
            const double perColumn = width * std::sqrt(1 + slope * slope);
            EXPECT_NEAR(ColumnInk(px, mid), perColumn, 0.12 * perColumn) << width << " " << slope;
            EXPECT_EQ(ColumnInk(px, static_cast<int>(x0) - 3), 0.0);
            EXPECT_EQ(ColumnInk(px, static_cast<int>(x0 + dx) + 3), 0.0);
        }
    }
}

TEST(LineRaster, NearerWinsAndTheFrameDepthHides) {
    CLineRaster r;
    ASSERT_TRUE(r.Begin(W, H, kViewport));
    // What the frame holds at depth 0.4 in the right half.
    for (int row = 0; row < H; ++row)
        for (int x = W / 2; x < W; ++x)
            r.Depth()[row * W + x] = static_cast<std::uint32_t>(0.4 * 4294967295.0);
    std::vector<std::uint32_t> px(W * H, kWhite);
    r.Add(At(10, 60.5, 0.3, 0.0f), At(190, 60.5, 0.3, 0.0f), 3.0f);   // black, nearest
    r.Add(At(20.5, 10, 0.6, 0.5f), At(20.5, 110, 0.6, 0.5f), 3.0f);   // grey, behind the black
    r.Add(At(150.5, 10, 0.5, 0.5f), At(150.5, 110, 0.5, 0.5f), 3.0f); // behind the frame's 0.4
    r.Add(At(60.5, 10, 0.3, 0.5f), At(60.5, 110, 0.3, 0.5f), 3.0f);   // as near as the black
    r.Draw(px.data());
    auto pixel = [&](int x, int row) { return px[static_cast<std::size_t>(H - 1 - row) * W + x]; };
    EXPECT_EQ(pixel(20, 60) & 0xffffffu, 0u); // the black line kept its crossing
    EXPECT_EQ(pixel(20, 90) & 0xffu, 128u);   // the grey line elsewhere
    EXPECT_EQ(pixel(150, 90), kWhite);        // hidden by the frame
    EXPECT_EQ(pixel(60, 60) & 0xffffffu, 0u); // a tie keeps the first
    EXPECT_EQ(pixel(60, 90) & 0xffu, 128u);
}

TEST(LineRaster, AnyInputStaysInsideTheFrame) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    CLineRaster r;
    ASSERT_TRUE(r.Begin(W, H, kViewport));
    std::vector<std::uint32_t> px(W * H, kWhite);
    // Far outside, through the eye, at the far plane, zero length, infinite, not a number.
    r.Add(At(-1e12, -5e11, 0.5), At(1e12, 5e11, 0.5), 2.0f);
    r.Add(At(-3e300, 60, 0.5), At(7e299, 60.3, 0.5), 2.0f);
    r.Add({{0.2, 0.1, 0.0, 1.0}, {}}, {{0.3, 0.2, 0.0, -1.0}, {}}, 2.0f);
    r.Add(At(10, 10, 1.01), At(190, 110, 1.01), 2.0f);
    r.Add(At(50, 50, 0.5), At(50, 50, 0.5), 2.0f);
    r.Add({{inf, 0, 0, 1}, {}}, At(10, 10, 0.5), 2.0f);
    r.Add({{nan, 0, 0, 1}, {}}, At(10, 10, 0.5), 2.0f);
    r.Add(At(0, 0, 0.5), At(W, H, 0.5), 1e6f);
    // Kept: the two lines across, the part before the eye, the point, the wide one.
    EXPECT_EQ(r.Count(), 5u);
    r.Draw(px.data());
    EXPECT_FALSE(r.Begin(0, H, kViewport));
    r.Add(At(0, 0, 0.5), At(10, 10, 0.5), 1.0f);
    r.Draw(px.data()); // nothing, safely
    EXPECT_EQ(r.Count(), 0u);
}

TEST(LineRaster, BandsOnThreadsDrawTheSamePixels) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> x(-20, W + 20), y(-20, H + 20), z(0, 1);
    std::uniform_real_distribution<float> c(0, 1);
    std::vector<std::uint32_t> one(W * H, kWhite), three(W * H, kWhite);
    CLineRaster a, b;
    ASSERT_TRUE(a.Begin(W, H, kViewport));
    ASSERT_TRUE(b.Begin(W, H, kViewport));
    for (int i = 0; i < 3000; ++i) {
        CLineRaster::End e0 = At(x(rng), y(rng), z(rng)), e1 = At(x(rng), y(rng), z(rng));
        e0.rgb[0] = c(rng);
        e1.rgb[2] = c(rng);
        a.Add(e0, e1, 1.6f);
        b.Add(e0, e1, 1.6f);
    }
    a.Draw(one.data(), 1);
    b.Draw(three.data(), 3);
    EXPECT_EQ(one, three);
}

} // namespace
