#include "CIntegerEdit.h"
#include "CNumberEdit.h"

#include <QPushButton>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

// A form with two number fields and one integer field under the shared rule.
struct Form {
    QWidget widget;
    QPushButton* ok = new QPushButton(QStringLiteral("OK"), &widget);
    CNumberEdit* a = new CNumberEdit(ok, &widget);
    CNumberEdit* b = new CNumberEdit(ok, &widget);
    CIntegerEdit* n = new CIntegerEdit(ok, &widget);
    Form() { CNumericEdit::ConnectFieldRule(ok, {a, b, n}); }

    void Type(QLineEdit* edit, const QString& text) {
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, text);
    }
};

TEST(NumericEdit, OkEnabledExactlyWhileEveryFieldIsANumber) {
    Form f;
    struct Step {
        int field; // 0 a, 1 b, 2 n
        const char* text;
        bool okAfter;
    } const steps[] = {
        {0, "12", true},   {0, "12 ", false}, {1, "x", false}, {0, "12", false}, {1, "", true},
        {2, "8.5", false}, {2, "8", true},    {2, "-3", true}, {0, "1e", false}, {0, "1e5", true},
        {2, " 7", true},   {2, "7 ", false},  {2, "", true},   {0, "-", false},  {0, "-.5", true},
    };
    QLineEdit* fields[] = {f.a, f.b, f.n};
    for (const Step& s : steps) {
        f.Type(fields[s.field], QString::fromLatin1(s.text));
        EXPECT_EQ(f.ok->isEnabled(), s.okAfter) << "after typing \"" << s.text << "\"";
    }
}

TEST(NumericEdit, EmptyReadsZeroAndValuesRoundTrip) {
    Form f;
    f.a->SetValue(2.5);
    EXPECT_EQ(f.a->text(), QStringLiteral("2.5"));
    EXPECT_EQ(f.a->GetValue(), 2.5);
    f.a->clear();
    EXPECT_TRUE(f.a->IsValid());
    EXPECT_EQ(f.a->GetValue(), 0.0);
    f.n->SetValue(-12);
    EXPECT_EQ(f.n->GetValue(), -12);
    f.n->clear();
    EXPECT_EQ(f.n->GetValue(), 0);
    EXPECT_TRUE(f.ok->isEnabled());
}

} // namespace
