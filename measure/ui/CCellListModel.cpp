#include "CCellListModel.h"

CCellListModel::CCellListModel(QObject* parent) : QAbstractTableModel(parent) {}

void CCellListModel::AddColumn(const QString& heading, Qt::Alignment alignment) {
    beginResetModel();
    m_headings.push_back(heading);
    m_alignments.push_back(alignment);
    m_itemData.clear();
    m_cells.clear();
    endResetModel();
}

void CCellListModel::SetRows(std::vector<void*> itemData, std::vector<QString> cells) {
    beginResetModel();
    cells.resize(itemData.size() * m_headings.size());
    m_itemData = std::move(itemData);
    m_cells = std::move(cells);
    endResetModel();
}

void CCellListModel::Clear() {
    SetRows({}, {});
}

bool CCellListModel::IsCell(int row, int column) const {
    return row >= 0 && row < RowCount() && column >= 0 && column < ColumnCount();
}

void* CCellListModel::ItemData(int row) const {
    return row >= 0 && row < RowCount() ? m_itemData[static_cast<std::size_t>(row)] : nullptr;
}

QString CCellListModel::Text(int row, int column) const {
    if (!IsCell(row, column))
        return QString();
    return m_cells[static_cast<std::size_t>(row) * m_headings.size() +
                   static_cast<std::size_t>(column)];
}

void CCellListModel::SetText(int row, int column, const QString& text) {
    if (!IsCell(row, column))
        return;
    m_cells[static_cast<std::size_t>(row) * m_headings.size() + static_cast<std::size_t>(column)] =
        text;
    const QModelIndex i = index(row, column);
    emit dataChanged(i, i, {Qt::DisplayRole});
}

Qt::Alignment CCellListModel::ColumnAlignment(int column) const {
    if (column < 0 || column >= ColumnCount())
        return Qt::AlignLeft;
    return m_alignments[static_cast<std::size_t>(column)];
}

int CCellListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : RowCount();
}

int CCellListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount();
}

QVariant CCellListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return QVariant();
    if (role == Qt::DisplayRole)
        return Text(index.row(), index.column());
    if (role == Qt::TextAlignmentRole)
        return QVariant(static_cast<int>(ColumnAlignment(index.column()) | Qt::AlignVCenter));
    return QVariant();
}

QVariant CCellListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount())
        return QVariant();
    if (role == Qt::DisplayRole)
        return m_headings[static_cast<std::size_t>(section)];
    if (role == Qt::TextAlignmentRole)
        return QVariant(static_cast<int>(ColumnAlignment(section) | Qt::AlignVCenter));
    return QVariant();
}
