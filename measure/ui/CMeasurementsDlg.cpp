#include "CMeasurementsDlg.h"

#include "CMeasListCtrl.h"
#include "CQuivraDoc.h"
#include "CellNumber.h"
#include "CornerPoint.h"
#include "ISeriesHost.h"
#include "MeasDirection.h"
#include "Measurement.h"
#include "TableOrder.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

QString DirectionCodeName(int code) {
    switch (code) {
    case 1:
        return QStringLiteral("X");
    case 2:
        return QStringLiteral("Y");
    case 4:
        return QStringLiteral("Z");
    case 8:
        return QStringLiteral("R");
    case 16:
        return QStringLiteral("-X");
    case 32:
        return QStringLiteral("-Y");
    case 64:
        return QStringLiteral("-Z");
    case 128:
        return QStringLiteral("-R");
    default:
        return QString();
    }
}

CMeasurementsDlg::CMeasurementsDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("Measurements"));
    setModal(false);
    m_pList = new CMeasListCtrl(this);
    m_pList->InsertColumn(tr("Id"), Qt::AlignLeft, 40);
    m_pList->InsertColumn(tr("Pnt"), Qt::AlignRight, 30);
    m_pList->InsertColumn(tr("Dir"), Qt::AlignRight, 30);
    m_pList->InsertColumn(tr("Amplitude"), Qt::AlignRight, 70);
    m_pList->InsertColumn(tr("Angle"), Qt::AlignRight, 70);
    m_pList->setMinimumWidth(40 + 30 + 30 + 70 + 70 + 24);
    connect(m_pList, &CMeasListCtrl::editOpened, this, [this](int row) { m_nSelRow = row; });
    // Refused entries and the copies from the imported list report here, not in a box.
    m_pStatus = new QLabel(this);
    m_pStatus->setObjectName(QStringLiteral("Status"));
    m_pStatus->setWordWrap(true);
    connect(m_pList, &CCellListCtrl::cellRefused, this,
            [this](int, int, const QString& message) { m_pStatus->setText(message); });
    connect(m_pList, &CCellListCtrl::cellCommitted, m_pStatus, &QLabel::clear);

    auto* close = new QPushButton(tr("Close"), this);
    auto* invert = new QPushButton(tr("Invert Phase"), this);
    auto* compact = new QPushButton(tr("Compact"), this);
    for (QPushButton* b : {close, invert, compact})
        b->setAutoDefault(false);
    close->setObjectName(QStringLiteral("Close"));
    invert->setObjectName(QStringLiteral("InvertPhase"));
    compact->setObjectName(QStringLiteral("Compact"));
    connect(close, &QPushButton::clicked, this, &QDialog::hide);
    connect(invert, &QPushButton::clicked, this, &CMeasurementsDlg::OnInvertPhase);
    connect(compact, &QPushButton::clicked, this, &CMeasurementsDlg::OnCompact);

    // The spin control: its arrows take no focus, so an open cell editor stays open until the
    // step closes (and commits) it.
    m_pSpinUp = new QToolButton(this);
    m_pSpinDown = new QToolButton(this);
    m_pSpinUp->setArrowType(Qt::UpArrow);
    m_pSpinDown->setArrowType(Qt::DownArrow);
    for (QToolButton* b : {m_pSpinUp, m_pSpinDown}) {
        b->setFocusPolicy(Qt::NoFocus);
        b->setAutoRepeat(true);
    }
    connect(m_pSpinUp, &QToolButton::clicked, this, [this] { OnSpin(-1); });
    connect(m_pSpinDown, &QToolButton::clicked, this, [this] { OnSpin(1); });

    auto* spin = new QVBoxLayout;
    spin->setSpacing(0);
    spin->addWidget(m_pSpinUp);
    spin->addWidget(m_pSpinDown);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(close);
    buttons->addWidget(invert);
    buttons->addWidget(compact);
    buttons->addStretch();
    buttons->addLayout(spin);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pList);
    layout->addWidget(m_pStatus);
    layout->addLayout(buttons);
    resize(320, 360);
}

void CMeasurementsDlg::SetStatus(const QString& text) {
    m_pStatus->setText(text);
}

void CMeasurementsDlg::Bind(CQuivraDoc* doc, ISeriesHost* host) {
    m_pDoc = doc;
    m_pHost = host;
    m_pList->Bind(doc, host);
}

int CMeasurementsDlg::Series() const {
    return m_pHost ? ValidSeries(m_pDoc, m_pHost->CurrentSeries()) : -1;
}

void CMeasurementsDlg::Refill(bool show) {
    const int k = Series();
    if (!show || !m_pDoc || k < 0) {
        m_pList->DeleteAllItems();
        m_nSelRow = -1;
        return;
    }
    const auto sk = static_cast<std::size_t>(k);
    // The frequency in the user's notation, as the cells below it.
    setWindowTitle(QString::fromLatin1(m_pDoc->m_seriesNames[sk].c_str()) + QStringLiteral(" : ") +
                   FormatG(m_pDoc->m_seriesFrequency[sk]) + QStringLiteral(" ") +
                   (m_pDoc->m_seriesFreqUnit[sk] ? QStringLiteral("RPM.") : QStringLiteral("Hz.")));

    std::vector<MeasDirection*> dirs;
    m_pDoc->ForEachPoint([&dirs](CornerPoint* p) {
        dirs.insert(dirs.end(), p->m_directions.begin(), p->m_directions.end());
    });
    SortForTable(dirs, [](const MeasDirection* d) { return d->m_nNumber; });

    std::vector<void*> data(dirs.begin(), dirs.end());
    std::vector<QString> cells;
    cells.reserve(dirs.size() * 5);
    for (const MeasDirection* d : dirs) {
        cells.push_back(FormatInt(d->m_nNumber));
        cells.push_back(FormatInt(d->m_pPoint ? d->m_pPoint->m_nNumber : 0));
        cells.push_back(DirectionCodeName(d->m_nCode));
        if (sk < d->m_measurements.size()) {
            cells.push_back(Format4G(d->m_measurements[sk]->m_dAmplitude));
            cells.push_back(Format4G(d->m_measurements[sk]->m_dPhase));
        } else {
            cells.push_back(QString());
            cells.push_back(QString());
        }
    }
    m_pList->SetRows(std::move(data), std::move(cells));
    if (m_nSelRow > m_pList->GetItemCount() - 1)
        m_nSelRow = -1;
}

void CMeasurementsDlg::OnCompact() {
    if (!m_pDoc)
        return;
    const int n = m_pList->GetItemCount();
    m_pDoc->m_nNextDirectionNumber = n + 1;
    if (n == 0)
        return;
    Refill(true);
    // The refill may find the rows changed; renumber what it lists now.
    for (int i = 0; i < m_pList->GetItemCount(); ++i)
        m_pList->DirectionAt(i)->m_nNumber = i + 1;
    m_pDoc->m_nNextDirectionNumber = m_pList->GetItemCount() + 1;
    // Direction numbers are stored in the file: closing must not lose them silently.
    m_pDoc->SetModifiedFlag();
    m_pDoc->m_laterEdits.Note(SceneChanges::Renumbered);
    Refill(true);
    m_pDoc->UpdateAllViews();
}

void CMeasurementsDlg::OnInvertPhase() {
    const int k = Series();
    if (!m_pDoc || k < 0 || m_nSelRow < 0 || m_nSelRow >= m_pList->GetItemCount())
        return;
    // Commit a pending edit of this row first, so the inversion applies to what was typed.
    m_pList->CloseCellEdit();
    MeasDirection* d = m_pList->DirectionAt(m_nSelRow);
    if (!IsLiveDirection(m_pDoc, d) || static_cast<std::size_t>(k) >= d->m_measurements.size())
        return;
    Measurement* m = d->m_measurements[static_cast<std::size_t>(k)];
    m->m_dPhase += 180.0;
    if (m->m_dPhase >= 360.0)
        m->m_dPhase -= 360.0;
    m_pDoc->SetModifiedFlag();
    m_pDoc->m_laterEdits.Note(SceneChanges::ValueEdited);
    Refill(true);
    m_pDoc->UpdateAllViews();
}

void CMeasurementsDlg::OnSpin(int step) {
    const int n = m_pList->GetItemCount();
    const int r = m_nSelRow;
    if (!m_pDoc || r < 0 || r >= n)
        return;
    int partner;
    if (step < 0) {
        if (r < 1)
            return;
        partner = r - 1;
    } else {
        if (r > n - 2)
            return;
        partner = r + 1;
    }
    m_pList->BeginCellEdit(-1, 0); // closes (and commits) the open editor
    MeasDirection* a = m_pList->DirectionAt(r);
    MeasDirection* b = m_pList->DirectionAt(partner);
    if (!IsLiveDirection(m_pDoc, a) || !IsLiveDirection(m_pDoc, b))
        return;
    std::swap(a->m_nNumber, b->m_nNumber);
    m_pDoc->SetModifiedFlag();
    m_pDoc->m_laterEdits.Note(SceneChanges::Renumbered);
    Refill(true);
    m_pList->BeginCellEdit(partner, 3);
    m_pDoc->UpdateAllViews();
}

void CMeasurementsDlg::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    Refill(true);
}

void CMeasurementsDlg::hideEvent(QHideEvent* e) {
    QDialog::hideEvent(e);
    Refill(false);
}
