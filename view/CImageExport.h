#pragma once

#include <QString>

class CQuivraDoc;
class CViewState;
class QPainter;
class QSaveFile;

// One picture of a scene as a file, the type chosen by the name's extension: PNG rendered at
// the size asked for, SVG and PDF as line art, BMP as the view's frame. The file appears
// complete or not at all (an existing one stays as it was on failure).
class CImageExport {
public:
    enum Format { Unknown, Bmp, Png, Svg, Pdf };
    // Sides above this are refused: the frame alone would take a gigabyte.
    static constexpr int kMaxSide = 16384;

    // By the extension, case-insensitively; a name without one is a BMP.
    static Format FormatOf(const QString& path);
    // Empty for a size that can be exported, else why not.
    static QString CheckSize(int width, int height);

    // Writes the picture of `state` at width x height to `path`. `caption` adds the caption
    // (file, series, frequency, amplification, phase) to a PNG, SVG or PDF in either style; a
    // BMP is the frame as the view shows it. False with `error` set on failure.
    static bool Write(const QString& path, const CQuivraDoc& doc, const CViewState& state,
                      int width, int height, bool caption, QString* error);

    // Commits `file` when it was `written` completely, else discards it (the target stays as
    // it was). False with `error` naming the cause.
    static bool Commit(QSaveFile& file, bool written, const QString& path, QString* error);

    // The caption that the classic style does not draw itself, over a picture of width x height;
    // nothing for the clear style, whose renderer writes it.
    static void PaintCaption(QPainter& painter, const CQuivraDoc& doc, const CViewState& state,
                             int width, int height);
};
