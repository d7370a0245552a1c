// Main-window and tool-window placements kept in the settings between runs.
#include "AppTestSupport.h"

#include "CWindowPlacement.h"
#include "CommandIds.h"

#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTest>

using namespace cmd;

namespace {

QSettings Settings() {
    return QSettings(QStringLiteral("Stellmark"), QStringLiteral("Quivra"));
}

const char* const kMainFrameKeys[] = {"MainFrame/Status", "MainFrame/Top", "MainFrame/Left",
                                      "MainFrame/Bottom", "MainFrame/Right"};

void WriteMainFrame(int status, int top, int left, int bottom, int right) {
    QSettings s = Settings();
    const int values[] = {status, top, left, bottom, right};
    for (int i = 0; i < 5; ++i)
        s.setValue(kMainFrameKeys[i], values[i]);
}

std::vector<int> ReadMainFrame() {
    std::vector<int> values;
    for (const char* key : kMainFrameKeys)
        values.push_back(Settings().value(key, -1).toInt());
    return values;
}

TEST_F(AppTest, MainWindowPlacementIsWrittenAtEveryCloseAndComesBack) {
    ASSERT_TRUE(Start());
    const QRect work = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(work.contains(Frame()->geometry())) << Frame()->geometry().width();
    Frame()->setGeometry(work.left() + 40, work.top() + 30, 500, 400);
    const std::vector<int> placed{CWindowPlacement::ShowNormal, 30, 40, 430, 540};
    // Written even when the close is cancelled.
    ActiveDoc()->Doc()->SetModifiedFlag(true);
    m_answer = CPrompts::Cancel;
    EXPECT_FALSE(Frame()->close());
    EXPECT_EQ(m_questions, QStringList{"Save changes to Quivra1?"});
    EXPECT_TRUE(Frame()->isVisible());
    EXPECT_EQ(DocCount(), 1);
    EXPECT_EQ(ReadMainFrame(), placed);
    ClearSettings();
    ActiveDoc()->Doc()->SetModifiedFlag(false);
    Stop();
    EXPECT_EQ(ReadMainFrame(), placed);
    // The next start puts it back.
    ASSERT_TRUE(Start());
    EXPECT_EQ(Frame()->geometry(), QRect(work.left() + 40, work.top() + 30, 500, 400));
    Stop();

    // Maximised comes back maximised, with its normal rectangle.
    WriteMainFrame(CWindowPlacement::ShowNormal, 20, 30, 320, 430);
    ASSERT_TRUE(Start());
    Frame()->showMaximized();
    QApplication::processEvents();
    Stop();
    EXPECT_EQ(ReadMainFrame(),
              (std::vector<int>{CWindowPlacement::ShowMaximized, 20, 30, 320, 430}));
    ASSERT_TRUE(Start());
    EXPECT_TRUE(Frame()->isMaximized());
    EXPECT_EQ(Frame()->normalGeometry(), QRect(work.left() + 30, work.top() + 20, 400, 300));
    Stop();

    // A place off the screen keeps an icon's size of the window on it.
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const int icon = QApplication::style()->pixelMetric(QStyle::PM_LargeIconSize);
    WriteMainFrame(CWindowPlacement::ShowNormal, screen.height() + 500, screen.width() + 1000,
                   screen.height() + 800, screen.width() + 1400);
    ASSERT_TRUE(Start());
    EXPECT_EQ(Frame()->geometry().left(), screen.width() - icon);
    EXPECT_EQ(Frame()->geometry().top(), screen.height() - icon);
    EXPECT_EQ(Frame()->geometry().size(), QSize(400, 300));
}

TEST_F(AppTest, ToolWindowPlacementsAreSavedAndRestoredHidden) {
    ASSERT_TRUE(Start());
    const QRect work = QGuiApplication::primaryScreen()->availableGeometry();
    // Show two windows and move them; another stays unseen.
    ASSERT_TRUE(Run(ID_EDIT_BOX));
    ASSERT_TRUE(Run(ID_HELP_DRAW_LINES));
    QWidget* box = Frame()->findChild<QWidget*>("boxmake");
    QWidget* help = Frame()->findChild<QWidget*>("dlghelplines");
    ASSERT_TRUE(box && help && box->isVisible());
    box->setGeometry(work.left() + 100, work.top() + 50, 500, 420);
    help->setGeometry(work.left() + 200, work.top() + 60, 310, 210);
    ASSERT_TRUE(Run(ID_FILE_CLOSE));

    QSettings s = Settings();
    CWindowPlacement wp;
    const QByteArray boxBytes = s.value("boxmake/wp").toByteArray();
    EXPECT_EQ(boxBytes.size(), 44);
    EXPECT_EQ(boxBytes.left(4), QByteArray("\x2c\0\0\0", 4));    // length field, little-endian
    EXPECT_EQ(boxBytes.mid(28, 4), QByteArray("\x64\0\0\0", 4)); // left
    ASSERT_TRUE(wp.FromBytes(boxBytes));
    EXPECT_EQ(wp.m_nShowCmd, CWindowPlacement::ShowNormal);
    EXPECT_EQ(QRect(QPoint(wp.m_nLeft, wp.m_nTop), QPoint(wp.m_nRight - 1, wp.m_nBottom - 1)),
              QRect(100, 50, 500, 420));
    EXPECT_FALSE(s.contains("cylmake/wp")); // never shown, nothing of its own to keep

    // A stored maximised state still comes back hidden; the help window keeps its default.
    wp.m_nShowCmd = CWindowPlacement::ShowMaximized;
    s.setValue("boxmake/wp", wp.ToBytes());
    // Records of another size or with another length field are ignored.
    s.setValue("cylmake/wp", boxBytes.left(43));
    QByteArray wrongLength = wp.ToBytes();
    wrongLength[0] = 40;
    s.setValue("dlgsetorigo/wp", wrongLength);
    s.sync();
    ASSERT_TRUE(Run(ID_FILE_NEW));
    box = Frame()->findChild<QWidget*>("boxmake");
    help = Frame()->findChild<QWidget*>("dlghelplines");
    EXPECT_FALSE(box->isVisible());
    EXPECT_NE(help->geometry().topLeft(), QPoint(work.left() + 200, work.top() + 60));
    for (const char* ignored : {"cylmake", "dlgsetorigo"})
        EXPECT_FALSE(Frame()->findChild<QWidget*>(ignored)->testAttribute(Qt::WA_Moved)) << ignored;
    ASSERT_TRUE(Run(ID_EDIT_BOX));
    EXPECT_TRUE(box->isVisible());
    EXPECT_FALSE(box->isMaximized());
    EXPECT_EQ(box->geometry(), QRect(work.left() + 100, work.top() + 50, 500, 420));
}

TEST_F(AppTest, ToolWindowsWithoutPlacementOpenSideBySideInFront) {
    ASSERT_TRUE(Start({MakeScene()}));
    const QRect work = QGuiApplication::primaryScreen()->availableGeometry();
    QList<QWidget*> shown;
    auto check = [&](QWidget* w) {
        ASSERT_NE(w, nullptr);
        EXPECT_TRUE(w->isVisible());
        EXPECT_EQ(QApplication::activeWindow(), w) << "the window shown comes to the front";
        EXPECT_TRUE(work.contains(w->frameGeometry()));
        for (QWidget* before : shown)
            EXPECT_FALSE(w->frameGeometry().intersects(before->frameGeometry()))
                << before->objectName().toStdString();
        shown.append(w);
    };
    // Measurement Series, then its Edit form.
    ASSERT_TRUE(Run(ID_EDIT_SERIES));
    QWidget* series = Frame()->findChild<QWidget*>("measseriedlg");
    check(series);
    QTest::mouseClick(series->findChild<QPushButton*>("Edit"), Qt::LeftButton);
    QApplication::processEvents();
    check(QApplication::activeWindow() != series ? QApplication::activeWindow() : nullptr);
    // What "R4 import" and then "Copy All >>" show, on a screen cleared of the others.
    for (QWidget* w : shown)
        w->hide();
    shown.clear();
    for (auto [id, key] : {std::pair{ID_EDIT_IMPORT, "importmeasurements"},
                           std::pair{ID_EDIT_MEASUREMENTS, "measuredlg"}}) {
        ASSERT_TRUE(Run(id));
        check(Frame()->findChild<QWidget*>(key));
    }
}

} // namespace
