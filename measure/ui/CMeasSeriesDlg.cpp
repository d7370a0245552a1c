#include "CMeasSeriesDlg.h"

#include "CMeasurementsDlg.h"
#include "CQuivraDoc.h"
#include "CSeriesEditDlg.h"
#include "CellNumber.h"
#include "ISeriesHost.h"
#include "SeriesNameInput.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <functional>

namespace {
// Reports a rename that ended with a text (Enter or focus loss); Escape never reaches
// setModelData, so a cancelled rename reports nothing.
class RenameDelegate : public QStyledItemDelegate {
public:
    RenameDelegate(QObject* parent, std::function<void(int, const QString&)> onRenamed,
                   std::function<void(const QString&)> hint)
        : QStyledItemDelegate(parent), m_onRenamed(std::move(onRenamed)), m_hint(std::move(hint)) {}
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* line = qobject_cast<QLineEdit*>(editor))
            FilterSeriesNameInput(line, m_hint);
        return editor;
    }
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override {
        QStyledItemDelegate::setModelData(editor, model, index);
        m_onRenamed(index.row(), index.data().toString());
    }

private:
    std::function<void(int, const QString&)> m_onRenamed;
    std::function<void(const QString&)> m_hint;
};
} // namespace

CMeasSeriesDlg::CMeasSeriesDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("Measurement Series"));
    setModal(false);
    m_pList = new QTreeWidget(this);
    m_pList->setColumnCount(1);
    m_pList->setHeaderLabels({tr("Name")});
    m_pList->setColumnWidth(0, 273);
    m_pList->setRootIsDecorated(false);
    m_pList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_pList->setEditTriggers(QAbstractItemView::SelectedClicked |
                             QAbstractItemView::EditKeyPressed);
    m_pList->header()->setSectionsClickable(false);

    // The rename is applied once the editor has closed: applying it refills the list, which
    // must not happen while the view still holds the editor's row.
    auto pending = std::make_shared<std::pair<int, QString>>(-1, QString());
    m_pStatus = new QLabel(this);
    m_pStatus->setObjectName(QStringLiteral("Status"));
    m_pStatus->setWordWrap(true);
    auto* delegate = new RenameDelegate(
        m_pList,
        [pending](int row, const QString& text) {
            *pending = {row, text};
        },
        [this](const QString& hint) { m_pStatus->setText(hint); });
    m_pList->setItemDelegate(delegate);
    connect(delegate, &QAbstractItemDelegate::closeEditor, this, [this, pending] {
        const auto [row, text] = *pending;
        *pending = {-1, QString()};
        if (row >= 0)
            OnRenamed(row, text);
    });
    connect(m_pList, &QTreeWidget::itemSelectionChanged, this, &CMeasSeriesDlg::OnSelectionChanged);

    auto* newButton = new QPushButton(tr("New"), this);
    auto* deleteButton = new QPushButton(tr("Delete"), this);
    auto* editButton = new QPushButton(tr("Edit"), this);
    auto* okButton = new QPushButton(tr("OK"), this);
    newButton->setObjectName(QStringLiteral("New"));
    deleteButton->setObjectName(QStringLiteral("Delete"));
    editButton->setObjectName(QStringLiteral("Edit"));
    okButton->setObjectName(QStringLiteral("OK"));
    for (QPushButton* b : {newButton, deleteButton, editButton, okButton})
        b->setAutoDefault(false);
    connect(newButton, &QPushButton::clicked, this, &CMeasSeriesDlg::OnNew);
    connect(deleteButton, &QPushButton::clicked, this, &CMeasSeriesDlg::OnDelete);
    connect(editButton, &QPushButton::clicked, this, &CMeasSeriesDlg::OnEdit);
    connect(okButton, &QPushButton::clicked, this, &QDialog::hide);

    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {newButton, deleteButton, editButton, okButton})
        buttons->addWidget(b);
    buttons->addStretch();
    auto* top = new QHBoxLayout;
    top->addWidget(m_pList, 1);
    top->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_pStatus);
    resize(400, 220);
}

CMeasSeriesDlg::~CMeasSeriesDlg() = default;

void CMeasSeriesDlg::Bind(CQuivraDoc* doc, ISeriesHost* host) {
    m_pDoc = doc;
    m_pHost = host;
    if (m_pEditDlg)
        m_pEditDlg->Bind(doc, host);
}

CSeriesEditDlg* CMeasSeriesDlg::EnsureEditDlg() {
    if (!m_pEditDlg)
        m_pEditDlg = new CSeriesEditDlg(this);
    m_pEditDlg->Bind(m_pDoc, m_pHost);
    return m_pEditDlg;
}

void CMeasSeriesDlg::RefillMeasurements() {
    if (m_pMeasDlg)
        m_pMeasDlg->Refill(true);
}

void CMeasSeriesDlg::Refill() {
    m_pList->clear();
    if (!m_pDoc)
        return;
    for (int k = 0; k < m_pDoc->m_nSeries; ++k) {
        const std::string& name = m_pDoc->m_seriesNames[static_cast<std::size_t>(k)];
        auto* item = new QTreeWidgetItem(
            m_pList, {QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()))});
        item->setFlags(item->flags() | Qt::ItemIsEditable);
    }
    if (!m_pHost || m_pDoc->m_nSeries == 0)
        return;
    // An index left beyond the last series (the document lost series under the view, e.g. by
    // undo) names the last one.
    int current = m_pHost->CurrentSeries();
    if (ValidSeries(m_pDoc, current) < 0) {
        current = current < 0 ? 0 : m_pDoc->m_nSeries - 1;
        m_pHost->SetCurrentSeries(current);
    }
    m_pList->setCurrentItem(m_pList->topLevelItem(current));
}

void CMeasSeriesDlg::OnSelectionChanged() {
    const QList<QTreeWidgetItem*> sel = m_pList->selectedItems();
    if (sel.isEmpty() || !m_pDoc || !m_pHost) {
        m_nSelSeries = -1;
        return;
    }
    const int row = m_pList->indexOfTopLevelItem(sel.first());
    m_pHost->SetCurrentSeries(row);
    if (m_pEditDlg)
        m_pEditDlg->LoadFields();
    RefillMeasurements();
    m_pDoc->UpdateAllViews();
    m_nSelSeries = row;
}

void CMeasSeriesDlg::OnNew() {
    if (!m_pDoc || !m_pHost)
        return;
    m_pDoc->AddSeries();
    m_pDoc->m_laterEdits.Note(SceneChanges::SeriesAdded);
    m_pHost->SetCurrentSeries(m_pDoc->m_nSeries - 1);
    Refill();
    m_pDoc->SetModifiedFlag();
    OnEdit();
}

void CMeasSeriesDlg::OnEdit() {
    if (m_nSelSeries == -1)
        return;
    CSeriesEditDlg* edit = EnsureEditDlg();
    edit->show();
    edit->raise();
    edit->LoadFields();
}

bool CMeasSeriesDlg::ConfirmDelete() {
    return QMessageBox::question(
               this, QString(),
               tr("Are you sure you want to delete the entire measurement serie?\n All "
                  "measurement data in the serie will be deleted!"),
               QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void CMeasSeriesDlg::OnDelete() {
    if (m_nSelSeries == -1 || !m_pDoc || !m_pHost)
        return;
    if (!ConfirmDelete())
        return;
    const int sel = m_nSelSeries;
    const int current = m_pHost->CurrentSeries();
    if (current == sel) {
        EnsureEditDlg()->hide();
        m_pHost->SetCurrentSeries(0);
    } else if (current > sel) {
        // Keep naming the same series: the ones above the deleted series move down by one.
        m_pHost->SetCurrentSeries(current - 1);
    }
    m_pDoc->SaveUndoState();
    m_pDoc->RemoveSeries(sel);
    m_nSelSeries = -1;
    Refill();
    m_pDoc->SetModifiedFlag();
    RefillMeasurements();
}

void CMeasSeriesDlg::OnRenamed(int row, const QString& text) {
    if (!m_pDoc || row < 0 || row >= m_pDoc->m_nSeries)
        return;
    // The edited row is the series the user renamed (it is also the current one, as editing
    // requires the row to be selected).
    QString dropped;
    const QString name = StorableSeriesName(text, &dropped);
    if (!dropped.isEmpty())
        m_pStatus->setText(SeriesNameHint(dropped));
    m_pDoc->m_seriesNames[static_cast<std::size_t>(row)] = name.toLatin1().toStdString();
    Refill();
    m_pDoc->SetModifiedFlag();
    m_pDoc->m_laterEdits.Note(SceneChanges::SeriesSettingChanged);
}

void CMeasSeriesDlg::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    Refill();
}

void CMeasSeriesDlg::hideEvent(QHideEvent* e) {
    QDialog::hideEvent(e);
    Refill();
}
