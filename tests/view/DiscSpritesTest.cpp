// Point sprites cut to discs cover the pixels the rasteriser's smooth points cover, in every
// context a renderer draws into.
#include "CDiscSprites.h"
#include "COffscreenGL.h"

#include <gtest/gtest.h>

#include <GL/gl.h>

namespace {

constexpr int S = 48;

// The covered pixels of one point of `size` at window position (x, y), drawn as a smooth point
// or as a sprite.
std::vector<bool> Cover(COffscreenGL& gl, float size, double x, double y, bool sprite) {
    EXPECT_TRUE(gl.MakeCurrent());
    glViewport(0, 0, S, S);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, S, 0, S, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glClearColor(1, 1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_POINT_SMOOTH);
    const bool began = sprite && CDiscSprites::Begin();
    EXPECT_EQ(began, sprite);
    glPointSize(size);
    glColor3f(0, 0, 0);
    glBegin(GL_POINTS);
    glVertex2d(x, y);
    glEnd();
    if (began)
        CDiscSprites::End();
    glFinish();
    std::vector<bool> cover;
    for (int row = 0; row < S; ++row)
        for (int col = 0; col < S; ++col)
            cover.push_back(qGray(gl.Image().pixel(col, row)) < 128);
    return cover;
}

TEST(DiscSprites, CoverWhatSmoothPointsCoverInEveryContext) {
    COffscreenGL first, second;
    ASSERT_TRUE(first.Resize(S, S).isEmpty());
    ASSERT_TRUE(second.Resize(S, S).isEmpty());
    // The marker sizes of the clear look, at places across a pixel; each context twice.
    const float sizes[] = {4.5f, 7.0f, 10.0f};
    // (A pixel centre exactly on the rim, as with a point on a pixel centre, may go either way.)
    const double offsets[][2] = {{0.0, 0.0}, {0.3, 0.6}, {0.25, 0.7}, {0.9, 0.1}};
    for (COffscreenGL* gl : {&first, &second, &first})
        for (float size : sizes)
            for (const auto& o : offsets) {
                const double x = 20 + o[0], y = 20 + o[1];
                const std::vector<bool> smooth = Cover(*gl, size, x, y, false);
                const std::vector<bool> sprite = Cover(*gl, size, x, y, true);
                int covered = 0, differing = 0;
                for (std::size_t i = 0; i < smooth.size(); ++i) {
                    covered += sprite[i];
                    differing += smooth[i] != sprite[i];
                }
                // One pixel centre within a hair of the rim may fall either way.
                EXPECT_LE(differing, 1) << size << " at " << x << ", " << y;
                EXPECT_GT(covered, static_cast<int>(size * size / 2)) << size;
            }
}

} // namespace
