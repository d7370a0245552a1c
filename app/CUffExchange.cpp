#include "CUffExchange.h"

#include "CAppDocument.h"
#include "CDocTemplate.h"
#include "CPrompts.h"
#include "CQuivraDoc.h"
#include "IDocView.h"
#include "IToolWindows.h"
#include "RecentFolders.h"
#include "UffReader.h"
#include "UffWriter.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QWidget>

namespace {

const char* const kFilter = "Universal Files (*.uff *.unv);;All Files (*)";

QWidget* ParentOf(CAppDocument& d) {
    if (auto* w = dynamic_cast<QWidget*>(d.Doc()->m_pView))
        return w;
    return d.Template()->Owner();
}

// The units the user works in, as last chosen for an export (millimetres, quantity unknown
// until then); imports offer to convert to the same length unit.
UffWriter::Options StoredUnits() {
    QSettings settings(QStringLiteral("Stellmark"), QStringLiteral("Quivra"));
    UffWriter::Options o;
    UffUnits::ParseLength(settings.value(QStringLiteral("uff/lengthUnit")).toString(), &o.length);
    UffUnits::ParseQuantity(settings.value(QStringLiteral("uff/quantity")).toString(), &o.quantity);
    return o;
}

void StoreUnits(const UffWriter::Options& o) {
    QSettings settings(QStringLiteral("Stellmark"), QStringLiteral("Quivra"));
    settings.setValue(QStringLiteral("uff/lengthUnit"), UffUnits::LengthName(o.length));
    settings.setValue(QStringLiteral("uff/quantity"), UffUnits::QuantityName(o.quantity));
}

QString SummaryText(const UffReader::Summary& s, const QString& fileName) {
    QString text = QStringLiteral("%1 corner points, %2 lines, %3 directions and %4 measurement "
                                  "series imported from \"%5\".")
                       .arg(s.points)
                       .arg(s.lines)
                       .arg(s.directions)
                       .arg(s.series)
                       .arg(fileName);
    text += s.lengthUnit.isEmpty()
                ? QStringLiteral("\nThe file states no length unit.")
                : QStringLiteral("\nLength unit of the file: %1.").arg(s.lengthUnit);
    auto section = [&text](const char* title, const QStringList& lines) {
        if (!lines.isEmpty())
            text += QStringLiteral("\n\n%1\n").arg(QLatin1String(title)) +
                    lines.join(QLatin1Char('\n'));
    };
    section("Not used:", s.skipped);
    section("Warnings:", s.warnings);
    section("Notes:", s.notes);
    return text;
}

} // namespace

void CUffExchange::Export(CAppDocument& d) {
    QWidget* parent = ParentOf(d);
    const QString scene = d.GetPathName();
    const QString suggestion =
        scene.isEmpty() ? QDir(RecentFolders::Folder(RecentFolders::UniversalFiles))
                              .filePath(QStringLiteral("model.uff"))
                        : QFileInfo(scene).dir().filePath(QFileInfo(scene).completeBaseName() +
                                                          QStringLiteral(".uff"));
    QString path = CPrompts::SaveFileName(parent, suggestion, QString::fromLatin1(kFilter));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".uff");
    RecentFolders::Remember(RecentFolders::UniversalFiles, path);
    UffWriter::Options options = StoredUnits();
    if (!CPrompts::UffExportOptions(parent, options))
        return;
    StoreUnits(options);
    QStringList notes;
    QString error;
    if (!UffWriter::Save(*d.Doc(), path, options, &notes, &error)) {
        CPrompts::Message(parent, error);
        return;
    }
    if (!notes.isEmpty())
        CPrompts::Message(parent, notes.join(QLatin1Char('\n')));
}

void CUffExchange::Import(CAppDocument& d) {
    QWidget* parent = ParentOf(d);
    const QString path = CPrompts::OpenFileName(
        parent, QString::fromLatin1(kFilter), RecentFolders::Folder(RecentFolders::UniversalFiles));
    if (!path.isEmpty())
        Import(d, path);
}

void CUffExchange::Import(CAppDocument& d, const QString& path) {
    QWidget* parent = ParentOf(d);
    RecentFolders::Remember(RecentFolders::UniversalFiles, path);
    UffReader reader;
    QString error;
    if (!reader.ReadFile(path, &error)) {
        CPrompts::Message(parent, error);
        return;
    }
    UffReader::Options options;
    options.length = StoredUnits().length;
    const double file = reader.LengthPerMetre();
    if (file > 0 && UffUnits::DescribeFactor(file) != UffUnits::LengthName(options.length)) {
        const CPrompts::Answer a = CPrompts::AskYesNoCancel(
            parent, QStringLiteral("The lengths in \"%1\" are in %2; you work in %3 (the unit of "
                                   "your last UFF export).\nConvert them to %3?")
                        .arg(QFileInfo(path).fileName(), UffUnits::DescribeFactor(file),
                             UffUnits::LengthName(options.length)));
        if (a == CPrompts::Cancel)
            return;
        options.convert = a == CPrompts::Yes;
    }
    CQuivraDoc* doc = d.Doc();
    UffReader::Summary summary;
    if (!reader.AddTo(*doc, options, &summary, &error, [doc] { doc->SaveUndoState(); })) {
        CPrompts::Message(parent, error);
        return;
    }
    doc->SetModifiedFlag();
    if (IToolWindows* windows = doc->m_pToolWindows.get()) {
        windows->RebuildPointTable();
        windows->RefillSeries();
        windows->RefillMeasurements();
    }
    doc->UpdateAllViews();
    CPrompts::Message(parent, SummaryText(summary, QFileInfo(path).fileName()));
}
