// qvrtool dump FILE.qvr: the scene as one JSON object.
#include "CommandRegistry.h"
#include "ToolUtil.h"

#include "CQuivraDoc.h"
#include "CornerPoint.h"
#include "Line.h"
#include "MeasDirection.h"
#include "Measurement.h"
#include "SceneObject.h"

#include <cstdio>
#include <unordered_map>

using namespace tool;

namespace {

// The JSON goes to stdout in blocks as it is made: a million-point scene's text (1.5 GB) never
// sits whole in memory, twice over as UTF-16 and UTF-8.
class StreamOut {
public:
    StreamOut& operator+=(const QString& text) {
        m_block += text.toUtf8();
        if (m_block.size() >= kBlock)
            Flush();
        return *this;
    }
    StreamOut& operator+=(QLatin1Char c) {
        m_block += c.toLatin1();
        return *this;
    }
    // False when stdout refused bytes (a full disk, a closed pipe): the dump is then no dump.
    bool Flush() {
        if (!m_block.isEmpty() &&
            std::fwrite(m_block.constData(), 1, static_cast<std::size_t>(m_block.size()), stdout) !=
                static_cast<std::size_t>(m_block.size()))
            m_bFailed = true;
        m_block.clear();
        return !m_bFailed;
    }
    bool Finish() { return Flush() && std::fflush(stdout) == 0 && !std::ferror(stdout); }

private:
    static constexpr qsizetype kBlock = 1 << 20;
    QByteArray m_block;
    bool m_bFailed = false;
};

QString Vec3(double x, double y, double z) {
    return QStringLiteral("[%1,%2,%3]").arg(JsonNumber(x), JsonNumber(y), JsonNumber(z));
}

int Run(const QStringList& args) {
    if (args.size() != 1)
        return Usage("dump FILE.qvr");
    auto doc = LoadScene(args[0]);
    if (!doc)
        return 1;

    const std::vector<CornerPoint*> points = doc->AllPoints();
    std::unordered_map<const CornerPoint*, int> index;
    std::unordered_map<const SceneObject*, int> objectIndex;
    for (std::size_t i = 0; i < points.size(); ++i)
        index.emplace(points[i], static_cast<int>(i));
    for (std::size_t i = 0; i < doc->m_objects.size(); ++i)
        objectIndex.emplace(doc->m_objects[i], static_cast<int>(i));
    auto ref = [&index](const CornerPoint* p) {
        auto it = index.find(p);
        return QString::number(it == index.end() ? -1 : it->second);
    };
    auto lines = [&ref](const std::vector<Line*>& v) {
        QStringList out;
        for (const Line* l : v)
            out << QStringLiteral("[%1,%2]").arg(ref(l->m_pPointA), ref(l->m_pPointB));
        return QLatin1Char('[') + out.join(QLatin1Char(',')) + QLatin1Char(']');
    };

    StreamOut s;
    s += QStringLiteral("{\"series\":[");
    for (int k = 0; k < doc->m_nSeries; ++k) {
        if (k)
            s += QLatin1Char(',');
        const std::string& name = doc->m_seriesNames[k];
        s += QStringLiteral("{\"name\":%1,\"frequency\":%2,\"freqUnit\":%3,\"freqFlag\":%4,"
                            "\"framesPerPeriod\":%5,\"amplification\":%6}")
                 .arg(JsonString(
                          QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()))),
                      JsonNumber(doc->m_seriesFrequency[k]))
                 .arg(doc->m_seriesFreqUnit[k])
                 .arg(doc->m_seriesFreqFlag[k])
                 .arg(doc->m_seriesFramesPerPeriod[k])
                 .arg(JsonNumber(doc->m_seriesAmplification[k]));
    }
    s += QStringLiteral("],\"points\":[");
    for (std::size_t i = 0; i < points.size(); ++i) {
        const CornerPoint* p = points[i];
        if (i)
            s += QLatin1Char(',');
        const int owner = p->m_pOwner ? objectIndex[p->m_pOwner] : -1;
        s += QStringLiteral(
                 "{\"number\":%1,\"x\":%2,\"y\":%3,\"z\":%4,\"owner\":%5,\"directions\":[")
                 .arg(p->m_nNumber)
                 .arg(JsonNumber(p->m_x), JsonNumber(p->m_y), JsonNumber(p->m_z))
                 .arg(owner);
        for (std::size_t j = 0; j < p->m_directions.size(); ++j) {
            const MeasDirection* d = p->m_directions[j];
            if (j)
                s += QLatin1Char(',');
            s += QStringLiteral("{\"number\":%1,\"code\":%2,\"vector\":%3,\"measurements\":[")
                     .arg(d->m_nNumber)
                     .arg(d->m_nCode)
                     .arg(Vec3(d->m_dx, d->m_dy, d->m_dz));
            for (std::size_t m = 0; m < d->m_measurements.size(); ++m) {
                if (m)
                    s += QLatin1Char(',');
                s += QStringLiteral("[%1,%2]").arg(JsonNumber(d->m_measurements[m]->m_dAmplitude),
                                                   JsonNumber(d->m_measurements[m]->m_dPhase));
            }
            s += QStringLiteral("]}");
        }
        s += QStringLiteral("]}");
    }
    s += QStringLiteral("],\"freePointCount\":%1,\"objects\":[").arg(doc->m_freePoints.size());
    for (std::size_t i = 0; i < doc->m_objects.size(); ++i) {
        const SceneObject* o = doc->m_objects[i];
        if (i)
            s += QLatin1Char(',');
        QStringList pts;
        for (const CornerPoint* p : o->m_points)
            pts << ref(p);
        s += QStringLiteral("{\"type\":%1,\"points\":[%2],\"lines\":%3")
                 .arg(o->GetType())
                 .arg(pts.join(QLatin1Char(',')), lines(o->m_lines));
        if (o->GetType() == SceneObject::TypeCylinder) {
            const CornerPoint* c = o->m_pCentre;
            const QString centreLine =
                o->m_bHasCentreLine && o->m_pCentreLine
                    ? QStringLiteral("[%1,%2]").arg(ref(o->m_pCentreLine->m_pPointA),
                                                    ref(o->m_pCentreLine->m_pPointB))
                    : QStringLiteral("null");
            s +=
                QStringLiteral(",\"radius\":%1,\"centre\":%2,\"axis\":%3,\"centreLine\":%4")
                    .arg(JsonNumber(o->m_dRadius), c ? Vec3(c->m_x, c->m_y, c->m_z) : Vec3(0, 0, 0))
                    .arg(o->m_nAxis)
                    .arg(centreLine);
        }
        s += QLatin1Char('}');
    }
    s += QStringLiteral("],\"freeLines\":[");
    for (std::size_t i = 0; i < doc->m_freeLines.size(); ++i) {
        const Line* l = doc->m_freeLines[i];
        if (i)
            s += QLatin1Char(',');
        s += QStringLiteral("[%1,%2]").arg(ref(l->m_pPointA), ref(l->m_pPointB));
    }
    s += QStringLiteral("],\"nextPointNumber\":%1,\"nextDirectionNumber\":%2}\n")
             .arg(doc->m_nNextPointNumber)
             .arg(doc->m_nNextDirectionNumber);
    if (!s.Finish())
        return Fail(QStringLiteral("qvrtool dump: the output could not be written"));
    return 0;
}

CommandRegistrar reg{{"dump", "dump FILE.qvr", "print the scene as JSON", Run}};

} // namespace
