#pragma once

#include <QColor>
#include <QList>
#include <QString>
#include <QTableView>
#include <functional>
#include <optional>

namespace katarix::jet {
class Dataset;
class DatasetModel;
} // namespace katarix::jet

namespace katarix::widgets {

// A read-only data grid over a dataset: designed columns (field, title, width, alignment),
// whole-row selection that follows the dataset's current row, single or multiple selection
// (Ctrl and Shift as usual), and a per-cell colouring callback.
class DataGrid : public QTableView {
    Q_OBJECT
public:
    struct Column {
        Column(QString field_ = {}, QString title_ = {}, int width_ = -1, Qt::Alignment alignment_ = Qt::AlignLeft,
               bool bold_ = false, QString imeName_ = {})
            : field(std::move(field_)), title(std::move(title_)), width(width_), alignment(alignment_), bold(bold_),
              imeName(std::move(imeName_))
        {
        }
        QString field;
        QString title;    // empty: the field's own name
        int width = -1;   // -1: the grid's default width
        Qt::Alignment alignment = Qt::AlignLeft;
        bool bold = false;
        QString imeName;  // "POMIN": skipped when a column layout is read from the INI file
    };

    // What the colouring callback is told about the cell being painted.
    struct CellParams {
        int row = -1;        // dataset row (0-based)
        int column = -1;     // logical column
        QString field;       // the column's field name as designed
        QString text;        // the cell's display text
        bool selected = false;
    };
    // Returns the background of the cell, or nullopt for the grid's default painting.
    using CellColouring = std::function<std::optional<QColor>(const CellParams &)>;

    // How a cell's text is drawn: bold or not, and a colour (none: the grid's own, also in the
    // highlighted row).
    struct CellFont {
        bool bold = false;
        std::optional<QColor> colour;
    };

    explicit DataGrid(QWidget *parent = nullptr);

    void setDataset(jet::Dataset *dataset);
    jet::Dataset *dataset() const;
    jet::DatasetModel *datasetModel() const { return m_model; }

    void setColumns(const QList<Column> &columns);
    const QList<Column> &designedColumns() const { return m_columns; }
    QString fieldOfColumn(int logicalColumn) const;
    int columnOfField(const QString &field) const; // logical column, -1 when none
    // The field of the column holding the current cell ("selected column").
    QString currentField() const;

    void setMultiSelect(bool multi);
    bool multiSelect() const { return m_multi; }
    // Dataset rows of the selection, in ascending order.
    QList<int> selectedRows() const;
    void selectRows(const QList<int> &rows);
    // The selected rows (or the current one) as text: visible columns in their shown order,
    // separated by tabs, one line per row. Ctrl+C puts it on the clipboard.
    QString selectionText() const;

    std::function<std::optional<QColor>(const CellParams &)> GetCellParams;
    std::function<CellFont(const CellParams &)> GetCellFont;

    // The default width of columns designed without a width.
    static constexpr int DefaultColumnWidth = 64;

signals:
    void entered(); // the grid received the focus

protected:
    void focusInEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;

private:
    void followDataset(int row);
    void applyColumns();

    jet::DatasetModel *m_model;
    QList<Column> m_columns;
    bool m_multi = false;
    bool m_following = false;
};

} // namespace katarix::widgets
