#include "CInstrumentImport.h"

#include "CAppDocument.h"
#include "CDocTemplate.h"
#include "CDocToolWindows.h"
#include "CImportedMeasDlg.h"
#include "CQuivraDoc.h"
#include "IDocView.h"
#include "ImportInstrumentFile.h"
#include "RecentFolders.h"

#include <QFileDialog>
#include <QMessageBox>

namespace {

QString DefaultAskFileName(QWidget* parent, const QString& folder) {
    QFileDialog dialog(parent, QStringLiteral("Load Quivra File"), folder,
                       QStringLiteral("R4 Quivra Files(*.KTL)"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().first();
}

void DefaultMessage(QWidget* parent, const QString& text) {
    // No caption of our own: the platform's default one.
    QMessageBox box(QMessageBox::Warning, QString(), text, QMessageBox::Ok, parent);
    box.exec();
}

} // namespace

std::function<QString(QWidget*, const QString&)> CInstrumentImport::AskFileName =
    DefaultAskFileName;
std::function<void(QWidget*, const QString&)> CInstrumentImport::Message = DefaultMessage;

void CInstrumentImport::Reset() {
    AskFileName = DefaultAskFileName;
    Message = DefaultMessage;
}

void CInstrumentImport::ImportInstrumentFile(CAppDocument& d) {
    CQuivraDoc* doc = d.Doc();
    // The dialog and the messages belong to the document's view.
    QWidget* parent = dynamic_cast<QWidget*>(doc->m_pView);
    if (!parent)
        parent = d.Template()->Owner();

    const QString path = AskFileName(parent, RecentFolders::Folder(RecentFolders::InstrumentFiles));
    if (!path.isEmpty())
        ImportInstrumentFile(d, path);
}

void CInstrumentImport::ImportInstrumentFile(CAppDocument& d, const QString& path) {
    CQuivraDoc* doc = d.Doc();
    QWidget* parent = dynamic_cast<QWidget*>(doc->m_pView);
    if (!parent)
        parent = d.Template()->Owner();
    RecentFolders::Remember(RecentFolders::InstrumentFiles, path);
    QString message;
    const ImportOutcome outcome = ::ImportInstrumentFile(path, doc, &message);

    CDocToolWindows* windows = d.EnsureToolWindows();
    auto* imported =
        windows ? qobject_cast<CImportedMeasDlg*>(windows->Window(ToolWindow::ImportedMeasurements))
                : nullptr;
    // After a short record the old rows would name records that are gone: the window is
    // rebuilt from what was read, but not shown.
    if (outcome != ImportOutcome::Refused && imported)
        imported->Rebuild();
    if (outcome != ImportOutcome::Imported) {
        Message(parent, message);
        return;
    }
    if (windows)
        windows->Show(ToolWindow::ImportedMeasurements);
}
