// The alphabetical list of holders for every precinct of the 100,000-parcel register: from
// "Wykonaj" to the document saved on disk (the list query, the grouping, the address sort when
// asked, filling SpisWlad.rtf and writing it; the editor is not started). One run per process,
// so that /usr/bin/time -v gives the peak memory of exactly one list.
//
//   bench_reports_spiswlad [--register FILE.sqlite | --mdb FILE.mdb] [--obreby N] [--adres] [--wynik FILE.rtf]
//                          [--plan | --query [--fizyczne | --prawne] | --screenshot FILE.png]
//
// --mdb opens a register file through the loader (the demo register, for instance); --obreby
// ticks only the first N precincts (one precinct keeps the parcels box on); --wynik keeps a copy
// of the document.
// --screenshot FILE.png grabs the window; --adres sorts by address; --plan prints SQLite's plan of the translated list query instead;
// --query times the list query and the grouping alone (of one kind of persons if asked).
// The register defaults to bench/register-100k.sqlite beside the program; when that file is
// missing it is generated (RegisterGenerator, 100,000 parcels, seed 1) and kept there.

#include "common/Rejestr.h"
#include "common/SrodowiskoRaportu.h"
#include "app/ListHelpers.h"
#include "jet/Database.h"
#include "jet/JetFunctions.h"
#include "jet/Query.h"
#include "jet/RegisterLoader.h"
#include "registergen/RegisterGenerator.h"
#include "reports/SpisWladFrm.h"
#include "rtf/RTFReport.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QCheckBox>

#include <sqlite3.h>

#include <chrono>
#include <cstdio>

using namespace katarix;

namespace {

using bench::SilentInteraction;

void printPlan(jet::Database &db, const QString &jetSql)
{
    const QByteArray sql = "EXPLAIN QUERY PLAN " + db.translate(jetSql).sql.toUtf8();
    sqlite3_stmt *statement = nullptr;
    if (sqlite3_prepare_v2(db.handle(), sql.constData(), -1, &statement, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "%s\n", sqlite3_errmsg(db.handle()));
        return;
    }
    while (sqlite3_step(statement) == SQLITE_ROW)
        std::printf("%d %d %s\n", sqlite3_column_int(statement, 0), sqlite3_column_int(statement, 1),
                    reinterpret_cast<const char *>(sqlite3_column_text(statement, 3)));
    sqlite3_finalize(statement);
}

} // namespace

int main(int argc, char *argv[])
{
    bench::Aplikacja application(argc, argv);
    const QStringList &args = application.args;
    jet::setDecimalSeparator(QLatin1Char(','));
    jet::Database db;
    if (args.contains(QStringLiteral("--mdb"))) {
        jet::OpenOptions options;
        options.loaderPath = QStringLiteral(KATARIX_PROGRAM_DIR "/katarix-loader");
        jet::openRegister(db, bench::argument(args, QStringLiteral("--mdb")), options);
    } else {
        bench::otworzRejestr(db, args);
    }
    bench::SrodowiskoRaportu env(db);
    jet::Query &tempQry = env.tempQry;
    rtf::TRTFReport &rtf1 = env.rtf1;
    const SilentInteraction &interaction = env.interaction;

    reports::TSpisWladFrm frm(nullptr, &db, &tempQry, &rtf1);
    frm.ZazWszObrBtn->click();
    if (args.contains(QStringLiteral("--obreby"))) {
        const int ile = bench::argument(args, QStringLiteral("--obreby")).toInt();
        for (int i = 0; i < frm.ObrebClb->count(); ++i)
            frm.ObrebClb->item(i)->setCheckState(i < ile ? Qt::Checked : Qt::Unchecked);
        frm.DzialkiChb->setChecked(frm.DzialkiChb->isEnabled());
    }
    frm.SortAdresRB->setChecked(args.contains(QStringLiteral("--adres")));
    if (args.contains(QStringLiteral("--screenshot"))) {
        frm.resize(760, 460);
        frm.show();
        QApplication::processEvents();
        return frm.grab().save(bench::argument(args, QStringLiteral("--screenshot"))) ? 0 : 1;
    }
    if (args.contains(QStringLiteral("--plan"))) {
        frm.IdObrebow = QStringLiteral("1");
        frm.IdFormWlad = QStringLiteral("1");
        printPlan(db, frm.BudujSql());
        return 0;
    }
    if (args.contains(QStringLiteral("--query"))) {
        frm.IdObrebow = app::ListaIdZaznaczonych(frm.ObrebClb, true);
        frm.IdFormWlad = app::ListaIdZaznaczonych(frm.FwladClb, true);
        frm.OsFizChb->setChecked(!args.contains(QStringLiteral("--prawne")));
        frm.OsPrawChb->setChecked(!args.contains(QStringLiteral("--fizyczne")));
        const auto start = std::chrono::steady_clock::now();
        frm.MainQry->setSql(frm.BudujSql());
        frm.MainQry->open();
        const auto opened = std::chrono::steady_clock::now();
        frm.WynikTbl->create();
        frm.BudujWynik();
        const auto grouped = std::chrono::steady_clock::now();
        std::printf("list query: first row in %.2f s; %d rows grouped into %lld entries in %.2f s\n",
                    std::chrono::duration<double>(opened - start).count(), frm.MainQry->recordCount(),
                    static_cast<long long>(frm.WynikTbl->rowCount()),
                    std::chrono::duration<double>(grouped - opened).count());
        return 0;
    }

    const auto start = std::chrono::steady_clock::now();
    frm.OkBtn->click();
    const auto end = std::chrono::steady_clock::now();
    if (interaction.messages > 0 || interaction.lastDocument.isEmpty())
        return 1;
    if (args.contains(QStringLiteral("--wynik"))) {
        QFile::remove(bench::argument(args, QStringLiteral("--wynik")));
        QFile::copy(interaction.lastDocument, bench::argument(args, QStringLiteral("--wynik")));
    }
    std::printf("alphabetical list, %d precincts, sorted by %s: %d entries, document %.0f kB, %.2f s to the saved "
                "document\n",
                int(frm.IdObrebow.count(QLatin1Char(',')) + 1), frm.SortAdresRB->isChecked() ? "address" : "name",
                int(frm.WynikTbl->rowCount()),
                double(QFileInfo(interaction.lastDocument).size()) / 1024.0,
                std::chrono::duration<double>(end - start).count());
    return 0;
}
