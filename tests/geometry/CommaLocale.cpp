#include "CommaLocale.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

// The folder holding the compiled locale; made on first use, removed at exit.
const QString& LocaleFolder(QString* why) {
    static std::unique_ptr<QTemporaryDir> dir;
    static QString path;
    static QString error;
    if (!dir) {
        dir = std::make_unique<QTemporaryDir>();
        QProcess p;
        // glibc looks the name up normalised ("de_DE.utf8").
        p.start(QStringLiteral("localedef"),
                {QStringLiteral("-i"), QStringLiteral("de_DE"), QStringLiteral("-f"),
                 QStringLiteral("UTF-8"), dir->filePath(QStringLiteral("de_DE.utf8"))});
        if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit ||
            p.exitCode() != 0)
            error = QStringLiteral("localedef failed: ") + QString::fromLocal8Bit(p.readAll());
        else
            path = dir->path();
    }
    if (why)
        *why = error;
    return path;
}

} // namespace

CommaLocale::CommaLocale() {
    const QString folder = LocaleFolder(&m_strWhy);
    if (folder.isEmpty())
        return;
    // glibc reads LOCPATH on every setlocale call.
    setenv("LOCPATH", QDir::toNativeSeparators(folder).toLocal8Bit().constData(), 1);
    if (!std::setlocale(LC_NUMERIC, "de_DE.utf8")) {
        m_strWhy = QStringLiteral("setlocale failed");
        return;
    }
    m_bActive = std::strcmp(std::localeconv()->decimal_point, ",") == 0;
    if (!m_bActive)
        m_strWhy = QStringLiteral("the locale's decimal point is not a comma");
}

CommaLocale::~CommaLocale() {
    std::setlocale(LC_NUMERIC, "C");
}
