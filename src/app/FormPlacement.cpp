#include "app/FormPlacement.h"

#include "app/IniFile.h"
#include "app/Interaction.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QMainWindow>
#include <QEvent>
#include <QMdiSubWindow>
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

} // namespace

// Applies the placement again once the form has been put into an MDI sub-window and that is
// first shown (after the MDI area has placed it).
class PlacementWatcher : public QObject {
public:
    explicit PlacementWatcher(const FormPlacement &owner) : m_owner(owner) {}
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::ParentChange && watched == m_owner.m_form) {
            auto *sub = qobject_cast<QMdiSubWindow *>(m_owner.m_form->parentWidget());
            if (sub && sub != m_owner.m_subWindow) {
                m_owner.m_subWindow = sub;
                m_pending = true;
                sub->installEventFilter(this);
            }
        } else if (event->type() == QEvent::Show && m_pending && watched == m_owner.m_subWindow) {
            m_pending = false;
            if (!m_owner.m_iniFileName.isEmpty())
                m_owner.restorePlacement(IniFile(m_owner.m_iniFileName));
        }
        return false;
    }

private:
    const FormPlacement &m_owner;
    bool m_pending = false;
};

FormPlacement::FormPlacement(QWidget *form, const QString &section) : m_form(form), m_section(section) {}

FormPlacement::~FormPlacement() = default;

QWidget *FormPlacement::window() const
{
    if (!m_form)
        return nullptr;
    // While a sub-window is being destroyed its type is no longer known, so the one seen before
    // is recognised by identity.
    if (m_subWindow && m_form->parentWidget() == m_subWindow)
        return m_subWindow;
    if (auto *sub = qobject_cast<QMdiSubWindow *>(m_form->parentWidget()))
        return m_subWindow = sub;
    return m_form;
}

void FormPlacement::addProperty(const QString &name, Getter get, Setter set)
{
    m_properties.append({[name, get](IniFile &ini, const QString &section) { ini.WriteString(section, name, get()); },
                         [name, set](const IniFile &ini, const QString &section) {
                             if (ini.ValueExists(section, name))
                                 set(ini.ReadString(section, name, QString()));
                         }});
}

namespace {

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

} // namespace

void FormPlacement::addHeight(QWidget *widget, const QString &name)
{
    QPointer<QWidget> w(widget);
    const QString key = nameOf(widget, name) + QStringLiteral(".Height");
    m_properties.append({[w, key](IniFile &ini, const QString &section) {
                             if (w)
                                 ini.WriteInteger(section, key, w->height());
                         },
                         [w, key](const IniFile &ini, const QString &section) {
                             const std::optional<int> value = readInt(ini, section, key);
                             if (w && value && *value >= 0)
                                 setDimension(w, Qt::Vertical, *value);
                         }});
}

void FormPlacement::addWidth(QWidget *widget, const QString &name)
{
    QPointer<QWidget> w(widget);
    const QString key = nameOf(widget, name) + QStringLiteral(".Width");
    m_properties.append({[w, key](IniFile &ini, const QString &section) {
                             if (w)
                                 ini.WriteInteger(section, key, w->width());
                         },
                         [w, key](const IniFile &ini, const QString &section) {
                             const std::optional<int> value = readInt(ini, section, key);
                             if (w && value && *value >= 0)
                                 setDimension(w, Qt::Horizontal, *value);
                         }});
}

void FormPlacement::addGeometry(QWidget *widget, const QString &name)
{
    QPointer<QWidget> w(widget);
    const QString prefix = nameOf(widget, name) + u'.';
    m_properties.append({[w, prefix](IniFile &ini, const QString &section) {
                             if (!w)
                                 return;
                             ini.WriteInteger(section, prefix + QStringLiteral("Left"), w->x());
                             ini.WriteInteger(section, prefix + QStringLiteral("Top"), w->y());
                             ini.WriteInteger(section, prefix + QStringLiteral("Width"), w->width());
                             ini.WriteInteger(section, prefix + QStringLiteral("Height"), w->height());
                         },
                         [w, prefix](const IniFile &ini, const QString &section) {
                             if (!w)
                                 return;
                             const auto left = readInt(ini, section, prefix + QStringLiteral("Left"));
                             const auto top = readInt(ini, section, prefix + QStringLiteral("Top"));
                             const auto width = readInt(ini, section, prefix + QStringLiteral("Width"));
                             const auto height = readInt(ini, section, prefix + QStringLiteral("Height"));
                             if (left && top)
                                 w->move(*left, *top);
                             if (width && height && *width > 0 && *height > 0)
                                 w->resize(*width, *height);
                         }});
}

void FormPlacement::addSplitter(QSplitter *splitter, const QString &name)
{
    QPointer<QSplitter> s(splitter);
    const QString key = nameOf(splitter, name) + QStringLiteral(".Sizes");
    m_properties.append({[s, key](IniFile &ini, const QString &section) {
                             if (s)
                                 ini.WriteString(section, key, joined(s->sizes()));
                         },
                         [s, key](const IniFile &ini, const QString &section) {
                             const auto sizes = integerList(ini.ReadString(section, key, QString()));
                             if (s && sizes && sizes->size() == s->count() &&
                                 std::all_of(sizes->begin(), sizes->end(), [](int v) { return v >= 0; }))
                                 s->setSizes(*sizes);
                         }});
}

void FormPlacement::addToolBar(QToolBar *toolBar, const QString &name)
{
    QPointer<QToolBar> t(toolBar);
    const QString prefix = nameOf(toolBar, name) + u'.';
    m_properties.append({[t, prefix](IniFile &ini, const QString &section) {
                             if (t)
                                 saveToolBar(ini, section, prefix, t, -1);
                         },
                         [t, prefix](const IniFile &ini, const QString &section) {
                             if (t)
                                 restoreToolBar(ini, section, prefix, t);
                         }});
}

void FormPlacement::addHeader(QHeaderView *header, const QString &name)
{
    QPointer<QHeaderView> h(header);
    const QString key = name + QStringLiteral(".Columns");
    m_properties.append(
        {[h, key](IniFile &ini, const QString &section) {
             if (!h)
                 return;
             QStringList items;
             for (int visual = 0; visual < h->count(); ++visual) {
                 const int logical = h->logicalIndex(visual);
                 const int width = h->isSectionHidden(logical) ? -1 : h->sectionSize(logical);
                 items.append(QStringLiteral("%1:%2").arg(logical).arg(width));
             }
             ini.WriteString(section, key, items.join(u','));
         },
         [h, key](const IniFile &ini, const QString &section) {
             if (!h)
                 return;
             const QStringList items = ini.ReadString(section, key, QString()).split(u',', Qt::SkipEmptyParts);
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
         }});
}

void FormPlacement::restorePlacement(const IniFile &ini) const
{
    QWidget *w = window();
    if (!w || !m_storePlacement)
        return;
    const auto left = readInt(ini, m_section, QStringLiteral("Left"));
    const auto top = readInt(ini, m_section, QStringLiteral("Top"));
    const auto width = readInt(ini, m_section, QStringLiteral("Width"));
    const auto height = readInt(ini, m_section, QStringLiteral("Height"));
    if (left && top)
        w->move(*left, *top);
    if (width && height && *width > 0 && *height > 0)
        w->resize(*width, *height);
    if (const auto state = readInt(ini, m_section, QStringLiteral("State"))) {
        Qt::WindowStates states = w->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
        if (*state == 1)
            states |= Qt::WindowMinimized;
        else if (*state == 2)
            states |= Qt::WindowMaximized;
        w->setWindowState(states);
    }
}

void FormPlacement::restore(const IniFile &ini) const
{
    if (m_form && !m_watcher && window() == m_form.data()) {
        m_watcher = std::make_shared<PlacementWatcher>(*this);
        m_form->installEventFilter(m_watcher.get());
    }
    restorePlacement(ini);
    for (const Property &property : m_properties)
        property.restore(ini, m_section);
}

void FormPlacement::savePlacement(IniFile &ini) const
{
    QWidget *w = window();
    if (!w || !m_storePlacement)
        return;
    const Qt::WindowStates states = w->windowState();
    const int state = states & Qt::WindowMinimized ? 1 : states & Qt::WindowMaximized ? 2 : 0;
    // A maximised top-level window keeps its normal geometry; a child has none to report.
    const bool normal = state == 0;
    if (normal || w->isWindow()) {
        const QRect r = normal ? QRect(w->pos(), w->size()) : w->normalGeometry();
        if (r.isValid()) {
            ini.WriteInteger(m_section, QStringLiteral("Left"), r.x());
            ini.WriteInteger(m_section, QStringLiteral("Top"), r.y());
            ini.WriteInteger(m_section, QStringLiteral("Width"), r.width());
            ini.WriteInteger(m_section, QStringLiteral("Height"), r.height());
        }
    }
    ini.WriteInteger(m_section, QStringLiteral("State"), state);
}

void FormPlacement::save(IniFile &ini) const
{
    // The file is written once for all the values.
    ZapiszRazem(ini, [&] {
        savePlacement(ini);
        for (const Property &property : m_properties)
            property.save(ini, m_section);
    });
}

void FormPlacement::restore() const
{
    if (m_iniFileName.isEmpty())
        return;
    restore(IniFile(m_iniFileName));
}

void FormPlacement::save() const
{
    if (m_iniFileName.isEmpty())
        return;
    IniFile ini(m_iniFileName);
    save(ini);
}

void FormPlacement::saveOrReport() const
{
    try {
        save();
    } catch (const IniError &error) {
        interaction().messageBox(m_form, error.message(), QGuiApplication::applicationDisplayName(),
                                 mb::Ok | mb::IconError);
    }
}

void saveToolBarPositions(QMainWindow *window, IniFile &ini, const QString &sectionPrefix)
{
    QList<QToolBar *> toolBars = window->findChildren<QToolBar *>(QString(), Qt::FindDirectChildrenOnly);
    std::sort(toolBars.begin(), toolBars.end(), [window](QToolBar *a, QToolBar *b) {
        return placeInDock(window, a) < placeInDock(window, b);
    });
    int index = 0;
    ZapiszRazem(ini, [&] {
        for (QToolBar *toolBar : toolBars)
            if (!toolBar->objectName().isEmpty())
                saveToolBar(ini, sectionPrefix + toolBar->objectName(), QString(), toolBar, index++);
    });
}

void restoreToolBarPositions(QMainWindow *window, const IniFile &ini, const QString &sectionPrefix)
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

} // namespace katarix::app
