// Frames drawn the quick ways -- animated over the cached rest layer, long runs of primitives
// sent to the rasteriser in batches -- must equal frames drawn directly, pixel for pixel; point
// sprites cut to discs must cover the pixels the rasteriser's smooth points cover, in every
// context a renderer draws into; the clear look's caption and colour bar from kept images must
// paint what painting them directly paints, and the kept images stay within their memory.
#include "SceneBuilder.h"

#include "BoxObject.h"
#include "CBatchSubmitter.h"
#include "CCaption.h"
#include "CColourBar.h"
#include "CDiscSprites.h"
#include "COffscreenGL.h"
#include "COverlayCache.h"
#include "CQuivraDoc.h"
#include "CSceneRenderer.h"
#include "CViewState.h"
#include "CornerPoint.h"
#include "MeasDirection.h"
#include "OSMesaApi.h"

#include <gtest/gtest.h>

#include <QPainter>
#include <QSize>

#include <random>

using namespace scene;

namespace {

// `n` points in chains of 40 short random steps, a third of them still (their deflected
// copies coincide with the rest lines: equal depths, the earlier black one must win), each
// joined to the next and to one far away. Then a box with an arrow, a centre line, a
// highlighted and a selected point, and two labelled points just outside the left and the top
// edge (unturned camera) whose labels reach into the frame.
void BuildScene(CQuivraDoc& doc, int n) {
    AddSeries(doc, 24, 1.5);
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> pos(-500, 500), step(-30, 30), ph(0, 360);
    std::vector<CornerPoint*> pts;
    double x = 0, y = 0, z = 0;
    for (int i = 0; i < n; ++i) {
        const bool jump = i % 40 == 0;
        x = jump ? pos(rng) : x + step(rng);
        y = jump ? pos(rng) : y + step(rng);
        z = jump ? pos(rng) : z + step(rng);
        CornerPoint* p = AddFree(doc, x, y, z);
        if (i % 3)
            AddDirection(p, static_cast<std::uint16_t>(1u << (i % 3)), 25, ph(rng));
        pts.push_back(p);
    }
    for (int i = 0; i < n; ++i) {
        AddLine(doc, pts[i], pts[(i + 1) % n]);
        AddLine(doc, pts[i], pts[(i * 7 + 3) % n]);
    }
    BoxObject* box = AddBox(doc, -250, -200, -150, 250, 200, 150);
    AddDirection(box->m_points[3], DirPlusZ, 60, 30);
    AddCentreLineObject(doc, -450, 10, 0, 450, -40, 20);
    doc.m_pHighlightPoint = pts[n / 2];
    doc.m_selPoints.push_back(pts[n - 3]);
    AddFree(doc, -1150, 0, 0)->m_nNumber = 888;
    AddFree(doc, 0, 850, 0)->m_nNumber = 999;
}

// A camera turned by (rotX, rotY) at zoom, animating or at rest.
CViewState Camera(double rotX, double rotY, double zoom, int animating) {
    CViewState st;
    st.m_dRotX = rotX;
    st.m_dRotY = rotY;
    st.m_dZoom = zoom;
    st.m_bAnimating = animating;
    return st;
}

// The quick renderer `a` against the direct one `b`, each in its own buffer.
struct TwoRenderers {
    COffscreenGL glA, glB;
    CSceneRenderer a, b;
    int w = 0, h = 0;

    void Resize(int width, int height) {
        ASSERT_TRUE(glA.Resize(width, height).isEmpty());
        ASSERT_TRUE(glB.Resize(width, height).isEmpty());
        w = width;
        h = height;
    }
    // One frame from each, with a camera state of its own: are the pictures equal?
    bool Same(const CQuivraDoc& doc, CViewState& st) {
        CViewState other = st;
        EXPECT_TRUE(a.RenderFrame(glA, doc, st, w, h));
        EXPECT_TRUE(b.RenderFrame(glB, doc, other, w, h));
        return glA.Image() == glB.Image();
    }
};

// Each quick way against drawing directly (no rest layer, no batches). The big scene has more
// lines, points and arrows than one batch holds, crossing each other and the objects drawn
// after them, so that primitives on both sides of every batch border compete for the same
// pixels.
TEST(QuickDrawing, FramesEqualDirectDrawing) {
    ASSERT_TRUE(CBatchSubmitter::CanSubmitEarly()) << "without fences nothing is batched";
    CQuivraDoc small, big;
    BuildScene(small, 120);
    BuildScene(big, static_cast<int>(2 * CBatchSubmitter::kBatch + 1000));
    const struct {
        const char* name;
        const CQuivraDoc* doc;
        double rotX, rotY, panX, zoom;
        int lineWidth, directions, numbers, animating, restLayer;
    } cases[] = {
        {"turned, inset, arrows", &small, 25, 40, 0, 1.6, 1, 1, 0, 1, 1},
        {"panned, wide, labels", &small, 10, -30, 120, 1.6, 2, 1, 1, 1, 1},
        {"labels across the edges", &small, 0, 0, 0, 1.6, 1, 0, 1, 1, 1},
        {"batches at rest, markers", &big, 20, 30, 0, 1.1, 1, 0, 0, 0, 0},
        {"batches at rest, arrows, wide", &big, -35, 200, 0, 1.1, 2, 1, 0, 0, 0},
        {"batches animating", &big, 15, -40, 0, 1.1, 1, 1, 0, 1, 0},
        {"batches animating over the rest layer", &big, 50, 10, 0, 1.1, 1, 1, 0, 1, 1},
    };
    for (const auto& c : cases) {
        const bool isBig = c.doc == &big;
        TwoRenderers r;
        r.Resize(isBig ? 320 : 203, isBig ? 240 : 150);
        r.a.m_bUseRestLayer = c.restLayer;
        r.b.m_bUseRestLayer = r.b.m_bSubmitInBatches = false;
        CViewState st = Camera(c.rotX, c.rotY, c.zoom, c.animating);
        st.m_dPanX = c.panX;
        st.m_nLineWidth = c.lineWidth;
        st.m_bShowDirections = c.directions;
        st.m_bShowPointNumbers = st.m_bShowDirectionNumbers = c.numbers;
        // The first frame has nothing to reuse; with the rest layer every later one does.
        for (int frame = 0; frame < (isBig ? 2 : 5); ++frame) {
            st.m_nFrame = 5 * frame;
            EXPECT_TRUE(r.Same(*c.doc, st)) << c.name << ", frame " << frame;
            EXPECT_EQ(r.a.LastFrameLayered(), frame > 0 && c.restLayer) << c.name << frame;
            EXPECT_FALSE(r.b.LastFrameLayered());
        }
    }
}

TEST(RestLayer, ChangesInvalidateTheLayer) {
    CQuivraDoc doc;
    BuildScene(doc, 120);
    TwoRenderers r;
    r.Resize(160, 120);
    r.b.m_bUseRestLayer = false;
    CViewState st = Camera(0, 0, 1.6, 1);
    EXPECT_TRUE(r.Same(doc, st));
    EXPECT_TRUE(r.Same(doc, st));
    ASSERT_TRUE(r.a.LastFrameLayered());
    // A moved point, a turned camera, a hidden centre line: each must show at once.
    doc.m_freePoints[5]->m_x += 90;
    EXPECT_TRUE(r.Same(doc, st)) << "moved point";
    EXPECT_FALSE(r.a.LastFrameLayered());
    EXPECT_TRUE(r.Same(doc, st)) << "moved point again";
    st.m_dRotY = 33;
    EXPECT_TRUE(r.Same(doc, st)) << "turned";
    st.m_bShowCenterLines = 0;
    EXPECT_TRUE(r.Same(doc, st)) << "no centre line";
    EXPECT_TRUE(r.Same(doc, st)) << "no centre line again";
    EXPECT_TRUE(r.a.LastFrameLayered());
    // Resizes in between, growing as well as shrinking: each size gets new buffers, and the
    // layer is rebuilt for it.
    for (const QSize size : {QSize(150, 110), {320, 240}, {1, 1}, {2, 3}, {600, 20}, {160, 120}}) {
        r.Resize(size.width(), size.height());
        for (int i = 0; i < 3; ++i)
            EXPECT_TRUE(r.Same(doc, st)) << size.width() << "x" << size.height() << ", frame " << i;
        EXPECT_TRUE(r.a.LastFrameLayered()) << size.width() << "x" << size.height();
    }
}

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

TEST(OverlayCache, PaintsWhatDirectPaintingPaintsForEachText) {
    COverlayCache cache;
    struct Case {
        QSize size;
        const char* phase; // the line that changes from frame to frame
        double peak;
    } cases[] = {{{320, 240}, "Phase: 0 (frame 1 of 24)", 12.5},
                 {{320, 240}, "Phase: 15 (frame 2 of 24)", 12.5},
                 {{321, 203}, "Phase: 15 (frame 2 of 24)", 0.031},
                 {{320, 240}, "Phase: 0 (frame 1 of 24)", 12.5}}; // again: from the cache
    for (const Case& c : cases) {
        const QRect area(QPoint(0, 0), c.size);
        const QStringList lines = {"pump.qvr", "Series: Run 1", c.phase};
        // Something under the translucent panels.
        QImage direct(c.size, QImage::Format_RGB32);
        direct.fill(Qt::white);
        QPainter(&direct).fillRect(0, 0, c.size.width(), c.size.height(), Qt::BDiagPattern);
        QImage cached = direct.copy();
        QPainter p(&direct), q(&cached);
        EXPECT_EQ(cache.PaintCaption(q, area, lines), CCaption::Paint(p, area, lines));
        EXPECT_EQ(cache.PaintColourBar(q, area, c.peak, 40),
                  CColourBar::Paint(p, area, c.peak, 40));
        p.end();
        q.end();
        // Compositing rounds a premultiplied pixel once more: one step at most.
        int worst = 0;
        for (int y = 0; y < c.size.height(); ++y)
            for (int x = 0; x < c.size.width(); ++x) {
                const QRgb a = direct.pixel(x, y), b = cached.pixel(x, y);
                worst = std::max({worst, std::abs(qRed(a) - qRed(b)),
                                  std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
            }
        EXPECT_LE(worst, 1) << c.phase;
    }
    EXPECT_EQ(cache.Size(), 5); // three captions, two bars: a repeated panel is kept once

    // A long period of large captions: the oldest go, the memory stays bounded.
    COverlayCache big;
    QImage frame(1600, 1200, QImage::Format_RGB32);
    QPainter p(&frame);
    QStringList lines(30, QStringLiteral("A long line of caption text, for a wide panel"));
    const QRect panel = CCaption::PanelRect(frame.rect(), lines);
    const std::size_t bytes = static_cast<std::size_t>(panel.width()) * panel.height() * 4;
    for (int k = 0; k < 100; ++k) {
        lines.last() = QStringLiteral("Phase: frame %1").arg(k);
        big.PaintCaption(p, frame.rect(), lines);
        EXPECT_LE(static_cast<std::size_t>(big.Size()) * bytes, COverlayCache::kMaxBytes + bytes);
    }
    EXPECT_GT(big.Size(), 1);
}

} // namespace
