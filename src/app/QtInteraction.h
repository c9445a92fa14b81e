#pragma once

#include "app/Interaction.h"

class QMessageBox;

namespace katarix::app {

// The Interaction the program runs with: Qt dialogs, the desktop's programs.
class QtInteraction : public Interaction {
public:
    int messageBox(QWidget *parent, const QString &text, const QString &caption, int flags) override;
    void beep() override;
    QString openFileName(QWidget *parent, const FileDialogRequest &request) override;
    QString saveFileName(QWidget *parent, const FileDialogRequest &request) override;
    QString folder(QWidget *parent, const QString &title, const QString &initialFolder) override;
    std::optional<QColor> color(QWidget *parent, const QColor &initial) override;
    std::optional<QString> password(QWidget *parent, const QString &databasePath) override;
    QSize screenSize() override;
    EditorLaunch launchEditor(const QString &program, const QString &document) override;
    std::unique_ptr<ProgressDialog> progress(QWidget *parent, const QString &caption, const QString &text) override;
};

// How long an action runs before QtInteraction shows its progress dialog.
inline constexpr int ProgressDelayMs = 1000;

// A message box built from Windows MB_ flags: buttons (low nibble), icon (16/32/48/64),
// default button (0x100, 0x200). Not shown yet.
QMessageBox *createMessageBox(QWidget *parent, const QString &text, const QString &caption, int flags);
// The Windows answer (mb::Id*) for the button the person pressed in a box of createMessageBox;
// a box closed without a button answers as its escape button would.
int messageBoxAnswer(const QMessageBox &box);

// "Opis [*.ext]|*.ext|Wszystkie pliki [*.*]|*.*" -> Qt's "Opis [*.ext] (*.ext);;..." list.
// "*.*" matches every file, as it does on Windows.
QStringList qtFileFilters(const QString &windowsFilter);

} // namespace katarix::app
