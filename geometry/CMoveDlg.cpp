#include "CMoveDlg.h"

#include "CNumberEdit.h"
#include "CQuivraDoc.h"
#include "IToolWindows.h"
#include "MoveOperations.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CMoveDlg::CMoveDlg(Layout layout, QWidget* parent) : QDialog(parent), m_layout(layout) {
    setWindowTitle(TitleOf(layout));
    m_pOk = new QPushButton(QStringLiteral("OK"), this);
    m_pOk->setObjectName(QStringLiteral("OK"));
    m_pOk->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("Cancel"));

    auto* group = new QGroupBox(GroupLabelOf(layout), this);
    group->setObjectName(QStringLiteral("Group"));
    auto* row = new QHBoxLayout(group);
    for (const char* name : {"X", "Y", "Z"}) {
        auto* edit = new CNumberEdit(m_pOk, group);
        edit->setObjectName(QString::fromLatin1(name));
        edit->SetValue(0.0);
        m_fields.push_back(edit);
        row->addWidget(edit);
    }

    auto* layoutBox = new QVBoxLayout(this);
    layoutBox->addWidget(group);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_pOk);
    buttons->addWidget(cancel);
    QLabel* problem = CNumericEdit::MakeProblemLine(this);
    layoutBox->addWidget(problem);
    layoutBox->addLayout(buttons);

    CNumericEdit::ConnectFieldRule(m_pOk, m_fields, problem);
    connect(m_pOk, &QPushButton::clicked, this, &CMoveDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CMoveDlg::reject);
}

QString CMoveDlg::TitleOf(Layout layout) {
    switch (layout) {
    case Layout::MovePoints:
        return QStringLiteral("Move Corner Points");
    case Layout::CopyPoints:
        return QStringLiteral("Copy Corner Points");
    case Layout::MoveObjects:
        return QStringLiteral("Move Objects");
    case Layout::MoveOrigin:
        break;
    }
    return QStringLiteral("Move Local Origin");
}

QString CMoveDlg::GroupLabelOf(Layout layout) {
    return layout == Layout::MoveOrigin ? QStringLiteral("Absolute Coords (X Y Z) :")
                                        : QStringLiteral("Relative pos change (X Y Z):");
}

void CMoveDlg::Bind(CQuivraDoc* doc, IDocView* view) {
    m_pDoc = doc;
    m_pView = view;
}

Point3 CMoveDlg::Values() const {
    auto v = [this](int i) { return static_cast<CNumberEdit*>(m_fields[i])->GetValue(); };
    return {v(0), v(1), v(2)};
}

bool CMoveDlg::ApplyEdit(const Point3& d) {
    switch (m_layout) {
    case Layout::MovePoints:
        return MoveSelectedPoints(*m_pDoc, d);
    case Layout::CopyPoints:
        return CopySelectedPoints(*m_pDoc, d);
    case Layout::MoveObjects:
        return MoveSelectedObjects(*m_pDoc, d);
    case Layout::MoveOrigin:
        break;
    }
    return MoveLocalOrigin(*m_pDoc, d);
}

void CMoveDlg::accept() {
    // OK is disabled while a field is invalid, but Enter or a direct call must not slip past.
    for (CNumericEdit* f : m_fields)
        if (!f->IsValid())
            return;
    if (m_pDoc) {
        if (m_layout == Layout::CopyPoints &&
            !m_pDoc->HasPointNumbers(static_cast<std::int64_t>(m_pDoc->m_selPoints.size()))) {
            CNumericEdit::ReportRefusal(this, CQuivraDoc::PointNumbersUsedUp());
            return;
        }
        if (!ApplyEdit(Values())) {
            CNumericEdit::ReportOutOfRange(this);
            return;
        }
        if (m_pDoc->m_pToolWindows) {
            m_pDoc->m_pToolWindows->RebuildPointTable();
            m_pDoc->m_pToolWindows->RefillMeasurements();
        }
        m_pDoc->UpdateAllViews();
    }
    QDialog::accept();
}
