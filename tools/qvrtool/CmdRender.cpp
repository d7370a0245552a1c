// qvrtool render FILE.qvr OUT [options]: one frame through the view's own drawing code,
// headless, written as a 24-bit BMP, a PNG, or an SVG or PDF of line art (by OUT's extension).
#include "CommandRegistry.h"
#include "ToolUtil.h"

#include "CCameraMath.h"
#include "CImageExport.h"
#include "CQuivraDoc.h"
#include "CViewState.h"
#include "Deflection.h"

#include <QFileInfo>

#include <cmath>
#include <cstdio>

using namespace tool;

namespace {

const char* const kUsage =
    "render FILE.qvr [OUT.bmp|.png|.svg|.pdf] [--out OUT] [--size WxH] [--rot X,Y,Z] [--zoom Z] "
    "[--pan X,Y,Z] [--series S] [--frame K] [--show LIST] [--hide LIST] [--look classic|clear] "
    "[--fit] [--no-caption]";

// Points at the display toggle called `name`, or null.
std::int32_t* Toggle(CViewState& st, const QString& name) {
    if (name == QLatin1String("lines"))
        return &st.m_bShowLines;
    if (name == QLatin1String("base"))
        return &st.m_bShowBase;
    if (name == QLatin1String("centerlines"))
        return &st.m_bShowCenterLines;
    if (name == QLatin1String("directions"))
        return &st.m_bShowDirections;
    if (name == QLatin1String("pointnumbers"))
        return &st.m_bShowPointNumbers;
    if (name == QLatin1String("directionnumbers"))
        return &st.m_bShowDirectionNumbers;
    if (name == QLatin1String("orbits"))
        return &st.m_bShowOrbits;
    return nullptr;
}

bool SetToggles(CViewState& st, const QString& list, std::int32_t value) {
    for (const QString& name : list.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        std::int32_t* flag = Toggle(st, name.trimmed());
        if (!flag)
            return false;
        *flag = value;
    }
    return true;
}

struct Options {
    int width = 640, height = 480;
    std::vector<double> rot{0, 0, 0}, pan{0, 0, 0};
    double zoom = 0.0;
    bool hasZoom = false;
    int series = 0;
    int look = CViewState::LookClassic;
    bool fit = false;
    bool caption = true;
    int frame = -1; // -1: at rest
    QString out;
    QString show, hide;
};

// Fills `o` from the arguments after the scene (the output's name first unless it comes with
// --out); returns an error text or "" on success.
QString ParseOptions(const QStringList& args, Options& o) {
    int i = 1;
    if (i < args.size() && !args[i].startsWith(QLatin1String("--")))
        o.out = args[i++];
    for (; i < args.size(); ++i) {
        const QString& opt = args[i];
        if (opt == QLatin1String("--fit")) {
            o.fit = true;
            continue;
        }
        if (opt == QLatin1String("--no-caption")) {
            o.caption = false;
            continue;
        }
        if (i + 1 >= args.size())
            return QStringLiteral("option %1 needs a value").arg(opt);
        const QString value = args[++i];
        std::vector<double> v;
        if (opt == QLatin1String("--out")) {
            o.out = value;
        } else if (opt == QLatin1String("--size")) {
            if (!ParseSize(value, 1, o.width, o.height))
                return QStringLiteral("bad --size \"%1\" (WxH, each 1 to 16384)").arg(value);
        } else if (opt == QLatin1String("--rot")) {
            if (!ParseFiniteDoubles(value, 3, o.rot))
                return QStringLiteral("bad --rot \"%1\" (X,Y,Z degrees)").arg(value);
        } else if (opt == QLatin1String("--pan")) {
            if (!ParseFiniteDoubles(value, 3, o.pan))
                return QStringLiteral("bad --pan \"%1\" (X,Y,Z)").arg(value);
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
        } else if (opt == QLatin1String("--frame")) {
            if (!ParseInt(value, o.frame) || o.frame < 0)
                return QStringLiteral("bad --frame \"%1\"").arg(value);
        } else if (opt == QLatin1String("--show")) {
            o.show += QLatin1Char(',') + value;
        } else if (opt == QLatin1String("--hide")) {
            o.hide += QLatin1Char(',') + value;
        } else {
            return QStringLiteral("unknown option %1").arg(opt);
        }
    }
    return QString();
}

int Run(const QStringList& args) {
    if (args.size() < 2)
        return Usage(kUsage);
    Options o;
    QString bad = ParseOptions(args, o);
    const CImageExport::Format format = CImageExport::FormatOf(o.out);
    // BMP rows are cut to a multiple of 4 pixels: a narrower frame would have none.
    if (bad.isEmpty() && format == CImageExport::Bmp && o.width < 4)
        bad = QStringLiteral("a BMP needs a width of at least 4 pixels");
    if (bad.isEmpty() && o.out.isEmpty())
        bad = QStringLiteral("no output file given");
    if (bad.isEmpty() && format == CImageExport::Unknown)
        bad = QStringLiteral("unknown picture type \"%1\" (bmp, png, svg or pdf)")
                  .arg(QFileInfo(o.out).suffix());
    if (!bad.isEmpty()) {
        Fail(bad);
        return Usage(kUsage);
    }
    CViewState st;
    if (!SetToggles(st, o.show, 1) || !SetToggles(st, o.hide, 0)) {
        Fail(QStringLiteral(
            "unknown display name; use "
            "lines,base,centerlines,directions,pointnumbers,directionnumbers,orbits"));
        return Usage(kUsage);
    }

    auto doc = LoadScene(args[0]);
    if (!doc)
        return 1;
    if (o.series >= doc->m_nSeries && !(o.series == 0 && doc->m_nSeries == 0))
        return Fail(QStringLiteral("series %1 does not exist (the scene has %2)")
                        .arg(o.series)
                        .arg(doc->m_nSeries));
    const int n = Deflection::FramesPerPeriod(*doc, o.series);
    if (o.frame >= 0 && n > 0 && o.frame >= n)
        return Fail(
            QStringLiteral("frame %1 is outside the period (0 to %2)").arg(o.frame).arg(n - 1));

    st.m_dRotX = o.rot[0];
    st.m_dRotY = o.rot[1];
    st.m_dRotZ = o.rot[2];
    st.m_dPanX = o.pan[0];
    st.m_dPanY = o.pan[1];
    st.m_dPanZ = o.pan[2];
    st.m_dZoom = o.hasZoom ? o.zoom : CViewState::FitZoom(*doc);
    st.m_nCurrentSeries = o.series;
    st.m_nLook = o.look;
    // The whole scene centred in the picture at the chosen rotation (a given zoom then applies).
    if (o.fit && CCameraMath::FitAll(st, *doc, o.width, o.height) && o.hasZoom)
        st.m_dZoom = o.zoom;
    if (o.frame >= 0) {
        st.m_bAnimating = 1;
        st.m_nFrame = o.frame;
    }

    QString error;
    if (!CImageExport::Write(o.out, *doc, st, o.width, o.height, o.caption, &error))
        return Fail(error);
    return 0;
}

CommandRegistrar reg{
    {"render", kUsage, "render one frame of a scene to a BMP, PNG, SVG or PDF", Run, true}};

} // namespace
