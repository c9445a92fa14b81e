#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include <memory>

namespace katarix::app {

class IniFile;

// Keeps a window's position ("Pos" = left,top) and size ("Size" = height,width) in a section of
// the configuration file. Held by value in the window it serves; Init from the window's
// constructor reads the values, the destructor writes them. Position limits come from the screen
// size of the Interaction seam: left at most width - 400, top at most height - 200. A malformed
// value or an unwritable file shows an error box ("Błąd podczas zapisywania ustawień kontrolki do
// pliku ini") and leaves the window with what was applied before the error.
// A window shown inside a QMdiSubWindow is placed through that sub-window: when the window is
// put into one after Init (the usual order for MDI children), the stored values are applied to
// the sub-window then (without a second error box), and the sub-window's values are saved.
class TIniSave {
public:
    TIniSave() = default;
    ~TIniSave();
    TIniSave(const TIniSave &) = delete;
    TIniSave &operator=(const TIniSave &) = delete;

    void Setup(QWidget *control, const QString &iniPath, bool saveSize, bool savePos, const QString &section);
    void Init(QWidget *control, const QString &iniPath, bool saveSize, bool savePos, const QString &section);
    void Load();
    void Save();

    static QString errorCaption();

private:
    friend class IniSaveWatcher;
    QWidget *target();
    void load(bool reportErrors);
    void report(const QString &message) const;

    QPointer<QWidget> control;
    IniFile *ini = nullptr; // open only inside Load and Save
    QString iniPath;
    QString section;
    bool savePos = false;
    bool saveSize = false;
    QPointer<QWidget> subWindow;             // the MDI sub-window holding control, once seen
    std::unique_ptr<QObject> watcher;        // follows control into a sub-window
};

} // namespace katarix::app
