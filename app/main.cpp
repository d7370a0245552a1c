#include "CAppDocument.h"
#include "COSMesaLibrary.h"
#include "CQuivraApp.h"

#include <QApplication>

#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace {

bool IsSet(const char* name) {
    const char* value = std::getenv(name);
    return value && *value;
}

// Without a display Qt ends in a long message advising a reinstall; say what is really missing,
// before Qt is started.
bool DisplayReachable() {
    return IsSet("QT_QPA_PLATFORM") || IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY");
}

} // namespace

int main(int argc, char** argv) {
    // A file-size limit then fails the save, which is reported, instead of killing the program.
    std::signal(SIGXFSZ, SIG_IGN);
    if (!DisplayReachable()) {
        std::fprintf(stderr,
                     "quivra: no display to show its window on (neither DISPLAY nor "
                     "WAYLAND_DISPLAY is set): run it in a desktop session or over ssh -X; "
                     "without a display, qvrtool render and qvrtool frames make the pictures.\n");
        return 1;
    }
    // What the first picture does not need waits until it is on screen: the GL library (and
    // the LLVM it brings) opens on another core, the first document's hidden tool windows are
    // made after its view's first paint.
    COSMesaLibrary::DeferToBackground();
    CAppDocument::DeferNextToolWindows();
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quivra"));
    QApplication::setOrganizationName(QStringLiteral("Stellmark"));
    QApplication::setDesktopFileName(QStringLiteral("quivra"));
    CQuivraApp app;
    if (!app.InitInstance(QApplication::arguments()))
        return 1;
    if (app.Finished())
        return 0;
    return application.exec();
}
