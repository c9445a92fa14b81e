#include "RecordingInteraction.h"

namespace katarix::test {

namespace {

template <typename T>
std::optional<T> takeFront(std::deque<T> &queue)
{
    if (queue.empty())
        return std::nullopt;
    T value = std::move(queue.front());
    queue.pop_front();
    return value;
}

int firstButton(int flags)
{
    switch (flags & 0x0F) {
    case app::mb::YesNoCancel:
    case app::mb::YesNo: return app::mb::IdYes;
    case 2: return 3; // Abort
    case 5: return 4; // Retry
    default: return app::mb::IdOk;
    }
}

} // namespace

RecordingInteraction::RecordingInteraction()
{
    app::setInteraction(this);
}

RecordingInteraction::~RecordingInteraction()
{
    app::setInteraction(nullptr);
}

int RecordingInteraction::messageBox(QWidget *, const QString &text, const QString &caption, int flags)
{
    calls << QStringLiteral("messageBox");
    messages.push_back({text, caption, flags});
    return takeFront(messageAnswers).value_or(firstButton(flags));
}

void RecordingInteraction::beep()
{
    calls << QStringLiteral("beep");
    ++beeps;
}

QString RecordingInteraction::openFileName(QWidget *, const app::FileDialogRequest &request)
{
    calls << QStringLiteral("openFileName");
    fileDialogs.push_back({false, request});
    return takeFront(fileAnswers).value_or(QString());
}

QString RecordingInteraction::saveFileName(QWidget *, const app::FileDialogRequest &request)
{
    calls << QStringLiteral("saveFileName");
    fileDialogs.push_back({true, request});
    return takeFront(fileAnswers).value_or(QString());
}

QString RecordingInteraction::folder(QWidget *, const QString &title, const QString &initialFolder)
{
    calls << QStringLiteral("folder");
    folderRequests.emplace_back(title, initialFolder);
    return takeFront(folderAnswers).value_or(QString());
}

std::optional<QColor> RecordingInteraction::color(QWidget *, const QColor &initial)
{
    calls << QStringLiteral("color");
    colorRequests.push_back(initial);
    return takeFront(colorAnswers).value_or(std::nullopt);
}

std::optional<QString> RecordingInteraction::password(QWidget *, const QString &databasePath)
{
    calls << QStringLiteral("password");
    passwordRequests << databasePath;
    return takeFront(passwordAnswers).value_or(std::nullopt);
}

QSize RecordingInteraction::screenSize()
{
    calls << QStringLiteral("screenSize");
    return screen;
}

app::EditorLaunch RecordingInteraction::launchEditor(const QString &program, const QString &document)
{
    calls << QStringLiteral("launchEditor");
    editorLaunches.push_back({program, document});
    return takeFront(editorAnswers).value_or(app::EditorLaunch::Started);
}

} // namespace katarix::test
