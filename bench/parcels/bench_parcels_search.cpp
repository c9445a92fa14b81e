// The parcel search as the user sees it: from pressing "Dodaj" to the parcel file's list filled,
// its counts and sums shown and the list painted (offscreen grab). The search is "area up to A"
// with A chosen so that about --target (default 10,000) current parcels are found.
//
//   bench_parcels_search [--register FILE.sqlite] [--target N] [--runs N]
//   bench_parcels_search --screenshot FILE.png [--register FILE.sqlite]
//
// The register defaults to bench/register-100k.sqlite beside the program; when that file is
// missing it is generated (RegisterGenerator, 100,000 parcels, seed 1) and kept there.

#include "common/Czasy.h"
#include "common/Rejestr.h"
#include "common/SilentInteraction.h"
#include "jet/Database.h"
#include "jet/JetFunctions.h"
#include "jet/Query.h"
#include "parcels/DodDlkFrm.h"
#include "parcels/KarDzFrm.h"
#include "registergen/RegisterGenerator.h"
#include "widgets/LookupCombo.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTreeWidget>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

using namespace katarix;

namespace {

// The area in hectares up to which about `target` current parcels reach: the search
// "Pow. (od - do)" with only the upper bound, as a clerk looks for small parcels.
QString areaForCount(jet::Database &db, int target)
{
    jet::Query q;
    q.setDatabase(&db);
    q.setSql(QStringLiteral("SELECT area FROM kdzialka WHERE (zmiana_kas_id = 0 OR zmiana_kas_id is null) ORDER BY area"));
    q.open();
    q.setRecNo(std::min(target, q.recordCount()));
    return QString::number(q.asFloat(QStringLiteral("area")) / 10000, 'f', 4);
}

} // namespace

int main(int argc, char *argv[])
{
    bench::Aplikacja application(argc, argv);
    const QStringList &args = application.args;
    bench::SilentInteraction silent;
    app::setInteraction(&silent);
    jet::Database db;
    bench::otworzRejestr(db, args);

    const QString area = areaForCount(db, bench::argument(args, QStringLiteral("--target"), QStringLiteral("10000")).toInt());
    parcels::TKarDzFrm file(nullptr, &db);
    file.resize(520, 600);
    file.show();
    parcels::TDodDlkFrm *dialog = parcels::DodDlkFrm;
    auto *lista = file.findChild<QTreeWidget *>(QStringLiteral("Lv"));

    if (args.contains(QStringLiteral("--screenshot"))) {
        dialog->findChild<QComboBox *>(QStringLiteral("GminaLcbx"))->setCurrentIndex(1);
        dialog->GminaLcbxChange();
        dialog->findChild<QLineEdit *>(QStringLiteral("LicznikEdt"))->setText(QStringLiteral("1"));
        dialog->show();
        dialog->DodajBtnClick();
        lista->topLevelItem(0)->setSelected(true);
        lista->topLevelItem(2)->setSelected(true);
        file.LvMouseUp();
        QApplication::processEvents();
        const QPixmap window = file.grab(), search = dialog->grab();
        QImage canvas(window.width() + search.width() + 30, std::max(window.height(), search.height()) + 20,
                      QImage::Format_RGB32);
        canvas.fill(QColor(90, 110, 130));
        QPainter painter(&canvas);
        painter.drawPixmap(10, 10, window);
        painter.drawPixmap(window.width() + 20, 10, search);
        painter.end();
        return canvas.save(bench::argument(args, QStringLiteral("--screenshot"))) ? 0 : 1;
    }

    dialog->findChild<QLineEdit *>(QStringLiteral("PowDz2Edt"))->setText(area);
    const int runs = bench::argument(args, QStringLiteral("--runs"), QStringLiteral("5")).toInt();
    std::vector<double> samples; // milliseconds
    int rows = 0;
    for (int run = 0; run < runs; ++run) {
        file.ClearSBClick();
        dialog->show(); // showing the dialog lets "Dodaj" search again
        const auto start = std::chrono::steady_clock::now();
        dialog->DodajBtnClick();
        if (lista->grab().isNull())
            return 1;
        const auto end = std::chrono::steady_clock::now();
        dialog->hide();
        rows = lista->topLevelItemCount();
        samples.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    }
    // The same search once more onto the filled list: every row found is an existing one.
    dialog->show();
    const auto start = std::chrono::steady_clock::now();
    dialog->DodajBtnClick();
    lista->grab();
    const double again = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    std::sort(samples.begin(), samples.end());
    std::printf("parcel search, area up to %s ha, %d rows: to the list filled and painted median %.0f ms, min %.0f ms, "
                "max %.0f ms over %d runs; repeated onto the filled list %.0f ms (%d rows)\n",
                qPrintable(area), rows, bench::kwantyl(samples, 0.5), samples.front(), samples.back(), runs, again,
                lista->topLevelItemCount());
    std::printf("%s | %s\n", qPrintable(file.findChild<QLabel *>(QStringLiteral("StatusPanel0"))->text()),
                qPrintable(file.findChild<QLabel *>(QStringLiteral("StatusPanel1"))->text()));
    return rows > 0 ? 0 : 1;
}
