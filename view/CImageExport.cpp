#include "CImageExport.h"

#include "AtomicFile.h"

#include "CBmpWriter.h"
#include "CCaption.h"
#include "COffscreenGL.h"
#include "CQuivraDoc.h"
#include "CSceneRenderer.h"
#include "CVectorPicture.h"
#include "CViewState.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageWriter>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>

#include <memory>

namespace {

QString Failed(const QString& path, const QString& why) {
    return QStringLiteral("cannot write %1: %2").arg(path, why);
}

} // namespace

bool CImageExport::Commit(QSaveFile& file, bool written, const QString& path, QString* error) {
    // QSaveFile commits a truncated file as readily as a whole one: a write cut short by a full
    // disk or a file-size limit is no error to it, so the writer's own count decides.
    QString why;
    if (file.error() != QFileDevice::NoError)
        why = file.errorString();
    else if (!written || !file.flush())
        why = AtomicFile::ShortWriteReason();
    if (!why.isEmpty()) {
        file.cancelWriting();
        if (error)
            *error = Failed(path, why);
        return false;
    }
    if (!file.commit()) {
        if (error)
            *error = Failed(path, file.errorString());
        return false;
    }
    return true;
}

CImageExport::Format CImageExport::FormatOf(const QString& path) {
    const QString ext = QFileInfo(path).suffix().toLower();
    if (ext.isEmpty() || ext == QLatin1String("bmp"))
        return Bmp;
    if (ext == QLatin1String("png"))
        return Png;
    if (ext == QLatin1String("svg"))
        return Svg;
    if (ext == QLatin1String("pdf"))
        return Pdf;
    return Unknown;
}

QString CImageExport::CheckSize(int width, int height) {
    if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide)
        return QStringLiteral("The picture size %1 x %2 is not possible: each side must be "
                              "1 to %3 pixels.")
            .arg(width)
            .arg(height)
            .arg(kMaxSide);
    return QString();
}

void CImageExport::PaintCaption(QPainter& painter, const CQuivraDoc& doc, const CViewState& state,
                                int width, int height) {
    if (state.m_nLook != CViewState::LookClear)
        CCaption::Paint(painter, QRect(0, 0, width, height), CCaption::Lines(doc, state));
}

bool CImageExport::Write(const QString& path, const CQuivraDoc& doc, const CViewState& state,
                         int width, int height, bool caption, QString* error) {
    const Format format = FormatOf(path);
    QString bad = format == Unknown ? QStringLiteral("unknown picture type \"%1\" (bmp, png, svg "
                                                     "or pdf)")
                                          .arg(QFileInfo(path).suffix())
                                    : CheckSize(width, height);
    if (format == Bmp && bad.isEmpty() && CBmpWriter::CutWidth(width) < 1)
        bad = QStringLiteral("A BMP needs a width of at least 4 pixels.");
    if (!bad.isEmpty()) {
        if (error)
            *error = bad;
        return false;
    }
    CViewState st = state;
    COffscreenGL gl;
    const QString failure = gl.Resize(width, height);
    if (!failure.isEmpty()) {
        if (error)
            *error = QStringLiteral("GLDib: ") + failure;
        return false;
    }
    CSceneRenderer renderer;
    renderer.m_bCaption = caption;

    // The file is made in memory first and written in one checked piece: the PDF and SVG
    // writers do not notice a write cut short by a full disk.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    bool painted = false;
    if (format == Bmp || format == Png) {
        if (renderer.RenderFrame(gl, doc, st, width, height)) {
            QImage image = gl.Image().copy();
            if (format == Bmp) {
                bytes = CBmpWriter::FileBytes(image);
                painted = true;
            } else {
                if (caption) {
                    QPainter p(&image);
                    PaintCaption(p, doc, st, width, height);
                }
                painted = QImageWriter(&buffer, "png").write(image);
            }
        }
    } else {
        QSvgGenerator svg;
        std::unique_ptr<QPdfWriter> pdf;
        QPainter painter;
        if (format == Svg) {
            svg.setOutputDevice(&buffer);
            svg.setSize(QSize(width, height));
            svg.setViewBox(QRect(0, 0, width, height));
            svg.setTitle(QFileInfo(doc.GetPathName()).fileName());
            painted = painter.begin(&svg);
        } else {
            pdf = std::make_unique<QPdfWriter>(&buffer);
            // One device unit per pixel of the picture, at the screen's 96 per inch.
            pdf->setResolution(96);
            pdf->setPageLayout(
                QPageLayout(QPageSize(QSizeF(width * 0.75, height * 0.75), QPageSize::Point),
                            QPageLayout::Portrait, QMarginsF()));
            pdf->setCreator(QStringLiteral("Quivra"));
            pdf->setTitle(QFileInfo(doc.GetPathName()).fileName());
            painted = painter.begin(pdf.get());
        }
        if (painted) {
            painted = CVectorPicture::Draw(painter, gl, renderer, doc, st, width, height);
            if (caption)
                PaintCaption(painter, doc, st, width, height);
            painted = painter.end() && painted;
        }
    }
    QString why = QStringLiteral("the picture could not be drawn");
    if (painted && !bytes.isEmpty() &&
        AtomicFile::Write(path, bytes.constData(), bytes.size(), &why))
        return true;
    if (error)
        *error = Failed(path, why);
    return false;
}
