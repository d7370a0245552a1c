#include "CImageOutput.h"

#include "CBmpWriter.h"
#include "CImageExport.h"
#include "CQuivraDoc.h"
#include "CQuivraView.h"
#include "CReportPage.h"
#include "Deflection.h"
#include "RecentFolders.h"

#include <QApplication>
#include <QClipboard>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QSettings>

#include <algorithm>
#include <memory>

namespace {

QPrinter* s_pPrinter = nullptr;

void DeletePrinter() {
    delete s_pPrinter;
    s_pPrinter = nullptr;
}

const QString kCaptionKey = QStringLiteral("export/caption");
const QString kSideBySideKey = QStringLiteral("print/restAndLargest");

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

bool CImageOutput::Print(QPrinter& printer) {
    // The view as the window shows it now (animated or at rest), drawn again as line art.
    CQuivraDoc* doc = m_pView->GetDocument();
    const QSize size = m_pView->Frame().size();
    QPainter painter;
    bool ok = doc && !size.isEmpty() && painter.begin(&printer);
    if (ok) {
        // The printable part of the page: the page setup's margins stay clear.
        ok = CReportPage::Paint(painter, QRect(0, 0, printer.width(), printer.height()), *doc,
                                *m_pView, size.width(), size.height(), PrintSideBySide(),
                                QDateTime::currentDateTime());
        ok = painter.end() && ok;
    }
    if (!ok || printer.printerState() == QPrinter::Error) {
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
    if (n > CQuivraDoc::kMaxFramesPerPeriod) {
        Report(QApplication::applicationDisplayName(), CPeriodWriter::TooManyFrames(n));
        return CPeriodWriter::Result();
    }

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
    const CPeriodWriter::Progress progress =
        MakeProgress(tr("Writing the animation images..."), n, dialog);

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
        QString text = tr("%1 of %2 animation images could not be written:\n\n%3")
                           .arg(result.failed.size())
                           .arg(n)
                           .arg(lines.join(QLatin1Char('\n')));
        if (result.nRemoved > 0)
            text += tr("\n\nThe %1 images written before were removed again.").arg(result.nRemoved);
        Report(QApplication::applicationDisplayName(), text);
    }
    return result;
}

CPeriodWriter::Progress CImageOutput::MakeProgress(const QString& text, int frames,
                                                   std::unique_ptr<QProgressDialog>& dialog) {
    if (m_fnProgress)
        return m_fnProgress;
    dialog = std::make_unique<QProgressDialog>(text, tr("Cancel"), 0, frames, m_pView);
    dialog->setWindowTitle(QApplication::applicationDisplayName());
    dialog->setWindowModality(Qt::ApplicationModal);
    dialog->setMinimumDuration(500);
    QProgressDialog* d = dialog.get();
    return [d](int k, int) {
        d->setValue(k);
        return !d->wasCanceled();
    };
}

bool CImageOutput::ExportCaption() {
    return QSettings(QStringLiteral("Stellmark"), QStringLiteral("Quivra"))
        .value(kCaptionKey, true)
        .toBool();
}

void CImageOutput::SetExportCaption(bool on) {
    QSettings(QStringLiteral("Stellmark"), QStringLiteral("Quivra")).setValue(kCaptionKey, on);
}

bool CImageOutput::PrintSideBySide() {
    return QSettings(QStringLiteral("Stellmark"), QStringLiteral("Quivra"))
        .value(kSideBySideKey, false)
        .toBool();
}

void CImageOutput::SetPrintSideBySide(bool on) {
    QSettings(QStringLiteral("Stellmark"), QStringLiteral("Quivra")).setValue(kSideBySideKey, on);
}

QString CImageOutput::AskSaveName(const QString& title, const QString& filters) {
    if (m_fnAskSaveName)
        return m_fnAskSaveName(title, filters);
    const QString path = m_pView->GetDocument() ? m_pView->GetDocument()->GetPathName() : QString();
    const QString dir = path.isEmpty() ? QDir::homePath() : QFileInfo(path).absolutePath();
    return QFileDialog::getSaveFileName(m_pView, title, dir, filters);
}

QSize CImageOutput::AskSize(const QSize& current) {
    if (m_fnAskSize)
        return m_fnAskSize(current);
    bool ok = false;
    const QString text = QInputDialog::getText(
        m_pView, tr("Export Image"), tr("Size in pixels (width x height):"), QLineEdit::Normal,
        QStringLiteral("%1x%2").arg(current.width()).arg(current.height()), &ok);
    if (!ok)
        return QSize();
    const QStringList wh = text.trimmed().split(QLatin1Char('x'));
    bool okW = false, okH = false;
    const int w = wh.value(0).trimmed().toInt(&okW), h = wh.value(1).trimmed().toInt(&okH);
    const QString bad = wh.size() == 2 && okW && okH ? CImageExport::CheckSize(w, h)
                                                     : tr("Give the size as width x height, "
                                                          "for example 3840x2160.");
    if (!bad.isEmpty()) {
        Report(QApplication::applicationDisplayName(), bad);
        return QSize();
    }
    return QSize(w, h);
}

bool CImageOutput::OnExportImage() {
    CQuivraDoc* doc = m_pView->GetDocument();
    const QSize size = m_pView->Frame().size();
    if (!doc || size.isEmpty())
        return false;
    const QString path = AskSaveName(tr("Export Image"), tr("PNG image (*.png);;SVG drawing "
                                                            "(*.svg);;PDF document (*.pdf);;BMP "
                                                            "image (*.bmp)"));
    if (path.isEmpty())
        return false;
    const QSize wanted = AskSize(size);
    if (wanted.isEmpty())
        return false;
    QString error;
    // The picture as the window shows it now: its camera, style, toggles and frame, drawn anew
    // at the size asked for.
    if (CImageExport::Write(path, *doc, *m_pView, wanted.width(), wanted.height(), ExportCaption(),
                            &error))
        return true;
    Report(QApplication::applicationDisplayName(), error);
    return false;
}

CAnimationExport::Result CImageOutput::OnExportAnimation() {
    CQuivraView* view = m_pView;
    if (view->m_bAnimating)
        view->OnToggleAnimation();
    CQuivraDoc* doc = view->GetDocument();
    const QSize size = view->Frame().size();
    CAnimationExport::Result result;
    if (!doc || size.isEmpty())
        return result;
    CAnimationExport::Options options;
    options.width = size.width();
    options.height = size.height();
    options.caption = ExportCaption();
    // Asked before the file name: a scene without a series has nothing to animate.
    const QString bad =
        CAnimationExport::Check(CAnimationExport::Gif, *doc, view->m_nCurrentSeries, options);
    if (!bad.isEmpty()) {
        Report(QApplication::applicationDisplayName(), bad);
        result.error = bad;
        return result;
    }
    const QString path =
        AskSaveName(tr("Export Animation"), tr("Animated GIF (*.gif);;MP4 video, H.264 (*.mp4)"));
    if (path.isEmpty())
        return result;
    std::unique_ptr<QProgressDialog> dialog;
    const int frames = Deflection::FramesPerPeriod(*doc, view->m_nCurrentSeries) * options.periods;
    const CPeriodWriter::Progress progress =
        MakeProgress(tr("Writing the animation..."), frames, dialog);
    result = CAnimationExport::Write(path, *doc, *view, options, progress);
    dialog.reset();
    if (!result.bWritten && !result.bCancelled)
        Report(QApplication::applicationDisplayName(), result.error);
    return result;
}

void CImageOutput::Report(const QString& caption, const QString& text) {
    if (m_fnReport)
        m_fnReport(caption, text);
    else
        QMessageBox::warning(m_pView, caption, text, QMessageBox::Ok);
}
