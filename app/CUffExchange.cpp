#include "CUffExchange.h"

#include "CAppDocument.h"
#include "CDocTemplate.h"
#include "CPrompts.h"
#include "CQuivraDoc.h"
#include "IDocView.h"
#include "IToolWindows.h"
#include "UffReader.h"
#include "UffWriter.h"

#include <QDir>
#include <QFileInfo>
#include <QWidget>

namespace {

const char* const kFilter = "Universal Files (*.uff *.unv);;All Files (*)";

QWidget* ParentOf(CAppDocument& d) {
    if (auto* w = dynamic_cast<QWidget*>(d.Doc()->m_pView))
        return w;
    return d.Template()->Owner();
}

} // namespace

void CUffExchange::Export(CAppDocument& d) {
    QWidget* parent = ParentOf(d);
    const QString scene = d.GetPathName();
    const QString suggestion =
        scene.isEmpty() ? QStringLiteral("model.uff")
                        : QFileInfo(scene).dir().filePath(QFileInfo(scene).completeBaseName() +
                                                          QStringLiteral(".uff"));
    QString path = CPrompts::SaveFileName(parent, suggestion, QString::fromLatin1(kFilter));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".uff");
    QStringList notes;
    QString error;
    if (!UffWriter::Save(*d.Doc(), path, &notes, &error)) {
        CPrompts::Message(parent, error);
        return;
    }
    if (!notes.isEmpty())
        CPrompts::Message(parent, notes.join(QLatin1Char('\n')));
}

void CUffExchange::Import(CAppDocument& d) {
    QWidget* parent = ParentOf(d);
    const QString path = CPrompts::OpenFileName(parent, QString::fromLatin1(kFilter));
    if (path.isEmpty())
        return;
    CQuivraDoc* doc = d.Doc();
    UffReader::Summary summary;
    QString error;
    if (!UffReader::ImportFile(path, *doc, &summary, &error, [doc] { doc->SaveUndoState(); })) {
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
    QString text = QStringLiteral("%1 corner points, %2 lines, %3 directions and %4 measurement "
                                  "series imported from \"%5\".")
                       .arg(summary.points)
                       .arg(summary.lines)
                       .arg(summary.directions)
                       .arg(summary.series)
                       .arg(QFileInfo(path).fileName());
    if (!summary.skipped.isEmpty())
        text += QStringLiteral("\n\nNot used:\n") + summary.skipped.join(QLatin1Char('\n'));
    if (!summary.warnings.isEmpty())
        text += QStringLiteral("\n\nWarnings:\n") + summary.warnings.join(QLatin1Char('\n'));
    CPrompts::Message(parent, text);
}
