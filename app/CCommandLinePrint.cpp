#include "CCommandLinePrint.h"

#include "CAppDocument.h"
#include "CChildFrame.h"
#include "CDocTemplate.h"
#include "CImageOutput.h"
#include "CPrompts.h"
#include "CQuivraView.h"

#include <QPrinter>

namespace {

bool DefaultChoosePrinter(QPrinter& printer, const QString& name, QString* error) {
    if (!name.isEmpty())
        printer.setPrinterName(name);
    // An unknown name leaves the printer invalid or on another one: never print elsewhere.
    if (printer.isValid() && (name.isEmpty() || printer.printerName() == name))
        return true;
    *error = name.isEmpty() ? QStringLiteral("There is no default printer.")
                            : QStringLiteral("There is no printer named \"%1\".").arg(name);
    return false;
}

} // namespace

std::function<bool(QPrinter&, const QString&, QString*)> CCommandLinePrint::ChoosePrinter =
    DefaultChoosePrinter;

void CCommandLinePrint::Reset() {
    ChoosePrinter = DefaultChoosePrinter;
}

bool CCommandLinePrint::PrintFiles(CDocTemplate& docTemplate, const QStringList& files,
                                   const QString& printerName) {
    if (files.isEmpty()) {
        CPrompts::Message(nullptr, QStringLiteral("Name the scene files to print."));
        return false;
    }
    QPrinter printer(QPrinter::HighResolution);
    QString error;
    if (!ChoosePrinter(printer, printerName, &error)) {
        CPrompts::Message(nullptr, error);
        return false;
    }
    for (const QString& file : files) {
        CAppDocument* doc = docTemplate.OpenDocumentFile(file, &error);
        if (!doc) {
            CPrompts::Message(nullptr,
                              error.isEmpty() ? QStringLiteral("Failed to open document.") : error);
            return false;
        }
        auto* view = doc->Frames().isEmpty()
                         ? nullptr
                         : qobject_cast<CQuivraView*>(doc->Frames().first()->View());
        // The window is never shown, so the view gets its size here rather than from a resize.
        if (!view || !view->OnSize(kWidth, kHeight) || !view->RenderOffscreen() ||
            !CImageOutput::Of(view)->Print(printer))
            return false; // Print has said why
        docTemplate.CloseDocument(doc);
    }
    return true;
}
