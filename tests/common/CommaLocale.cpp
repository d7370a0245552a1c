#include "CommaLocale.h"

#include <QDir>

#include <clocale>
#include <cstdlib>
#include <cstring>

QString CommaLocale::Folder() {
    return QStringLiteral(QUIVRA_BINARY_DIR "/test-locales");
}

CommaLocale::CommaLocale() {
    const QString folder = Folder();
    if (!QDir(folder).exists(QString::fromLatin1(Name()))) {
        m_strWhy = QStringLiteral("no comma locale in %1: install Debian's locales package "
                                  "(scripts/install-deps) and build again")
                       .arg(folder);
        return;
    }
    // glibc reads LOCPATH on every setlocale call.
    setenv("LOCPATH", QDir::toNativeSeparators(folder).toLocal8Bit().constData(), 1);
    if (!std::setlocale(LC_NUMERIC, Name())) {
        m_strWhy = QStringLiteral("setlocale(LC_NUMERIC, \"%1\") failed").arg(Name());
        return;
    }
    m_bActive = std::strcmp(std::localeconv()->decimal_point, ",") == 0;
    if (!m_bActive)
        m_strWhy = QStringLiteral("the locale's decimal point is not a comma");
}

CommaLocale::~CommaLocale() {
    std::setlocale(LC_NUMERIC, "C");
}
