// The database session of the main window: choosing, opening and closing the register.
#include "app/MainFrm.h"

#include "app/KursorKlepsydry.h"

#include "jet/Dataset.h"
#include "jet/JetError.h"
#include "jet/RegisterLoader.h"
#include "jet/Query.h"
#include "register/Komentarz.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QMdiSubWindow>
#include <QProgressDialog>
#include <memory>
#include <utility>

namespace katarix::app {

bool TMainFrm::SprawdzPolaczenie()
{
    if (Baza.isOpen())
        return true;
    if (SciezkaBazy.isEmpty() && !WybierzPlikBazy())
        return false;
    PolaczZBaza();
    return Baza.isOpen();
}

void TMainFrm::PolaczZBaza()
{
    try {
        ZamknijBaze();
        if (SciezkaBazy.isEmpty())
            throw AppError(QStringLiteral("Nie określono pliku bazy danych!"));
        // The password is asked at every opening of a protected file and kept only for it;
        // cancelling the prompt leaves the database closed without a message.
        HasloBazy.clear();
        if (jet::registerHasPassword(SciezkaBazy)) {
            const std::optional<QString> password = interaction().password(this, SciezkaBazy);
            if (!password)
                return;
            HasloBazy = *password;
        }
        SprawdzAtrybutBazy();

        jet::OpenOptions options = opcjeWczytywania();
        options.password = HasloBazy;
        KursorKlepsydry hourglass;
        jet::openRegister(Baza, SciezkaBazy, options);
        HasloBazy.clear();
        PokazStanBazy();
    } catch (const jet::LoadCancelled &) {
        HasloBazy.clear(); // the user stopped it: closed, no message
        Baza.close();
        PokazStanBazy();
    } catch (const jet::JetError &error) {
        HasloBazy.clear();
        Baza.close();
        PokazStanBazy();
        Komunikat(QStringLiteral("Błąd łączenia z bazą danych:\n") + error.message(),
                  QStringLiteral("Błąd logowania do bazy"), mb::IconError, false);
    } catch (const std::exception &error) {
        HasloBazy.clear();
        Baza.close();
        PokazStanBazy();
        PokazWyjatek(error);
    }
}

// The options of every load of this session, also of a copy rebuilt when SQLite finds it
// damaged later on: they outlive the opening, so they reach the progress dialog through the
// window. A background load of this register is taken over.
jet::OpenOptions TMainFrm::opcjeWczytywania()
{
    jet::OpenOptions options = OpcjeOtwarcia;
    if (m_wczytywanieWTle && m_wczytywanieWTle->path() == SciezkaBazy)
        options.preload = m_wczytywanieWTle.get();
    options.progress = [this, previous = OpcjeOtwarcia.progress](int percent) {
        if (m_postepWczytywania)
            m_postepWczytywania->setValue(qBound(0, percent, 100));
        PokazStanBazy(percent);
        if (previous)
            previous(percent);
    };
    options.cancelled = [this, previous = OpcjeOtwarcia.cancelled] {
        // Input only once the modal dialog stands in front of the window.
        QProgressDialog *dialog = m_postepWczytywania;
        const bool dialogShown = dialog && dialog->isVisible();
        QCoreApplication::processEvents(dialogShown ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
        return (dialog && dialog->wasCanceled()) || (previous && previous());
    };
    options.aroundLoad = [this](const std::function<void()> &czekaj) { czekajNaWczytanie(czekaj); };
    return options;
}

// The window repaints during every load; a large file shows a progress dialog whose "Anuluj"
// ends the load (modal, so nothing else can be clicked meanwhile).
void TMainFrm::czekajNaWczytanie(const std::function<void()> &czekaj)
{
    KursorKlepsydry hourglass;
    std::unique_ptr<QProgressDialog> progress;
    if (QFileInfo(SciezkaBazy).size() >= ProgPaskaPostepu) {
        progress = std::make_unique<QProgressDialog>(QStringLiteral("Wczytywanie bazy danych..."),
                                                     QStringLiteral("Anuluj"), 0, 100, this);
        progress->setObjectName(QStringLiteral("PostepWczytywania"));
        progress->setWindowTitle(TytulAplikacji());
        progress->setWindowModality(Qt::WindowModal);
        progress->setMinimumDuration(0);
        progress->setAutoClose(false);
        progress->setAutoReset(false);
        progress->setValue(0);
    }
    QProgressDialog *const outer = std::exchange(m_postepWczytywania, progress.get());
    struct Restore {
        QProgressDialog *&current;
        QProgressDialog *outer;
        ~Restore() { current = outer; }
    } restore{m_postepWczytywania, outer};
    czekaj();
}

bool TMainFrm::ZamknijBaze()
{
    for (OknoProgramu which : {OknoProgramu::RejestrGruntow, OknoProgramu::RejestrLokali,
                               OknoProgramu::KartotekaDzialek, OknoProgramu::KartotekaOsob}) {
        QPointer<QWidget> &window = m_okna[size_t(which)];
        if (!window)
            continue;
        QWidget *frame = window->parentWidget();
        auto *sub = qobject_cast<QMdiSubWindow *>(frame);
        const bool closed = sub ? sub->close() : window->close();
        if (closed)
            window = nullptr;
    }
    if (TempQry)
        TempQry->close();
    Baza.close();
    zatrzymajWczytywanieInnejBazy();
    return !Baza.isOpen();
}

bool TMainFrm::WybierzPlikBazy()
{
    FileDialogRequest request;
    request.title = QStringLiteral("Wybierz plik bazy danych (*.mdb)");
    request.filter = QStringLiteral("Bazy danych Access [*.mdb]|*.mdb|Wszystkie pliki [*.*]|*.*");
    request.filterIndex = 1;
    request.defaultExtension = QStringLiteral("*.mdb");
    request.initialFolder = Katalogi.folderWyboruBazy(SciezkaBazy);
    const QString chosen = interaction().openFileName(this, request);
    if (chosen.isEmpty())
        return false;
    SciezkaBazy = QFileInfo(chosen).absoluteFilePath();
    zatrzymajWczytywanieInnejBazy();
    return true;
}

// The register is never written, but a file the owner may not write is made writable, as the
// attribute check of the original platform does; only a failure to change it is an error.
bool TMainFrm::SprawdzAtrybutBazy()
{
    if (SciezkaBazy.isEmpty())
        return true;
    const QFileInfo info(SciezkaBazy);
    if (!info.exists())
        return true;
    const QFileDevice::Permissions permissions = QFile::permissions(SciezkaBazy);
    if (permissions.testFlag(QFileDevice::WriteOwner))
        return true;
    if (QFile::setPermissions(SciezkaBazy, permissions | QFileDevice::WriteOwner | QFileDevice::WriteUser))
        return true;
    throw AppError(QStringLiteral("Plik bazy danych: ") + SciezkaBazy +
                   QStringLiteral(" jest tylko do odczytu.\nZmień właściwości tego pliku, aby atrybut "
                                  "\"Tylko do odczytu\" był wyłączony."));
}

// The file is asked for first, so that "Anuluj" leaves the windows, their working lists and the
// connection as they were; only a chosen file closes them.
void TMainFrm::WybierzDbTBtnClick()
{
    if (WybierzPlikBazy())
        ZamknijBaze();
}

QString TMainFrm::TekstKomentarza(double mslink)
{
    return reg::tekstKomentarza(*TempQry, mslink);
}

} // namespace katarix::app
