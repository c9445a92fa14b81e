#pragma once

#include <QList>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class QHeaderView;
class QMainWindow;
class QSplitter;
class QToolBar;

namespace katarix::widgets {
class DataGrid;
}

namespace katarix::app {

class IniFile;

// The one place where a window's layout is kept in the configuration file: a store per window,
// holding the window's own placement and the parts added to it, in the window's section.
//
// Timing: restore() reads the file where the window decides (its constructor, or its first
// showing); save() writes it; the store's destructor writes once more if it has read and not
// written since. Nothing is read or written before the file name is set, and nothing is written
// for a window whose layout was never read. A window inside a QMdiSubWindow is placed through
// the sub-window; when the placement was applied to the window before it was put into one, it
// is applied to the sub-window again when that is first shown (after the MDI area placed it).
//
// The window's own placement takes one of the forms that existing files hold:
//   Pos, Size, PosSize  "Pos" = left,top, "Size" = height,width, or both. The left is cut to
//                 the screen width - 400 and the top to its height - 200. A value that is not
//                 two integers is reported (kCaptionPosSize) and what was applied before it
//                 stays; a failed write is reported with the same caption.
//   Bounds        Left, Top, Width, Height and State (0 normal, 1 minimised, 2 maximised; a
//                 maximised or minimised top-level window keeps its place in the normal state).
//                 Malformed values are skipped; a failed write is reported with the application
//                 title.
// Positions are a top-level window's frame (keepFramePosition), sizes its client area; a top-level
// window comes back where it was left, also when its native window exists before it is shown.
//   None          the parts only (a failed write as for Bounds).
// Parts; <name> defaults to the object name; keys in the window's section unless told:
//   <name>.Left/.Top/.Width/.Height   a child or tool window (addGeometry)
//   <name>.Height, <name>.Width       one dimension of a panel (addHeight, addWidth)
//   <name>.Sizes                      splitter sizes, "120,340" (addSplitter)
//   <name>.DockedTo, <name>.Visible   a toolbar's dock (Top, Bottom, Left, Right or Floating),
//   <name>.Left, <name>.Top           its visibility and floating position (addToolBar)
//   <name>.Columns                    header columns in visual order, "logical:width" items, a
//                                     negative width for a hidden column (addHeader)
//   <name>                            anything else (addProperty)
//   sections <prefix><toolbar>        every named toolbar of a main window, one section each:
//                                     DockedTo, Visible, Index (order along the docks), Left,
//                                     Top (addToolBars)
//   "<grid>.<field>" in a section     a data grid's column as "position,width", a negative
//   of its own                        width hiding it; read only (written by hand or another
//                                     tool); a malformed value is reported (kCaptionGrid) and
//                                     the columns handled before it keep their layout
//                                     (addGridColumns)
// Missing values leave the design.
class LayoutStore {
public:
    enum class Placement { None, Pos, Size, PosSize, Bounds };
    using Getter = std::function<QString()>;
    using Setter = std::function<void(const QString &)>;

    static const QString kCaptionPosSize;
    static const QString kCaptionGrid;

    explicit LayoutStore(QWidget *form = nullptr, const QString &section = QString(),
                         Placement placement = Placement::Bounds);
    ~LayoutStore();
    LayoutStore(const LayoutStore &) = delete;
    LayoutStore &operator=(const LayoutStore &) = delete;

    void setForm(QWidget *form);
    void setSection(const QString &section) { m_section = section; }
    const QString &section() const { return m_section; }
    void setIniFileName(const QString &path) { m_iniFileName = path; }
    const QString &iniFileName() const { return m_iniFileName; }

    void addProperty(const QString &name, Getter get, Setter set);
    void addHeight(QWidget *widget, const QString &name = QString());
    void addWidth(QWidget *widget, const QString &name = QString());
    void addGeometry(QWidget *widget, const QString &name = QString());
    void addSplitter(QSplitter *splitter, const QString &name = QString());
    void addToolBar(QToolBar *toolBar, const QString &name = QString());
    void addHeader(QHeaderView *header, const QString &name);
    void addToolBars(QMainWindow *window, const QString &sectionPrefix);
    void addGridColumns(widgets::DataGrid *grid, const QString &section);

    // Reads the placement and every part; malformed values are reported as told above.
    void restore();
    // Writes the placement and every part; throws IniError when the file cannot be written.
    void save();
    // save(), showing a failed write in an error box (the caption of the placement's form).
    void saveOrReport();

    // Whether the file keeps a position of the window, or a value under key in its section.
    bool hasStoredPlacement() const;
    bool hasStoredValue(const QString &key) const;

private:
    struct Part {
        std::function<void(IniFile &)> save;
        std::function<void(const IniFile &)> restore; // throws IniError on a value it reports
        QString errorCaption;                         // the caption of that report
    };
    friend class LayoutWatcher;
    void addDimension(QWidget *widget, const QString &key, Qt::Orientation orientation);
    QWidget *window() const;
    void restorePlacement(const IniFile &ini, bool reportErrors) const;
    void noteNormalPlace();
    void savePlacement(IniFile &ini) const;
    void report(const QString &message, const QString &caption) const;
    QString saveErrorCaption() const;

    QPointer<QWidget> m_form;
    mutable QPointer<QWidget> m_subWindow; // the MDI sub-window holding the form, once seen
    std::unique_ptr<QObject> m_watcher;
    QString m_section;
    QString m_iniFileName;
    Placement m_placement;
    QList<Part> m_parts;
    bool m_restored = false;    // read since the form was set
    bool m_written = true;      // nothing to write until read
    bool m_reapplyInSubWindow = false;
    // A top-level window's frame position and client size when it was last placed or seen in
    // the normal state.
    mutable std::optional<QRect> m_normalPlace;
};

// Makes a top-level window that is not shown yet (or is being shown) come up with its frame at
// its position (pos()), also when its native window exists before it is mapped; call it after
// the window was moved and resized. Does nothing for a child or a mapped window.
void keepFramePosition(QWidget *widget);

} // namespace katarix::app
