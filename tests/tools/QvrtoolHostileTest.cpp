// qvrtool on inputs that used to hang it, run it out of memory or fool it. Every run has a
// deadline (ToolRun.h), so a regression fails here instead of hanging the suite.
#include "SceneFile.h"
#include "TestFiles.h"
#include "TestScenes.h"
#include "ToolRun.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace testscenes;

namespace {

// qvrtool under a file-size limit of `kib` KiB, as a full disk would stop it; its standard
// output into `out` when given.
ToolRun RunLimited(const QStringList& args, int kib, const QString& out = {}) {
    const QString shell = QStringLiteral("trap '' XFSZ; ulimit -f %1; exec \"$0\" \"$@\"%2")
                              .arg(kib)
                              .arg(out.isEmpty() ? QString() : QStringLiteral(" > '%1'").arg(out));
    return RunProgram(QStringLiteral("bash"),
                      QStringList{QStringLiteral("-c"), shell, QStringLiteral(QVRTOOL_PATH)} +
                          args);
}

class QvrtoolHostile : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        ASSERT_EQ(mkfifo(QFile::encodeName(Path("fifo")).constData(), 0600), 0);
        CQuivraDoc doc;
        AddFree(doc, 0, 0, 0);
        AddFree(doc, 10, 0, 0);
        doc.AddSeries();
        Save(doc, "scene.qvr");
        doc.m_seriesFramesPerPeriod[0] = 2147483647;
        Save(doc, "endless.qvr");
        doc.m_seriesFramesPerPeriod[0] = 24;
        doc.m_nNextPointNumber = 2147483647 - 7;
        doc.m_nNextDirectionNumber = 2147483647;
        Save(doc, "exhausted.qvr");
    }
    QString Path(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }
    void Save(CQuivraDoc& doc, const char* name) {
        ASSERT_TRUE(SceneFile::Save(doc, Path(name), nullptr));
    }
    // The words of `line`, "@name" standing for a file in the test's folder.
    QStringList Args(const char* line) const {
        QStringList out;
        for (const QString& w : QString::fromLatin1(line).split(QLatin1Char(' ')))
            out << (w.startsWith(QLatin1Char('@')) ? m_dir.filePath(w.mid(1)) : w);
        return out;
    }
    QTemporaryDir m_dir;
};

TEST_F(QvrtoolHostile, RefusesAtOnceWithAPlainMessage) {
    struct Case {
        const char* args; // split at spaces
        int exitCode;
        const char* says;
    };
    const Case cases[] = {
        // Special files: a FIFO blocked the open, /dev/zero never ended.
        {"dump @fifo", 1, "not a regular file"},
        {"dump /dev/zero", 1, "not a regular file"},
        {"ktl @fifo", 1, "fifo: Error opening quivra file (it is not a regular file)"},
        {"import-uff @fifo @out.qvr", 1, "not a regular file"},
        {"set-values @scene.qvr @out.qvr --series 0 --from @fifo", 1, "not a regular file"},
        // Ranges ending at the largest int wrapped the loop.
        {"add-direction @scene.qvr @out.qvr --point 2147483647 --code X", 1,
         "no corner point 2147483647"},
        {"add-direction @scene.qvr @out.qvr --point 2147483000-2147483647 --code X", 1,
         "no corner point 2147483000"},
        {"add-direction @scene.qvr @out.qvr --point 1-1000000,1-2 --code X", 2, "usage"},
        // Frame counts that write images without end.
        {"add-series @scene.qvr @out.qvr --frames 2147483647", 1, "--frames must be 1 to 10000"},
        {"frames @endless.qvr --out @f", 1, "at most 10000 images"},
        // Counters at the top.
        {"add-box @exhausted.qvr @out.qvr", 1, "corner point numbers are used up"},
        {"add-direction @exhausted.qvr @out.qvr --point 1 --code X", 1,
         "direction numbers are used up"},
        // Options Qt used to take for itself are ours, and unknown.
        {"render @scene.qvr @out.bmp --style clear", 2, "unknown option --style"},
        {"render @scene.qvr @out.bmp -platform xcb", 2, "unknown option -platform"},
        {"transfer --device /nonexistent/ttyQ9 list", 1, "Cannot open /nonexistent/ttyQ9: "},
    };
    for (const Case& c : cases) {
        const QStringList args = Args(c.args);
        const ToolRun r = RunTool(args);
        SCOPED_TRACE(args.join(QLatin1Char(' ')).toStdString());
        EXPECT_EQ(r.exitCode, c.exitCode) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.says))) << r.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(Path("out.qvr")));
    EXPECT_FALSE(QFile::exists(Path("out.bmp")));
}

// A write stopped by a file-size limit (as by a full disk) is reported in words, and leaves
// neither a partial file under the final name nor a damaged old one.
TEST_F(QvrtoolHostile, FullDiskLeavesNoPartialFile) {
    ASSERT_TRUE(WriteBytes(Path("old.bmp"), "old picture"));
    const ToolRun render = RunLimited(Args("render @scene.qvr @old.bmp"), 64);
    EXPECT_EQ(render.exitCode, 1) << "-1: killed by the file-size limit";
    EXPECT_TRUE(render.err.contains(QLatin1String("the disk is full or the file is too large")))
        << render.err.toStdString();
    EXPECT_EQ(ReadBytes(Path("old.bmp")), QByteArray("old picture"));

    const ToolRun frames = RunLimited(Args("frames @scene.qvr --out @f"), 64);
    EXPECT_EQ(frames.exitCode, 1);
    EXPECT_TRUE(frames.err.contains(QLatin1String("the disk is full or the file is too large")))
        << frames.err.toStdString();
    const QStringList left = QDir(m_dir.path()).entryList({QStringLiteral("f - *")}, QDir::Files);
    EXPECT_TRUE(left.isEmpty()) << left.join(QLatin1Char(' ')).toStdString();

    // A dump that could not be written whole is a failure, not a success.
    const ToolRun dump = RunLimited(Args("dump @scene.qvr"), 0, Path("dump.json"));
    EXPECT_EQ(dump.exitCode, 1) << dump.err.toStdString();
}

} // namespace
