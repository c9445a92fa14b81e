#pragma once

#include "app/Interaction.h"

#include <QColor>
#include <QSize>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

namespace katarix::test {

// An Interaction that records every call and answers from queues. It installs itself while it
// lives. With an empty queue a message box answers its first button, file and folder dialogs
// and the password prompt are cancelled, the colour dialog is cancelled and the editor starts;
// a progress dialog records its updates and answers "Anuluj" once cancelWhen says so.
class RecordingInteraction : public app::Interaction {
public:
    struct Message {
        QString text;
        QString caption;
        int flags = 0;
    };
    struct FileDialog {
        bool save = false;
        app::FileDialogRequest request;
    };
    struct Editor {
        QString program;
        QString document;
    };
    struct ProgressUpdate {
        QString detail;
        qint64 done = 0;
        qint64 total = 0;
    };
    struct Progress {
        QString caption;
        QString text;
        std::vector<ProgressUpdate> updates;
        bool cancelled = false; // "Anuluj" was answered
        bool closed = false;    // the dialog's object was destroyed
    };

    RecordingInteraction();
    ~RecordingInteraction() override;

    int messageBox(QWidget *parent, const QString &text, const QString &caption, int flags) override;
    void beep() override;
    QString openFileName(QWidget *parent, const app::FileDialogRequest &request) override;
    QString saveFileName(QWidget *parent, const app::FileDialogRequest &request) override;
    QString folder(QWidget *parent, const QString &title, const QString &initialFolder) override;
    std::optional<QColor> color(QWidget *parent, const QColor &initial) override;
    std::optional<QString> password(QWidget *parent, const QString &databasePath) override;
    QSize screenSize() override;
    app::EditorLaunch launchEditor(const QString &program, const QString &document) override;
    std::unique_ptr<app::ProgressDialog> progress(QWidget *parent, const QString &caption,
                                                  const QString &text) override;

    // Every call in order: "messageBox", "beep", "openFileName", "saveFileName", "folder",
    // "color", "password", "screenSize", "launchEditor", "progress".
    QStringList calls;
    std::vector<Message> messages;
    int beeps = 0;
    std::vector<FileDialog> fileDialogs;
    std::vector<std::pair<QString, QString>> folderRequests; // title, initial folder
    std::vector<QColor> colorRequests;                        // initial colours
    QStringList passwordRequests;                             // database paths
    std::vector<Editor> editorLaunches;
    std::vector<Progress> progresses;

    std::deque<int> messageAnswers;
    std::deque<QString> fileAnswers; // open and save dialogs
    std::deque<QString> folderAnswers;
    std::deque<std::optional<QColor>> colorAnswers;
    std::deque<std::optional<QString>> passwordAnswers;
    std::deque<app::EditorLaunch> editorAnswers;
    QSize screen{1280, 1024};
    // "Anuluj" is pressed from the first update of a progress dialog for which this is true.
    std::function<bool(const ProgressUpdate &)> cancelWhen;
};

} // namespace katarix::test
