// qvrtool animate FILE.qvr --series N --out X.gif|X.mp4 [options]: periods of a series'
// deflection shape as an animated GIF or an H.264 MP4, drawn as the animating view draws them.
#include "CommandRegistry.h"
#include "ToolUtil.h"

#include "CAnimationExport.h"
#include "CCameraMath.h"
#include "CQuivraDoc.h"
#include "CViewState.h"

#include <cstdio>

using namespace tool;

namespace {

const char* const kUsage = "animate FILE.qvr --series N --out OUT.gif|OUT.mp4 [--size WxH] "
                           "[--periods P] [--fps F] [--look classic|clear] [--rot X,Y,Z] "
                           "[--no-caption]";

int Run(const QStringList& args) {
    if (args.isEmpty())
        return Usage(kUsage);
    CAnimationExport::Options o;
    int series = -1, look = CViewState::LookClassic;
    QString out;
    std::vector<double> rot{0, 0, 0};
    for (int i = 1; i < args.size(); ++i) {
        const QString& opt = args[i];
        if (opt == QLatin1String("--no-caption")) {
            o.caption = false;
            continue;
        }
        if (i + 1 >= args.size()) {
            Fail(QStringLiteral("option %1 needs a value").arg(opt));
            return Usage(kUsage);
        }
        const QString value = args[++i];
        bool good = true;
        if (opt == QLatin1String("--series"))
            good = ParseInt(value, series) && series >= 0;
        else if (opt == QLatin1String("--out"))
            out = value;
        else if (opt == QLatin1String("--size"))
            good = ParseSize(value, 1, o.width, o.height);
        else if (opt == QLatin1String("--periods"))
            good = ParseInt(value, o.periods) && o.periods >= 1 &&
                   o.periods <= CAnimationExport::kMaxPeriods;
        else if (opt == QLatin1String("--fps"))
            good = ParseInt(value, o.fps) && o.fps >= 1 && o.fps <= CAnimationExport::kMaxFps;
        else if (opt == QLatin1String("--rot"))
            good = ParseFiniteDoubles(value, 3, rot);
        else if (opt == QLatin1String("--look"))
            good = ParseLook(value, look);
        else {
            Fail(QStringLiteral("unknown option %1").arg(opt));
            return Usage(kUsage);
        }
        if (!good) {
            Fail(QStringLiteral("bad %1 \"%2\"").arg(opt, value));
            return Usage(kUsage);
        }
    }
    if (series < 0 || out.isEmpty()) {
        Fail(QStringLiteral("--series and --out are required"));
        return Usage(kUsage);
    }
    const CAnimationExport::Format format = CAnimationExport::FormatOf(out);
    if (format == CAnimationExport::Unknown) {
        Fail(QStringLiteral("unknown animation type of %1 (gif or mp4)").arg(out));
        return Usage(kUsage);
    }
    auto doc = LoadScene(args[0]);
    if (!doc)
        return 1;
    const QString bad = CAnimationExport::Check(format, *doc, series, o);
    if (!bad.isEmpty())
        return Fail(bad);

    CViewState st;
    st.m_nCurrentSeries = series;
    st.m_nLook = look;
    st.m_dRotX = rot[0];
    st.m_dRotY = rot[1];
    st.m_dRotZ = rot[2];
    st.m_dZoom = CViewState::FitZoom(*doc);
    // The whole model in the picture, centred.
    CCameraMath::FitAll(st, *doc, o.width, o.height);
    const CAnimationExport::Result r = CAnimationExport::Write(out, *doc, st, o);
    if (!r.bWritten)
        return Fail(r.error);
    Print(QStringLiteral("%1: %2 frames, %3 x %4\n")
              .arg(out)
              .arg(r.nFrames)
              .arg(r.width)
              .arg(r.height));
    return 0;
}

CommandRegistrar reg{
    {"animate", kUsage, "write periods of a series as an animated GIF or an H.264 MP4", Run, true}};

} // namespace
