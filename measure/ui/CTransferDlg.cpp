#include "CTransferDlg.h"

#include "CImportedMeasDlg.h"
#include "CQuivraDoc.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QThread>
#include <QVBoxLayout>

#include <memory>

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
    connect(cancel, &QPushButton::clicked, this, &CTransferDlg::OnCancel);
    m_pUpdate = update;
    m_pOK = ok;

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
    m_pProgress = new QProgressBar(this);
    m_pProgress->setObjectName(QStringLiteral("Progress"));
    m_pProgress->setFormat(tr("%v of %m bytes"));
    m_pProgress->hide();
    // Called in the worker thread: the bar is updated in this one.
    m_transfer.m_pCancel = &m_bCancel;
    m_transfer.m_progress = [this](qint64 received, qint64 total) {
        QMetaObject::invokeMethod(
            this,
            [this, received, total] {
                if (!IsBusy())
                    return;
                m_pProgress->setRange(0, int(total));
                m_pProgress->setValue(int(received));
            },
            Qt::QueuedConnection);
    };

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
    layout->addWidget(m_pProgress);
    resize(360, 280);
}

CTransferDlg::~CTransferDlg() {
    Cancel();
}

void CTransferDlg::SetBusy(bool busy) {
    m_pUpdate->setEnabled(!busy);
    m_pOK->setEnabled(!busy);
    m_pProgress->setRange(0, 0); // "busy" until a set's size is known
    m_pProgress->setVisible(busy);
    if (busy) {
        setCursor(Qt::BusyCursor);
        SetStatus(tr("Waiting for the instrument..."));
    } else {
        unsetCursor();
    }
}

void CTransferDlg::Start(std::function<bool(QString*)> work,
                         std::function<void(bool, const QString&)> done) {
    Cancel();
    m_bCancel = false;
    struct Outcome {
        bool ok = false;
        QString message;
    };
    auto outcome = std::make_shared<Outcome>();
    QThread* worker = QThread::create(
        [work = std::move(work), outcome] { outcome->ok = work(&outcome->message); });
    m_pWorker = worker;
    const unsigned run = ++m_nRun;
    connect(worker, &QThread::finished, this, [this, run, outcome, done = std::move(done)] {
        // A cancelled exchange was joined and deleted already.
        if (run != m_nRun || !m_pWorker)
            return;
        m_pWorker->wait();
        delete m_pWorker;
        m_pWorker = nullptr;
        SetBusy(false);
        done(outcome->ok, outcome->message);
        emit ExchangeFinished();
    });
    SetBusy(true);
    worker->start();
}

bool CTransferDlg::Cancel() {
    if (!m_pWorker)
        return false;
    m_bCancel = true;
    // The port's waits notice the flag within a slice; the thread then unwinds at once.
    m_pWorker->wait();
    delete m_pWorker;
    m_pWorker = nullptr;
    ++m_nRun; // its queued "finished" is stale now
    SetBusy(false);
    return true;
}

void CTransferDlg::OnCancel() {
    if (!Cancel()) {
        hide();
        return;
    }
    SetStatus(tr("Cancelled."));
    emit ExchangeFinished();
}

void CTransferDlg::hideEvent(QHideEvent* e) {
    QDialog::hideEvent(e);
    Cancel();
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
    auto names = std::make_shared<QStringList>();
    const int port = m_nPort;
    Start([this, names,
           port](QString* message) { return m_transfer.UpdateList(port, names.get(), message); },
          [this, names](bool ok, const QString& message) {
              // Names that arrived before a failure are still worth showing.
              m_pList->addItems(*names);
              SetStatus(ok ? QString() : message);
          });
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
    if (!m_pDoc) {
        if (m_pImported)
            m_pImported->Rebuild();
        SetStatus(QString());
        return;
    }
    struct Set {
        std::vector<ImportedMeas> records;
        std::vector<float> multiples;
    };
    auto set = std::make_shared<Set>();
    const int port = m_nPort;
    Start(
        [this, set, port, name](QString* message) {
            return m_transfer.FetchSet(port, name, &set->records, &set->multiples, message);
        },
        [this, set](bool ok, const QString& message) {
            // The records go to the document here, in its own thread.
            if (ok && m_pDoc) {
                m_pDoc->m_importedMeas = std::move(set->records);
                m_pDoc->m_importedMultiples = std::move(set->multiples);
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
        });
}
