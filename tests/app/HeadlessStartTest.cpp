// Started where no display can be reached, the program says so instead of failing inside Qt,
// and the README's run command still shows the scene, drawn by qvrtool.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QProcessEnvironment WithoutDisplay() {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    return env;
}

TEST(HeadlessStart, ProgramWithoutDisplaySaysWhatIsMissingAndFails) {
    QProcess quivra;
    quivra.setProcessEnvironment(WithoutDisplay());
    quivra.start(QStringLiteral(QUIVRA_PATH), {QStringLiteral(QUIVRA_EXAMPLES "/pump.qvr")});
    ASSERT_TRUE(quivra.waitForFinished(30000));
    EXPECT_EQ(quivra.exitStatus(), QProcess::NormalExit);
    EXPECT_NE(quivra.exitCode(), 0);
    const QString err = QString::fromLocal8Bit(quivra.readAllStandardError());
    EXPECT_EQ(err.count('\n'), 1) << err.toStdString();
    EXPECT_TRUE(err.contains("DISPLAY") && err.contains("ssh -X") && err.contains("qvrtool render"))
        << err.toStdString();
    EXPECT_FALSE(err.contains("Reinstalling")) << err.toStdString();
}

TEST(HeadlessStart, RunScriptFallbackDrawsTheSceneAndAPeriod) {
    QTemporaryDir out;
    ASSERT_TRUE(out.isValid());
    const QString scene = QStringLiteral(QUIVRA_EXAMPLES "/pump.qvr");
    QProcess script;
    script.setProcessEnvironment(WithoutDisplay());
    script.start(QStringLiteral("bash"),
                 {QStringLiteral(QUIVRA_SOURCE_DIR "/scripts/show-headless"),
                  QStringLiteral(QVRTOOL_PATH), scene, out.path()});
    ASSERT_TRUE(script.waitForFinished(120000));
    ASSERT_EQ(script.exitCode(), 0) << script.readAllStandardError().toStdString();
    const QString said = QString::fromLocal8Bit(script.readAllStandardOutput());

    // A PNG of 1280 x 800: the signature, then the header chunk's big-endian width and height.
    const QString rest = out.filePath("pump.png");
    QFile png(rest);
    ASSERT_TRUE(png.open(QIODevice::ReadOnly));
    const QByteArray head = png.read(24);
    EXPECT_TRUE(head.startsWith("\x89PNG\r\n\x1a\n"));
    EXPECT_EQ(head.mid(16, 8), QByteArray::fromHex("0000050000000320"));
    EXPECT_TRUE(said.contains(rest)) << said.toStdString();

    // And the frames of a period (their count is qvrtool frames' own test).
    const QStringList written =
        QDir(out.path()).entryList({QStringLiteral("pump - *.bmp")}, QDir::Files, QDir::Name);
    ASSERT_GT(written.size(), 1);
    EXPECT_TRUE(said.contains(out.filePath(written.last()))) << said.toStdString();
}

} // namespace
