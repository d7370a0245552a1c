#pragma once

#include <QProcess>
#include <QStringList>

// A program's exit code and output, run to its end as a user's script would run it.
struct ToolRun {
    int exitCode = -1; // -1: it crashed or did not finish
    QString out, err;
};

inline ToolRun
RunProgram(const QString& program, const QStringList& args,
           const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(program, args);
    ToolRun r;
    if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit)
        return r;
    r.exitCode = p.exitCode();
    r.out = QString::fromLocal8Bit(p.readAllStandardOutput());
    r.err = QString::fromLocal8Bit(p.readAllStandardError());
    return r;
}

#ifdef QVRTOOL_PATH
inline ToolRun RunTool(const QStringList& args) {
    return RunProgram(QStringLiteral(QVRTOOL_PATH), args);
}
#endif
