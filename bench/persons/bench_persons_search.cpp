// The natural-person search as the user sees it: from "Dodaj" to the persons in the person file.
//
//   bench_persons_search [--register FILE.sqlite] [--parcels N] [--runs N]
//
// Three figures (median of the runs): every natural person of the register (the Yes answer to
// the question) into an empty list, the same search again over the full list (every row
// refreshed, none added), and a surname search into the full list. The register defaults to
// bench/register-100k.sqlite beside the program, generated (seed 1) when missing.

#include "app/support/RecordingInteraction.h"
#include "common/Czasy.h"
#include "common/Rejestr.h"
#include "jet/Database.h"
#include "jet/JetFunctions.h"
#include "jet/Query.h"
#include "persons/DodFizFrm.h"
#include "persons/KarOsFrm.h"
#include "widgets/LookupCombo.h"
#include "registergen/RegisterGenerator.h"

#include <QApplication>
#include <QTreeWidget>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

using namespace katarix;

using bench::mediana;
using bench::milliseconds;

int main(int argc, char *argv[])
{
    bench::Aplikacja app(argc, argv);
    const QStringList &args = app.args;
    const int parcels = bench::argument(args, QStringLiteral("--parcels"), QStringLiteral("100000")).toInt();
    const int runs = std::max(1, bench::argument(args, QStringLiteral("--runs"), QStringLiteral("5")).toInt());
    jet::Database db;
    bench::otworzRejestr(db, args, parcels);
    test::RecordingInteraction answers; // the question is answered Yes

    persons::TKarOsFrm frm(nullptr, &db);
    frm.resize(700, 500);
    frm.show();
    persons::TDodFizFrm *dlg = frm.DodFizFrm;
    auto *nazwiska = dlg->findChild<widgets::LookupCombo *>(QStringLiteral("NazwiskoLcbx"));
    auto *lista = frm.findChild<QTreeWidget *>(QStringLiteral("Lv"));
    dlg->show();
    QApplication::processEvents();

    std::vector<double> query, all, refresh, surname;
    int rows = 0, surnameRows = 0;
    for (int run = 0; run < runs; ++run) {
        frm.WyczyscTBtnClick();
        dlg->CzyscBtnClick();
        query.push_back(milliseconds([&] {
            jet::Query q(nullptr);
            q.setDatabase(&db);
            q.setSql(dlg->SqlSelekcji());
            q.open();
        }));
        all.push_back(milliseconds([&] {
            dlg->Zmieniono = true;
            dlg->DodajBtnClick();
            QApplication::processEvents();
        }));
        rows = frm.iloscWierszy();
        refresh.push_back(milliseconds([&] {
            dlg->Zmieniono = true;
            dlg->DodajBtnClick();
            QApplication::processEvents();
        }));
        nazwiska->reset();
        nazwiska->setCurrentIndex(std::min(5, nazwiska->count() - 1));
        const int before = frm.iloscWierszy();
        surname.push_back(milliseconds([&] {
            dlg->DodajBtnClick();
            QApplication::processEvents();
        }));
        surnameRows = int(lista->selectedItems().size());
        if (frm.iloscWierszy() != before) {
            std::fprintf(stderr, "A surname search added rows already in the list.\n");
            return 1;
        }
    }
    std::printf("natural-person search, %d persons, median of %d runs:\n", rows, runs);
    std::printf("  the query of all persons alone: %.1f ms\n", mediana(query));
    std::printf("  all persons into an empty list: %.1f ms\n", mediana(all));
    std::printf("  all persons again (every row refreshed): %.1f ms\n", mediana(refresh));
    std::printf("  one surname (%d persons) into the full list: %.1f ms\n", surnameRows, mediana(surname));
    return 0;
}
