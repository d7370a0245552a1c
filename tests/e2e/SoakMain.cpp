// The real program driven at random for as long as wanted, as a person would use it: menus and
// context menus, clicks, drags and the wheel in the views, windows resized, maximised and
// restored while they animate, tool-window fields typed into with good and bad text, undo,
// save, reopen, instrument and Universal File imports, windows closed with the prompts
// answered. After every step each open document is checked (BrokenInvariant below) and the active
// view must draw. Everything follows from the seed, so a failure can be replayed.
//   quivra_soak [--seconds N] [--seed S] [--scene FILE.qvr] [--verbose]
//   valgrind --error-exitcode=1 build/tests/e2e/quivra_soak --seconds 600 --seed 7
// Headless unless QT_QPA_PLATFORM says otherwise; settings and output go to a temporary folder.
// Exit status 1 at the first broken invariant or failed action, with the seed and the step.
#include "SceneBuilder.h"
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
#include "Line.h"
#include "MeasDirection.h"
#include "SceneFile.h"
#include "SceneObject.h"

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
#include <sys/stat.h>
#include <unordered_set>

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

// What is wrong with the document, or "" when it is sound: every line ends at a live point,
// selections and the highlight hold live records only, every direction has one measurement per
// series, and its bytes read back into a document that writes the same bytes again.
QString BrokenInvariant(CQuivraDoc& doc) {
    const std::vector<CornerPoint*> points = doc.AllPoints();
    const std::unordered_set<const CornerPoint*> live(points.begin(), points.end());
    const std::unordered_set<const SceneObject*> objects(doc.m_objects.begin(),
                                                         doc.m_objects.end());
    auto endsLive = [&live](const std::vector<Line*>& lines) {
        for (const Line* l : lines)
            if (!live.count(l->m_pPointA) || !live.count(l->m_pPointB))
                return false;
        return true;
    };
    if (!endsLive(doc.m_freeLines))
        return QStringLiteral("a free line ends at a deleted point");
    for (const SceneObject* o : doc.m_objects)
        if (!endsLive(o->m_lines))
            return QStringLiteral("an object's line ends at a deleted point");
    for (const CornerPoint* p : doc.m_selPoints)
        if (!live.count(p))
            return QStringLiteral("the selection holds a deleted point");
    for (const SceneObject* o : doc.m_selObjects)
        if (!objects.count(o))
            return QStringLiteral("the selection holds a deleted object");
    if (doc.m_pHighlightPoint && !live.count(doc.m_pHighlightPoint))
        return QStringLiteral("the highlighted point is deleted");

    const std::size_t series = static_cast<std::size_t>(doc.m_nSeries);
    if (doc.m_seriesNames.size() != series || doc.m_seriesFramesPerPeriod.size() != series ||
        doc.m_seriesAmplification.size() != series || doc.m_seriesFrequency.size() != series)
        return QStringLiteral("the series columns disagree with the series count");
    for (const CornerPoint* p : points)
        for (const MeasDirection* d : p->m_directions)
            if (d->m_measurements.size() != series)
                return QStringLiteral("direction %1 has %2 measurements for %3 series")
                    .arg(d->m_nNumber)
                    .arg(d->m_measurements.size())
                    .arg(series);

    // Writing the bytes clears the modified flag, as a save would; this is no save.
    const bool modified = doc.IsModified();
    const QByteArray bytes = SceneFile::ToBytes(doc);
    doc.SetModifiedFlag(modified);
    CQuivraDoc back;
    QString why;
    if (!SceneFile::FromBytes(bytes, back, &why))
        return QStringLiteral("the scene does not read back: ") + why;
    if (SceneFile::ToBytes(back) != bytes)
        return QStringLiteral("a save and reload is not byte-identical");
    return QString();
}

// Texts typed into tool-window fields: numbers as a person types them, and what no field takes.
const char* const kTexts[] = {"0",     "1",   "24", "-3.5",       "1e3",   "2,5",  "",  "abc",
                              "1e999", "nan", "-0", "9999999999", "10001", "1 Hz", "+", "7"};

const Qt::Key kKeys[] = {Qt::Key_F,      Qt::Key_Left,   Qt::Key_Right, Qt::Key_Up,
                         Qt::Key_Down,   Qt::Key_Space,  Qt::Key_Plus,  Qt::Key_Minus,
                         Qt::Key_Delete, Qt::Key_PageUp, Qt::Key_Escape};

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
        AnswerPrompts();
    }

    // One random action; its name.
    const char* Step() {
        if (m_use.Frames().isEmpty())
            m_use.Run(m_rng() % 2 ? ID_FILE_NEW : ID_FILE_OPEN);
        const Action& a = m_actions[static_cast<std::size_t>(m_pick(m_rng))];
        CQuivraView* view = m_use.ActiveView();
        const bool many = m_use.Frames().size() >= 6; // enough windows
        if (a.command && !(many && a.command == ID_WINDOW_NEW))
            m_use.Run(a.command);
        else if (a.run && view)
            a.run(view);
        QTest::qWait(5); // timers fire, windows paint
        return a.name;
    }

    // The first broken invariant of any open document, or a view that cannot draw; "" if none.
    QString Broken() {
        for (const auto& doc : m_app.DocTemplate()->Documents()) {
            const QString why = BrokenInvariant(*doc->Doc());
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
        QStringList files{QStringLiteral(QUIVRA_EXAMPLES "/pump_measurements.KTL"),
                          QStringLiteral(QUIVRA_EXAMPLES "/box_measurements.KTL"),
                          QStringLiteral(QUIVRA_TEST_DATA "/uff/metres-velocity.uff"),
                          QStringLiteral(QUIVRA_TEST_DATA "/uff/fe-modes.uff"), QString()};
        for (const char* f :
             {"a/scene.qvr", "b/scene.qvr", "saved.qvr", "fifo", "garbage", "missing.qvr"})
            files << m_dir + QLatin1Char('/') + QLatin1String(f);
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

    QPoint Somewhere(CQuivraView* view) {
        const std::vector<CornerPoint*> points = view->GetDocument()->AllPoints();
        const CornerPoint* p =
            points.empty() || Rand(2) ? nullptr : points[std::size_t(Rand(int(points.size())))];
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

    // The kinds of use: a command run as from its menu, or a function given the active view.
    struct Action {
        const char* name;
        int weight;
        int command;
        std::function<void(CQuivraView*)> run;
    };

    void AddActions() {
        m_actions = {
            {"menu command", 8, 0, [this](CQuivraView*) { AnyMenuCommand(); }},
            {"switch window", 2, 0, [this](CQuivraView*) { m_use.Activate(Pick(m_use.Frames())); }},
            {"animation on or off", 3, 0,
             [this](CQuivraView* v) { m_use.Animate(!v->m_bAnimating); }},
            {"resize a window", 4, 0,
             [this](CQuivraView*) {
                 const QSize size = kSizes[Rand(int(std::size(kSizes)))];
                 m_use.ResizeDocument(size, size.width() < 100 && Rand(2));
             }},
            {"restore a window", 1, 0, [this](CQuivraView*) { m_use.ActiveFrame()->showNormal(); }},
            {"resize the main window", 1, 0,
             [this](CQuivraView*) {
                 m_pFrame->showNormal();
                 m_pFrame->resize(320 + Rand(1200), 240 + Rand(900));
             }},
            {"new window", 1, ID_WINDOW_NEW, nullptr},
            {"close a window", 1, 0,
             [this](CQuivraView*) {
                 if (m_use.Frames().size() > 1)
                     Pick(m_use.Frames())->close();
             }},
            {"camera window", 1, ID_EDIT_CAMERA, nullptr},
            {"points window", 1, ID_EDIT_POINTS, nullptr},
            {"series window", 1, ID_EDIT_SERIES, nullptr},
            {"measurements window", 1, ID_EDIT_MEASUREMENTS, nullptr},
            {"click in the view", 6, 0,
             [this](CQuivraView* v) {
                 QTest::mouseClick(v, Qt::LeftButton, Rand(3) ? Qt::NoModifier : Qt::ShiftModifier,
                                   Somewhere(v));
             }},
            {"drag in the view", 4, 0, [this](CQuivraView* v) { Drag(v); }},
            {"wheel in the view", 2, 0,
             [this](CQuivraView* v) {
                 const QPoint at = Somewhere(v);
                 QWheelEvent wheel(at, v->mapToGlobal(at), QPoint(),
                                   QPoint(0, Rand(2) ? 120 : -120), Qt::NoButton, Qt::NoModifier,
                                   Qt::NoScrollPhase, false);
                 QApplication::sendEvent(v, &wheel);
             }},
            {"context menu", 6, 0,
             [this](CQuivraView* v) {
                 // A right click picks what is under the mouse; the menu follows.
                 const QPoint at = Somewhere(v);
                 QTest::mouseClick(v, Qt::RightButton, Qt::NoModifier, at);
                 QContextMenuEvent menu(QContextMenuEvent::Mouse, at, v->mapToGlobal(at));
                 QApplication::sendEvent(v, &menu);
             }},
            {"key in the view", 3, 0,
             [this](CQuivraView* v) { QTest::keyClick(v, kKeys[Rand(int(std::size(kKeys)))]); }},
            {"type into a tool window", 6, 0, [this](CQuivraView*) { TypeIntoAField(); }},
            {"undo", 2, ID_EDIT_UNDO, nullptr},
            {"save", 1, ID_FILE_SAVE, nullptr},
            {"reopen", 1, 0,
             [this](CQuivraView* v) {
                 m_strNextOpen = v->GetDocument()->GetPathName();
                 if (!m_strNextOpen.isEmpty() && m_use.Run(ID_FILE_CLOSE))
                     m_use.Run(ID_FILE_OPEN);
                 m_strNextOpen.clear();
             }},
            {"import an instrument file", 1, ID_FILE_R4_IMPORT, nullptr},
            {"import a universal file", 1, ID_FILE_IMPORT_UFF, nullptr},
            {"copy", 1, ID_EDIT_COPY, nullptr},
        };
        std::vector<int> weights;
        for (const Action& a : m_actions)
            weights.push_back(a.weight);
        m_pick = std::discrete_distribution<int>(weights.begin(), weights.end());
    }

    void AnyMenuCommand() {
        const QList<QAction*> commands = MenuCommands();
        QAction* a = commands.isEmpty() ? nullptr : Pick(commands);
        const int id = a ? a->data().toInt() : 0;
        const bool opens = id == ID_FILE_NEW || id == ID_FILE_OPEN;
        if (a && !(opens && m_app.DocTemplate()->Documents().size() >= 4)) // enough documents
            a->trigger();
    }

    void Drag(CQuivraView* v) {
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
    }

    // Good and bad text into any field of an open tool window, then Return or Tab.
    void TypeIntoAField() {
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
    std::vector<Action> m_actions;
    std::discrete_distribution<int> m_pick;
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

    int steps = 0;
    QString broken;
    const char* last = "start";
    {
        CQuivraApp app;
        if (!app.InitInstance(files))
            return 1;
        RandomUse use(app, tmp.path(), o.seed);
        const QDeadlineTimer deadline(static_cast<qint64>(o.seconds) * 1000);
        while (!deadline.hasExpired() && broken.isEmpty()) {
            ++steps;
            last = use.Step();
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
                     "--seconds %d --verbose\n",
                     o.seed, steps, last, qPrintable(broken), o.seed, o.seconds);
        return 1;
    }
    return 0;
}
