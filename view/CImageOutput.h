#pragma once

#include "CAnimationExport.h"
#include "CPeriodWriter.h"

#include <QObject>
#include <QRect>
#include <QSize>
#include <QString>

#include <functional>
#include <memory>

class CQuivraView;
class QPrinter;
class QProgressDialog;

// The picture of a scene view leaving the program: printed, copied to the clipboard, or one
// animation period written as numbered BMP files. One per view (a child of it, made on first
// use), so the folder asked for an unsaved document is asked once.
class CImageOutput : public QObject {
    Q_OBJECT
public:
    static constexpr const char* kPrintFailed = "IDM_PRINT - StretchDIBits failed";
    static constexpr const char* kPrintFailedCaption = "GLDib";

    // The view's image output, created on first use.
    static CImageOutput* Of(CQuivraView* view);

    // The printer shared by Print Setup and Print, alive until the application ends.
    static QPrinter& SharedPrinter();

    // Where a picture of w x h lands on a page of pw x ph: at the top-left, its proportions kept,
    // filling the page in one direction.
    static QRect PrintTarget(int pw, int ph, int w, int h);
    // Prints the view on `printer`, one page of line art with a header (CReportPage); a failure
    // is reported with the fixed message.
    bool Print(QPrinter& printer);
    // File > Print: the print dialog on the shared printer, then Print.
    void OnFilePrint();

    // Edit > Copy: the last rendered frame, width cut to a multiple of 4, as an image and as
    // "image/bmp". A frame that cannot be taken leaves the clipboard untouched. False then.
    bool OnEditCopy();

    // Animation > Save: one period of the current series as BMP files next to the document,
    // the animation stopped afterwards at the last frame.
    CPeriodWriter::Result OnAnimationSave();

    // File > Export Image: the picture the view shows, at the size asked for (the view's by
    // default), as the file type the name chosen says (PNG, SVG, PDF or BMP). False when
    // nothing was written (cancelled or failed).
    bool OnExportImage();
    // Animation > Export Animation: one period of the current series at the view's size and
    // camera as GIF or MP4, with progress and Cancel; the animation stopped afterwards.
    CAnimationExport::Result OnExportAnimation();
    // Whether exported pictures and animations carry the caption (kept in the settings).
    static bool ExportCaption();
    static void SetExportCaption(bool on);
    // Whether a printed page shows the rest shape and the largest deflection side by side
    // (kept in the settings).
    static bool PrintSideBySide();
    static void SetPrintSideBySide(bool on);

    // The folder for an unsaved document's images (asked once; empty when none chosen yet).
    const QString& Folder() const { return m_strFolder; }

    // --- hooks: the defaults are dialogs and message boxes; tests replace them ---
    // Asks for the folder of an unsaved document's images; empty means cancelled.
    std::function<QString()> m_fnAskFolder;
    // Shows a failure: caption and text.
    std::function<void(const QString&, const QString&)> m_fnReport;
    // Asks for an export's file name: title, filter list; empty means cancelled.
    std::function<QString(const QString&, const QString&)> m_fnAskSaveName;
    // Asks for the exported picture's size, offering `current`; empty means cancelled.
    std::function<QSize(const QSize& current)> m_fnAskSize;
    // Progress of the period; false cancels. Null: a progress dialog with Cancel.
    CPeriodWriter::Progress m_fnProgress;

private:
    explicit CImageOutput(CQuivraView* view);
    void Report(const QString& caption, const QString& text);
    QString AskSaveName(const QString& title, const QString& filters);
    QSize AskSize(const QSize& current);
    // m_fnProgress, or a progress dialog with Cancel over `frames` frames (kept in `dialog`).
    CPeriodWriter::Progress MakeProgress(const QString& text, int frames,
                                         std::unique_ptr<QProgressDialog>& dialog);

    CQuivraView* m_pView; // the parent
    QString m_strFolder;
};
