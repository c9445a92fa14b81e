#pragma once

#include <QList>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>

class QHeaderView;
class QMainWindow;
class QSplitter;
class QToolBar;

namespace katarix::app {

class IniFile;

// Form placement storage: keeps a window's placement and a list of stored properties in one
// section of the configuration file. Keys:
//   Left, Top, Width, Height, State   the window (State: 0 normal, 1 minimised, 2 maximised;
//                                      the normal geometry is kept for a maximised window)
//   <name>.Left/.Top/.Width/.Height    a child or tool window (addGeometry)
//   <name>.Height, <name>.Width        one dimension of a panel (addHeight, addWidth)
//   <name>.Sizes                       splitter sizes, "120,340" (addSplitter)
//   <name>.DockedTo                    toolbar dock: Top, Bottom, Left, Right or Floating,
//   <name>.Visible, <name>.Left/.Top   with visibility and floating position (addToolBar)
//   <name>.Columns                     grid columns in visual order, "logical:width" items,
//                                      a negative width for a hidden column (addHeader)
//   <name>                             anything else (addProperty)
// <name> defaults to the object name. Restoring skips missing and malformed values (the design
// stays); nothing is read or written until the INI file name is set. A window inside a
// QMdiSubWindow is placed through that sub-window; restored before it is put into one (from the
// window's constructor), the placement is applied to the sub-window when that is first shown.
class FormPlacement {
public:
    using Getter = std::function<QString()>;
    using Setter = std::function<void(const QString &)>;

    explicit FormPlacement(QWidget *form = nullptr, const QString &section = QString());
    ~FormPlacement();
    FormPlacement(const FormPlacement &) = delete;
    FormPlacement &operator=(const FormPlacement &) = delete;

    void setForm(QWidget *form) { m_form = form; }
    void setSection(const QString &section) { m_section = section; }
    const QString &section() const { return m_section; }
    void setIniFileName(const QString &path) { m_iniFileName = path; }
    const QString &iniFileName() const { return m_iniFileName; }
    void setStorePlacement(bool store) { m_storePlacement = store; }

    void addProperty(const QString &name, Getter get, Setter set);
    void addHeight(QWidget *widget, const QString &name = QString());
    void addWidth(QWidget *widget, const QString &name = QString());
    void addGeometry(QWidget *widget, const QString &name = QString());
    void addSplitter(QSplitter *splitter, const QString &name = QString());
    void addToolBar(QToolBar *toolBar, const QString &name = QString());
    void addHeader(QHeaderView *header, const QString &name);

    void restore(const IniFile &ini) const;
    void save(IniFile &ini) const; // throws IniError
    // With the INI file name set: restore() reads it (a missing file changes nothing); save()
    // writes it and throws IniError; saveOrReport() shows that error in an error box with the
    // application title as caption.
    void restore() const;
    void save() const;
    void saveOrReport() const;

private:
    struct Property {
        std::function<void(IniFile &, const QString &section)> save;
        std::function<void(const IniFile &, const QString &section)> restore;
    };
    friend class PlacementWatcher;
    QWidget *window() const;
    void restorePlacement(const IniFile &ini) const;
    void savePlacement(IniFile &ini) const;

    QPointer<QWidget> m_form;
    mutable QPointer<QWidget> m_subWindow;
    mutable std::shared_ptr<QObject> m_watcher;
    QString m_section;
    QString m_iniFileName;
    bool m_storePlacement = true;
    QList<Property> m_properties;
};

// Docking places of every named toolbar of a main window, one section per toolbar: the prefix
// followed by the toolbar's object name (keys DockedTo, Visible, Left, Top as above).
void saveToolBarPositions(QMainWindow *window, IniFile &ini, const QString &sectionPrefix); // throws IniError
void restoreToolBarPositions(QMainWindow *window, const IniFile &ini, const QString &sectionPrefix);

} // namespace katarix::app
