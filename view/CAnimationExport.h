#pragma once

#include "CPeriodWriter.h"

#include <QString>

class CQuivraDoc;
class CViewState;

// Periods of a series' deflection shape as one file that plays by itself: an animated GIF or
// an H.264 MP4, chosen by the name's extension. Every frame is drawn as the animating view draws
// it. A cancelled or failed export leaves no file under the name (an old one stays as it was).
class CAnimationExport {
public:
    enum Format { Unknown, Gif, Mp4 };
    struct Options {
        int width = 640;
        int height = 480;
        int periods = 1;
        int fps = 25;
        bool caption = true;
    };
    struct Result {
        bool bWritten = false;
        bool bCancelled = false;
        int nFrames = 0; // frames in the file
        int width = 0, height = 0;
        QString error;
    };
    static constexpr int kMaxPeriods = 100;
    static constexpr int kMaxFps = 100;

    static Format FormatOf(const QString& path);
    // The size the file gets: an MP4's sides are rounded down to even numbers.
    static void FrameSize(Format format, int& width, int& height);
    // Empty when `options` can be exported to `format` for `series` of `doc`, else why not.
    static QString Check(Format format, const CQuivraDoc& doc, int series, const Options& options);

    // Writes the file for state.m_nCurrentSeries, in state's camera and style. `progress` as
    // for CPeriodWriter (frame k of all, false cancels).
    static Result Write(const QString& path, const CQuivraDoc& doc, const CViewState& state,
                        const Options& options, const CPeriodWriter::Progress& progress = {});
};
