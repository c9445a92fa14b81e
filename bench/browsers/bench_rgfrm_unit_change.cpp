// The land register window's unit change as the user sees it: from choosing a registration unit
// in the unit list to the holders, parcels and buildings grids painted (offscreen grabs).
//
//   bench_rgfrm_unit_change [--register FILE.sqlite] [--precincts N] [--units N]
//   bench_rgfrm_unit_change --screenshot FILE.png [--register FILE.sqlite]
//
// The register defaults to bench/register-100k.sqlite beside the program; when that file is
// missing it is generated (RegisterGenerator, 100,000 parcels, seed 1) and kept there.

#include "common/Czasy.h"
#include "common/Rejestr.h"
#include "browsers/RgFrm.h"
#include "browsers/ToolWindows.h"
#include "jet/Database.h"
#include "jet/JetFunctions.h"
#include "jet/Query.h"
#include "registergen/RegisterGenerator.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QPainter>
#include <QTabWidget>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

using namespace katarix;

namespace {

void paintGrids(browsers::TRgFrm &rg)
{
    // grab() renders each grid as it would be painted now, visible page or not.
    for (QWidget *grid : {static_cast<QWidget *>(rg.OsobyGrd), static_cast<QWidget *>(rg.DzialkiGrd),
                          static_cast<QWidget *>(rg.BudGrd)}) {
        const QPixmap pixmap = grid->grab();
        if (pixmap.isNull())
            std::abort();
    }
}

int screenshot(browsers::TRgFrm &rg, const QString &file)
{
    rg.resize(900, 560);
    rg.move(0, 0);
    rg.show();
    // A unit with holders, parcels and buildings.
    rg.PokazJr(1000004);
    rg.KlasouzTBtn->trigger();
    rg.BudTBtn->trigger();
    rg.KomentTBtn->trigger();
    rg.LokTBtn->trigger();
    rg.DzialkiGrd->selectRows({0});
    QApplication::processEvents();
    QImage canvas(1300, 900, QImage::Format_RGB32);
    canvas.fill(QColor(90, 110, 130));
    QPainter painter(&canvas);
    painter.drawPixmap(0, 0, rg.grab());
    int y = 0;
    for (QWidget *tool : {rg.KlasouzTW, static_cast<QWidget *>(rg.BudTW), static_cast<QWidget *>(rg.LokTW),
                          static_cast<QWidget *>(rg.KomentTW)}) {
        painter.fillRect(QRect(905, y, 390, 18), QColor(40, 60, 90));
        painter.setPen(Qt::white);
        painter.drawText(QRect(910, y, 380, 18), Qt::AlignVCenter, tool->windowTitle());
        const QPixmap pixmap = tool->grab();
        painter.drawPixmap(905, y + 18, pixmap.scaled(std::min(pixmap.width(), 390), pixmap.height(), Qt::IgnoreAspectRatio));
        y += 18 + pixmap.height() + 8;
    }
    painter.end();
    return canvas.save(file) ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    bench::Aplikacja app(argc, argv);
    jet::Database db;
    bench::otworzRejestr(db, app.args);
    browsers::TRgFrm rg(nullptr, &db);
    if (app.args.contains(QStringLiteral("--screenshot")))
        return screenshot(rg, bench::argument(app.args, QStringLiteral("--screenshot")));

    rg.resize(1000, 700);
    rg.show();
    QApplication::processEvents();
    const int precincts = bench::argument(app.args, QStringLiteral("--precincts"), QStringLiteral("40")).toInt();
    const int perPrecinct = bench::argument(app.args, QStringLiteral("--units"), QStringLiteral("25")).toInt();
    std::vector<double> samples; // milliseconds
    for (int g = 0; g < rg.GminaCbx->count(); ++g) {
        rg.GminaCbx->setCurrentIndex(g);
        rg.GminaCbxChange();
        for (int o = 0; o < rg.ObrebCbx->count() && int(samples.size()) < precincts * perPrecinct; o += 2) {
            rg.ObrebCbx->setCurrentIndex(o);
            rg.ObrebCbxChange();
            const int field = rg.JrQry->fieldIndex(QStringLiteral("id_jr"));
            QStringList keys;
            for (int row = 0; row < rg.JrQry->recordCount() && keys.size() < perPrecinct + 1; ++row)
                keys << jet::Dataset::valueToText(rg.JrQry->valueAt(row, field));
            // The first unit is already shown; choose the others in turn.
            for (int k = 1; k < keys.size(); ++k) {
                const auto start = std::chrono::steady_clock::now();
                rg.UstawKluczJr(keys[k]);
                paintGrids(rg);
                const auto end = std::chrono::steady_clock::now();
                samples.push_back(std::chrono::duration<double, std::milli>(end - start).count());
            }
        }
    }
    return bench::wypiszCzasy(samples, "unit change to grids painted", "units");
}
