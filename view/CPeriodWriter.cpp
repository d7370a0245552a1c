#include "CPeriodWriter.h"

#include "CBmpWriter.h"
#include "COffscreenGL.h"
#include "CQuivraDoc.h"
#include "CSceneRenderer.h"
#include "CViewState.h"
#include "Deflection.h"

#include <QFile>
#include <QFileInfo>

QString CPeriodWriter::BaseName(const QString& docPath, const CQuivraDoc& doc, int series,
                                QString* note) {
    QString name;
    if (series >= 0 && series < static_cast<int>(doc.m_seriesNames.size())) {
        const std::string& stored = doc.m_seriesNames[series];
        name = QString::fromLatin1(stored.data(), static_cast<qsizetype>(stored.size()));
    }
    const QString lead = docPath + QStringLiteral(" - ");
    // A file name is at most 255 bytes and holds no '/' (nor NUL); control characters are
    // legal but nothing a user can type back. "_" + up to 10 digits + ".bmp" follow the name.
    int room = 255 - static_cast<int>(QFile::encodeName(QFileInfo(lead).fileName()).size()) - 15;
    QString part;
    for (QChar c : name) {
        const int bytes = c.unicode() < 0x80 ? 1 : 2; // a Latin-1 character in UTF-8
        if (bytes > room)
            break;
        room -= bytes;
        part += (c == QLatin1Char('/') || c.unicode() < 0x20 || c.unicode() == 0x7F)
                    ? QLatin1Char('_')
                    : c;
    }
    if (note) {
        note->clear();
        if (part != name)
            *note = QStringLiteral("The series name \"%1\" cannot be part of a file name as it "
                                   "is; the images are named after \"%2\".")
                        .arg(name.left(60) + (name.size() > 60 ? QStringLiteral("...") : QString()),
                             part);
    }
    return lead + part;
}

QString CPeriodWriter::TooManyFrames(int frames) {
    return QStringLiteral("The series has %1 frames per period; at most %2 images are written "
                          "for one period. Nothing was written.")
        .arg(frames)
        .arg(CQuivraDoc::kMaxFramesPerPeriod);
}

QString CPeriodWriter::FileName(const QString& base, int k) {
    return base + QString::asprintf("_%03d.bmp", k + 1);
}

CPeriodWriter::Result CPeriodWriter::Write(const QString& base, int frames,
                                           const FrameSource& source, const Progress& progress) {
    Result r;
    r.nFrames = frames;
    QStringList written;
    for (int k = 0; k < frames; ++k) {
        if (progress && !progress(k, frames)) {
            r.bCancelled = true;
            break;
        }
        const QString path = FileName(base, k);
        const QImage frame = source(k);
        // A frame that was not drawn must not reach the file as a stale picture.
        if (frame.isNull() || CBmpWriter::CutWidth(frame.width()) < 1) {
            r.failed << QStringLiteral("%1: the frame could not be drawn").arg(path);
            continue;
        }
        QString error;
        if (CBmpWriter::Write(frame, path, &error))
            written << path;
        else
            r.failed << error;
    }
    if (r.bCancelled || !r.failed.isEmpty()) {
        for (const QString& path : written)
            r.nRemoved += QFile::remove(path) ? 1 : 0;
        r.nWritten = static_cast<int>(written.size()) - r.nRemoved;
        return r;
    }
    r.nWritten = static_cast<int>(written.size());
    if (progress)
        progress(frames, frames);
    return r;
}

CPeriodWriter::Result CPeriodWriter::Render(COffscreenGL& gl, CSceneRenderer& renderer,
                                            const CQuivraDoc& doc, CViewState& state, int width,
                                            int height, const QString& base,
                                            const Progress& progress) {
    const int n = Deflection::FramesPerPeriod(doc, state.m_nCurrentSeries);
    if (n < 1)
        return Result();
    state.m_bAnimating = 1;
    const Result r = Write(
        base, n,
        [&](int k) {
            state.m_nFrame = k;
            if (!renderer.RenderFrame(gl, doc, state, width, height))
                return QImage();
            return gl.Image();
        },
        progress);
    state.m_bAnimating = 0;
    return r;
}
