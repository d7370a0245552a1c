#pragma once

#include "CPeriodWriter.h"

#include <QObject>
#include <QRect>
#include <QString>

#include <functional>

class CQuivraView;
class QImage;
class QPaintDevice;
class QPrinter;

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
    // Draws `picture` onto `page` at PrintTarget (source one column and row short of the
    // picture). False when nothing could be drawn onto the page; `target` gets the rectangle.
    static bool PrintPage(QPaintDevice& page, const QImage& picture, QRect* target = nullptr);
    // Prints the view's last painted frame on `printer`, one page; a failure is reported with
    // the fixed message.
    bool Print(QPrinter& printer);
    // File > Print: the print dialog on the shared printer, then Print.
    void OnFilePrint();

    // Edit > Copy: the last rendered frame, width cut to a multiple of 4, as an image and as
    // "image/bmp". A frame that cannot be taken leaves the clipboard untouched. False then.
    bool OnEditCopy();

    // Animation > Save: one period of the current series as BMP files next to the document,
    // the animation stopped afterwards at the last frame.
    CPeriodWriter::Result OnAnimationSave();

    // The folder for an unsaved document's images (asked once; empty when none chosen yet).
    const QString& Folder() const { return m_strFolder; }

    // --- hooks: the defaults are dialogs and message boxes; tests replace them ---
    // Asks for the folder of an unsaved document's images; empty means cancelled.
    std::function<QString()> m_fnAskFolder;
    // Shows a failure: caption and text.
    std::function<void(const QString&, const QString&)> m_fnReport;
    // Progress of the period; false cancels. Null: a progress dialog with Cancel.
    CPeriodWriter::Progress m_fnProgress;

private:
    explicit CImageOutput(CQuivraView* view);
    void Report(const QString& caption, const QString& text);

    CQuivraView* m_pView; // the parent
    QString m_strFolder;
};
