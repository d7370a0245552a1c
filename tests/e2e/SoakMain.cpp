// The real program driven at random for as long as wanted, as a person would use it: menus and
// context menus, clicks, drags and the wheel in the views, windows resized, maximised and
// restored while they animate, tool-window fields typed into with good and bad text, undo,
// save, reopen, instrument and Universal File imports, windows closed with the prompts
// answered. After every step each open document is checked (SoakInvariants.h) and the active
// view must draw. Everything follows from the seed, so a failure can be replayed.
//   quivra_soak [--seconds N] [--seed S] [--scene FILE.qvr] [--verbose]
//   valgrind --error-exitcode=1 build/tests/e2e/quivra_soak --seconds 600 --seed 7
// Headless unless QT_QPA_PLATFORM says otherwise; settings and output go to a temporary folder.
// Exit status 1 at the first broken invariant or failed action, with the seed and the step.
#include "SceneBuilder.h"
#include "SoakInvariants.h"
#include "UseActions.h"

#include "CAppDocument.h"
#include "CChildFrame.h"
#include "CDocTemplate.h"
#include "CImageOutput.h"
#include "CInstrumentImport.h"
#include "CMainFrame.h"
#include "CPrompts.h"
#include "CQuivraApp.h"
#include "CQuivraDoc.h"
#include "CQuivraView.h"
#include "CommandIds.h"
#include "CornerPoint.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPageSize>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

#include <cstdio>
#include <cstring>
#include <functional>
#include <iterator>
#include <random>
#include <set>
#include <sys/stat.h>

using namespace cmd;

namespace {

struct Options {
    int seconds = 60;
    quint32 seed = 0;
    bool hasSeed = false;
    bool verbose = false;
    QString scene = QStringLiteral(QUIVRA_EXAMPLES "/pump.qvr");
};

bool Parse(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        const bool value = i + 1 < argc;
        if (value && !std::strcmp(argv[i], "--seconds")) {
            o.seconds = std::atoi(argv[++i]);
        } else if (value && !std::strcmp(argv[i], "--seed")) {
            o.seed = static_cast<quint32>(std::strtoul(argv[++i], nullptr, 10));
            o.hasSeed = true;
        } else if (value && !std::strcmp(argv[i], "--scene")) {
            o.scene = QString::fromLocal8Bit(argv[++i]);
        } else if (!std::strcmp(argv[i], "--verbose")) {
            o.verbose = true;
        } else {
            return false;
        }
    }
    return o.seconds > 0;
}

// Texts typed into tool-window fields: numbers as a person types them, and what no field takes.
const char* const kTexts[] = {"0",     "1",   "24", "-3.5",       "1e3",   "2,5",  "",  "abc",
                              "1e999", "nan", "-0", "9999999999", "10001", "1 Hz", "+", "7"};

// The sizes a document window goes through; empty: maximised.
const QSize kSizes[] = {{700, 500}, {260, 200}, {120, 60}, {2400, 120}, {150, 1400},
                        {},         {480, 360}, {1, 1},    {3, 300}};

class RandomUse {
public:
    RandomUse(CQuivraApp& app, const QString& dir, quint32 seed)
        : m_use(app.MainFrame()), m_app(app), m_dir(dir), m_rng(seed) {
        m_pFrame = app.MainFrame();
        QPrinter& printer = CImageOutput::SharedPrinter();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setOutputFileName(dir + QStringLiteral("/soak.pdf"));
        // Whatever popup menu opens (context menus, the direction menu that comes back after
        // each choice) gets a random entry, or is closed.
        m_popupWatch.setInterval(15);
        QObject::connect(&m_popupWatch, &QTimer::timeout, [this] { AnswerPopup(); });
        m_popupWatch.start();
        AddActions();
    }

    // One random action; its name.
    const char* Step() {
        if (m_use.Frames().isEmpty())
            m_use.Run(m_rng() % 2 ? ID_FILE_NEW : ID_FILE_OPEN);
        const auto& a = m_actions[Rand(static_cast<int>(m_actions.size()))];
        a.second();
        UseActions::Spin(5);
        return a.first;
    }

    // The first broken invariant of any open document, or a view that cannot draw; "" if none.
    QString Broken() {
        std::set<CQuivraDoc*> docs;
        for (CChildFrame* f : m_use.Frames())
            if (f->GetDocument())
                docs.insert(f->GetDocument()->Doc());
        for (CQuivraDoc* doc : docs) {
            const QString why = soak::BrokenInvariant(*doc);
            if (!why.isEmpty())
                return QStringLiteral("%1: %2").arg(doc->GetPathName(), why);
        }
        CQuivraView* view = m_use.ActiveView();
        if (view && view->width() > 0 && view->height() > 0 && !view->RenderOffscreen())
            return QStringLiteral("the active view does not draw");
        for (const QString& m : m_use.m_modals)
            if (m.contains(QLatin1String("GLDib")))
                return QStringLiteral("the view reported: ") + m;
        return QString();
    }

    UseActions m_use;

private:
    int Rand(int n) { return n > 0 ? std::uniform_int_distribution<int>(0, n - 1)(m_rng) : 0; }
    template <class T> const T& Pick(const QList<T>& list) { return list[Rand(list.size())]; }

    QString AnyFile() {
        const QStringList files{m_dir + QStringLiteral("/a/scene.qvr"),
                                m_dir + QStringLiteral("/b/scene.qvr"),
                                m_dir + QStringLiteral("/saved.qvr"),
                                QStringLiteral(QUIVRA_EXAMPLES "/pump_measurements.KTL"),
                                QStringLiteral(QUIVRA_EXAMPLES "/box_measurements.KTL"),
                                QStringLiteral(QUIVRA_TEST_DATA "/uff/metres-velocity.uff"),
                                QStringLiteral(QUIVRA_TEST_DATA "/uff/fe-modes.uff"),
                                m_dir + QStringLiteral("/fifo"),
                                m_dir + QStringLiteral("/garbage"),
                                m_dir + QStringLiteral("/missing.qvr"),
                                QString()};
        return Pick(files);
    }

    void AnswerPopup() {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        QList<QAction*> entries;
        for (QAction* a : menu->actions())
            if (a->isEnabled() && a->isVisible() && !a->isSeparator())
                entries << a;
        QAction* a = entries.isEmpty() || Rand(3) == 0 ? nullptr : Pick(entries);
        if (!a || a->data().toInt() == ID_APP_EXIT) {
            menu->close();
            return;
        }
        menu->setActiveAction(a);
        QTest::keyClick(menu, Qt::Key_Return);
    }

    CornerPoint* AnyPoint(CQuivraView* view) {
        CQuivraDoc* doc = view ? view->GetDocument() : nullptr;
        if (!doc)
            return nullptr;
        const std::vector<CornerPoint*> points = doc->AllPoints();
        return points.empty() ? nullptr
                              : points[static_cast<std::size_t>(Rand(int(points.size())))];
    }

    // Half the time on a corner point (where the menus and clicks do the most), else anywhere.
    QPoint Somewhere(CQuivraView* view) {
        CornerPoint* p = Rand(2) ? AnyPoint(view) : nullptr;
        if (p && view->width() > 0 && view->height() > 0) {
            const QPoint at = scene::PixelOf(view->GL(), *view, p->m_x, p->m_y, p->m_z);
            if (view->rect().contains(at))
                return at;
        }
        return QPoint(Rand(std::max(1, view->width())), Rand(std::max(1, view->height())));
    }

    QList<QAction*> MenuCommands() {
        m_pFrame->UpdateCmdUI();
        QList<QMenu*> menus;
        std::function<void(QMenu*)> collect = [&](QMenu* menu) {
            menus << menu;
            for (QAction* a : menu->actions())
                if (a->menu())
                    collect(a->menu());
        };
        for (QAction* top : m_pFrame->menuBar()->actions())
            if (top->menu())
                collect(top->menu());
        // The recent files and the window list fill themselves as they open, replacing their
        // entries: all of them first, then the entries are taken.
        for (QMenu* menu : menus)
            emit menu->aboutToShow();
        QList<QAction*> out;
        for (QMenu* menu : menus)
            for (QAction* a : menu->actions())
                if (!a->menu() && a->isEnabled() && !a->isSeparator() &&
                    a->data().toInt() != ID_APP_EXIT)
                    out << a;
        return out;
    }

    void AddActions() {
        auto add = [this](const char* name, int weight, std::function<void()> f) {
            for (int i = 0; i < weight; ++i)
                m_actions.emplace_back(name, f);
        };
        add("menu command", 8, [this] {
            const QList<QAction*> commands = MenuCommands();
            if (commands.isEmpty())
                return;
            QAction* a = Pick(commands);
            const int id = a->data().toInt();
            if ((id == ID_FILE_NEW || id == ID_FILE_OPEN) &&
                m_app.DocTemplate()->Documents().size() >= 4)
                return; // enough documents open
            a->trigger();
            QApplication::processEvents();
        });
        add("switch window", 2, [this] {
            const QList<CChildFrame*> frames = m_use.Frames();
            if (!frames.isEmpty())
                m_use.Activate(Pick(frames));
        });
        add("animation on or off", 3, [this] {
            CQuivraView* v = m_use.ActiveView();
            if (v && v->m_bAnimating)
                m_use.StopAnimation();
            else
                m_use.StartAnimation();
        });
        add("resize a window", 4, [this] {
            const QSize size = kSizes[Rand(int(std::size(kSizes)))];
            if (size.isEmpty())
                m_use.MaximiseDocument();
            else if (size.width() < 100 && Rand(2))
                m_use.ResizeView(size);
            else
                m_use.ResizeDocument(size);
        });
        add("restore a window", 1, [this] { m_use.RestoreDocument(); });
        add("resize the main window", 1,
            [this] { m_use.ResizeMain(QSize(320 + Rand(1200), 240 + Rand(900))); });
        add("new window", 1, [this] {
            if (m_use.Frames().size() < 6)
                m_use.NewWindow();
        });
        add("close a window", 1, [this] {
            const QList<CChildFrame*> frames = m_use.Frames();
            if (frames.size() > 1)
                Pick(frames)->close();
            QApplication::processEvents();
        });
        add("tool windows", 1, [this] { m_use.ShowToolWindows(); });
        add("click in the view", 6, [this] {
            if (CQuivraView* v = m_use.ActiveView())
                QTest::mouseClick(v, Qt::LeftButton,
                                  Rand(3) == 0 ? Qt::ShiftModifier : Qt::NoModifier, Somewhere(v));
        });
        add("drag in the view", 4, [this] {
            CQuivraView* v = m_use.ActiveView();
            if (!v)
                return;
            const Qt::KeyboardModifiers mods = Rand(2) ? Qt::ControlModifier : Qt::NoModifier;
            QPoint at = Somewhere(v);
            QTest::mousePress(v, Qt::LeftButton, mods, at);
            for (int i = 0; i < 4; ++i) {
                at += QPoint(Rand(81) - 40, Rand(81) - 40);
                QMouseEvent move(QEvent::MouseMove, at, v->mapToGlobal(at), Qt::NoButton,
                                 Qt::LeftButton, mods);
                QApplication::sendEvent(v, &move);
            }
            QTest::mouseRelease(v, Qt::LeftButton, mods, at);
        });
        add("wheel in the view", 2, [this] {
            CQuivraView* v = m_use.ActiveView();
            if (!v)
                return;
            const QPoint at = Somewhere(v);
            QWheelEvent wheel(at, v->mapToGlobal(at), QPoint(), QPoint(0, Rand(2) ? 120 : -120),
                              Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(v, &wheel);
        });
        add("context menu", 6, [this] {
            CQuivraView* v = m_use.ActiveView();
            if (!v)
                return;
            const QPoint at = Somewhere(v);
            // A right click picks what is under the mouse; the menu follows.
            QTest::mouseClick(v, Qt::RightButton, Qt::NoModifier, at);
            QContextMenuEvent menu(QContextMenuEvent::Mouse, at, v->mapToGlobal(at));
            QApplication::sendEvent(v, &menu);
        });
        add("key in the view", 3, [this] {
            static const Qt::Key keys[] = {Qt::Key_F,      Qt::Key_Left,  Qt::Key_Right,
                                           Qt::Key_Up,     Qt::Key_Down,  Qt::Key_Space,
                                           Qt::Key_Plus,   Qt::Key_Minus, Qt::Key_Delete,
                                           Qt::Key_PageUp, Qt::Key_Escape};
            if (CQuivraView* v = m_use.ActiveView())
                QTest::keyClick(v, keys[Rand(int(std::size(keys)))]);
        });
        add("type into a tool window", 6, [this] {
            QList<QLineEdit*> fields;
            for (QWidget* top : QApplication::topLevelWidgets())
                if (top != m_pFrame && top->isVisible() && !qobject_cast<QMessageBox*>(top))
                    for (QLineEdit* e : top->findChildren<QLineEdit*>())
                        if (e->isVisible() && e->isEnabled() && !e->isReadOnly())
                            fields << e;
            if (fields.isEmpty())
                return;
            QLineEdit* field = Pick(fields);
            field->setFocus();
            field->selectAll();
            QTest::keyClicks(field, QString::fromLatin1(kTexts[Rand(int(std::size(kTexts)))]));
            QTest::keyClick(field, Rand(4) ? Qt::Key_Return : Qt::Key_Tab);
        });
        add("undo", 2, [this] { m_use.Run(ID_EDIT_UNDO); });
        add("save", 1, [this] { m_use.Run(ID_FILE_SAVE); });
        add("reopen", 1, [this] {
            CChildFrame* f = m_use.ActiveFrame();
            CAppDocument* doc = f ? f->GetDocument() : nullptr;
            if (!doc || doc->Doc()->GetPathName().isEmpty())
                return;
            m_strNextOpen = doc->Doc()->GetPathName();
            m_use.Run(ID_FILE_CLOSE);
            m_use.Run(ID_FILE_OPEN);
        });
        add("import an instrument file", 1, [this] { m_use.Run(ID_FILE_R4_IMPORT); });
        add("import a universal file", 1, [this] { m_use.Run(ID_FILE_IMPORT_UFF); });
        add("copy", 1, [this] { m_use.Copy(); });
    }

public:
    // The prompts' answers, drawn from the same seed.
    void AnswerPrompts() {
        CPrompts::Message = [this](QWidget*, const QString& text) { m_use.m_modals << text; };
        CPrompts::AskYesNoCancel = [this](QWidget*, const QString&) {
            return static_cast<CPrompts::Answer>(Rand(3));
        };
        CPrompts::AskYesNo = [this](QWidget*, const QString&) { return Rand(2) == 0; };
        CPrompts::OpenFileName = [this](QWidget*, const QString&, const QString&) {
            const QString path = m_strNextOpen.isEmpty() ? AnyFile() : m_strNextOpen;
            m_strNextOpen.clear();
            return path;
        };
        CPrompts::SaveFileName = [this](QWidget*, const QString&, const QString&) {
            return Rand(4) ? m_dir + QStringLiteral("/saved.qvr") : QString();
        };
        CPrompts::UffExportOptions = [](QWidget*, UffWriter::Options&) { return true; };
        CInstrumentImport::AskFileName = [this](QWidget*, const QString&) { return AnyFile(); };
        CInstrumentImport::Message = [this](QWidget*, const QString& text) {
            m_use.m_modals << text;
        };
    }

private:
    CMainFrame* m_pFrame;
    CQuivraApp& m_app;
    QString m_dir;
    std::mt19937 m_rng;
    QTimer m_popupWatch;
    QString m_strNextOpen;
    std::vector<std::pair<const char*, std::function<void()>>> m_actions;
};

} // namespace

int main(int argc, char** argv) {
    Options o;
    if (!Parse(argc, argv, o)) {
        std::fprintf(stderr, "usage: quivra_soak [--seconds N] [--seed S] [--scene FILE.qvr] "
                             "[--verbose]\n");
        return 2;
    }
    if (!o.hasSeed)
        o.seed = static_cast<quint32>(QDateTime::currentMSecsSinceEpoch());
    std::printf("soak: seed %u, %d s\n", o.seed, o.seconds);
    std::fflush(stdout);
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

    // Two documents, each in a folder of its own (Animation Save writes next to the scene), and
    // files no program should choke on.
    QStringList files{QStringLiteral("quivra")};
    for (const char* name : {"a", "b"}) {
        QDir(tmp.path()).mkdir(QString::fromLatin1(name));
        const QString path = tmp.filePath(QStringLiteral("%1/scene.qvr").arg(name));
        if (!QFile::copy(o.scene, path)) {
            std::fprintf(stderr, "soak: cannot copy %s\n", qPrintable(o.scene));
            return 1;
        }
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        files << path;
    }
    mkfifo(QFile::encodeName(tmp.filePath(QStringLiteral("fifo"))).constData(), 0600);
    QFile garbage(tmp.filePath(QStringLiteral("garbage")));
    if (garbage.open(QIODevice::WriteOnly))
        garbage.write(QByteArray(3000, '\x5a'));
    garbage.close();

    int steps = 0;
    QString broken;
    const char* last = "start";
    QStringList trail;
    {
        CQuivraApp app;
        if (!app.InitInstance(files))
            return 1;
        RandomUse use(app, tmp.path(), o.seed);
        use.AnswerPrompts();
        const QDeadlineTimer deadline(static_cast<qint64>(o.seconds) * 1000);
        while (!deadline.hasExpired() && broken.isEmpty()) {
            ++steps;
            last = use.Step();
            trail << QString::fromLatin1(last);
            if (trail.size() > 12)
                trail.removeFirst();
            if (o.verbose) {
                std::printf("step %d: %s\n", steps, last);
                std::fflush(stdout);
            }
            broken = use.Broken();
        }
        std::printf("%d steps, %d messages shown\n", steps,
                    static_cast<int>(use.m_use.m_modals.size()));
        if (o.verbose)
            for (const QString& m : use.m_use.m_modals)
                std::printf("  %s\n", qPrintable(m));
        // The answers above die with `use`; closing the program asks nothing of anyone.
        CPrompts::Reset();
        CInstrumentImport::Reset();
        CPrompts::AskYesNoCancel = [](QWidget*, const QString&) { return CPrompts::No; };
        CPrompts::Message = [](QWidget*, const QString&) {};
    }
    if (!broken.isEmpty()) {
        std::fprintf(stderr,
                     "soak: seed %u, step %d (%s): %s\n  replay: quivra_soak --seed %u "
                     "--seconds %d --verbose\n  last steps: %s\n",
                     o.seed, steps, last, qPrintable(broken), o.seed, o.seconds,
                     qPrintable(trail.join(QStringLiteral(", "))));
        return 1;
    }
    return 0;
}
