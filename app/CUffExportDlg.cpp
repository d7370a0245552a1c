#include "CUffExportDlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>

CUffExportDlg::CUffExportDlg(const UffWriter::Options& initial, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Export UFF"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("The file states the unit of the coordinates and "
                                                "what the measured values are."),
                                 this));
    auto* form = new QFormLayout;
    m_pLength = new QComboBox(this);
    m_pLength->setObjectName(QStringLiteral("lengthUnit"));
    for (auto unit : {UffUnits::Millimetre, UffUnits::Metre, UffUnits::Inch})
        m_pLength->addItem(UffUnits::LengthName(unit), unit);
    m_pLength->setCurrentIndex(m_pLength->findData(initial.length));
    form->addRow(QStringLiteral("Length unit:"), m_pLength);
    m_pQuantity = new QComboBox(this);
    m_pQuantity->setObjectName(QStringLiteral("quantity"));
    for (auto q :
         {UffUnits::Unknown, UffUnits::Displacement, UffUnits::Velocity, UffUnits::Acceleration})
        m_pQuantity->addItem(UffUnits::QuantityName(q), q);
    m_pQuantity->setCurrentIndex(m_pQuantity->findData(initial.quantity));
    form->addRow(QStringLiteral("Values are:"), m_pQuantity);
    layout->addLayout(form);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

UffWriter::Options CUffExportDlg::Options() const {
    UffWriter::Options o;
    o.length = static_cast<UffUnits::Length>(m_pLength->currentData().toInt());
    o.quantity = static_cast<UffUnits::Quantity>(m_pQuantity->currentData().toInt());
    return o;
}
