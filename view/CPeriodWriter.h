#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

#include <functional>

class COffscreenGL;
class CQuivraDoc;
class CSceneRenderer;
class CViewState;

// One animation period of a series as numbered 24-bit BMP files, "<base>_001.bmp" onwards.
// Window-free: the view's Animation Save and qvrtool share the names, the layout and the loop.
class CPeriodWriter {
public:
    // What a run did: files written, files that could not be written (with the reason), and
    // whether it stopped early at the caller's request.
    struct Result {
        int nFrames = 0;
        int nWritten = 0; // files of this run that stay
        int nRemoved = 0; // files written, then removed again because the run failed
        QStringList failed;
        bool bCancelled = false;
    };

    // Renders frame k (0-based) and returns it; a null image means the frame was not drawn.
    using FrameSource = std::function<QImage(int k)>;
    // Called before frame k of n is rendered and once more with k == n; false stops the run.
    using Progress = std::function<bool(int k, int n)>;

    // The base of the file names: the document's path, " - ", the series' name. Characters a
    // file name cannot hold become '_' and an overlong name is cut, so that every frame's file
    // can be made; `note` (if given) then says so, else it is emptied.
    static QString BaseName(const QString& docPath, const CQuivraDoc& doc, int series,
                            QString* note = nullptr);
    // Why a period of `frames` (above CQuivraDoc::kMaxFramesPerPeriod) is not written.
    static QString TooManyFrames(int frames);
    // The file of frame k (0-based): "%s_%03d.bmp" with k + 1.
    static QString FileName(const QString& base, int k);

    // Writes `frames` files, each complete or not at all. A file that cannot be written is
    // listed and the run goes on; at the end of a run that failed or was cancelled, the files
    // it wrote are removed again: part of a period is no animation.
    static Result Write(const QString& base, int frames, const FrameSource& source,
                        const Progress& progress = {});

    // The headless period: every frame of state.m_nCurrentSeries drawn as the animating view
    // draws it, into `gl` at width x height. `state` is left at the last frame, animating
    // cleared. Nothing is written when the series has no frames (Result::nFrames is 0).
    static Result Render(COffscreenGL& gl, CSceneRenderer& renderer, const CQuivraDoc& doc,
                         CViewState& state, int width, int height, const QString& base,
                         const Progress& progress = {});
};
