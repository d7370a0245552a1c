#include "CViewSettingsDlg.h"

#include "IViewSettingsTarget.h"
#include "NumberText.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

CViewSettingsDlg::CViewSettingsDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("View Settings"));
    m_pWidth = new QLineEdit(this);
    m_pWidth->setObjectName(QStringLiteral("LineWidth"));
    auto* up = new QToolButton(this);
    up->setArrowType(Qt::UpArrow);
    up->setObjectName(QStringLiteral("LineWidthUp"));
    auto* down = new QToolButton(this);
    down->setArrowType(Qt::DownArrow);
    down->setObjectName(QStringLiteral("LineWidthDown"));
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("Close"));

    auto* arrows = new QVBoxLayout;
    arrows->setSpacing(0);
    arrows->addWidget(up);
    arrows->addWidget(down);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Line Width"), this));
    row->addWidget(m_pWidth);
    row->addLayout(arrows);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close);
    layout->addLayout(buttons);

    connect(m_pWidth, &QLineEdit::textEdited, this, &CViewSettingsDlg::FieldChanged);
    connect(up, &QToolButton::clicked, this, [this] { Step(true); });
    connect(down, &QToolButton::clicked, this, [this] { Step(false); });
    connect(close, &QPushButton::clicked, this, &CViewSettingsDlg::reject);
}

void CViewSettingsDlg::Bind(CQuivraDoc* doc, IViewSettingsTarget* view) {
    m_pDoc = doc;
    m_pView = view;
}

void CViewSettingsDlg::showEvent(QShowEvent* event) {
    if (m_pView)
        m_pWidth->setText(QString::number(m_pView->GetLineWidth()));
    QDialog::showEvent(event);
}

void CViewSettingsDlg::FieldChanged() {
    if (!m_pView)
        return;
    std::int32_t candidate = 0;
    if (!numtext::ParseWholeInt(m_pWidth->text(), &candidate))
        candidate = m_pView->GetLineWidth();
    if (candidate >= 1)
        m_pView->SetLineWidth(candidate);
    m_pView->RepaintNow();
}

void CViewSettingsDlg::Step(bool up) {
    std::int32_t v = 0;
    if (!numtext::ParseWholeInt(m_pWidth->text(), &v))
        v = 0;
    // Wider than 32 bits, so stepping past the end cannot overflow; such a text is then simply
    // not a usable width.
    const qint64 next = static_cast<qint64>(v) + (up ? 1 : -1);
    m_pWidth->setText(QString::number(next));
    FieldChanged();
}
