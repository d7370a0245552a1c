#pragma once

#include <QString>

// Switches LC_NUMERIC to a locale whose decimal separator is a comma for the lifetime of the
// object, and back to "C" afterwards. No such locale is installed on a bare machine: the build
// compiles one with localedef (from Debian's locales package) into its test-locales folder.
class CommaLocale {
public:
    CommaLocale();
    ~CommaLocale();
    CommaLocale(const CommaLocale&) = delete;
    CommaLocale& operator=(const CommaLocale&) = delete;

    // False when the comma locale could not be selected; tests fail then (a skipped test
    // would hide exactly the faults it is there for).
    bool IsActive() const { return m_bActive; }
    QString Why() const { return m_strWhy; }

    // The folder with the compiled locale, for child processes (LOCPATH).
    static QString Folder();
    // The locale's name to put into LC_ALL of a child process.
    static const char* Name() { return "de_DE.utf8"; }

private:
    bool m_bActive = false;
    QString m_strWhy;
};
