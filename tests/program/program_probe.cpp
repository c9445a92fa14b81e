// The program's real start-up wherever this probe is copied to (a tree or an installation), with
// its own command line. It records where the program keeps its files, the folder of the register
// dialog (cancelled), then asks for the land register window as F7 does (answering a password
// prompt with $KATARIX_PROBE_PASSWORD) and, when the window opens, runs the unit extract; then it
// closes the main window as the user does and prints what it saw as JSON.
#include "app/Aplikacja.h"
#include "app/Formularze.h"
#include "app/MainFrm.h"
#include "app/RejestrOkien.h"
#include "app/Ustawienia.h"
#include "app/main/Start.h"
#include "app/support/Child.h"
#include "app/support/RecordingInteraction.h"
#include "browsers/RgFrm.h"

#include <QAction>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

using namespace katarix;

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    app::TApplication application(argc, argv);
    test::RecordingInteraction recording;
    if (qEnvironmentVariableIsSet("KATARIX_PROBE_PASSWORD"))
        recording.passwordAnswers.push_back(qEnvironmentVariable("KATARIX_PROBE_PASSWORD"));

    app::PrzygotujProgram();
    app::MainFrm->show();
    QJsonObject result;
    result[QStringLiteral("register")] = app::MainFrm->SciezkaBazy;
    result[QStringLiteral("ini")] = app::MainFrm->PlikIni;
    result[QStringLiteral("root")] = app::MainFrm->KatalogGlowny;
    result[QStringLiteral("templates")] = app::ustawieniaProgramu().katalogSzablonow;
    result[QStringLiteral("documents")] = app::ustawieniaProgramu().katalogWynikowy;

    test::child<QAction>(app::MainFrm, "WybierzDbTBtn")->trigger();
    if (!recording.fileDialogs.empty())
        result[QStringLiteral("dialogFolder")] = recording.fileDialogs.back().request.initialFolder;
    result[QStringLiteral("registerAfterCancel")] = app::MainFrm->SciezkaBazy;

    test::child<QAction>(app::MainFrm, "RejGruntTBtn")->trigger();
    auto *rg = qobject_cast<browsers::TRgFrm *>(app::okno(app::OknoProgramu::RejestrGruntow));
    result[QStringLiteral("window")] = rg != nullptr;
    if (rg) {
        rg->JrRaportTBtn->trigger();
        QJsonArray documents;
        for (const auto &launch : recording.editorLaunches)
            documents.append(launch.document);
        result[QStringLiteral("extracts")] = documents;
    }
    QJsonArray passwords, messages;
    for (const QString &path : recording.passwordRequests)
        passwords.append(path);
    for (const auto &message : recording.messages)
        messages.append(message.caption + QStringLiteral(": ") + message.text);
    result[QStringLiteral("passwordRequests")] = passwords;
    result[QStringLiteral("messages")] = messages;

    app::MainFrm->close();
    app::ZwolnijFormularze();
    const QByteArray json = QJsonDocument(result).toJson(QJsonDocument::Compact);
    std::fwrite(json.constData(), 1, size_t(json.size()), stdout);
    return 0;
}
