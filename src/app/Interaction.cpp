#include "app/QtInteraction.h"

#include <QApplication>
#include <QColorDialog>
#include <QCursor>
#include <QDialog>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMessageBox>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QVBoxLayout>

#include <vector>

namespace katarix::app {

namespace {

Interaction *installed = nullptr;

// A QProgressDialog made only once the action has run for ProgressDelayMs. Until then the
// windows repaint but take no input; afterwards the modal dialog takes it.
class QtProgressDialog : public ProgressDialog {
public:
    QtProgressDialog(QWidget *parent, const QString &caption, const QString &text)
        : m_parent(parent), m_caption(caption), m_text(text)
    {
        m_started.start();
    }

    void update(const QString &detail, qint64 done, qint64 total) override
    {
        if (!m_dialog && m_started.elapsed() >= ProgressDelayMs)
            show();
        if (m_dialog) {
            m_dialog->setLabelText(detail.isEmpty() ? m_text : m_text + QLatin1Char('\n') + detail);
            // Per mille, so that counts beyond an int fit the bar.
            m_dialog->setMaximum(total > 0 ? 1000 : 0);
            m_dialog->setValue(total > 0 ? int(qBound<qint64>(0, done, total) * 1000 / total) : 0);
        }
        QCoreApplication::processEvents(m_dialog ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
    }

    bool cancelled() override { return m_dialog && m_dialog->wasCanceled(); }

private:
    void show()
    {
        QWidget *parent = m_parent;
        if (!parent)
            parent = QApplication::activeModalWidget() ? QApplication::activeModalWidget() : QApplication::activeWindow();
        if (!parent) // between a closed dialog and the next activation: over the main window, not loose
            for (QWidget *top : QApplication::topLevelWidgets())
                if (qobject_cast<QMainWindow *>(top) && top->isVisible()) {
                    parent = top;
                    break;
                }
        m_dialog = std::make_unique<QProgressDialog>(m_text, QStringLiteral("Anuluj"), 0, 0, parent);
        m_dialog->setObjectName(QStringLiteral("PostepRaportu"));
        m_dialog->setWindowTitle(m_caption);
        m_dialog->setWindowModality(Qt::ApplicationModal);
        m_dialog->setAutoClose(false);
        m_dialog->setAutoReset(false);
        m_dialog->setMinimumDuration(0);
        m_dialog->setMinimumWidth(360);
        m_dialog->show();
    }

    QWidget *m_parent;
    QString m_caption;
    QString m_text;
    QElapsedTimer m_started;
    std::unique_ptr<QProgressDialog> m_dialog;
};

struct ButtonSpec {
    QMessageBox::StandardButton button;
    const char *text;
    int answer;
};

// Buttons of each MB_ button set, in the order Windows shows them.
std::vector<ButtonSpec> buttonsFor(int set)
{
    const ButtonSpec ok{QMessageBox::Ok, "OK", mb::IdOk};
    const ButtonSpec cancel{QMessageBox::Cancel, "Anuluj", mb::IdCancel};
    const ButtonSpec abort{QMessageBox::Abort, "Przerwij", 3};
    const ButtonSpec retry{QMessageBox::Retry, "Ponów próbę", 4};
    const ButtonSpec ignore{QMessageBox::Ignore, "Ignoruj", 5};
    const ButtonSpec yes{QMessageBox::Yes, "Tak", mb::IdYes};
    const ButtonSpec no{QMessageBox::No, "Nie", mb::IdNo};
    switch (set) {
    case mb::OkCancel: return {ok, cancel};
    case 2: return {abort, retry, ignore};
    case mb::YesNoCancel: return {yes, no, cancel};
    case mb::YesNo: return {yes, no};
    case 5: return {retry, cancel};
    default: return {ok};
    }
}

// While the program waits for the person the hourglass is put aside: every override cursor is
// taken off, innermost first, and put back as it was when the box or dialog closes.
class BezKlepsydry {
public:
    BezKlepsydry()
    {
        while (const QCursor *cursor = QGuiApplication::overrideCursor()) {
            m_kursory.push_back(*cursor);
            QGuiApplication::restoreOverrideCursor();
        }
    }
    ~BezKlepsydry()
    {
        for (auto kursor = m_kursory.rbegin(); kursor != m_kursory.rend(); ++kursor)
            QGuiApplication::setOverrideCursor(*kursor);
    }
    BezKlepsydry(const BezKlepsydry &) = delete;
    BezKlepsydry &operator=(const BezKlepsydry &) = delete;

private:
    std::vector<QCursor> m_kursory;
};

QString pathWithoutPrefix(const QString &extension)
{
    QString suffix = extension;
    while (suffix.startsWith(QLatin1Char('*')) || suffix.startsWith(QLatin1Char('.')))
        suffix.remove(0, 1);
    return suffix;
}

void prepareFileDialog(QFileDialog &dialog, const FileDialogRequest &request)
{
    dialog.setWindowTitle(request.title);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    const QStringList filters = qtFileFilters(request.filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        const int index = qBound(1, request.filterIndex, int(filters.size())) - 1;
        dialog.selectNameFilter(filters.at(index));
    }
    const QString suffix = pathWithoutPrefix(request.defaultExtension);
    if (!suffix.isEmpty() && !suffix.contains(QLatin1Char('*')))
        dialog.setDefaultSuffix(suffix);
    if (!request.initialFolder.isEmpty())
        dialog.setDirectory(request.initialFolder);
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
}

QString runFileDialog(QFileDialog &dialog)
{
    const BezKlepsydry bezKlepsydry;
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return QFileInfo(dialog.selectedFiles().constFirst()).absoluteFilePath();
}

} // namespace

Interaction &interaction()
{
    static QtInteraction qtInteraction;
    return installed ? *installed : qtInteraction;
}

void setInteraction(Interaction *implementation)
{
    installed = implementation;
}

QMessageBox *createMessageBox(QWidget *parent, const QString &text, const QString &caption, int flags)
{
    auto *box = new QMessageBox(parent);
    box->setWindowTitle(caption);
    box->setText(text);
    box->setTextFormat(Qt::PlainText);
    switch (flags & 0xF0) {
    case mb::IconError: box->setIcon(QMessageBox::Critical); break;
    case mb::IconQuestion: box->setIcon(QMessageBox::Question); break;
    case mb::IconWarning: box->setIcon(QMessageBox::Warning); break;
    case mb::IconInformation: box->setIcon(QMessageBox::Information); break;
    default: box->setIcon(QMessageBox::NoIcon); break;
    }
    const std::vector<ButtonSpec> buttons = buttonsFor(flags & 0x0F);
    QMessageBox::StandardButtons standard;
    for (const ButtonSpec &entry : buttons)
        standard |= entry.button;
    box->setStandardButtons(standard);
    for (const ButtonSpec &entry : buttons)
        box->button(entry.button)->setText(QString::fromUtf8(entry.text));
    const int defaultIndex = (flags >> 8) & 0x0F;
    if (defaultIndex < int(buttons.size()))
        box->setDefaultButton(buttons[size_t(defaultIndex)].button);
    // Windows closes a box with Esc only when it has a Cancel button, or only an OK button.
    if (standard.testFlag(QMessageBox::Cancel))
        box->setEscapeButton(QMessageBox::Cancel);
    else if (buttons.size() == 1)
        box->setEscapeButton(buttons.front().button);
    return box;
}

int messageBoxAnswer(const QMessageBox &box)
{
    QAbstractButton *clicked = box.clickedButton();
    if (!clicked)
        clicked = box.escapeButton();
    if (!clicked)
        return mb::IdCancel;
    const QMessageBox::StandardButton pressed = box.standardButton(clicked);
    for (int set : {mb::Ok, mb::OkCancel, 2, mb::YesNoCancel, mb::YesNo, 5})
        for (const ButtonSpec &entry : buttonsFor(set))
            if (entry.button == pressed)
                return entry.answer;
    return mb::IdCancel;
}

QStringList qtFileFilters(const QString &windowsFilter)
{
    QStringList result;
    const QStringList parts = windowsFilter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (const QString &pattern : parts.at(i + 1).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const QString trimmed = pattern.trimmed();
            patterns << (trimmed == QLatin1String("*.*") ? QStringLiteral("*") : trimmed);
        }
        if (patterns.isEmpty())
            patterns << QStringLiteral("*");
        result << parts.at(i).trimmed() + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return result;
}

int QtInteraction::messageBox(QWidget *parent, const QString &text, const QString &caption, int flags)
{
    const BezKlepsydry bezKlepsydry;
    std::unique_ptr<QMessageBox> box(createMessageBox(parent, text, caption, flags));
    box->exec();
    return messageBoxAnswer(*box);
}

void QtInteraction::beep()
{
    QApplication::beep();
}

QString QtInteraction::openFileName(QWidget *parent, const FileDialogRequest &request)
{
    QFileDialog dialog(parent);
    prepareFileDialog(dialog, request);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return runFileDialog(dialog);
}

QString QtInteraction::saveFileName(QWidget *parent, const FileDialogRequest &request)
{
    QFileDialog dialog(parent);
    prepareFileDialog(dialog, request);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    return runFileDialog(dialog);
}

QString QtInteraction::folder(QWidget *parent, const QString &title, const QString &initialFolder)
{
    const BezKlepsydry bezKlepsydry;
    return QFileDialog::getExistingDirectory(parent, title, initialFolder,
                                             QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
}

std::optional<QColor> QtInteraction::color(QWidget *parent, const QColor &initial)
{
    const BezKlepsydry bezKlepsydry;
    const QColor chosen = QColorDialog::getColor(initial, parent);
    if (!chosen.isValid())
        return std::nullopt;
    return chosen;
}

std::optional<QString> QtInteraction::password(QWidget *parent, const QString &databasePath)
{
    QDialog dialog(parent);
    dialog.setWindowTitle(QStringLiteral("Hasło bazy danych"));
    auto *layout = new QVBoxLayout(&dialog);
    auto *label = new QLabel(QStringLiteral("Plik bazy danych %1 jest chroniony hasłem.\nPodaj hasło:")
                                 .arg(QFileInfo(databasePath).fileName()),
                             &dialog);
    label->setToolTip(databasePath);
    auto *edit = new QLineEdit(&dialog);
    edit->setEchoMode(QLineEdit::Password);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Anuluj"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(label);
    layout->addWidget(edit);
    layout->addWidget(buttons);
    dialog.setMinimumWidth(340);
    const BezKlepsydry bezKlepsydry;
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return edit->text();
}

QSize QtInteraction::screenSize()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->size() : QSize();
}

EditorLaunch QtInteraction::launchEditor(const QString &program, const QString &document)
{
    if (program.isEmpty()) {
        // The desktop's associated program.
        if (!QFileInfo::exists(document))
            return EditorLaunch::DocumentNotFound;
        const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
        if (opener.isEmpty())
            return EditorLaunch::ProgramNotFound;
        return QProcess::startDetached(opener, {document}) ? EditorLaunch::Started : EditorLaunch::OtherError;
    }
    const QFileInfo info(program);
    QString executable = program;
    if (!info.exists()) {
        // A bare program name is looked up on PATH, as the shell would.
        if (program.contains(QLatin1Char('/')) || program.contains(QLatin1Char('\\')))
            return EditorLaunch::ProgramNotFound;
        executable = QStandardPaths::findExecutable(program);
        if (executable.isEmpty())
            return EditorLaunch::ProgramNotFound;
    } else if (info.isDir() || !info.isExecutable()) {
        return EditorLaunch::AccessDenied;
    }
    if (!QFileInfo::exists(document))
        return EditorLaunch::DocumentNotFound;
    return QProcess::startDetached(executable, {document}) ? EditorLaunch::Started : EditorLaunch::OtherError;
}

std::unique_ptr<ProgressDialog> QtInteraction::progress(QWidget *parent, const QString &caption, const QString &text)
{
    return std::make_unique<QtProgressDialog>(parent, caption, text);
}

} // namespace katarix::app
