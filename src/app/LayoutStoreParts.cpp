// The parts a LayoutStore keeps besides the window's placement: panels, splitters, child windows,
// toolbars, header columns and data grid columns.
#include "app/LayoutStore.h"

#include "app/IniFile.h"
#include "widgets/DataGrid.h"

#include <QHeaderView>
#include <QMainWindow>
#include <QSplitter>
#include <QToolBar>

#include <algorithm>
#include <optional>

namespace katarix::app {

namespace {

std::optional<QList<int>> integerList(const QString &text)
{
    if (text.trimmed().isEmpty())
        return std::nullopt;
    QList<int> values;
    for (const QString &part : text.split(u',')) {
        const std::optional<int> value = parseInteger(part.trimmed());
        if (!value)
            return std::nullopt;
        values.append(*value);
    }
    return values;
}

QString joined(const QList<int> &values)
{
    QStringList parts;
    for (int v : values)
        parts.append(QString::number(v));
    return parts.join(u',');
}

std::optional<int> readInt(const IniFile &ini, const QString &section, const QString &key)
{
    return parseInteger(ini.ReadString(section, key, QString()));
}

QString nameOf(const QObject *object, const QString &name) { return name.isEmpty() ? object->objectName() : name; }

// ---- toolbars ----

const std::pair<Qt::ToolBarArea, const char *> kAreas[] = {
    {Qt::TopToolBarArea, "Top"},
    {Qt::BottomToolBarArea, "Bottom"},
    {Qt::LeftToolBarArea, "Left"},
    {Qt::RightToolBarArea, "Right"},
};

QMainWindow *mainWindowOf(QToolBar *toolBar) { return qobject_cast<QMainWindow *>(toolBar->parentWidget()); }

// Order of toolbars: by dock, then by row and place along the dock.
qint64 placeInDock(QMainWindow *window, QToolBar *toolBar)
{
    const Qt::ToolBarArea area = window->toolBarArea(toolBar);
    const QPoint p = toolBar->pos();
    const bool vertical = area == Qt::LeftToolBarArea || area == Qt::RightToolBarArea;
    const qint64 row = vertical ? p.x() : p.y();
    const qint64 along = vertical ? p.y() : p.x();
    return (qint64(area) << 40) + (row << 20) + along;
}

void saveToolBar(IniFile &ini, const QString &section, const QString &prefix, QToolBar *toolBar, int index)
{
    QMainWindow *window = mainWindowOf(toolBar);
    if (!window)
        return;
    QString dock = QStringLiteral("Floating");
    if (!toolBar->isFloating())
        for (const auto &[area, name] : kAreas)
            if (window->toolBarArea(toolBar) == area)
                dock = QString::fromLatin1(name);
    ini.WriteString(section, prefix + QStringLiteral("DockedTo"), dock);
    ini.WriteBool(section, prefix + QStringLiteral("Visible"), !toolBar->isHidden());
    if (index >= 0)
        ini.WriteInteger(section, prefix + QStringLiteral("Index"), index);
    if (toolBar->isFloating()) {
        ini.WriteInteger(section, prefix + QStringLiteral("Left"), toolBar->window()->x());
        ini.WriteInteger(section, prefix + QStringLiteral("Top"), toolBar->window()->y());
    }
}

// A floating toolbar cannot be made to float again through Qt's API; it keeps its designed dock.
void restoreToolBar(const IniFile &ini, const QString &section, const QString &prefix, QToolBar *toolBar)
{
    QMainWindow *window = mainWindowOf(toolBar);
    if (!window)
        return;
    const QString dock = ini.ReadString(section, prefix + QStringLiteral("DockedTo"), QString());
    for (const auto &[area, name] : kAreas)
        if (dock.compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
            window->addToolBar(area, toolBar);
    if (const std::optional<int> visible = readInt(ini, section, prefix + QStringLiteral("Visible")))
        toolBar->setVisible(*visible != 0);
}

void saveToolBars(QMainWindow *window, IniFile &ini, const QString &sectionPrefix)
{
    QList<QToolBar *> toolBars = window->findChildren<QToolBar *>(QString(), Qt::FindDirectChildrenOnly);
    std::sort(toolBars.begin(), toolBars.end(), [window](QToolBar *a, QToolBar *b) {
        return placeInDock(window, a) < placeInDock(window, b);
    });
    int index = 0;
    for (QToolBar *toolBar : toolBars)
        if (!toolBar->objectName().isEmpty())
            saveToolBar(ini, sectionPrefix + toolBar->objectName(), QString(), toolBar, index++);
}

void restoreToolBars(QMainWindow *window, const IniFile &ini, const QString &sectionPrefix)
{
    QList<std::pair<int, QToolBar *>> stored;
    for (QToolBar *toolBar : window->findChildren<QToolBar *>(QString(), Qt::FindDirectChildrenOnly)) {
        const QString section = sectionPrefix + toolBar->objectName();
        if (!toolBar->objectName().isEmpty() && ini.SectionExists(section))
            stored.append({readInt(ini, section, QStringLiteral("Index")).value_or(0), toolBar});
    }
    std::stable_sort(stored.begin(), stored.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    for (const auto &[index, toolBar] : stored)
        restoreToolBar(ini, sectionPrefix + toolBar->objectName(), QString(), toolBar);
}

// ---- panels ----

// Sets one dimension of a widget; inside a splitter through the splitter's sizes, taking the
// difference from the neighbour that follows (or precedes, for the last one).
void setDimension(QWidget *widget, Qt::Orientation orientation, int value)
{
    if (auto *splitter = qobject_cast<QSplitter *>(widget->parentWidget());
        splitter && splitter->orientation() == orientation) {
        QList<int> sizes = splitter->sizes();
        const int index = splitter->indexOf(widget);
        if (index >= 0 && sizes.size() > 1) {
            const int neighbour = index + 1 < sizes.size() ? index + 1 : index - 1;
            const int delta = value - sizes[index];
            sizes[index] = value;
            sizes[neighbour] = std::max(0, sizes[neighbour] - delta);
            splitter->setSizes(sizes);
            return;
        }
    }
    if (orientation == Qt::Vertical)
        widget->resize(widget->width(), value);
    else
        widget->resize(value, widget->height());
}

// ---- data grid columns ----

// Column order, widths and visibility of a grid: for each column in its order at the start
// (those whose IME name is "POMIN" skipped), "position,width" under "<grid>.<field>"; an empty
// value leaves the column, a position past the last column keeps its place, a negative width
// hides it. Throws IniError on a value that is not two integers; the columns handled before it
// keep their new layout.
void wczytajKolumnyDBGrid(widgets::DataGrid *grid, const IniFile &ini, const QString &sekcja)
{
    QHeaderView *header = grid->horizontalHeader();
    struct Updates {
        QHeaderView *header;
        bool enabled;
        ~Updates() { header->setUpdatesEnabled(enabled); }
    } const updates{header, header->updatesEnabled()};
    header->setUpdatesEnabled(false);
    const int count = header->count();
    QList<int> columns; // logical columns in their order at the start
    for (int visual = 0; visual < count; ++visual)
        columns << header->logicalIndex(visual);
    const auto &designed = grid->designedColumns();
    for (int logical : columns) {
        const QString field = grid->fieldOfColumn(logical);
        if (logical < designed.size() && designed[logical].imeName == QLatin1String("POMIN"))
            continue;
        const QString value = ini.ReadString(sekcja, grid->objectName() + QLatin1Char('.') + field, QString());
        if (value.isEmpty())
            continue;
        const qsizetype comma = value.indexOf(QLatin1Char(','));
        const int position = toInteger(comma < 0 ? QString() : value.left(comma));
        const int width = toInteger(comma < 0 ? QString() : value.mid(comma + 1));
        if (position < count)
            header->moveSection(header->visualIndex(logical), std::max(0, position));
        if (width < 0) {
            header->setSectionHidden(logical, true);
        } else {
            header->setSectionHidden(logical, false);
            header->resizeSection(logical, width);
        }
    }
}

} // namespace

// ---- parts ----

void LayoutStore::addProperty(const QString &name, Getter get, Setter set)
{
    m_parts.append({[this, name, get](IniFile &ini) { ini.WriteString(m_section, name, get()); },
                    [this, name, set](const IniFile &ini) {
                        if (ini.ValueExists(m_section, name))
                            set(ini.ReadString(m_section, name, QString()));
                    },
                    QString()});
}

void LayoutStore::addHeight(QWidget *widget, const QString &name)
{
    addDimension(widget, nameOf(widget, name) + QStringLiteral(".Height"), Qt::Vertical);
}

void LayoutStore::addWidth(QWidget *widget, const QString &name)
{
    addDimension(widget, nameOf(widget, name) + QStringLiteral(".Width"), Qt::Horizontal);
}

void LayoutStore::addDimension(QWidget *widget, const QString &key, Qt::Orientation orientation)
{
    QPointer<QWidget> w(widget);
    const auto dimension = [orientation](const QWidget *w) { return orientation == Qt::Vertical ? w->height() : w->width(); };
    m_parts.append({[this, w, key, dimension](IniFile &ini) {
                        if (w)
                            ini.WriteInteger(m_section, key, dimension(w));
                    },
                    [this, w, key, orientation](const IniFile &ini) {
                        const std::optional<int> value = readInt(ini, m_section, key);
                        if (w && value && *value >= 0)
                            setDimension(w, orientation, *value);
                    },
                    QString()});
}

void LayoutStore::addGeometry(QWidget *widget, const QString &name)
{
    QPointer<QWidget> w(widget);
    const QString prefix = nameOf(widget, name) + u'.';
    m_parts.append({[this, w, prefix](IniFile &ini) {
                        if (!w)
                            return;
                        ini.WriteInteger(m_section, prefix + QStringLiteral("Left"), w->x());
                        ini.WriteInteger(m_section, prefix + QStringLiteral("Top"), w->y());
                        ini.WriteInteger(m_section, prefix + QStringLiteral("Width"), w->width());
                        ini.WriteInteger(m_section, prefix + QStringLiteral("Height"), w->height());
                    },
                    [this, w, prefix](const IniFile &ini) {
                        if (!w)
                            return;
                        const auto left = readInt(ini, m_section, prefix + QStringLiteral("Left"));
                        const auto top = readInt(ini, m_section, prefix + QStringLiteral("Top"));
                        const auto width = readInt(ini, m_section, prefix + QStringLiteral("Width"));
                        const auto height = readInt(ini, m_section, prefix + QStringLiteral("Height"));
                        if (left && top)
                            w->move(*left, *top);
                        if (width && height && *width > 0 && *height > 0)
                            w->resize(*width, *height);
                        if (left && top)
                            keepFramePosition(w);
                    },
                    QString()});
}

void LayoutStore::addSplitter(QSplitter *splitter, const QString &name)
{
    QPointer<QSplitter> s(splitter);
    const QString key = nameOf(splitter, name) + QStringLiteral(".Sizes");
    m_parts.append({[this, s, key](IniFile &ini) {
                        if (s)
                            ini.WriteString(m_section, key, joined(s->sizes()));
                    },
                    [this, s, key](const IniFile &ini) {
                        const auto sizes = integerList(ini.ReadString(m_section, key, QString()));
                        if (s && sizes && sizes->size() == s->count()
                            && std::all_of(sizes->begin(), sizes->end(), [](int v) { return v >= 0; }))
                            s->setSizes(*sizes);
                    },
                    QString()});
}

void LayoutStore::addToolBar(QToolBar *toolBar, const QString &name)
{
    QPointer<QToolBar> t(toolBar);
    const QString prefix = nameOf(toolBar, name) + u'.';
    m_parts.append({[this, t, prefix](IniFile &ini) {
                        if (t)
                            saveToolBar(ini, m_section, prefix, t, -1);
                    },
                    [this, t, prefix](const IniFile &ini) {
                        if (t)
                            restoreToolBar(ini, m_section, prefix, t);
                    },
                    QString()});
}

void LayoutStore::addHeader(QHeaderView *header, const QString &name)
{
    QPointer<QHeaderView> h(header);
    const QString key = name + QStringLiteral(".Columns");
    m_parts.append(
        {[this, h, key](IniFile &ini) {
             if (!h)
                 return;
             QStringList items;
             for (int visual = 0; visual < h->count(); ++visual) {
                 const int logical = h->logicalIndex(visual);
                 const int width = h->isSectionHidden(logical) ? -1 : h->sectionSize(logical);
                 items.append(QStringLiteral("%1:%2").arg(logical).arg(width));
             }
             ini.WriteString(m_section, key, items.join(u','));
         },
         [this, h, key](const IniFile &ini) {
             if (!h)
                 return;
             const QStringList items = ini.ReadString(m_section, key, QString()).split(u',', Qt::SkipEmptyParts);
             if (items.size() != h->count())
                 return; // the columns changed since they were stored
             QList<std::pair<int, int>> columns;
             for (const QString &item : items) {
                 const QStringList parts = item.split(u':');
                 const auto logical = parts.size() == 2 ? parseInteger(parts[0].trimmed()) : std::nullopt;
                 const auto width = parts.size() == 2 ? parseInteger(parts[1].trimmed()) : std::nullopt;
                 if (!logical || !width || *logical < 0 || *logical >= h->count())
                     return;
                 columns.append({*logical, *width});
             }
             for (int visual = 0; visual < columns.size(); ++visual) {
                 const auto [logical, width] = columns[visual];
                 h->moveSection(h->visualIndex(logical), visual);
                 h->setSectionHidden(logical, width < 0);
                 if (width >= 0)
                     h->resizeSection(logical, width);
             }
         },
         QString()});
}

void LayoutStore::addToolBars(QMainWindow *window, const QString &sectionPrefix)
{
    QPointer<QMainWindow> w(window);
    m_parts.append({[w, sectionPrefix](IniFile &ini) {
                        if (w)
                            saveToolBars(w, ini, sectionPrefix);
                    },
                    [w, sectionPrefix](const IniFile &ini) {
                        if (w)
                            restoreToolBars(w, ini, sectionPrefix);
                    },
                    QString()});
}

void LayoutStore::addGridColumns(widgets::DataGrid *grid, const QString &section)
{
    QPointer<widgets::DataGrid> g(grid);
    m_parts.append({[](IniFile &) {},
                    [g, section](const IniFile &ini) {
                        if (g)
                            wczytajKolumnyDBGrid(g, ini, section);
                    },
                    kCaptionGrid});
}

} // namespace katarix::app
