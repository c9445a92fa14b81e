#pragma once

#include <QColor>
#include <QSize>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

class QWidget;

namespace katarix::app {

// Message-box flags and answers in the Windows values the program's texts are given in.
namespace mb {
constexpr int Ok = 0, OkCancel = 1, YesNoCancel = 3, YesNo = 4;
constexpr int IconError = 16, IconQuestion = 32, IconWarning = 48, IconInformation = 64;
constexpr int IdOk = 1, IdCancel = 2, IdYes = 6, IdNo = 7;
} // namespace mb

struct FileDialogRequest {
    QString title;
    QString filter;           // "Opis [*.ext]|*.ext|Wszystkie pliki [*.*]|*.*"
    int filterIndex = 1;      // 1-based
    QString defaultExtension; // "mdb", "csv"
    QString initialFolder;
    QString fileName;
};

// LibraryMissing: the program could not start because a shared library it needs is missing
// (the loader's exit status 127).
enum class EditorLaunch { Started, ProgramNotFound, DocumentNotFound, AccessDenied, OtherError, LibraryMissing };

// The progress dialog of a long action, from its start to its end (the object's life): the
// implementation shows it only once the action has run for a second, with the action's text, a
// line of what is done, a bar (done of total; a busy bar while total is 0) and "Anuluj". Each
// update keeps the program's windows painted; "Anuluj" is answered by cancelled().
class ProgressDialog {
public:
    virtual ~ProgressDialog() = default;
    virtual void update(const QString &detail, qint64 done, qint64 total) = 0;
    virtual bool cancelled() = 0;
};

// Everything that stops the program for a person. The program uses the Qt implementation;
// tests install their own and assert on what was asked and answer it.
class Interaction {
public:
    virtual ~Interaction() = default;

    // Returns one of mb::Id*. flags combine buttons and icon.
    virtual int messageBox(QWidget *parent, const QString &text, const QString &caption, int flags) = 0;
    virtual void beep() = 0;
    virtual QString openFileName(QWidget *parent, const FileDialogRequest &request) = 0; // "" = cancelled
    virtual QString saveFileName(QWidget *parent, const FileDialogRequest &request) = 0; // "" = cancelled
    virtual QString folder(QWidget *parent, const QString &title, const QString &initialFolder) = 0;
    virtual std::optional<QColor> color(QWidget *parent, const QColor &initial) = 0;
    // Database password for a file; nullopt = cancelled.
    virtual std::optional<QString> password(QWidget *parent, const QString &databasePath) = 0;
    virtual QSize screenSize() = 0;
    // Starts program (or, when program is empty, the desktop's associated program) on document.
    virtual EditorLaunch launchEditor(const QString &program, const QString &document) = 0;
    // A progress dialog for an action that starts now; text says what the action does.
    virtual std::unique_ptr<ProgressDialog> progress(QWidget *parent, const QString &caption, const QString &text) = 0;
};

Interaction &interaction();
// Installs an implementation (not owned); nullptr restores the Qt one.
void setInteraction(Interaction *implementation);

} // namespace katarix::app
