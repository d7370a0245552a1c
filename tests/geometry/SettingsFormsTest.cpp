#include "CCameraSettingsDlg.h"
#include "CViewSettingsDlg.h"
#include "CommaLocale.h"
#include "FormFixture.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <tuple>

namespace {

using V = IViewSettingsTarget;

struct CameraFixture : FormFixture<CCameraSettingsDlg> {
    CameraFixture() {
        // Focus events, which the form repaints on, reach only the active window.
        dlg.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&dlg));
    }
    void Click(const QString& name, int times = 1) {
        for (int i = 0; i < times; ++i)
            QTest::mouseClick(Child<QToolButton>(name.toLatin1().constData()), Qt::LeftButton);
    }
};

TEST(CameraSettingsDlg, ArrowsStepAndRepaint) {
    CameraFixture f;
    // The value, its field, the arrow clicked and how often, then the value and the repaints
    // so far.
    const std::tuple<V::CameraValue, const char*, const char*, int, double, int> steps[] = {
        {V::RotX, "RotX", "Right", 3, 15, 3},
        {V::PanY, "PanY", "Left", 1, -10, 4},
        {V::RotZ, "RotZ", "Left", 2, -10, 6}, // angles are not wrapped
        {V::PanZ, "PanZ", "Right", 1, 10, 7}};
    for (const auto& [value, field, arrow, clicks, expected, repaints] : steps) {
        f.Click(QString::fromLatin1(field) + QLatin1String(arrow), clicks);
        EXPECT_EQ(f.view.m_camera[value], expected) << field;
        EXPECT_EQ(f.Field(field)->text(), QString::number(expected)) << field;
        EXPECT_EQ(f.view.m_nRepaints, repaints) << field;
    }
}

TEST(CameraSettingsDlg, TypedValuesStoredAtOnceShownOnEnterOrLeaving) {
    CameraFixture f;
    f.Type("RotY", QStringLiteral("45"));
    EXPECT_EQ(f.view.m_camera[V::RotY], 45.0);
    EXPECT_EQ(f.view.m_nRepaints, 0) << "typing alone does not repaint";
    // Leaving the field repaints.
    f.Field("PanX")->setFocus();
    EXPECT_EQ(f.view.m_nRepaints, 1);
    EXPECT_EQ(f.view.m_camera[V::PanX], 0.0) << "other values untouched";
    // So does Enter, and the form stays open.
    f.Type("PanX", QStringLiteral("7"));
    QTest::keyClick(f.Field("PanX"), Qt::Key_Return);
    EXPECT_EQ(f.view.m_nRepaints, 2);
    EXPECT_TRUE(f.dlg.isVisible());

    // "4x": the 4 was stored while the text was 4, the x changes nothing.
    f.Type("RotZ", QStringLiteral("4x"));
    EXPECT_EQ(f.view.m_camera[V::RotZ], 4.0);
    // An empty field sets the value to 0.
    f.Type("Zoom", QString());
    EXPECT_EQ(f.view.m_camera[V::Zoom], 0.0);
}

TEST(CameraSettingsDlg, FollowsRebindAndSurvivesAClosedView) {
    CameraFixture f;
    FakeView second;
    second.m_camera[V::RotX] = 30.0;
    f.doc.AddView(&second);
    f.dlg.Bind(&f.doc, &second);
    EXPECT_EQ(f.Field("RotX")->text(), QStringLiteral("30"));
    f.Click(QStringLiteral("RotXRight"));
    EXPECT_EQ(second.m_camera[V::RotX], 35.0);
    EXPECT_EQ(f.view.m_camera[V::RotX], 0.0);

    // The bound view closes before anyone rebinds: the form works on the document's view.
    f.doc.RemoveView(&second);
    f.doc.m_pView = &f.view;
    f.Click(QStringLiteral("RotXRight"));
    EXPECT_EQ(f.view.m_camera[V::RotX], 5.0);
    EXPECT_EQ(second.m_camera[V::RotX], 35.0);
}

// Zoom multiplies by stored factors; numbers are shown and read with the user's separator.
TEST(CameraSettingsDlg, ZoomFactorsAndCommaLocale) {
    CommaLocale locale;
    ASSERT_TRUE(locale.IsActive()) << locale.Why().toStdString();
    CameraFixture f;
    f.view.m_camera[V::Zoom] = 5.0;
    f.Click(QStringLiteral("ZoomRight"));
    EXPECT_EQ(f.view.m_camera[V::Zoom], 5.0 * 1.1);
    EXPECT_EQ(f.Field("Zoom")->text(), QStringLiteral("5,5"));
    f.Click(QStringLiteral("ZoomLeft"));
    EXPECT_EQ(f.view.m_camera[V::Zoom], 5.0 * 1.1 * 0.9090909090909091);
    // The field shows "5" but the camera keeps the exact product: showing must not write back.
    EXPECT_EQ(f.Field("Zoom")->text(), QStringLiteral("5"));
    f.Type("PanX", QStringLiteral("1,5"));
    EXPECT_EQ(f.view.m_camera[V::PanX], 1.5);
    f.Type("PanX", QStringLiteral("2.5"));
    EXPECT_EQ(f.view.m_camera[V::PanX], 2.0) << "the dot ends the number in this locale";
}

struct ViewSettingsFixture : FormFixture<CViewSettingsDlg> {
    QLineEdit* field = Child<QLineEdit>("LineWidth");

    void Arrow(bool up) {
        QTest::mouseClick(Child<QToolButton>(up ? "LineWidthUp" : "LineWidthDown"), Qt::LeftButton);
    }
    // The whole text arrives in one change, as when pasted; typing key by key would apply
    // every prefix on the way.
    void Paste(const QString& text) {
        QGuiApplication::clipboard()->setText(text);
        field->setFocus();
        field->selectAll();
        if (text.isEmpty())
            QTest::keyClick(field, Qt::Key_Backspace);
        else
            QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
    }
};

TEST(ViewSettingsDlg, ArrowsLowerLimitCloseAndShow) {
    ViewSettingsFixture f;
    EXPECT_EQ(f.field->text(), QStringLiteral("1"));
    f.view.m_nRepaints = 0;
    // Repainted even when the width stays.
    const std::tuple<bool, const char*, int> steps[] = {
        {false, "0", 1}, {true, "1", 1}, {true, "2", 2}, {true, "3", 3}};
    for (const auto& [up, text, width] : steps) {
        f.Arrow(up);
        EXPECT_EQ(f.field->text(), QString::fromLatin1(text));
        EXPECT_EQ(f.view.m_nLineWidth, width) << text;
    }
    EXPECT_EQ(f.view.m_nRepaints, 4);
    // Close hides; showing again reads the view.
    QTest::mouseClick(f.dlg.findChild<QPushButton*>(QStringLiteral("Close")), Qt::LeftButton);
    EXPECT_TRUE(f.dlg.isHidden());
    EXPECT_EQ(f.view.m_nLineWidth, 3);
    f.view.m_nLineWidth = 7;
    f.dlg.show();
    EXPECT_EQ(f.field->text(), QStringLiteral("7"));
}

TEST(ViewSettingsDlg, TypedWidths) {
    ViewSettingsFixture f;
    const std::pair<const char*, int> steps[] = {
        {"4", 4},   {"3.5", 4}, {"", 4},    {"-2", 4},          {"0", 4},
        {"12", 12}, {"x", 12},  {"2 ", 12}, {"4294967297", 12}, {" 2", 2},
    };
    for (const auto& [text, width] : steps) {
        f.Paste(QString::fromLatin1(text));
        EXPECT_EQ(f.view.m_nLineWidth, width) << '"' << text << '"';
        EXPECT_EQ(f.field->text(), QString::fromLatin1(text)) << "the field keeps the text";
    }
    // An arrow on text that is no number starts from 0.
    f.Paste(QStringLiteral("abc"));
    f.Arrow(true);
    EXPECT_EQ(f.field->text(), QStringLiteral("1"));
    EXPECT_EQ(f.view.m_nLineWidth, 1);
}

} // namespace
