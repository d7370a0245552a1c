// Point sprites cut to discs cover the pixels the rasteriser's smooth points cover, in every
// context a renderer draws into.
#include "CDiscSprites.h"
#include "COffscreenGL.h"

#include <gtest/gtest.h>

#include "OSMesaApi.h"

namespace {

constexpr int S = 48;

// The pixels one point of `size` at window position (x, y) covers, smooth or as a sprite.
std::vector<bool> Cover(COffscreenGL& gl, float size, double x, double y, bool sprite) {
    EXPECT_TRUE(gl.MakeCurrent());
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, S, 0, S, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_POINT_SMOOTH);
    EXPECT_EQ(sprite && CDiscSprites::Begin(), sprite);
    glPointSize(size);
    glColor3f(0, 0, 0);
    glBegin(GL_POINTS);
    glVertex2d(x, y);
    glEnd();
    if (sprite)
        CDiscSprites::End();
    glFinish();
    std::vector<bool> cover;
    for (int i = 0; i < S * S; ++i)
        cover.push_back(qGray(gl.Image().pixel(i % S, i / S)) < 128);
    return cover;
}

TEST(DiscSprites, CoverWhatSmoothPointsCoverInEveryContext) {
    COffscreenGL first, second;
    ASSERT_TRUE(first.Resize(S, S).isEmpty());
    ASSERT_TRUE(second.Resize(S, S).isEmpty());
    // The clear look's marker sizes at places across a pixel (none with a pixel centre exactly
    // on the rim, which may go either way); the first context again after the second.
    const double offsets[][2] = {{0.0, 0.0}, {0.3, 0.6}, {0.25, 0.7}, {0.9, 0.1}};
    for (COffscreenGL* gl : {&first, &second, &first})
        for (float size : {4.5f, 7.0f, 10.0f})
            for (const auto& o : offsets) {
                const std::vector<bool> smooth = Cover(*gl, size, 20 + o[0], 20 + o[1], false);
                const std::vector<bool> sprite = Cover(*gl, size, 20 + o[0], 20 + o[1], true);
                int covered = 0, differing = 0;
                for (std::size_t i = 0; i < smooth.size(); ++i) {
                    covered += sprite[i];
                    differing += smooth[i] != sprite[i];
                }
                // One pixel centre within a hair of the rim may fall either way.
                EXPECT_LE(differing, 1) << size << " at +" << o[0] << ", +" << o[1];
                EXPECT_GT(covered, static_cast<int>(size * size / 2)) << size;
            }
}

} // namespace
