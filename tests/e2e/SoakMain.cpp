// A long run of the real program for memory checkers: two documents, their views resized,
// maximised and restored while they animate, more windows opened and closed, the tool windows,
// Copy, Print to PDF and Animation Save, round after round until the time is up.
//   quivra_soak [--seconds N] [--scene FILE.qvr]
//   valgrind --error-exitcode=1 build/tests/e2e/quivra_soak --seconds 600
// Headless unless QT_QPA_PLATFORM says otherwise; settings and output go to a temporary folder.
// Exit status 1 when an action did not do what it should.
#include "UseActions.h"

#include "CAppDocument.h"
#include "CChildFrame.h"
#include "CMainFrame.h"
#include "CPrompts.h"
#include "CQuivraApp.h"
#include "CQuivraDoc.h"
#include "CQuivraView.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <cstring>

namespace {

struct Options {
    int seconds = 60;
    QString scene = QStringLiteral(QUIVRA_EXAMPLES "/pump.qvr");
};

bool Parse(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        if (i + 1 < argc && !std::strcmp(argv[i], "--seconds"))
            o.seconds = std::atoi(argv[++i]);
        else if (i + 1 < argc && !std::strcmp(argv[i], "--scene"))
            o.scene = QString::fromLocal8Bit(argv[++i]);
        else
            return false;
    }
    return o.seconds > 0;
}

// The sizes the document windows go through, one per round: grow, shrink, tiny, very wide,
// very tall, maximised (empty), restored.
const QSize kSizes[] = {{700, 500},  {260, 200}, {120, 60},  {2400, 120},
                        {150, 1400}, {},         {480, 360}, {1, 1}};

class Soak {
public:
    Soak(CMainFrame* frame, const QString& pdf) : m_use(frame), m_strPdf(pdf) {}

    void Round(int k) {
        const QList<CChildFrame*> frames = m_use.Frames();
        if (frames.isEmpty()) {
            Fail("no document window left");
            return;
        }
        Check(m_use.Activate(frames[k % frames.size()]), "activate a document window");
        Check(m_use.StartAnimation(), "start the animation");
        const QSize size = kSizes[k % std::size(kSizes)];
        if (size.isEmpty())
            m_use.MaximiseDocument();
        else if (size.width() < 100)
            m_use.ResizeView(size);
        else
            m_use.ResizeDocument(size);
        if (k % 5 == 4)
            m_use.ResizeMain(k % 2 ? QSize(1000, 760) : QSize(640, 480));
        Check(UseActions::WaitFrames(m_use.ActiveView(), 3), "animate after a resize");
        if (k % 3 == 0)
            Check(m_use.ShowToolWindows(), "show the tool windows");
        if (k % 4 == 1) {
            if (frames.size() < 5)
                Check(m_use.NewWindow(), "open a new window");
            else
                CloseASecondWindow(frames);
        }
        if (k % 5 == 2)
            Check(!m_use.Copy().isNull(), "copy");
        if (k % 7 == 3)
            Check(m_use.PrintToPdf(m_strPdf), "print");
        if (k % 11 == 6) {
            // Next to the scene of the active document.
            const QString dir =
                QFileInfo(m_use.ActiveView()->GetDocument()->GetPathName()).absolutePath();
            Check(m_use.AnimationSave(dir) > 0, "save the animation");
        }
        UseActions::Spin(20);
    }

    int m_nFailures = 0;
    UseActions m_use;

private:
    // Both documents stay open: only a window whose document has another one closes.
    static void CloseASecondWindow(const QList<CChildFrame*>& frames) {
        for (CChildFrame* f : frames)
            if (f->GetDocument() && f->GetDocument()->Frames().size() > 1) {
                f->close();
                return;
            }
    }
    void Check(bool ok, const char* what) {
        if (!ok)
            Fail(what);
    }
    void Fail(const char* what) {
        ++m_nFailures;
        std::fprintf(stderr, "soak: could not %s\n", what);
    }
    QString m_strPdf;
};

} // namespace

int main(int argc, char** argv) {
    Options o;
    if (!Parse(argc, argv, o)) {
        std::fprintf(stderr, "usage: quivra_soak [--seconds N] [--scene FILE.qvr]\n");
        return 2;
    }
    QTemporaryDir tmp;
    if (!tmp.isValid())
        return 1;
    // The user's own settings stay untouched.
    for (const char* var : {"XDG_CONFIG_HOME", "XDG_CACHE_HOME"})
        qputenv(var, QDir(tmp.path()).filePath(QString::fromLatin1(var)).toLocal8Bit());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1; // Qt takes options of its own from the command line
    QApplication application(qtArgc, argv);

    // Two documents, each in a folder of its own (Animation Save writes next to the scene).
    QStringList files{QStringLiteral("quivra")};
    for (const char* name : {"a", "b"}) {
        QDir(tmp.path()).mkdir(QString::fromLatin1(name));
        const QString path = tmp.filePath(QStringLiteral("%1/scene.qvr").arg(name));
        if (!QFile::copy(o.scene, path)) {
            std::fprintf(stderr, "soak: cannot copy %s\n", qPrintable(o.scene));
            return 1;
        }
        files << path;
    }
    CPrompts::Message = [](QWidget*, const QString& text) {
        std::fprintf(stderr, "soak: message: %s\n", qPrintable(text));
    };
    CPrompts::AskYesNoCancel = [](QWidget*, const QString&) { return CPrompts::No; };

    int rounds = 0, failures = 0;
    QStringList modals;
    {
        CQuivraApp app;
        if (!app.InitInstance(files))
            return 1;
        Soak soak(app.MainFrame(), tmp.filePath(QStringLiteral("soak.pdf")));
        const QDeadlineTimer deadline(static_cast<qint64>(o.seconds) * 1000);
        while (!deadline.hasExpired())
            soak.Round(rounds++);
        failures = soak.m_nFailures;
        modals = soak.m_use.m_modals;
    }
    std::printf("%d rounds, %d failed actions, %d message boxes closed\n", rounds, failures,
                static_cast<int>(modals.size()));
    for (const QString& m : modals)
        std::printf("  %s\n", qPrintable(m));
    return failures ? 1 : 0;
}
