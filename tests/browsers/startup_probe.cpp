// Goes through the program's own start-up under the regional settings of its environment
// (LC_ALL), reads the texts of the program's file dialog, opens the land register window on a
// small register through the main window's command, runs the unit extract, opens the premises
// register window, and prints as JSON what the dialog and the windows show and what the extract
// prints. test_startup_locale runs it under several locales: the locale is read once per process,
// as in the program. "--screenshot FILE" also saves the main window as a PNG.
#include "app/MainFrm.h"
#include "app/QtInteraction.h"
#include "app/UstawieniaFrm.h"
#include "app/main/Start.h"
#include "app/support/RecordingInteraction.h"
#include "browsers/support/ProbeOutput.h"
#include "browsers/RgFrm.h"
#include "browsers/RlFrm.h"
#include "registergen/RegisterBuilder.h"
#include "rtf/RtfTemplate.h"
#include "widgets/DataGrid.h"
#include "widgets/PathEdit.h"

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

using namespace katarix;

namespace {

// Land unit 101 with two owners (1/2, 1/3) and two parcels: 1234 m² kept to four decimals and
// 1050 m² kept to two (0.105 ha, a decimal half).
registergen::RegisterBuilder unitRegister()
{
    registergen::RegisterBuilder b;
    b.add("GMINA", {{"MSLINK", 1.0}, {"NAZWA", "Zielona"}});
    b.add("OBREB", {{"MSLINK", 10}, {"NAZWA", "Rynek"}, {"GMINA_ID", 1.0}});
    b.add("RGRUN", {{"ID_JR", 101.0}, {"OBREB_ID", 10}, {"KOL_OBREB", 1}});
    b.add("SLO_WLAD", {{"MSLINK", 1}, {"SKROT", "wl"}, {"OPIS", "własność"}, {"RODZAJ", 1}});
    b.add("LWRGRUN", {{"MSLINK", 1.0}, {"ID_JR", 101.0}, {"OSOBA_ID", 100001.0}, {"WLAD_ID", 1}, {"L_UDZIAL", 1},
                      {"M_UDZIAL", 2}, {"OSOBA_TXT", "Lis Ewa"}, {"DATA_UPLYWU", 0}});
    b.add("LWRGRUN", {{"MSLINK", 2.0}, {"ID_JR", 101.0}, {"OSOBA_ID", 100002.0}, {"WLAD_ID", 1}, {"L_UDZIAL", 1},
                      {"M_UDZIAL", 3}, {"OSOBA_TXT", "Lis Jan"}, {"DATA_UPLYWU", 0}});
    b.add("KDZIALKA", {{"MSLINK", 1.0}, {"DZIALKA_ID", 11.0}, {"ID_JR", 101.0}, {"OBREB_ID", 10}, {"NR_L", 1},
                       {"AREA", 1234.0}, {"AROWA", 0}});
    b.add("KDZIALKA", {{"MSLINK", 2.0}, {"DZIALKA_ID", 12.0}, {"ID_JR", 101.0}, {"OBREB_ID", 10}, {"NR_L", 2},
                       {"AREA", 1050.0}, {"AROWA", 1}});
    // Premises unit 601 with one flat of 54.5 m² worth 120000.5.
    b.add("RLOK", {{"ID_JR", 601.0}, {"OBREB_ID", 10}, {"KOL_OBREB", 1}});
    b.add("KLOKAL", {{"MSLINK", 1.0}, {"LOKAL_ID", 81.0}, {"ID_JR", 601.0}, {"NRIMPORTED", "1"}, {"POW_ZAB", 54.5},
                     {"WARTOSC", 120000.5}, {"ZMIANA_KAS_ID", 0.0}});
    return b;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    app::TApplication application(argc, argv);
    test::RecordingInteraction recording;
    QTemporaryDir output;

    app::PrzygotujProgram();
    unitRegister().toDatabase(app::MainFrm->baza());
    app::UstawieniaFrm->SzablonyDE->setText(QStringLiteral(KATARIX_SOURCE_DIR "/templates"));
    app::UstawieniaFrm->OutputDE->setText(output.path());
    app::UstawieniaFrm->EdytorFE->setFileName(QStringLiteral("/usr/bin/edytor-rtf"));

    QJsonObject result;
    // The program's own file dialog, as the person sees it: its "Look in" label and the
    // standard Cancel button.
    {
        QTimer reader;
        QObject::connect(&reader, &QTimer::timeout, [&result] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            if (auto *label = dialog->findChild<QLabel *>(QStringLiteral("lookInLabel")))
                result[QStringLiteral("lookIn")] = label->text();
            if (auto *buttons = dialog->findChild<QDialogButtonBox *>())
                if (QPushButton *cancel = buttons->button(QDialogButtonBox::Cancel))
                    result[QStringLiteral("cancel")] = cancel->text();
            dialog->reject();
        });
        reader.start(10);
        app::FileDialogRequest request;
        request.title = QStringLiteral("Wybierz plik bazy danych (*.mdb)");
        request.initialFolder = output.path();
        app::QtInteraction().openFileName(nullptr, request);
    }
    app::MainFrm->RejGruntTBtn->trigger();
    auto *rg = qobject_cast<browsers::TRgFrm *>(app::MainFrm->okno(app::OknoProgramu::RejestrGruntow));
    if (rg) {
        rg->PokazJr(101);
        result[QStringLiteral("sum")] = rg->SumPowDzPnl->text();
        result[QStringLiteral("share")] = rg->UdzWlaPnl->text();
        QJsonArray areas;
        const int column = rg->DzialkiGrd->columnOfField(QStringLiteral("AREA"));
        for (int row = 0; row < rg->DzialkiGrd->model()->rowCount(); ++row)
            areas.append(rg->DzialkiGrd->model()->index(row, column).data().toString());
        result[QStringLiteral("areas")] = areas;
        const qsizetype shot = application.arguments().indexOf(QStringLiteral("--screenshot"));
        if (shot > 0 && shot + 1 < application.arguments().size()) {
            app::MainFrm->resize(1100, 700);
            app::MainFrm->show();
            QCoreApplication::processEvents();
            app::MainFrm->grab().save(application.arguments().at(shot + 1));
        }
        rg->JrRaportTBtn->trigger();
        QFile document(output.filePath(QStringLiteral("Wynik.rtf")));
        if (document.open(QIODevice::ReadOnly))
            result[QStringLiteral("extract")] = rtf::RtfTemplate(document.readAll()).plainText();
    }
    app::MainFrm->RejLokTBtn->trigger();
    if (auto *rl = qobject_cast<browsers::TRlFrm *>(app::MainFrm->okno(app::OknoProgramu::RejestrLokali))) {
        rl->PokazJr(601);
        QJsonArray premises;
        for (const char *field : {"pow_zab", "wartosc"}) {
            const int column = rl->LokGrd->columnOfField(QLatin1String(field));
            if (column >= 0 && rl->LokGrd->model()->rowCount() > 0)
                premises.append(rl->LokGrd->model()->index(0, column).data().toString());
        }
        result[QStringLiteral("premises")] = premises;
    }
    return test::zakonczSonde(result, recording);
}
