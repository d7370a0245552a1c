#include "CCreateBoxDlg.h"

#include "BoxGenerator.h"
#include "CNumberEdit.h"
#include "CQuivraDoc.h"
#include "IToolWindows.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CCreateBoxDlg::CCreateBoxDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Create Box"));
    m_pOk = new QPushButton(QStringLiteral("OK"), this);
    m_pOk->setObjectName(QStringLiteral("OK"));
    m_pOk->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("Cancel"));

    auto* layout = new QVBoxLayout(this);
    struct Group {
        const char* label;
        const char* names[3];
        double value;
    } const groups[] = {
        {"Position 1 ( X, Y, Z )", {"X1", "Y1", "Z1"}, 0.0},
        {"Position 2 ( X, Y, Z )", {"X2", "Y2", "Z2"}, 100.0},
        {"Displacement", {"DX", "DY", "DZ"}, 0.0},
    };
    for (const Group& g : groups) {
        auto* box = new QGroupBox(QString::fromLatin1(g.label), this);
        auto* row = new QHBoxLayout(box);
        for (const char* name : g.names)
            row->addWidget(AddField(name, g.value));
        layout->addWidget(box);
    }
    m_pGenerateLines = new QCheckBox(QStringLiteral("Generate Lines"), this);
    m_pGenerateLines->setObjectName(QStringLiteral("GenerateLines"));
    m_pGenerateLines->setChecked(true);
    layout->addWidget(m_pGenerateLines);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_pOk);
    buttons->addWidget(cancel);
    QLabel* problem = CNumericEdit::MakeProblemLine(this);
    layout->addWidget(problem);
    layout->addLayout(buttons);

    CNumericEdit::ConnectFieldRule(m_pOk, m_fields, problem);
    connect(m_pOk, &QPushButton::clicked, this, &CCreateBoxDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CCreateBoxDlg::reject);
}

CNumberEdit* CCreateBoxDlg::AddField(const char* name, double value) {
    auto* edit = new CNumberEdit(m_pOk, this);
    edit->setObjectName(QString::fromLatin1(name));
    edit->SetValue(value);
    m_fields.push_back(edit);
    return edit;
}

void CCreateBoxDlg::Bind(CQuivraDoc* doc, IDocView* /*view*/) {
    m_pDoc = doc;
}

BoxInput CCreateBoxDlg::Input() const {
    auto v = [this](int i) { return static_cast<CNumberEdit*>(m_fields[i])->GetValue(); };
    BoxInput in;
    in.m_p1 = {v(0), v(1), v(2)};
    in.m_p2 = {v(3), v(4), v(5)};
    in.m_displacement = {v(6), v(7), v(8)};
    in.m_bGenerateLines = m_pGenerateLines->isChecked();
    return in;
}

void CCreateBoxDlg::accept() {
    // OK is disabled while a field is invalid, but Enter or a direct call must not slip past.
    for (CNumericEdit* f : m_fields)
        if (!f->IsValid())
            return;
    if (m_pDoc) {
        if (!m_pDoc->HasPointNumbers(8)) {
            CNumericEdit::ReportRefusal(this, CQuivraDoc::PointNumbersUsedUp());
            return;
        }
        if (!AddBox(*m_pDoc, Input())) {
            CNumericEdit::ReportOutOfRange(this);
            return;
        }
        m_pDoc->UpdateAllViews();
        if (m_pDoc->m_pToolWindows)
            m_pDoc->m_pToolWindows->RebuildPointTable();
    }
    QDialog::accept();
}
