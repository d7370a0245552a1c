#include "CPrompts.h"

#include "CUffExportDlg.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace {

const QString kCaption = QStringLiteral("Quivra");

void DefaultMessage(QWidget* parent, const QString& text) {
    QMessageBox::warning(parent, kCaption, text, QMessageBox::Ok);
}

CPrompts::Answer DefaultAsk(QWidget* parent, const QString& text) {
    const auto button = QMessageBox::question(
        parent, kCaption, text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
        QMessageBox::Yes);
    if (button == QMessageBox::Yes)
        return CPrompts::Yes;
    if (button == QMessageBox::No)
        return CPrompts::No;
    return CPrompts::Cancel;
}

bool DefaultAskYesNo(QWidget* parent, const QString& text) {
    return QMessageBox::question(parent, kCaption, text, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

QString DefaultOpen(QWidget* parent, const QString& filter, const QString& folder) {
    return QFileDialog::getOpenFileName(parent, QStringLiteral("Open"), folder, filter);
}

QString DefaultSave(QWidget* parent, const QString& suggested, const QString& filter) {
    QFileDialog dialog(parent, QStringLiteral("Save As"), suggested, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // The suggestion's own extension (a Universal File export suggests .uff), else .qvr.
    const QString suffix = QFileInfo(suggested).suffix();
    dialog.setDefaultSuffix(suffix.isEmpty() ? QStringLiteral("qvr") : suffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().first();
}

bool DefaultUffExportOptions(QWidget* parent, UffWriter::Options& options) {
    CUffExportDlg dialog(options, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    options = dialog.Options();
    return true;
}

} // namespace

std::function<void(QWidget*, const QString&)> CPrompts::Message = DefaultMessage;
std::function<CPrompts::Answer(QWidget*, const QString&)> CPrompts::AskYesNoCancel = DefaultAsk;
std::function<bool(QWidget*, const QString&)> CPrompts::AskYesNo = DefaultAskYesNo;
std::function<QString(QWidget*, const QString&, const QString&)> CPrompts::OpenFileName =
    DefaultOpen;
std::function<QString(QWidget*, const QString&, const QString&)> CPrompts::SaveFileName =
    DefaultSave;
std::function<bool(QWidget*, UffWriter::Options&)> CPrompts::UffExportOptions =
    DefaultUffExportOptions;

void CPrompts::Reset() {
    Message = DefaultMessage;
    AskYesNoCancel = DefaultAsk;
    AskYesNo = DefaultAskYesNo;
    OpenFileName = DefaultOpen;
    SaveFileName = DefaultSave;
    UffExportOptions = DefaultUffExportOptions;
}
