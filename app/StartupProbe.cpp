#include "StartupProbe.h"

#include "COpenGLView.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>

namespace startupprobe {

namespace {

void Say(const char* what) {
    std::printf("quivra: %s\n", what);
    std::fflush(stdout);
}

// Prints once at the first paint of the watched window, then lets the paint go on.
class CFirstPaint : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            Say("window painted");
            watched->removeEventFilter(this);
            deleteLater();
        }
        return false;
    }
};

} // namespace

bool Active() {
    static const bool active = [] {
        const char* value = std::getenv("QUIVRA_EXIT_AFTER_FIRST_FRAME");
        return value && *value;
    }();
    return active;
}

void WatchWindow(QWidget* mainWindow) {
    if (Active())
        mainWindow->installEventFilter(new CFirstPaint(mainWindow));
}

void WatchView(COpenGLView* view, bool (*hasModel)(COpenGLView*)) {
    if (!Active())
        return;
    static bool s_bShown = false;
    QObject::connect(view, &COpenGLView::PreviewPainted, view, [view, hasModel] {
        if (!s_bShown && hasModel(view)) {
            s_bShown = true;
            Say("model shown");
        }
    });
    QObject::connect(view, &COpenGLView::FramePainted, view, [view, hasModel] {
        static bool s_bSaid = false;
        if (s_bSaid || !hasModel(view))
            return;
        if (!s_bShown) {
            s_bShown = true;
            Say("model shown");
        }
        s_bSaid = true;
        Say("model painted");
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    });
}

} // namespace startupprobe
