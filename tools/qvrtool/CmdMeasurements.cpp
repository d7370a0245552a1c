// qvrtool add-series / add-direction / set-value / copy-ktl: measurement data for scripted
// scenes, through the same operations the windows use.
#include "CommandRegistry.h"
#include "ToolUtil.h"

#include "CQuivraDoc.h"
#include "CornerPoint.h"
#include "ImportInstrumentFile.h"
#include "ImportedMeasTable.h"
#include "MeasDirection.h"
#include "Measurement.h"
#include "RegularFile.h"
#include "SceneCommands.h"

#include <QFile>

#include <algorithm>
#include <cmath>
#include <map>

using namespace tool;

namespace {

// "--name value" pairs and "--flag" switches after the positional arguments.
struct Options {
    QStringList positional;
    std::map<QString, QString> values;
    QStringList flags;
    bool Parse(const QStringList& args, const QStringList& valued, const QStringList& switches) {
        for (int i = 0; i < args.size(); ++i) {
            const QString& a = args[i];
            if (valued.contains(a)) {
                if (i + 1 >= args.size())
                    return false;
                values[a] = args[++i];
            } else if (switches.contains(a)) {
                flags << a;
            } else if (a.startsWith(QLatin1String("--"))) {
                return false;
            } else {
                positional << a;
            }
        }
        return true;
    }
    bool Number(const QString& key, double& out) const {
        auto it = values.find(key);
        if (it == values.end())
            return true;
        bool ok = false;
        out = it->second.toDouble(&ok);
        return ok && std::isfinite(out);
    }
    bool Integer(const QString& key, int& out) const {
        auto it = values.find(key);
        if (it == values.end())
            return true;
        bool ok = false;
        out = it->second.toInt(&ok);
        return ok;
    }
};

// IN may be missing: a new, empty scene then.
std::unique_ptr<CQuivraDoc> LoadOrNew(const QString& path) {
    if (!QFile::exists(path))
        return std::make_unique<CQuivraDoc>();
    return LoadScene(path);
}

int AddSeries(const QStringList& args) {
    const char* usage = "add-series IN.qvr OUT.qvr [--name TEXT] [--frequency F] [--rpm] "
                        "[--frames N] [--amplification A]";
    Options o;
    double freq = 1000.0, ampl = 1.0;
    int frames = 24;
    if (!o.Parse(args, {"--name", "--frequency", "--frames", "--amplification"}, {"--rpm"}) ||
        o.positional.size() != 2 || !o.Number("--frequency", freq) ||
        !o.Number("--amplification", ampl) || !o.Integer("--frames", frames))
        return Usage(usage);
    if (frames < 1 || frames > CQuivraDoc::kMaxFramesPerPeriod)
        return Fail(
            QStringLiteral("--frames must be 1 to %1").arg(CQuivraDoc::kMaxFramesPerPeriod));
    const QString name =
        o.values.count(QStringLiteral("--name")) ? o.values[QStringLiteral("--name")] : QString();
    // The file stores one byte per character: anything else would become '?'.
    for (QChar c : name)
        if (c.unicode() > 0xFF)
            return Fail(QStringLiteral("--name \"%1\": a series name can hold only Latin-1 "
                                       "characters")
                            .arg(name));
    auto doc = LoadOrNew(o.positional[0]);
    if (!doc)
        return 1;
    doc->AddSeries();
    const int k = doc->m_nSeries - 1;
    if (o.values.count(QStringLiteral("--name")))
        doc->m_seriesNames[k] = name.toLatin1().toStdString();
    doc->m_seriesFrequency[k] = freq;
    doc->m_seriesFreqUnit[k] = o.flags.contains(QStringLiteral("--rpm")) ? 1 : 0;
    doc->m_seriesFramesPerPeriod[k] = frames;
    doc->m_seriesAmplification[k] = ampl;
    if (!SaveScene(*doc, o.positional[1]))
        return 1;
    Print(QStringLiteral("series %1\n").arg(k));
    return 0;
}

CornerPoint* FindPoint(CQuivraDoc& doc, int number) {
    CornerPoint* found = nullptr;
    doc.ForEachPoint([&](CornerPoint* p) {
        if (!found && p->m_nNumber == number)
            found = p;
    });
    return found;
}

// "3,5,10-12" -> 3 5 10 11 12; at most a million numbers in all.
bool ParseNumberList(const QString& text, std::vector<int>& out) {
    constexpr qint64 kMaxCount = 1000000;
    for (const QString& part : text.split(QLatin1Char(','))) {
        const QStringList range = part.split(QLatin1Char('-'));
        bool ok1 = false, ok2 = true;
        // 64 bits: a range ending at INT_MAX must neither wrap the loop nor the difference.
        const qint64 a = range[0].toInt(&ok1);
        const qint64 b = range.size() == 2 ? range[1].toInt(&ok2) : a;
        if (!ok1 || !ok2 || range.size() > 2 || b < a ||
            b - a + 1 > kMaxCount - static_cast<qint64>(out.size()))
            return false;
        for (qint64 n = a; n <= b; ++n)
            out.push_back(static_cast<int>(n));
    }
    return true;
}

int AddDirection(const QStringList& args) {
    const char* usage =
        "add-direction IN.qvr OUT.qvr --point N[,N|A-B...] --code X|-X|Y|-Y|Z|-Z|R|-R";
    Options o;
    std::vector<int> numbers;
    if (!o.Parse(args, {"--point", "--code"}, {}) || o.positional.size() != 2 ||
        !o.values.count(QStringLiteral("--point")) ||
        !ParseNumberList(o.values[QStringLiteral("--point")], numbers))
        return Usage(usage);
    static const std::map<QString, std::uint16_t> codes = {
        {QStringLiteral("X"), DirPlusX},     {QStringLiteral("-X"), DirMinusX},
        {QStringLiteral("Y"), DirPlusY},     {QStringLiteral("-Y"), DirMinusY},
        {QStringLiteral("Z"), DirPlusZ},     {QStringLiteral("-Z"), DirMinusZ},
        {QStringLiteral("R"), DirRadialOut}, {QStringLiteral("-R"), DirRadialIn}};
    auto code = codes.find(o.values[QStringLiteral("--code")].toUpper());
    if (code == codes.end())
        return Usage(usage);
    auto doc = LoadScene(o.positional[0]);
    if (!doc)
        return 1;
    const bool radial = code->second == DirRadialOut || code->second == DirRadialIn;
    QStringList made;
    for (int number : numbers) {
        CornerPoint* p = FindPoint(*doc, number);
        if (!p)
            return Fail(
                QStringLiteral("%1 has no corner point %2").arg(o.positional[0]).arg(number));
        if (radial && !(p->m_pOwner && p->m_pOwner->GetType() == SceneObject::TypeCylinder))
            return Fail(QStringLiteral("corner point %1 is not a cylinder's point: no radial "
                                       "direction")
                            .arg(number));
        // Already there: kept (the menu would switch it off; a script wants it on).
        const auto has = [&]() -> const MeasDirection* {
            for (const MeasDirection* d : p->m_directions)
                if (d->m_nCode == code->second)
                    return d;
            return nullptr;
        };
        if (!has() && SceneCommands::SetMeasDirection(*doc, p, code->second) ==
                          SceneCommands::DirectionChange::Refused)
            return Fail(QStringLiteral("qvrtool add-direction: %1")
                            .arg(CQuivraDoc::DirectionNumbersUsedUp()));
        made << QString::number(has()->m_nNumber);
    }
    if (!SaveScene(*doc, o.positional[1]))
        return 1;
    Print(QStringLiteral("directions %1\n").arg(made.join(QLatin1Char(' '))));
    return 0;
}

// Lines "DIRECTION AMPLITUDE PHASE" ('#' starts a comment) from FILE or standard input.
int SetValues(const QStringList& args) {
    const char* usage = "set-values IN.qvr OUT.qvr --series S [--from TABLE]";
    Options o;
    int series = 0;
    if (!o.Parse(args, {"--series", "--from"}, {}) || o.positional.size() != 2 ||
        !o.values.count(QStringLiteral("--series")) || !o.Integer("--series", series))
        return Usage(usage);
    auto doc = LoadScene(o.positional[0]);
    if (!doc)
        return 1;
    if (series < 0 || series >= doc->m_nSeries)
        return Fail(QStringLiteral("%1 has no series %2").arg(o.positional[0]).arg(series));
    QFile in;
    const QString from =
        o.values.count(QStringLiteral("--from")) ? o.values[QStringLiteral("--from")] : QString();
    QString why;
    const bool opened = from.isEmpty() ? in.open(stdin, QIODevice::ReadOnly)
                                       : RegularFile::OpenForReading(in, from, &why);
    if (!opened)
        return Fail(QStringLiteral("Cannot read \"%1\": %2")
                        .arg(from, why.isEmpty() ? in.errorString() : why));
    std::map<int, MeasDirection*> byNumber;
    doc->ForEachPoint([&](CornerPoint* p) {
        for (MeasDirection* d : p->m_directions)
            byNumber.emplace(d->m_nNumber, d); // the first of a repeated number
    });
    int lineNo = 0, set = 0;
    while (!in.atEnd()) {
        ++lineNo;
        const QString line = QString::fromUtf8(in.readLine()).section(QLatin1Char('#'), 0, 0);
        const QStringList w = line.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (w.isEmpty())
            continue;
        bool ok1 = false, ok2 = false, ok3 = false;
        const int number = w.size() == 3 ? w[0].toInt(&ok1) : 0;
        const double amplitude = w.size() == 3 ? w[1].toDouble(&ok2) : 0;
        const double phase = w.size() == 3 ? w[2].toDouble(&ok3) : 0;
        if (!ok1 || !ok2 || !ok3 || !std::isfinite(amplitude) || !std::isfinite(phase))
            return Fail(QStringLiteral("line %1: expected DIRECTION AMPLITUDE PHASE").arg(lineNo));
        auto it = byNumber.find(number);
        if (it == byNumber.end())
            return Fail(QStringLiteral("line %1: %2 has no direction %3")
                            .arg(lineNo)
                            .arg(o.positional[0])
                            .arg(number));
        it->second->m_measurements[series]->m_dAmplitude = amplitude;
        it->second->m_measurements[series]->m_dPhase = phase;
        ++set;
    }
    if (!SaveScene(*doc, o.positional[1]))
        return 1;
    Print(QStringLiteral("%1 values\n").arg(set));
    return 0;
}

int CopyKtl(const QStringList& args) {
    const char* usage = "copy-ktl IN.qvr FILE.KTL OUT.qvr [--series S] [--multiple M]";
    Options o;
    int series = 0;
    double multiple = 0;
    if (!o.Parse(args, {"--series", "--multiple"}, {}) || o.positional.size() != 3 ||
        !o.Integer("--series", series) || !o.Number("--multiple", multiple))
        return Usage(usage);
    auto doc = LoadScene(o.positional[0]);
    if (!doc)
        return 1;
    if (series < 0 || series >= doc->m_nSeries)
        return Fail(QStringLiteral("%1 has no series %2").arg(o.positional[0]).arg(series));
    QString message;
    if (ImportInstrumentFile(o.positional[1], doc.get(), &message) != ImportOutcome::Imported)
        return Fail(QStringLiteral("%1: %2").arg(o.positional[1], TerminalText(message)));
    const auto rows = ImportedMeasTable::Rows(doc->m_importedMeas, static_cast<float>(multiple));
    const ImportedMeasTable::CopyAllResult r = ImportedMeasTable::CopyAll(
        doc.get(), rows, ImportedMeasTable::MeasurementRows(*doc), series);
    if (!SaveScene(*doc, o.positional[2]))
        return 1;
    Print(QStringLiteral("copied %1 unmatched %2 not-finite %3 not-looked-at %4\n")
              .arg(r.nCopied)
              .arg(r.nUnmatched)
              .arg(r.nNotFinite)
              .arg(r.nNotLookedAt));
    return 0;
}

CommandRegistrar r1{{"add-series",
                     "add-series IN.qvr OUT.qvr [--name T] [--frequency F] [--rpm] [--frames N] "
                     "[--amplification A]",
                     "append a measurement series (IN may be missing)", AddSeries}};
CommandRegistrar r2{{"add-direction",
                     "add-direction IN.qvr OUT.qvr --point N[,N|A-B...] --code X|-X|Y|-Y|Z|-Z|R|-R",
                     "hang a measurement direction on corner points (kept where it is already)",
                     AddDirection}};
CommandRegistrar r3{{"set-values", "set-values IN.qvr OUT.qvr --series S [--from TABLE]",
                     "set amplitudes and phases from lines \"DIRECTION AMPLITUDE PHASE\" "
                     "(standard input without --from)",
                     SetValues}};
CommandRegistrar r4{{"copy-ktl", "copy-ktl IN.qvr FILE.KTL OUT.qvr [--series S] [--multiple M]",
                     "import an instrument file and copy all matching values into a series",
                     CopyKtl}};

} // namespace
