#include "CAnimationExport.h"

#include "CGifWriter.h"
#include "CImageExport.h"
#include "CMp4Writer.h"
#include "COffscreenGL.h"
#include "CQuivraDoc.h"
#include "CSceneRenderer.h"
#include "CViewState.h"
#include "Deflection.h"

#include <QFileInfo>
#include <QPainter>
#include <QSaveFile>

#include <cmath>

CAnimationExport::Format CAnimationExport::FormatOf(const QString& path) {
    const QString ext = QFileInfo(path).suffix().toLower();
    if (ext == QLatin1String("gif"))
        return Gif;
    if (ext == QLatin1String("mp4"))
        return Mp4;
    return Unknown;
}

void CAnimationExport::FrameSize(Format format, int& width, int& height) {
    if (format == Mp4) {
        width -= width % 2;
        height -= height % 2;
    }
}

QString CAnimationExport::Check(Format format, const CQuivraDoc& doc, int series,
                                const Options& o) {
    if (format == Unknown)
        return QStringLiteral("An animation is written as .gif or .mp4.");
    const QString size = CImageExport::CheckSize(o.width, o.height);
    if (!size.isEmpty())
        return size;
    if (format == Mp4 && (o.width < 2 || o.height < 2))
        return QStringLiteral("An MP4 needs at least 2 x 2 pixels.");
    if (o.periods < 1 || o.periods > kMaxPeriods)
        return QStringLiteral("The number of periods must be 1 to %1.").arg(kMaxPeriods);
    if (o.fps < 1 || o.fps > kMaxFps)
        return QStringLiteral("The frame rate must be 1 to %1 frames a second.").arg(kMaxFps);
    if (series < 0 || series >= doc.m_nSeries || Deflection::FramesPerPeriod(doc, series) < 1)
        return QStringLiteral("The scene has no measurement series to animate.");
    return QString();
}

CAnimationExport::Result CAnimationExport::Write(const QString& path, const CQuivraDoc& doc,
                                                 const CViewState& state, const Options& o,
                                                 const CPeriodWriter::Progress& progress) {
    Result r;
    const Format format = FormatOf(path);
    r.error = Check(format, doc, state.m_nCurrentSeries, o);
    if (!r.error.isEmpty())
        return r;
    int w = o.width, h = o.height;
    FrameSize(format, w, h);
    r.width = w;
    r.height = h;
    const int n = Deflection::FramesPerPeriod(doc, state.m_nCurrentSeries);
    const int total = n * o.periods;

    COffscreenGL gl;
    r.error = gl.Resize(w, h);
    if (!r.error.isEmpty()) {
        r.error.prepend(QStringLiteral("GLDib: "));
        return r;
    }
    CSceneRenderer renderer;
    renderer.m_bCaption = o.caption;
    CViewState st = state;
    st.m_bAnimating = 1;

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        r.error = QStringLiteral("cannot create %1: %2").arg(path, file.errorString());
        return r;
    }
    CGifWriter gif;
    CMp4Writer mp4;
    bool ok =
        format == Gif ? gif.Open(&file, w, h, &r.error) : mp4.Open(&file, w, h, o.fps, &r.error);
    // Hundredths of a second per frame, as near the rate as a GIF can show it.
    const int delay = std::max(1, static_cast<int>(std::lround(100.0 / o.fps)));
    for (int k = 0; ok && k < total; ++k) {
        if (progress && !progress(k, total)) {
            r.bCancelled = true;
            ok = false;
            break;
        }
        st.m_nFrame = k % n;
        if (!renderer.RenderFrame(gl, doc, st, w, h)) {
            r.error = QStringLiteral("frame %1 could not be drawn").arg(k + 1);
            ok = false;
            break;
        }
        QImage frame = gl.Image();
        if (o.caption && st.m_nLook != CViewState::LookClear) {
            frame = frame.copy();
            QPainter p(&frame);
            CImageExport::PaintCaption(p, doc, st, w, h);
        }
        ok = format == Gif ? gif.AddFrame(frame, delay, &r.error) : mp4.AddFrame(frame, &r.error);
        r.nFrames += ok ? 1 : 0;
    }
    if (ok)
        ok = format == Gif ? gif.Close(&r.error) : mp4.Close(&r.error);
    if (!ok) {
        file.cancelWriting();
        if (r.error.isEmpty() && !r.bCancelled)
            r.error = QStringLiteral("cannot write %1").arg(path);
        return r;
    }
    if (!CImageExport::Commit(file, true, path, &r.error))
        return r;
    if (progress)
        progress(total, total);
    r.bWritten = true;
    return r;
}
