#pragma once

#include <QString>

// Switches LC_NUMERIC to a locale whose decimal separator is a comma for the lifetime of the
// object, and back to "C" afterwards. No such locale is installed on a bare machine, so one is
// compiled with localedef into a temporary folder once per test program.
class CommaLocale {
public:
    CommaLocale();
    ~CommaLocale();
    CommaLocale(const CommaLocale&) = delete;
    CommaLocale& operator=(const CommaLocale&) = delete;

    // False when no comma locale could be made; the test should skip then.
    bool IsActive() const { return m_bActive; }
    QString Why() const { return m_strWhy; }

private:
    bool m_bActive = false;
    QString m_strWhy;
};
