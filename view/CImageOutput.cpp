#include "CImageOutput.h"

#include "CBmpWriter.h"
#include "CQuivraDoc.h"
#include "CQuivraView.h"
#include "Deflection.h"
#include "RecentFolders.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QMimeData>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>

#include <algorithm>
#include <memory>

namespace {

QPrinter* s_pPrinter = nullptr;

void DeletePrinter() {
    delete s_pPrinter;
    s_pPrinter = nullptr;
}

// At most this many failed files are named in the message; the rest are counted.
constexpr int kMaxListedFailures = 10;

} // namespace

CImageOutput::CImageOutput(CQuivraView* view) : QObject(view), m_pView(view) {
    setObjectName(QStringLiteral("imageOutput"));
}

CImageOutput* CImageOutput::Of(CQuivraView* view) {
    if (!view)
        return nullptr;
    if (auto* out = view->findChild<CImageOutput*>(QString(), Qt::FindDirectChildrenOnly))
        return out;
    return new CImageOutput(view);
}

QPrinter& CImageOutput::SharedPrinter() {
    if (!s_pPrinter) {
        s_pPrinter = new QPrinter(QPrinter::HighResolution);
        // Gone with the application object, before the print system's own clean-up.
        qAddPostRoutine(DeletePrinter);
    }
    return *s_pPrinter;
}

QRect CImageOutput::PrintTarget(int pw, int ph, int w, int h) {
    if (pw < 1 || ph < 1 || w < 1 || h < 1)
        return QRect();
    // The width ratio in double precision, the height ratio in single: the proportions of
    // earlier releases' printouts, to the pixel.
    const double rw = pw / static_cast<double>(static_cast<float>(w));
    const float rh = static_cast<float>(static_cast<double>(ph) / h);
    int dw = pw;
    int dh = ph;
    if (rw < rh)
        dh = static_cast<int>(h * rw);
    else if (rw > rh)
        dw = static_cast<int>(rh * w);
    return QRect(0, 0, dw, dh);
}

bool CImageOutput::PrintPage(QPaintDevice& page, const QImage& picture, QRect* target) {
    const QRect t = PrintTarget(page.width(), page.height(), picture.width(), picture.height());
    if (target)
        *target = t;
    if (t.isEmpty())
        return false;
    QPainter painter;
    if (!painter.begin(&page))
        return false;
    // One column and one row short of the picture, as the page always showed it; a picture
    // a single pixel wide or high keeps that pixel.
    const QRect source(0, 0, std::max(1, picture.width() - 1), std::max(1, picture.height() - 1));
    painter.drawImage(t, picture, source);
    return painter.end();
}

bool CImageOutput::Print(QPrinter& printer) {
    // The frame last painted, animated or at rest: what the window shows now.
    const QImage picture = m_pView->Frame().copy();
    if (!PrintPage(printer, picture) || printer.printerState() == QPrinter::Error) {
        Report(QString::fromLatin1(kPrintFailedCaption), QString::fromLatin1(kPrintFailed));
        return false;
    }
    return true;
}

void CImageOutput::OnFilePrint() {
    QPrinter& printer = SharedPrinter();
    QPrintDialog dialog(&printer, m_pView);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    if (dialog.exec() != QDialog::Accepted)
        return;
    Print(printer);
}

bool CImageOutput::OnEditCopy() {
    const QImage& frame = m_pView->Frame();
    const int wr = CBmpWriter::CutWidth(frame.width());
    if (frame.isNull() || wr < 1 || frame.height() < 1)
        return false;
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return false;
    // A deep copy: the frame's memory is the one the next paint draws into.
    const QImage cut = frame.copy(0, 0, wr, frame.height()).convertToFormat(QImage::Format_RGB32);
    const QByteArray bmp = CBmpWriter::FileBytes(cut);
    if (cut.isNull() || bmp.isEmpty())
        return false;
    auto* mime = new QMimeData;
    mime->setImageData(cut);
    mime->setData(QStringLiteral("image/bmp"), bmp);
    clipboard->setMimeData(mime);
    return true;
}

CPeriodWriter::Result CImageOutput::OnAnimationSave() {
    CQuivraView* view = m_pView;
    // The command always leaves the animation stopped.
    if (view->m_bAnimating)
        view->OnToggleAnimation();
    CQuivraDoc* doc = view->GetDocument();
    if (!doc)
        return CPeriodWriter::Result();
    const int series = view->m_nCurrentSeries;
    const int n = Deflection::FramesPerPeriod(*doc, series);
    if (n < 1)
        return CPeriodWriter::Result();

    // An unsaved document has no folder of its own: the images go where the user says (asked
    // once per view), never silently into whatever the current directory happens to be.
    QString prefix = doc->GetPathName();
    if (prefix.isEmpty()) {
        if (m_strFolder.isEmpty()) {
            const QString folder = m_fnAskFolder
                                       ? m_fnAskFolder()
                                       : QFileDialog::getExistingDirectory(
                                             view, tr("Folder for the Animation Images"),
                                             RecentFolders::Folder(RecentFolders::Images));
            if (folder.isEmpty())
                return CPeriodWriter::Result();
            RecentFolders::Remember(RecentFolders::Images, folder);
            m_strFolder = QDir(folder).absolutePath();
        }
        prefix = m_strFolder + QLatin1Char('/');
    }
    QString nameNote;
    const QString base = CPeriodWriter::BaseName(prefix, *doc, series, &nameNote);

    std::unique_ptr<QProgressDialog> dialog;
    CPeriodWriter::Progress progress = m_fnProgress;
    if (!progress) {
        dialog = std::make_unique<QProgressDialog>(tr("Writing the animation images..."),
                                                   tr("Cancel"), 0, n, view);
        dialog->setWindowTitle(QApplication::applicationDisplayName());
        dialog->setWindowModality(Qt::ApplicationModal);
        dialog->setMinimumDuration(500);
        QProgressDialog* d = dialog.get();
        progress = [d](int k, int) {
            d->setValue(k);
            return !d->wasCanceled();
        };
    }

    // Every frame drawn the animating way (deflected, no point markers) by the view itself.
    view->m_bAnimating = 1;
    const CPeriodWriter::Result result = CPeriodWriter::Write(
        base, n,
        [view](int k) {
            view->m_nFrame = k;
            return view->RenderOffscreen() ? view->Frame() : QImage();
        },
        progress);
    view->m_bAnimating = 0;
    dialog.reset();
    view->RepaintNow();

    if (!nameNote.isEmpty() && !result.bCancelled)
        Report(QApplication::applicationDisplayName(), nameNote);
    if (!result.failed.isEmpty()) {
        QStringList lines = result.failed.mid(0, kMaxListedFailures);
        if (result.failed.size() > kMaxListedFailures)
            lines << tr("... and %1 more.").arg(result.failed.size() - kMaxListedFailures);
        Report(QApplication::applicationDisplayName(),
               tr("%1 of %2 animation images could not be written:\n\n%3")
                   .arg(result.failed.size())
                   .arg(n)
                   .arg(lines.join(QLatin1Char('\n'))));
    }
    return result;
}

void CImageOutput::Report(const QString& caption, const QString& text) {
    if (m_fnReport)
        m_fnReport(caption, text);
    else
        QMessageBox::warning(m_pView, caption, text, QMessageBox::Ok);
}
