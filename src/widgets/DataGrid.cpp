#include "widgets/DataGrid.h"

#include "jet/Dataset.h"
#include "jet/DatasetModel.h"
#include "widgets/SkalaProjektu.h"

#include <QClipboard>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPainter>
#include <QStyledItemDelegate>
#include <algorithm>

namespace katarix::widgets {

namespace {

// Paints the background the grid's colouring callback asks for (such a cell is painted as not
// selected so that its own colour wins over the highlight) and the font its font callback asks for.
class DataGridDelegate : public QStyledItemDelegate {
public:
    explicit DataGridDelegate(DataGrid *grid) : QStyledItemDelegate(grid), m_grid(grid) {}

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyleOptionViewItem opt(option);
        initStyleOption(&opt, index);
        const auto &columns = m_grid->designedColumns();
        if (index.column() < columns.size() && columns[index.column()].bold)
            opt.font.setBold(true);
        if (m_grid->GetCellParams || m_grid->GetCellFont) {
            DataGrid::CellParams params;
            params.row = index.row();
            params.column = index.column();
            params.field = m_grid->fieldOfColumn(index.column());
            params.text = opt.text;
            params.selected = opt.state & QStyle::State_Selected;
            const std::optional<QColor> background =
                m_grid->GetCellParams ? m_grid->GetCellParams(params) : std::optional<QColor>();
            if (background) {
                opt.state &= ~QStyle::State_Selected;
                opt.backgroundBrush = QBrush(*background);
                if (params.selected && *background == opt.palette.color(QPalette::Highlight))
                    opt.palette.setColor(QPalette::Text, opt.palette.color(QPalette::HighlightedText));
            }
            if (m_grid->GetCellFont) {
                const DataGrid::CellFont font = m_grid->GetCellFont(params);
                if (font.bold)
                    opt.font.setBold(true);
                if (font.colour) {
                    opt.palette.setColor(QPalette::Text, *font.colour);
                    opt.palette.setColor(QPalette::HighlightedText, *font.colour);
                }
            }
        }
        const QWidget *widget = opt.widget;
        QStyle *style = widget ? widget->style() : nullptr;
        if (style)
            style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);
        else
            QStyledItemDelegate::paint(painter, opt, index);
    }

private:
    DataGrid *m_grid;
};

} // namespace

DataGrid::DataGrid(QWidget *parent)
    : QTableView(parent), m_model(new jet::DatasetModel(nullptr, this))
{
    setModel(m_model);
    setItemDelegate(new DataGridDelegate(this));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setAlternatingRowColors(false);
    setWordWrap(false);
    setTabKeyNavigation(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    verticalHeader()->setMinimumWidth(11);
    horizontalHeader()->setSectionsMovable(true);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultSectionSize(DefaultColumnWidth);
    horizontalHeader()->setMinimumSectionSize(8);
    connect(m_model, &jet::DatasetModel::currentRowChanged, this, &DataGrid::followDataset);
    connect(m_model, &QAbstractItemModel::modelReset, this, &DataGrid::applyColumns);
}

void DataGrid::setDataset(jet::Dataset *dataset)
{
    m_model->setDataset(dataset);
}

jet::Dataset *DataGrid::dataset() const
{
    return m_model->dataset();
}

void DataGrid::setColumns(const QList<Column> &columns)
{
    m_columns = columns;
    QStringList fields;
    for (const Column &column : columns) {
        fields << column.field;
        m_model->setCaption(column.field, column.title.isEmpty() ? column.field : column.title);
        m_model->setAlignment(column.field, column.alignment | Qt::AlignVCenter);
    }
    m_model->setColumns(fields);
    applyColumns();
}

// Widths are designed once; a reset of the rows keeps whatever the user or the layout set.
void DataGrid::applyColumns()
{
    QHeaderView *header = horizontalHeader();
    if (header->count() != m_columns.size())
        return;
    if (property("katarix_widthsApplied").toInt() == int(m_columns.size()))
        return;
    // At the program's scale, and never narrower than the header's text.
    for (int i = 0; i < m_columns.size(); ++i) {
        const Column &column = m_columns[i];
        header->resizeSection(i, szerokoscKolumny(header->fontMetrics(), column.title.isEmpty() ? column.field : column.title,
                                                  column.width >= 0 ? column.width : DefaultColumnWidth));
    }
    setProperty("katarix_widthsApplied", int(m_columns.size()));
}

QString DataGrid::fieldOfColumn(int logicalColumn) const
{
    if (logicalColumn >= 0 && logicalColumn < m_columns.size())
        return m_columns[logicalColumn].field;
    return QString();
}

int DataGrid::columnOfField(const QString &field) const
{
    for (int i = 0; i < m_columns.size(); ++i)
        if (m_columns[i].field.compare(field, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QString DataGrid::currentField() const
{
    return fieldOfColumn(currentIndex().column());
}

void DataGrid::setMultiSelect(bool multi)
{
    m_multi = multi;
    setSelectionMode(multi ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
}

QList<int> DataGrid::selectedRows() const
{
    QList<int> rows;
    if (!selectionModel())
        return rows;
    for (const QModelIndex &index : selectionModel()->selectedRows())
        rows << index.row();
    std::sort(rows.begin(), rows.end());
    return rows;
}

void DataGrid::selectRows(const QList<int> &rows)
{
    QItemSelection selection;
    const int last = m_model->columnCount() - 1;
    for (int row : rows)
        if (row >= 0 && row < m_model->rowCount() && last >= 0)
            selection.select(m_model->index(row, 0), m_model->index(row, last));
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

QString DataGrid::selectionText() const
{
    QList<int> rows = selectedRows();
    if (rows.isEmpty() && currentIndex().isValid())
        rows << currentIndex().row();
    const QHeaderView *header = horizontalHeader();
    QStringList lines;
    for (int row : rows) {
        QStringList cells;
        for (int visual = 0; visual < header->count(); ++visual) {
            const int logical = header->logicalIndex(visual);
            if (!header->isSectionHidden(logical))
                cells << m_model->data(m_model->index(row, logical)).toString();
        }
        lines << cells.join(QLatin1Char('\t'));
    }
    return lines.join(QLatin1Char('\n'));
}

void DataGrid::keyPressEvent(QKeyEvent *event)
{
    if (event == QKeySequence::Copy) {
        if (QClipboard *clipboard = QGuiApplication::clipboard())
            clipboard->setText(selectionText());
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void DataGrid::focusInEvent(QFocusEvent *event)
{
    QTableView::focusInEvent(event);
    emit entered();
}

// The view's current row moved (mouse, keyboard): move the dataset there.
void DataGrid::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTableView::currentChanged(current, previous);
    if (m_following || !current.isValid())
        return;
    if (current.row() != m_model->currentRow())
        m_model->setCurrentRow(current.row());
}

// The dataset's current row moved (program, open): show it without touching the selection of a
// multi-select grid beyond what a single-select grid does.
void DataGrid::followDataset(int row)
{
    if (row < 0)
        return;
    if (currentIndex().isValid() && currentIndex().row() == row)
        return;
    m_following = true;
    const int column = currentIndex().isValid() ? currentIndex().column() : 0;
    const QModelIndex index = m_model->index(row, std::max(0, std::min(column, m_model->columnCount() - 1)));
    const auto flags = m_multi ? QItemSelectionModel::NoUpdate
                               : QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows;
    selectionModel()->setCurrentIndex(index, flags);
    m_following = false;
}

} // namespace katarix::widgets
