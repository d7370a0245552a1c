// "R4 import" as the user runs it from the File menu of a running shell.
#include "AppTestSupport.h"
#include "CDocToolWindows.h"
#include "CImportedMeasDlg.h"
#include "CInstrumentImport.h"
#include "CommandIds.h"
#include "KtlBuilder.h"

#include <QTableWidget>

namespace {

class R4ImportTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        CInstrumentImport::AskFileName = [this](QWidget*, const QString&) { return m_strFile; };
        CInstrumentImport::Message = [this](QWidget*, const QString& text) {
            m_importMessages.append(text);
        };
        ASSERT_TRUE(Start());
        ASSERT_TRUE(ActiveDoc());
        m_pDoc = ActiveDoc()->Doc();
        m_pDoc->m_importedMeas = {ImportedMeas{99, 0, 0, 1.f, 1.f, 1.f, 7.f}};
        m_pDoc->m_importedMultiples = {0.f, 7.f};
    }
    void TearDown() override {
        CInstrumentImport::Reset();
        AppTest::TearDown();
    }
    CImportedMeasDlg* Imported() const {
        return qobject_cast<CImportedMeasDlg*>(
            ActiveDoc()->ToolWindows()->Window(ToolWindow::ImportedMeasurements));
    }

    CQuivraDoc* m_pDoc = nullptr;
    QString m_strFile;
    QStringList m_importMessages;
};

// Cancelled, or refused at the header (which header fails how is KtlReaderTest's): the user
// hears the reader's message, and the old records stay. A good file's records are shown, and
// the scene is left alone.
TEST_F(R4ImportTest, FailureKeepsTheRecordsAGoodFileBringsItsOwn) {
    KtlBuilder corrupt;
    corrupt.Add({1, 1.f, 1.f, 1.f, 1.f});
    corrupt.checksumUpper = 1;
    for (const QString& file :
         {WriteTestFile(m_tmp, QStringLiteral("corrupt.KTL"), corrupt.Bytes()), QString()}) {
        m_strFile = file;
        m_importMessages.clear();
        ASSERT_TRUE(Run(cmd::ID_FILE_R4_IMPORT));
        EXPECT_EQ(m_importMessages, file.isEmpty()
                                        ? QStringList()
                                        : QStringList{"Invalid or corrupted R4 quivra file"});
        ASSERT_EQ(m_pDoc->m_importedMeas.size(), 1u);
        EXPECT_EQ(m_pDoc->m_importedMeas[0].m_nId, 99);
        EXPECT_EQ(m_pDoc->m_importedMultiples, (std::vector<float>{0.f, 7.f}));
        EXPECT_FALSE(Imported()->isVisible());
    }
    KtlBuilder b;
    b.Add({3, 1.5f, 90.f, 25.f, 2.f}).AddFilled('\0').Add({4, 2.5f, 10.f, 25.f, 1.f});
    m_strFile = WriteTestFile(m_tmp, QStringLiteral("ok.KTL"), b.Bytes());
    const bool modified = m_pDoc->IsModified();
    ASSERT_TRUE(Run(cmd::ID_FILE_R4_IMPORT));
    EXPECT_TRUE(m_importMessages.isEmpty());
    EXPECT_EQ(m_pDoc->m_importedMultiples, (std::vector<float>{1.f, 2.f}));
    EXPECT_EQ(m_pDoc->IsModified(), modified);
    EXPECT_EQ(m_pDoc->m_bUndoAvailable, 0);
    ASSERT_TRUE(Imported()->isVisible());
    EXPECT_EQ(Imported()->List()->item(1, 0)->text(), QStringLiteral("4"));
}

TEST_F(R4ImportTest, ShortRecordLeavesNoRowOfTheOldRecords) {
    // Show the old records first.
    Run(cmd::ID_EDIT_IMPORT);
    ASSERT_TRUE(Imported()->isVisible());
    Imported()->Rebuild();
    ASSERT_EQ(Imported()->List()->rowCount(), 1);

    // Flag clear: 4096 slots expected, two present.
    KtlBuilder b;
    b.counted = false;
    b.Add({5, 1.f, 2.f, 3.f, 1.f}).Add({6, 4.f, 5.f, 3.f, 1.f});
    m_strFile = WriteTestFile(m_tmp, QStringLiteral("slots.KTL"), b.Bytes());
    ASSERT_TRUE(Run(cmd::ID_FILE_R4_IMPORT));
    EXPECT_EQ(m_importMessages, QStringList{"Error reading R4 quivra file"});
    ASSERT_EQ(m_pDoc->m_importedMeas.size(), 2u);
    // The window lists what was read, never the gone record 99.
    ASSERT_EQ(Imported()->List()->rowCount(), 2);
    EXPECT_EQ(Imported()->List()->item(0, 0)->text(), QStringLiteral("5"));

    // Hidden, it is not shown by the failed import; shown later it lists the same.
    Imported()->hide();
    Run(cmd::ID_FILE_R4_IMPORT);
    EXPECT_FALSE(Imported()->isVisible());
    Run(cmd::ID_EDIT_IMPORT);
    EXPECT_EQ(Imported()->List()->rowCount(), 2);
}

} // namespace
