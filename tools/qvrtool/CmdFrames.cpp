// qvrtool frames FILE.qvr [options]: one animation period of a series as numbered 24-bit BMP
// files, named and laid out as the view's Animation Save writes them.
#include "CommandRegistry.h"
#include "ToolUtil.h"

#include "CCameraMath.h"
#include "COffscreenGL.h"
#include "CPeriodWriter.h"
#include "CQuivraDoc.h"
#include "CSceneRenderer.h"
#include "CViewState.h"
#include "Deflection.h"

#include <QFileInfo>

#include <cmath>

using namespace tool;

namespace {

const char* const kUsage = "frames FILE.qvr [--series S] [--size WxH] [--rot X,Y,Z] [--zoom Z] "
                           "[--out BASE] [--look classic|clear] [--fit]";

struct Options {
    int width = 640, height = 480;
    std::vector<double> rot{0, 0, 0};
    double zoom = 0.0;
    bool hasZoom = false;
    int series = 0;
    int look = CViewState::LookClassic;
    bool fit = false;
    QString out;
    bool hasOut = false;
};

// Fills `o` from the arguments after the scene file; returns an error text or "" on success.
QString ParseOptions(const QStringList& args, Options& o) {
    for (int i = 1; i < args.size(); ++i) {
        const QString& opt = args[i];
        if (opt == QLatin1String("--fit")) {
            o.fit = true;
            continue;
        }
        if (i + 1 >= args.size())
            return QStringLiteral("option %1 needs a value").arg(opt);
        const QString value = args[++i];
        std::vector<double> v;
        if (opt == QLatin1String("--size")) {
            if (!ParseSize(value, 4, o.width, o.height))
                return QStringLiteral("bad --size \"%1\" (WxH, W 4 to 16384, H 1 to 16384)")
                    .arg(value);
        } else if (opt == QLatin1String("--rot")) {
            if (!ParseFiniteDoubles(value, 3, o.rot))
                return QStringLiteral("bad --rot \"%1\" (X,Y,Z degrees)").arg(value);
        } else if (opt == QLatin1String("--zoom")) {
            if (!ParseFiniteDoubles(value, 1, v) || v[0] <= 0.0)
                return QStringLiteral("bad --zoom \"%1\" (a positive number)").arg(value);
            o.zoom = v[0];
            o.hasZoom = true;
        } else if (opt == QLatin1String("--look")) {
            if (!ParseLook(value, o.look))
                return QStringLiteral("bad --look \"%1\" (classic or clear)").arg(value);
        } else if (opt == QLatin1String("--series")) {
            if (!ParseInt(value, o.series) || o.series < 0)
                return QStringLiteral("bad --series \"%1\"").arg(value);
        } else if (opt == QLatin1String("--out")) {
            o.out = value;
            o.hasOut = true;
        } else {
            return QStringLiteral("unknown option %1").arg(opt);
        }
    }
    return QString();
}

int Run(const QStringList& args) {
    if (args.isEmpty())
        return Usage(kUsage);
    Options o;
    const QString bad = ParseOptions(args, o);
    if (!bad.isEmpty()) {
        Fail(bad);
        return Usage(kUsage);
    }
    auto doc = LoadScene(args[0]);
    if (!doc)
        return 1;
    if (doc->m_nSeries == 0)
        return Fail(QStringLiteral("the scene has no measurement series; nothing written"));
    if (o.series >= doc->m_nSeries)
        return Fail(QStringLiteral("series %1 does not exist (the scene has %2)")
                        .arg(o.series)
                        .arg(doc->m_nSeries));
    const int frames = Deflection::FramesPerPeriod(*doc, o.series);
    if (frames < 1)
        return Fail(
            QStringLiteral("series %1 has no frames per period; nothing written").arg(o.series));
    if (frames > CQuivraDoc::kMaxFramesPerPeriod)
        return Fail(CPeriodWriter::TooManyFrames(frames));

    CViewState st;
    st.m_dRotX = o.rot[0];
    st.m_dRotY = o.rot[1];
    st.m_dRotZ = o.rot[2];
    st.m_dZoom = o.hasZoom ? o.zoom : CViewState::FitZoom(*doc);
    st.m_nCurrentSeries = o.series;
    st.m_nLook = o.look;
    // The whole scene centred in the picture at the chosen rotation (a given zoom then applies).
    if (o.fit && CCameraMath::FitAll(st, *doc, o.width, o.height) && o.hasZoom)
        st.m_dZoom = o.zoom;

    COffscreenGL gl;
    const QString failure = gl.Resize(o.width, o.height);
    if (!failure.isEmpty())
        return Fail(QStringLiteral("GLDib: ") + failure);
    CSceneRenderer renderer;
    renderer.m_fnReport = [](const QString& text) { Fail(text); };

    // The document's full path, as the view names the files of a saved document.
    const QString prefix = o.hasOut ? o.out : QFileInfo(args[0]).absoluteFilePath();
    QString nameNote;
    const QString base = CPeriodWriter::BaseName(prefix, *doc, o.series, &nameNote);
    if (!nameNote.isEmpty())
        Fail(nameNote); // a note on stderr; the frames are still written
    const CPeriodWriter::Result r =
        CPeriodWriter::Render(gl, renderer, *doc, st, o.width, o.height, base);
    for (const QString& f : r.failed)
        Fail(f);
    if (r.nRemoved > 0)
        Fail(QStringLiteral("the %1 frames written before the failure were removed again")
                 .arg(r.nRemoved));
    Print(QStringLiteral("%1 of %2 frames written: %3 to %4\n")
              .arg(r.nWritten)
              .arg(r.nFrames)
              .arg(CPeriodWriter::FileName(base, 0), CPeriodWriter::FileName(base, r.nFrames - 1)));
    return r.failed.isEmpty() ? 0 : 1;
}

CommandRegistrar reg{{"frames", kUsage,
                      "write one animation period of a series as numbered 24-bit BMP files", Run,
                      true}};

} // namespace
