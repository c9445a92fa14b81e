#pragma once

#include <QAbstractTableModel>
#include <QHash>
#include <QPointer>
#include <QStringList>

namespace katarix::jet {

class Dataset;

// A table model over a dataset for the program's grids: rows are the dataset's records,
// columns its fields (or a chosen list of fields). The display text is the value as the
// engine writes it; EditRole gives the raw value. data() reads the dataset's buffer directly.
//
// The dataset's current row is exposed: currentRowChanged follows afterScroll (and the
// re-enabling of controls, and every reset), and setCurrentRow moves the dataset, which then
// emits afterScroll. Rows replaced while the dataset's controls are disabled reset the model
// when the controls are enabled again.
class DatasetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit DatasetModel(Dataset *dataset = nullptr, QObject *parent = nullptr);

    void setDataset(Dataset *dataset);
    Dataset *dataset() const { return m_dataset; }

    // Columns by field name (any case); empty: every field in field order. A name the open
    // dataset does not have gives an empty column.
    void setColumns(const QStringList &fieldNames);
    QStringList columns() const { return m_columnNames; }
    int fieldOfColumn(int column) const; // the dataset's field index, -1 when none
    int columnOfField(const QString &fieldName) const; // -1 when not shown

    // Header caption and alignment per field name (kept across reopening); the caption
    // defaults to the field name, the alignment to right for numbers and left otherwise.
    void setCaption(const QString &fieldName, const QString &caption);
    void setAlignment(const QString &fieldName, Qt::Alignment alignment);
    void setColumnCaption(int column, const QString &caption);
    void setColumnAlignment(int column, Qt::Alignment alignment);

    int currentRow() const; // -1 when there is no row
    void setCurrentRow(int row);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

Q_SIGNALS:
    void currentRowChanged(int row);

private:
    void datasetChanged();
    void controlsEnabled();
    void reset();
    void rebuildColumns();
    void followDataset();
    QString columnName(int column) const;

    QPointer<Dataset> m_dataset;
    QStringList m_columnNames;           // as set; empty: all fields
    std::vector<int> m_columnFields;     // column -> field index (-1: missing)
    QHash<QString, QString> m_captions;  // case-folded field name -> caption
    QHash<QString, Qt::Alignment> m_alignments;
    int m_rowCount = 0;
    int m_reportedRow = -1;
    bool m_resetPending = false; // rows replaced while the controls were disabled
};

} // namespace katarix::jet
