#include "CQuivraApp.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quivra"));
    QApplication::setOrganizationName(QStringLiteral("Stellmark"));
    QApplication::setDesktopFileName(QStringLiteral("quivra"));
    CQuivraApp app;
    if (!app.InitInstance(QApplication::arguments()))
        return 1;
    return application.exec();
}
