// Goes through the program's own start-up with the register remembered in the Katarix.ini beside
// it, waits until panel 1 of the status bar reads "Baza gotowa" (processing events, as the idle
// program does), opens the land register window with F7 at unit 101 and prints as JSON the
// panel texts seen, the unit's parcel areas and the messages shown. test_startup_background
// runs it from a folder of its own, with a loader that counts its runs.
#include "app/MainFrm.h"
#include "app/main/Start.h"
#include "app/support/RecordingInteraction.h"
#include "browsers/support/ProbeOutput.h"
#include "browsers/RgFrm.h"
#include "widgets/DataGrid.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QTest>

#include <cstdio>

using namespace katarix;

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    app::TApplication application(argc, argv);
    test::RecordingInteraction recording;
    app::PrzygotujProgram();
    app::MainFrm->show();

    QJsonObject result;
    QJsonArray panels;
    QString last;
    QElapsedTimer timer;
    timer.start();
    for (;;) {
        const QString text = app::MainFrm->StatPanele[1]->text();
        if (text != last)
            panels.append(last = text);
        if (text == QLatin1String("Baza gotowa") || timer.elapsed() > 120000)
            break;
        QTest::qWait(10);
    }
    result[QStringLiteral("panels")] = panels;
    result[QStringLiteral("connectedBeforeF7")] = app::MainFrm->polaczono();

    QTest::keyClick(app::MainFrm, Qt::Key_F7);
    if (auto *rg = qobject_cast<browsers::TRgFrm *>(app::MainFrm->okno(app::OknoProgramu::RejestrGruntow))) {
        rg->PokazJr(101);
        QJsonArray areas;
        const int column = rg->DzialkiGrd->columnOfField(QStringLiteral("AREA"));
        for (int row = 0; row < rg->DzialkiGrd->model()->rowCount(); ++row)
            areas.append(rg->DzialkiGrd->model()->index(row, column).data().toString());
        result[QStringLiteral("areas")] = areas;
    }
    result[QStringLiteral("panelAfterF7")] = app::MainFrm->StatPanele[1]->text();
    return test::zakonczSonde(result, recording);
}
