// The change window following the parcels grid of the land register window: from moving to the
// next parcel to the change page laid out (three queries, the page built and rendered offscreen).
//
//   bench_zmiany_row_move [--register FILE.sqlite] [--units N]
//
// The register defaults to bench/register-100k.sqlite beside the program; when that file is
// missing it is generated (RegisterGenerator, 100,000 parcels, seed 1) and kept there.

#include "common/Czasy.h"
#include "common/Rejestr.h"
#include "browsers/RgFrm.h"
#include "browsers/ZmianyFrm.h"
#include "jet/Database.h"
#include "jet/JetFunctions.h"
#include "jet/Query.h"
#include "registergen/RegisterGenerator.h"
#include "widgets/HtmlViewer.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

using namespace katarix;

int main(int argc, char *argv[])
{
    bench::Aplikacja app(argc, argv);
    jet::Database db;
    bench::otworzRejestr(db, app.args);
    browsers::TRgFrm rg(nullptr, &db);
    rg.resize(1000, 700);
    rg.show();
    rg.ZmianyTBtn->trigger();
    rg.DzialkiGrd->setFocus(); // the parcels are the change window's source
    QApplication::processEvents();

    const int units = bench::argument(app.args, QStringLiteral("--units"), QStringLiteral("200")).toInt();
    std::vector<double> samples; // milliseconds
    int documents = 0;
    for (int g = 0; g < rg.GminaCbx->count() && int(samples.size()) < units * 3; ++g) {
        rg.GminaCbx->setCurrentIndex(g);
        rg.GminaCbxChange();
        for (int o = 0; o < rg.ObrebCbx->count(); ++o) {
            rg.ObrebCbx->setCurrentIndex(o);
            rg.ObrebCbxChange();
            for (int u = 0; u < rg.JrLcbx->count() && u < 10; ++u) {
                emit rg.JrLcbx->activated(u);
                rg.DzialkiQry->first();
                while (!rg.DzialkiQry->eof()) {
                    const auto start = std::chrono::steady_clock::now();
                    rg.DzialkiQry->next(); // the after-scroll refreshes the change page
                    if (rg.DzialkiQry->eof())
                        break;
                    rg.ZmianyTW->Html->viewport()->grab();
                    const auto end = std::chrono::steady_clock::now();
                    samples.push_back(std::chrono::duration<double, std::milli>(end - start).count());
                    documents += rg.ZmianyTW->Html->tekst().contains(QStringLiteral(" z dnia ")) ? 1 : 0;
                }
                if (int(samples.size()) >= units * 3)
                    break;
            }
            if (int(samples.size()) >= units * 3)
                break;
        }
    }
    std::printf("%d of the pages list documents\n", documents);
    return bench::wypiszCzasy(samples, "parcel row move to change page painted", "moves");
}
