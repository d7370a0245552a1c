#pragma once

#include "CNumericEdit.h"
#include "CQuivraDoc.h"
#include "FakeView.h"

#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <utility>

// A document with one view and counting tool windows, and a form bound to it and shown.
template <class Dlg> struct FormFixture {
    CQuivraDoc doc;
    FakeView view;
    CountingToolWindows* tools = new CountingToolWindows;
    Dlg dlg;

    template <class... Args>
    explicit FormFixture(Args&&... args) : dlg(std::forward<Args>(args)...) {
        doc.AddView(&view);
        doc.m_pView = &view;
        doc.m_pToolWindows.reset(tools);
        dlg.Bind(&doc, &view);
        dlg.show();
    }
    ~FormFixture() { doc.RemoveView(&view); }

    template <class W> W* Child(const char* name) {
        auto* w = dlg.template findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    CNumericEdit* Field(const char* name) { return Child<CNumericEdit>(name); }
    QPushButton* Ok() { return Child<QPushButton>("OK"); }
    void Type(const char* name, const QString& text) {
        CNumericEdit* f = Field(name);
        f->setFocus();
        f->selectAll();
        QTest::keyClick(f, Qt::Key_Backspace);
        QTest::keyClicks(f, text);
    }
    void ClickOk() { QTest::mouseClick(Ok(), Qt::LeftButton); }
    // A trailing blank in the field blocks OK, Enter and even a direct accept; emptied, the
    // field reads 0 and frees OK again.
    void ExpectBlankBlocks(const char* name) {
        Type(name, QStringLiteral("12 "));
        EXPECT_FALSE(Ok()->isEnabled()) << name;
        ClickOk();
        QTest::keyClick(Field(name), Qt::Key_Return);
        dlg.accept();
        EXPECT_TRUE(dlg.isVisible() && !doc.IsModified() && tools->m_nPointTable == 0)
            << name << ": an OK went through";
        Type(name, QString());
        EXPECT_TRUE(Ok()->isEnabled()) << name;
    }
};
