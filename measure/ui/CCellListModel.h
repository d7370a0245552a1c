#pragma once

#include <QAbstractTableModel>
#include <QString>

#include <vector>

// The rows of a CCellListCtrl: per row one record pointer (the row's item data) and the cell
// texts, held flat so that a table of 100,000 rows is one allocation per cell and one reset.
class CCellListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit CCellListModel(QObject* parent = nullptr);

    void AddColumn(const QString& heading, Qt::Alignment alignment);
    // Replaces every row: `cells` holds ColumnCount() texts per entry of `itemData`.
    void SetRows(std::vector<void*> itemData, std::vector<QString> cells);
    void Clear();

    int RowCount() const { return static_cast<int>(m_itemData.size()); }
    int ColumnCount() const { return static_cast<int>(m_headings.size()); }
    void* ItemData(int row) const;
    QString Text(int row, int column) const;
    void SetText(int row, int column, const QString& text);
    Qt::Alignment ColumnAlignment(int column) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    bool IsCell(int row, int column) const;

    std::vector<QString> m_headings;
    std::vector<Qt::Alignment> m_alignments;
    std::vector<void*> m_itemData; // not owned
    std::vector<QString> m_cells;  // row-major
};
