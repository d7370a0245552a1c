#include "CCreateBoxDlg.h"
#include "CCreateCylinderDlg.h"
#include "CommaLocale.h"
#include "CornerPoint.h"
#include "CylinderObject.h"
#include "FormFixture.h"
#include "Line.h"

#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>

#include <tuple>

namespace {

template <class Dlg> using Fixture = FormFixture<Dlg>;

TEST(CreateBoxDlg, OkBuildsWithOriginDisplacementAndWithoutLines) {
    Fixture<CCreateBoxDlg> f;
    f.doc.m_pOrigin->m_x = 10.0;
    f.Type("DY", QStringLiteral("5"));
    f.Type("X2", QStringLiteral("50"));
    f.Child<QCheckBox>("GenerateLines")->click();
    f.ClickOk();
    ASSERT_EQ(f.doc.m_objects.size(), 1u);
    EXPECT_TRUE(f.doc.IsModified());
    EXPECT_EQ(f.doc.m_bUndoAvailable, 1);
    EXPECT_EQ(f.view.m_nDocumentChanged, 1);
    EXPECT_EQ(f.tools->m_nPointTable, 1);
    EXPECT_TRUE(f.dlg.isHidden());
    const SceneObject* box = f.doc.m_objects[0];
    EXPECT_EQ(box->m_points[6]->m_z, 100.0); // the untouched field's default
    EXPECT_TRUE(box->m_lines.empty());
    EXPECT_EQ(std::make_tuple(box->m_points[0]->m_x, box->m_points[0]->m_y, box->m_points[1]->m_x),
              std::make_tuple(10.0, 5.0, 60.0));

    // Shown again, the form still holds what was typed; Enter builds the next box, which
    // continues the numbers.
    f.dlg.show();
    EXPECT_EQ(f.Field("X2")->text(), QStringLiteral("50"));
    EXPECT_FALSE(f.Child<QCheckBox>("GenerateLines")->isChecked());
    f.Type("Z2", QStringLiteral("30"));
    QTest::keyClick(f.Field("Z2"), Qt::Key_Return);
    ASSERT_EQ(f.doc.m_objects.size(), 2u);
    EXPECT_EQ(f.doc.m_objects[1]->m_points[0]->m_nNumber, 9);
    EXPECT_EQ(f.doc.m_objects[1]->m_points[7]->m_z, 30.0);
}

TEST(CreateBoxDlg, TrailingBlankInAnyFieldBlocksOk) {
    for (const char* name : {"X1", "Y1", "Z1", "X2", "Y2", "Z2", "DX", "DY", "DZ"})
        Fixture<CCreateBoxDlg>().ExpectBlankBlocks(name);
}

TEST(CreateCylinderDlg, FieldsAxisAndOptions) {
    Fixture<CCreateCylinderDlg> f;
    f.doc.m_pOrigin->m_z = 1.0;
    f.Type("R", QStringLiteral("-5"));
    f.Type("N", QStringLiteral("6"));
    f.Type("L", QStringLiteral("0"));
    f.Type("CZ", QStringLiteral("2"));
    f.Child<QRadioButton>("AxisZ")->click();
    f.Child<QCheckBox>("CentreLine")->click();
    f.ClickOk();
    ASSERT_EQ(f.doc.m_objects.size(), 1u);
    // Each field and option reached the generator (whose own tests check the shape).
    const SceneObject* cyl = f.doc.m_objects[0];
    EXPECT_EQ(std::make_tuple(cyl->m_nAxis, cyl->m_dRadius, cyl->m_points.size()),
              std::make_tuple(4, 5.0, std::size_t{6}));
    EXPECT_EQ(cyl->m_pCentre->m_z, 3.0);
}

TEST(CreateCylinderDlg, RefusedFieldsAreMarkedAndSayWhy) {
    Fixture<CCreateCylinderDlg> f;
    auto* problem = f.Child<QLabel>("Problem");
    EXPECT_FALSE(problem->isVisible());
    const struct {
        const char* field;
        const char* text;
        const char* why; // nullptr: accepted
    } cases[] = {
        {"R", "20 ", "\"20 \" ends with a blank"},
        {"R", "2,5", "\"2,5\" uses \",\" but the decimal separator is \".\""},
        {"R", "1e999", "\"1e999\" is too large a number"},
        {"R", "abc", "\"abc\" is not a number"},
        {"R", "2.5", nullptr},
        {"N", "10001", "10001 is more than 10000"},
        {"N", "10,000", "\"10,000\": whole numbers are written without separators"},
        {"N", "8.5", "\"8.5\" is not a whole number"},
        {"N", "12 ", "\"12 \" ends with a blank"},
        {"N", "10000", nullptr},
        {"N", "-2", nullptr},
        {"L", "", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        f.Type(c.field, QString::fromLatin1(c.text));
        CNumericEdit* field = f.Field(c.field);
        const QString why = c.why ? QString::fromLatin1(c.why) : QString();
        EXPECT_EQ(std::make_pair(f.Ok()->isEnabled(), problem->isVisible()),
                  std::make_pair(!c.why, c.why != nullptr));
        EXPECT_EQ(field->toolTip(), why);
        EXPECT_EQ(problem->text(), why);
        EXPECT_EQ(field->palette().color(QPalette::Base) !=
                      f.Field("L")->palette().color(QPalette::Base),
                  c.why != nullptr)
            << "the refused field is marked";
        // Even a direct accept builds nothing from a refused field.
        const std::size_t before = f.doc.m_objects.size();
        f.dlg.accept();
        EXPECT_EQ(f.doc.m_objects.size(), before + (c.why ? 0 : 1));
        f.dlg.show();
    }
}

TEST(CreateBoxDlg, RefusedFieldUnderACommaLocaleNamesThePoint) {
    CommaLocale comma;
    ASSERT_TRUE(comma.IsActive()) << comma.Why().toStdString();
    Fixture<CCreateBoxDlg> f;
    f.Type("X2", QStringLiteral("2.5"));
    EXPECT_FALSE(f.Ok()->isEnabled());
    EXPECT_EQ(f.Child<QLabel>("Problem")->text(),
              QStringLiteral("\"2.5\" uses \".\" but the decimal separator is \",\""));
    f.Type("X2", QStringLiteral("2,5"));
    EXPECT_TRUE(f.Ok()->isEnabled());
    EXPECT_TRUE(f.Field("X2")->toolTip().isEmpty());
}

} // namespace
