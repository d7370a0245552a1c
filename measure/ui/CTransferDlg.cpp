#include "CTransferDlg.h"

#include "CImportedMeasDlg.h"

#include <QApplication>
#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace {

// The busy cursor for the length of one blocking exchange with the instrument.
class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

} // namespace

CTransferDlg::CTransferDlg(InstrumentTransfer::PortOpener opener, QWidget* parent)
    : QDialog(parent), m_transfer(std::move(opener)) {
    setWindowTitle(tr("Transfer Measurements"));
    setModal(false);

    m_pList = new QListWidget(this);
    m_pList->setObjectName(QStringLiteral("List"));
    m_pList->setSelectionMode(QAbstractItemView::ExtendedSelection);

    auto* update = new QPushButton(tr("Update"), this);
    auto* ok = new QPushButton(tr("OK"), this);
    auto* cancel = new QPushButton(tr("Cancel"), this);
    update->setObjectName(QStringLiteral("Update"));
    ok->setObjectName(QStringLiteral("OK"));
    cancel->setObjectName(QStringLiteral("Cancel"));
    for (QPushButton* b : {update, ok, cancel})
        b->setAutoDefault(false);
    connect(update, &QPushButton::clicked, this, &CTransferDlg::UpdateList);
    connect(ok, &QPushButton::clicked, this, &CTransferDlg::OnOK);
    connect(cancel, &QPushButton::clicked, this, &QDialog::hide);

    auto* group = new QGroupBox(tr("Com Port"), this);
    auto* radios = new QHBoxLayout(group);
    m_pPorts = new QButtonGroup(this);
    for (int n = 1; n <= 4; ++n) {
        auto* radio = new QRadioButton(QString::number(n), group);
        radio->setObjectName(QStringLiteral("Port%1").arg(n));
        radio->setChecked(n == 1);
        m_pPorts->addButton(radio, n);
        radios->addWidget(radio);
    }
    connect(m_pPorts, &QButtonGroup::idClicked, this, &CTransferDlg::OnPort);

    m_pStatus = new QLabel(this);
    m_pStatus->setObjectName(QStringLiteral("Status"));
    m_pStatus->setWordWrap(true);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(update);
    buttons->addStretch();
    buttons->addWidget(group);
    auto* top = new QHBoxLayout;
    top->addWidget(m_pList, 1);
    top->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_pStatus);
    resize(360, 280);
}

void CTransferDlg::Bind(CQuivraDoc* doc) {
    m_pDoc = doc;
}

void CTransferDlg::SetImportedWindow(CImportedMeasDlg* dlg, std::function<void()> show) {
    m_pImported = dlg;
    m_showImported = std::move(show);
}

QString CTransferDlg::StatusText() const {
    return m_pStatus->text();
}

void CTransferDlg::SetStatus(const QString& text) {
    m_pStatus->setText(text);
}

void CTransferDlg::OnRebind() {
    if (isVisible())
        UpdateList();
}

void CTransferDlg::OnPort(int n) {
    if (n < 1 || n > 4)
        return;
    m_nPort = n;
    if (QAbstractButton* radio = m_pPorts->button(n))
        radio->setChecked(true);
    UpdateList();
}

void CTransferDlg::UpdateList() {
    m_pList->clear();
    QStringList names;
    QString message;
    bool ok;
    {
        BusyCursor busy;
        ok = m_transfer.UpdateList(m_nPort, &names, &message);
    }
    // Names that arrived before a failure are still worth showing.
    m_pList->addItems(names);
    SetStatus(ok ? QString() : message);
}

void CTransferDlg::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (!e->spontaneous())
        UpdateList();
}

void CTransferDlg::OnOK() {
    // The first selected row in list order, whichever was selected first.
    int first = -1;
    for (const QListWidgetItem* item : m_pList->selectedItems()) {
        const int row = m_pList->row(item);
        if (first < 0 || row < first)
            first = row;
    }
    if (first < 0) {
        if (m_pImported)
            m_pImported->Rebuild();
        SetStatus(tr("Select a measurement set first."));
        return;
    }
    const QString name = m_pList->item(first)->text();
    QString message;
    bool ok = false;
    if (m_pDoc) {
        BusyCursor busy;
        ok = m_transfer.TransferSet(m_nPort, name, m_pDoc, &message);
    }
    if (m_pImported)
        m_pImported->Rebuild();
    if (!ok) {
        SetStatus(message);
        return;
    }
    SetStatus(QString());
    if (m_pImported) {
        if (m_showImported)
            m_showImported();
        else
            m_pImported->show();
    }
    hide();
}
