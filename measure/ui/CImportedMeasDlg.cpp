#include "CImportedMeasDlg.h"

#include "CMeasListCtrl.h"
#include "CMeasurementsDlg.h"
#include "CQuivraDoc.h"
#include "CellNumber.h"
#include "ISeriesHost.h"
#include "IToolWindows.h"
#include "ImportedMeasTable.h"
#include "UnitTables.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

struct Column {
    const char* m_heading;
    int m_nWidth;
};
const Column kColumns[] = {{"Id", 40},    {"Amplitude", 70}, {"Angle", 70},   {"Unit", 50},
                           {"Speed", 70}, {"Rot. Unit", 40}, {"Multiple", 70}};

} // namespace

CImportedMeasDlg::CImportedMeasDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("Imported Instrument Measurements"));
    setModal(false);

    m_pList = new QTableWidget(0, 7, this);
    m_pList->setObjectName(QStringLiteral("List"));
    m_pList->setShowGrid(true);
    m_pList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_pList->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_pList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_pList->verticalHeader()->hide();
    m_pList->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    int width = 0;
    for (int c = 0; c < 7; ++c) {
        auto* heading = new QTableWidgetItem(tr(kColumns[c].m_heading));
        heading->setTextAlignment(c == 0 ? Qt::AlignLeft | Qt::AlignVCenter
                                         : Qt::AlignRight | Qt::AlignVCenter);
        m_pList->setHorizontalHeaderItem(c, heading);
        m_pList->setColumnWidth(c, kColumns[c].m_nWidth);
        width += kColumns[c].m_nWidth;
    }
    m_pList->setMinimumWidth(width + 24);

    auto* label = new QLabel(tr("Multiple :"), this);
    m_pChoice = new QComboBox(this);
    m_pChoice->setObjectName(QStringLiteral("Multiple"));
    m_pChoice->setMinimumContentsLength(10);
    label->setBuddy(m_pChoice);
    connect(m_pChoice, &QComboBox::activated, this, &CImportedMeasDlg::OnChoiceChanged);

    auto* copy = new QPushButton(tr("Copy >"), this);
    auto* copyAll = new QPushButton(tr("Copy All >>"), this);
    auto* close = new QPushButton(tr("Close"), this);
    copy->setObjectName(QStringLiteral("Copy"));
    copyAll->setObjectName(QStringLiteral("CopyAll"));
    close->setObjectName(QStringLiteral("Close"));
    for (QPushButton* b : {copy, copyAll, close})
        b->setAutoDefault(false);
    connect(copy, &QPushButton::clicked, this, &CImportedMeasDlg::OnCopy);
    connect(copyAll, &QPushButton::clicked, this, &CImportedMeasDlg::OnCopyAll);
    connect(close, &QPushButton::clicked, this, &QDialog::hide);

    auto* bar = new QHBoxLayout;
    bar->addWidget(label);
    bar->addWidget(m_pChoice);
    bar->addStretch();
    bar->addWidget(copy);
    bar->addWidget(copyAll);
    bar->addWidget(close);
    m_pStatus = new QLabel(this);
    m_pStatus->setObjectName(QStringLiteral("Status"));
    m_pStatus->setWordWrap(true);
    m_pUseSpeed = new QPushButton(this);
    m_pUseSpeed->setObjectName(QStringLiteral("UseSpeed"));
    m_pUseSpeed->setAutoDefault(false);
    m_pUseSpeed->hide();
    connect(m_pUseSpeed, &QPushButton::clicked, this, &CImportedMeasDlg::OnUseSpeed);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(m_pList);
    layout->addWidget(m_pStatus);
    layout->addWidget(m_pUseSpeed, 0, Qt::AlignLeft);
    resize(width + 160, 360);

    m_pChoice->addItem(tr("All"), 0.f);
}

void CImportedMeasDlg::Bind(CQuivraDoc* doc, ISeriesHost* host) {
    m_pDoc = doc;
    m_pHost = host;
}

void CImportedMeasDlg::SetMeasurementsWindow(CMeasurementsDlg* dlg, std::function<void()> show) {
    m_pMeas = dlg;
    m_showMeas = std::move(show);
}

int CImportedMeasDlg::Series() const {
    return m_pHost ? ValidSeries(m_pDoc, m_pHost->CurrentSeries()) : -1;
}

void CImportedMeasDlg::Rebuild() {
    m_pChoice->clear();
    const std::vector<float> none;
    for (const ImportedMeasTable::Choice& c :
         ImportedMeasTable::MultipleChoices(m_pDoc ? m_pDoc->m_importedMultiples : none))
        m_pChoice->addItem(c.m_strText, c.m_fValue);
    m_pChoice->setCurrentIndex(0);
    m_fFilter = 0.f;
    m_pStatus->clear();
    m_pUseSpeed->hide();
    FillList();
}

void CImportedMeasDlg::OnChoiceChanged(int index) {
    if (index < 0 || index >= m_pChoice->count())
        return;
    m_pChoice->setCurrentIndex(index);
    m_fFilter = m_pChoice->itemData(index).toFloat();
    FillList();
}

void CImportedMeasDlg::FillList() {
    m_pList->clearContents();
    m_pList->setRowCount(0);
    m_rows.clear();
    if (!isVisible() || !m_pDoc || m_pDoc->m_importedMeas.empty())
        return;
    for (const ImportedMeas* m : ImportedMeasTable::Rows(m_pDoc->m_importedMeas, m_fFilter))
        m_rows.push_back(*m);
    m_pList->setRowCount(static_cast<int>(m_rows.size()));
    for (int r = 0; r < static_cast<int>(m_rows.size()); ++r) {
        const QStringList texts = ImportedMeasTable::RowTexts(m_rows[std::size_t(r)]);
        for (int c = 0; c < texts.size(); ++c) {
            auto* item = new QTableWidgetItem(texts[c]);
            item->setTextAlignment(c == 0 ? Qt::AlignLeft | Qt::AlignVCenter
                                          : Qt::AlignRight | Qt::AlignVCenter);
            if (c == 0)
                item->setData(Qt::UserRole, r); // the row's record: m_rows[r]
            m_pList->setItem(r, c, item);
        }
    }
    // The classic widths are too narrow for "%f" texts in today's fonts: a column grows to fit
    // its texts rather than cutting off digits.
    for (int c = 0; c < m_pList->columnCount(); ++c)
        m_pList->setColumnWidth(
            c, std::max({kColumns[c].m_nWidth,
                         static_cast<QAbstractItemView*>(m_pList)->sizeHintForColumn(c),
                         m_pList->horizontalHeader()->sectionSizeHint(c)}));
}

void CImportedMeasDlg::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    // Un-minimizing is not a show request: only a command or the end of an import or transfer
    // brings the Measurements window along.
    if (!e->spontaneous() && m_pMeas && !m_pMeas->isVisible()) {
        if (m_showMeas)
            m_showMeas();
        else
            m_pMeas->show();
        raise();
        activateWindow();
    }
    FillList();
}

void CImportedMeasDlg::hideEvent(QHideEvent* e) {
    QDialog::hideEvent(e);
    FillList();
}

void CImportedMeasDlg::OnCopy() {
    if (!m_pDoc || !m_pMeas)
        return;
    CMeasListCtrl* measList = m_pMeas->List();
    int measRow = m_pMeas->SelRow();
    if (measRow < 0)
        measRow = measList->currentIndex().row();
    const int row = m_pList->currentRow();
    if (measRow < 0 || measRow >= measList->GetItemCount() || row < 0 ||
        row >= static_cast<int>(m_rows.size()))
        return;
    MeasDirection* direction = measList->DirectionAt(measRow);
    // The Measurements list may still show a direction that was deleted since its last refill.
    if (!IsLiveDirection(m_pDoc, direction))
        return;
    const ImportedMeas& record = m_rows[std::size_t(row)];
    if (!ImportedMeasTable::HasFiniteValues(record)) {
        m_pStatus->setText(tr("Record %1 was not copied: its amplitude or phase is not a number.")
                               .arg(record.m_nId));
        return;
    }
    if (ImportedMeasTable::CopyOne(m_pDoc, &record, direction, Series())) {
        m_pStatus->clear();
        AfterCopy(QString());
    }
}

void CImportedMeasDlg::OnCopyAll() {
    if (!m_pDoc || m_rows.empty())
        return;
    if (Series() < 0) {
        m_pStatus->setText(tr("Copy All: there is no measurement series to copy into."));
        return;
    }
    std::vector<const ImportedMeas*> rows;
    rows.reserve(m_rows.size());
    for (const ImportedMeas& m : m_rows)
        rows.push_back(&m);
    // The directions as the Measurements window lists them, taken from the scene itself: the
    // window may never have been shown, or list directions deleted since.
    const ImportedMeasTable::CopyAllResult r = ImportedMeasTable::CopyAll(
        m_pDoc, rows, ImportedMeasTable::MeasurementRows(*m_pDoc), Series());
    const QString summary = ImportedMeasTable::Summary(r);
    m_pStatus->setText(summary);
    // The records' speed is usually the frequency the series stands for; a new series still
    // says 1000 Hz. Offer it rather than change it unasked.
    m_pUseSpeed->hide();
    const int series = Series();
    if (r.bOneSpeed) {
        // The float as the list shows it, not its binary tail (24.7f is 24.700000762...).
        m_dSpeed = QString::number(double(r.fSpeed), 'g', 7).toDouble();
        m_nSpeedUnit = r.nFreqUnit;
        m_nSpeedSeries = series;
        const std::size_t k = std::size_t(series);
        if (m_pDoc->m_seriesFrequency.at(k) != m_dSpeed ||
            m_pDoc->m_seriesFreqUnit.at(k) != m_nSpeedUnit) {
            m_pUseSpeed->setText(tr("Set the series' frequency to %1 %2")
                                     .arg(QString::number(m_dSpeed, 'g', 7),
                                          QLatin1String(FreqUnitName(m_nSpeedUnit))));
            m_pUseSpeed->show();
        }
    }
    AfterCopy(summary);
}

void CImportedMeasDlg::OnUseSpeed() {
    m_pUseSpeed->hide();
    // The document or its series may have changed since the offer.
    if (!m_pDoc || m_nSpeedSeries < 0 || m_nSpeedSeries >= m_pDoc->m_nSeries ||
        std::size_t(m_nSpeedSeries) >= m_pDoc->m_seriesFrequency.size())
        return;
    // A series setting like those of the Measurement Series window: no undo snapshot.
    m_pDoc->m_seriesFrequency[std::size_t(m_nSpeedSeries)] = m_dSpeed;
    m_pDoc->m_seriesFreqUnit[std::size_t(m_nSpeedSeries)] = m_nSpeedUnit;
    m_pDoc->SetModifiedFlag();
    m_pDoc->m_laterEdits.Note(SceneChanges::SeriesSettingChanged);
    if (m_pDoc->m_pToolWindows)
        m_pDoc->m_pToolWindows->RefillSeries();
    m_pDoc->UpdateAllViews();
}

void CImportedMeasDlg::AfterCopy(const QString& summary) {
    if (m_pMeas) {
        // The user sees the values where they went; showing the window fills it.
        if (m_pMeas->isVisible())
            m_pMeas->Refill(true);
        else if (m_showMeas)
            m_showMeas();
        else
            m_pMeas->show();
        m_pMeas->SetStatus(summary);
    }
    m_pDoc->UpdateAllViews();
}
