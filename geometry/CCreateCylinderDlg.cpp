#include "CCreateCylinderDlg.h"

#include "CIntegerEdit.h"
#include "CNumberEdit.h"
#include "CQuivraDoc.h"
#include "CylinderGenerator.h"
#include "IToolWindows.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

template <class Edit> Edit* MakeField(QPushButton* ok, QWidget* parent, const char* name) {
    auto* edit = new Edit(ok, parent);
    edit->setObjectName(QString::fromLatin1(name));
    return edit;
}

} // namespace

CCreateCylinderDlg::CCreateCylinderDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Create Cylinder"));
    m_pOk = new QPushButton(QStringLiteral("OK"), this);
    m_pOk->setObjectName(QStringLiteral("OK"));
    m_pOk->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("Cancel"));
    auto* layout = new QVBoxLayout(this);

    auto* centreBox = new QGroupBox(QStringLiteral("Centre Position"), this);
    auto* centreGrid = new QGridLayout(centreBox);
    const char* const centreNames[3] = {"CX", "CY", "CZ"};
    const char* const columns[3] = {"X", "Y", "Z"};
    for (int i = 0; i < 3; ++i) {
        centreGrid->addWidget(new QLabel(QString::fromLatin1(columns[i]), centreBox), 0, i,
                              Qt::AlignHCenter);
        m_pCentre[i] = MakeField<CNumberEdit>(m_pOk, centreBox, centreNames[i]);
        m_pCentre[i]->SetValue(0.0);
        centreGrid->addWidget(m_pCentre[i], 1, i);
    }
    layout->addWidget(centreBox);

    auto* axisBox = new QGroupBox(QStringLiteral("Circle around:"), this);
    auto* axisRow = new QHBoxLayout(axisBox);
    m_pAxis = new QButtonGroup(this);
    const struct {
        const char* text;
        const char* name;
        int code;
    } axes[] = {
        {"X - axis", "AxisX", AxisX}, {"Y - axis", "AxisY", AxisY}, {"Z - axis", "AxisZ", AxisZ}};
    for (const auto& a : axes) {
        auto* radio = new QRadioButton(QString::fromLatin1(a.text), axisBox);
        radio->setObjectName(QString::fromLatin1(a.name));
        m_pAxis->addButton(radio, a.code);
        axisRow->addWidget(radio);
    }
    m_pAxis->button(AxisX)->setChecked(true);
    layout->addWidget(axisBox);

    auto* form = new QFormLayout;
    m_pRadius = MakeField<CNumberEdit>(m_pOk, this, "R");
    m_pRadius->SetValue(20.0);
    m_pCorners = MakeField<CIntegerEdit>(m_pOk, this, "N");
    m_pCorners->SetValue(8);
    m_pCorners->SetMaximum(kMaxCylinderCorners);
    m_pAngle = MakeField<CNumberEdit>(m_pOk, this, "A");
    m_pAngle->SetValue(0.0);
    m_pLength = MakeField<CNumberEdit>(m_pOk, this, "L");
    m_pLength->SetValue(100.0);
    form->addRow(QStringLiteral("Radius"), m_pRadius);
    form->addRow(QStringLiteral("Number of corners per circle"), m_pCorners);
    form->addRow(QStringLiteral("Angle for first corner in circle"), m_pAngle);
    form->addRow(QStringLiteral("Cylinder length"), m_pLength);
    layout->addLayout(form);

    m_pCornerLines = new QCheckBox(QStringLiteral("Draw lines between corners"), this);
    m_pCornerLines->setObjectName(QStringLiteral("CornerLines"));
    m_pCornerLines->setChecked(true);
    m_pCentreLine = new QCheckBox(QStringLiteral("Draw centre line"), this);
    m_pCentreLine->setObjectName(QStringLiteral("CentreLine"));
    layout->addWidget(m_pCornerLines);
    layout->addWidget(m_pCentreLine);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_pOk);
    buttons->addWidget(cancel);
    QLabel* problem = CNumericEdit::MakeProblemLine(this);
    layout->addWidget(problem);
    layout->addLayout(buttons);

    m_fields = {m_pRadius, m_pCentre[0], m_pCentre[1], m_pCentre[2],
                m_pLength, m_pAngle,     m_pCorners};
    CNumericEdit::ConnectFieldRule(m_pOk, m_fields, problem);
    connect(m_pOk, &QPushButton::clicked, this, &CCreateCylinderDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CCreateCylinderDlg::reject);
}

void CCreateCylinderDlg::Bind(CQuivraDoc* doc, IDocView* /*view*/) {
    m_pDoc = doc;
}

CylinderInput CCreateCylinderDlg::Input() const {
    CylinderInput in;
    in.m_centre = {m_pCentre[0]->GetValue(), m_pCentre[1]->GetValue(), m_pCentre[2]->GetValue()};
    in.m_nAxis = m_pAxis->checkedId() > 0 ? m_pAxis->checkedId() : AxisX;
    in.m_dRadius = m_pRadius->GetValue();
    in.m_nCorners = m_pCorners->GetValue();
    in.m_dAngleDeg = m_pAngle->GetValue();
    in.m_dLength = m_pLength->GetValue();
    in.m_bCornerLines = m_pCornerLines->isChecked();
    in.m_bCentreLine = m_pCentreLine->isChecked();
    return in;
}

void CCreateCylinderDlg::accept() {
    for (CNumericEdit* f : m_fields)
        if (!f->IsValid())
            return;
    if (m_pDoc) {
        const CylinderInput in = Input();
        if (!m_pDoc->HasPointNumbers(CylinderPointCount(in.m_nCorners))) {
            CNumericEdit::ReportRefusal(this, CQuivraDoc::PointNumbersUsedUp());
            return;
        }
        if (!AddCylinder(*m_pDoc, in)) {
            CNumericEdit::ReportOutOfRange(this);
            return;
        }
        if (m_pDoc->m_pToolWindows)
            m_pDoc->m_pToolWindows->RebuildPointTable();
        m_pDoc->UpdateAllViews();
    }
    QDialog::accept();
}
