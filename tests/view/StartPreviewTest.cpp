// While the GL library opens in the background at start, a view shows the model's lines drawn
// without GL, then its first frame as soon as the library is ready; nothing in between is
// black or lost.
#include "SceneBuilder.h"

#include "CCameraMath.h"
#include "COSMesaLibrary.h"
#include "CQuivraDoc.h"
#include "CQuivraView.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace scene;

namespace {

// The darkest grey level within a pixel of (x, y).
int DarkestNear(const QImage& image, double x, double y) {
    int darkest = 255;
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            const QPoint p(static_cast<int>(x) + dx, static_cast<int>(y) + dy);
            if (image.rect().contains(p))
                darkest = qMin(darkest, qGray(image.pixel(p)));
        }
    return darkest;
}

TEST(StartPreview, ShowsTheLinesUntilTheLibraryIsReadyThenTheFrame) {
    CQuivraDoc doc;
    AddLine(doc, AddFree(doc, -300, 0, 0), AddFree(doc, 300, 0, 0));
    COSMesaLibrary::HoldForTest(true);
    CQuivraView view(&doc);
    view.resize(300, 200);
    QSignalSpy previews(&view, &COpenGLView::PreviewPainted);
    QSignalSpy frames(&view, &COpenGLView::FramePainted);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));

    const QImage preview = view.grab().toImage();
    EXPECT_GE(previews.count(), 1);
    EXPECT_EQ(frames.count(), 0);
    double x, y, qx, qy;
    ASSERT_TRUE(CCameraMath(view, view.width(), view.height()).ToWindow({0, 0, 0}, &x, &y));
    ASSERT_TRUE(CCameraMath(view, view.width(), view.height()).ToWindow({0, 250, 0}, &qx, &qy));
    EXPECT_LT(DarkestNear(preview, x, y), 64) << "the line is not in the preview";
    EXPECT_EQ(DarkestNear(preview, qx, qy), 255) << "the preview is not white off the line";

    COSMesaLibrary::HoldForTest(false);
    ASSERT_TRUE(frames.count() > 0 || frames.wait(5000)) << "no frame once the library was ready";
    EXPECT_EQ(view.Frame().size(), view.size());
    EXPECT_LT(DarkestNear(view.Frame(), x, y), 64) << "the frame lost the line";
}

TEST(StartPreview, CopiesAndPrintsWaitForTheLibraryInsteadOfComingOutEmpty) {
    CQuivraDoc doc;
    AddLine(doc, AddFree(doc, -300, 0, 0), AddFree(doc, 300, 0, 0));
    // Not shown, nothing painted yet: a copy gets a whole frame; a print sets its own size,
    // which the size still waiting for the library must not undo.
    for (const bool print : {false, true}) {
        COSMesaLibrary::HoldForTest(true);
        CQuivraView view(&doc);
        const bool rendered = (!print || view.OnSize(161, 97)) && view.RenderOffscreen();
        COSMesaLibrary::HoldForTest(false);
        ASSERT_TRUE(rendered) << print;
        EXPECT_FALSE(view.Frame().isNull());
        if (print) {
            EXPECT_EQ(view.Frame().size(), QSize(161, 97));
        }
    }
}

} // namespace
