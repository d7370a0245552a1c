#pragma once

// The instrument simulator as a child process on a pseudo-terminal, for the tests that talk to
// it over a real serial port. Needs QUIVRA_SIMULATOR (the program's path) compiled in.
#include <QProcess>
#include <QString>
#include <QStringList>

class SimulatorProcess {
public:
    // Serves the sets in `dir`; `faults` are the simulator's fault switches.
    explicit SimulatorProcess(const QString& dir, const QStringList& faults = {}) {
        m_process.setProgram(QStringLiteral(QUIVRA_SIMULATOR));
        m_process.setArguments(faults + QStringList{QStringLiteral("--stdin-lifeline"), dir});
        m_process.start();
        if (m_process.waitForStarted(5000) && m_process.waitForReadyRead(5000))
            m_strDevice = QString::fromLocal8Bit(m_process.readLine()).trimmed();
    }
    ~SimulatorProcess() {
        m_process.closeWriteChannel(); // the simulator ends with its input
        if (!m_process.waitForFinished(5000))
            m_process.kill();
    }
    SimulatorProcess(const SimulatorProcess&) = delete;
    SimulatorProcess& operator=(const SimulatorProcess&) = delete;

    QString m_strDevice; // empty when it did not start

private:
    QProcess m_process;
};
