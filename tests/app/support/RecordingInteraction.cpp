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

class RecordingProgress : public app::ProgressDialog {
public:
    RecordingProgress(RecordingInteraction &owner, size_t index) : m_owner(owner), m_index(index) {}
    ~RecordingProgress() override { record().closed = true; }
    void update(const QString &detail, qint64 done, qint64 total) override
    {
        const RecordingInteraction::ProgressUpdate update{detail, done, total};
        record().updates.push_back(update);
        if (m_owner.cancelWhen && m_owner.cancelWhen(update))
            record().cancelled = true;
    }
    bool cancelled() override { return record().cancelled; }

private:
    RecordingInteraction::Progress &record() { return m_owner.progresses[m_index]; }
    RecordingInteraction &m_owner;
    size_t m_index;
};

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

std::unique_ptr<app::ProgressDialog> RecordingInteraction::progress(QWidget *, const QString &caption,
                                                                    const QString &text)
{
    calls << QStringLiteral("progress");
    progresses.push_back({caption, text, {}, false, false});
    return std::make_unique<RecordingProgress>(*this, progresses.size() - 1);
}

} // namespace katarix::test
