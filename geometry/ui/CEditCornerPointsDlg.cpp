#include "CEditCornerPointsDlg.h"

#include "CPointListCtrl.h"
#include "CQuivraDoc.h"
#include "CellNumber.h"
#include "CornerPoint.h"
#include "IToolWindows.h"
#include "TableOrder.h"

#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CEditCornerPointsDlg::CEditCornerPointsDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("Edit Corner Points"));
    setModal(false);
    m_pList = new CPointListCtrl(this);
    m_pList->InsertColumn(tr("Nr"), Qt::AlignRight, 37);
    m_pList->InsertColumn(tr("X"), Qt::AlignRight, 70);
    m_pList->InsertColumn(tr("Y"), Qt::AlignRight, 70);
    m_pList->InsertColumn(tr("Z"), Qt::AlignRight, 70);
    m_pList->setMinimumWidth(37 + 3 * 70 + 24);
    connect(m_pList->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CEditCornerPointsDlg::OnRowSelected);
    // Why a typed coordinate was refused.
    m_pStatus = new QLabel(this);
    m_pStatus->setObjectName(QStringLiteral("Status"));
    m_pStatus->setWordWrap(true);
    connect(m_pList, &CCellListCtrl::cellRefused, this,
            [this](int, int, const QString& message) { m_pStatus->setText(message); });
    connect(m_pList, &CCellListCtrl::cellCommitted, m_pStatus, &QLabel::clear);

    auto* newButton = new QPushButton(tr("New"), this);
    auto* deleteButton = new QPushButton(tr("Delete"), this);
    auto* compactButton = new QPushButton(tr("Compact"), this);
    auto* closeButton = new QPushButton(tr("Close"), this);
    newButton->setObjectName(QStringLiteral("New"));
    deleteButton->setObjectName(QStringLiteral("Delete"));
    compactButton->setObjectName(QStringLiteral("Compact"));
    closeButton->setObjectName(QStringLiteral("Close"));
    for (QPushButton* b : {newButton, deleteButton, compactButton, closeButton})
        b->setAutoDefault(false);
    connect(newButton, &QPushButton::clicked, this, &CEditCornerPointsDlg::OnNew);
    connect(deleteButton, &QPushButton::clicked, this, &CEditCornerPointsDlg::OnDelete);
    connect(compactButton, &QPushButton::clicked, this, &CEditCornerPointsDlg::OnCompact);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::hide);

    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {newButton, deleteButton, compactButton, closeButton})
        buttons->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pList);
    layout->addWidget(m_pStatus);
    layout->addLayout(buttons);
    resize(300, 400);
}

void CEditCornerPointsDlg::Bind(CQuivraDoc* doc) {
    m_pDoc = doc;
    m_pList->Bind(doc);
}

void CEditCornerPointsDlg::RebuildTable(bool show) {
    if (!show)
        return;
    if (!m_pDoc) {
        m_pList->DeleteAllItems();
        return;
    }
    std::vector<CornerPoint*> points = m_pDoc->AllPoints();
    SortForTable(points, [](const CornerPoint* p) { return p->m_nNumber; });

    const CornerPoint* o = m_pDoc->m_pOrigin;
    const double ox = o ? o->m_x : 0.0, oy = o ? o->m_y : 0.0, oz = o ? o->m_z : 0.0;
    int highlightRow = -1;
    std::vector<QString> cells;
    cells.reserve(points.size() * 4);
    for (std::size_t i = 0; i < points.size(); ++i) {
        const CornerPoint* p = points[i];
        if (p == m_pDoc->m_pHighlightPoint)
            highlightRow = static_cast<int>(i);
        cells.push_back(FormatInt(p->m_nNumber));
        cells.push_back(Format4G(p->m_x - ox));
        cells.push_back(Format4G(p->m_y - oy));
        cells.push_back(Format4G(p->m_z - oz));
    }
    m_pList->SetRows(std::vector<void*>(points.begin(), points.end()), std::move(cells));
    if (highlightRow >= 0)
        m_pList->BeginCellEdit(highlightRow, 1);
}

void CEditCornerPointsDlg::OnRowSelected() {
    if (!m_pDoc)
        return;
    const QModelIndexList rows = m_pList->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return;
    CornerPoint* p = m_pList->PointAt(rows.first().row());
    if (!IsLivePoint(m_pDoc, p))
        return;
    m_pDoc->m_pHighlightPoint = p;
    m_pDoc->UpdateAllViews();
}

void CEditCornerPointsDlg::OnNew() {
    if (!m_pDoc)
        return;
    if (!m_pDoc->HasPointNumbers(1)) {
        m_pStatus->setText(CQuivraDoc::PointNumbersUsedUp());
        return;
    }
    m_pDoc->SaveUndoState();
    m_pDoc->SetModifiedFlag();
    auto* p = new CornerPoint(0.0, 0.0, 0.0, m_pDoc);
    m_pDoc->m_pHighlightPoint = p;
    m_pDoc->m_freePoints.push_back(p);
    m_pDoc->UpdateAllViews();
    RebuildTable(true);
}

void CEditCornerPointsDlg::OnDelete() {
    if (!m_pDoc || !m_pDoc->m_pHighlightPoint)
        return;
    CornerPoint* p = m_pDoc->m_pHighlightPoint;
    // The rows (and an open editor) refer to the point: drop them before it goes.
    m_pList->DeleteAllItems();
    m_pDoc->SaveUndoState();
    m_pDoc->SetModifiedFlag();
    // The destructor unregisters the point from its list or its object and removes the lines
    // that used it.
    if (IsLivePoint(m_pDoc, p))
        delete p;
    m_pDoc->m_pHighlightPoint = nullptr;
    m_pDoc->m_selPoints.clear();
    m_pDoc->m_selObjects.clear();
    m_pDoc->UpdateAllViews();
    RebuildTable(true);
    // The point's measurement directions went with it.
    if (m_pDoc->m_pToolWindows)
        m_pDoc->m_pToolWindows->RefillMeasurements();
}

void CEditCornerPointsDlg::OnCompact() {
    if (!m_pDoc)
        return;
    const int n = m_pList->GetItemCount();
    m_pDoc->m_nNextPointNumber = n + 1;
    if (n == 0)
        return;
    RebuildTable(true);
    // Renumber what the rebuilt table lists (it may have changed since it was last shown).
    const int rows = m_pList->GetItemCount();
    for (int i = 0; i < rows; ++i)
        m_pList->PointAt(i)->m_nNumber = i + 1;
    m_pDoc->m_nNextPointNumber = rows + 1;
    // Point numbers are stored in the file: closing must not lose them silently.
    m_pDoc->SetModifiedFlag();
    m_pDoc->m_laterEdits.Note(SceneChanges::Renumbered);
    RebuildTable(true);
    m_pDoc->UpdateAllViews();
}

void CEditCornerPointsDlg::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    RebuildTable(true);
}

void CEditCornerPointsDlg::hideEvent(QHideEvent* e) {
    QDialog::hideEvent(e);
    RebuildTable(false);
}
