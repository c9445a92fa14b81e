// The land register extract of the largest unit, the short extract of 2,000 parcels and the land
// summary of 50 persons on the 100,000-parcel register: from the module's entry operation to the
// document saved on disk (queries, filling the template, writing the file; the editor is not
// started).
//
//   bench_reports_extracts [--benchmark_filter=...]
//
// The register is read from bench/register-100k.sqlite beside the program; when that file is
// missing it is generated (RegisterGenerator, 100,000 parcels, seed 1) and kept there.

#include "common/BenchmarkMain.h"
#include "common/Rejestr.h"
#include "common/SrodowiskoRaportu.h"
#include "jet/Database.h"
#include "jet/Query.h"
#include "registergen/RegisterGenerator.h"
#include "reports/WypisSkrRg.h"
#include "reports/ZestGrOs.h"
#include "reports/Wypisy.h"
#include "rtf/RTFReport.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cstdio>
#include <vector>

using namespace katarix;

namespace {

// The register, then what the reports run in.
struct Environment {
    Environment()
        : srodowisko((registergen::openGeneratedRegister(db, bench::rejestrDomyslny(), {100000, 1}), db)),
          tempQry(srodowisko.tempQry), rtf1(srodowisko.rtf1), interaction(srodowisko.interaction)
    {
    }

    jet::Database db;
    bench::SrodowiskoRaportu srodowisko;
    jet::Query &tempQry;
    rtf::TRTFReport &rtf1;
    bench::SilentInteraction &interaction;
};

Environment &environment()
{
    static Environment env;
    return env;
}

void reportDocument(benchmark::State &state, Environment &env)
{
    if (env.interaction.messages > 0)
        state.SkipWithError("the report showed a message");
    state.counters["document_kB"] = double(QFileInfo(env.interaction.lastDocument).size()) / 1024.0;
}

// The current unit with the most current parcels.
double largestUnit(jet::Database &db, int &parcels)
{
    jet::Query q;
    q.setDatabase(&db);
    q.setSql(QStringLiteral(
        "SELECT kdzialka.id_jr, count(kdzialka.mslink) AS ile FROM kdzialka INNER JOIN rgrun ON kdzialka.id_jr = "
        "rgrun.id_jr WHERE IIf(IsNull(kdzialka.zmiana_kas_id), 0, kdzialka.zmiana_kas_id) = 0 AND "
        "IIf(IsNull(rgrun.zmiana_kas_id), 0, rgrun.zmiana_kas_id) = 0 GROUP BY kdzialka.id_jr ORDER BY 2 DESC"));
    q.open();
    parcels = int(q.asInteger(QStringLiteral("ile")));
    return q.asFloat(QStringLiteral("id_jr"));
}

// 2,000 current parcels of current units spread over the whole register.
QString spreadParcels(jet::Database &db, int wanted)
{
    jet::Query q;
    q.setDatabase(&db);
    q.setSql(QStringLiteral(
        "SELECT kdzialka.mslink FROM kdzialka INNER JOIN rgrun ON kdzialka.id_jr = rgrun.id_jr WHERE "
        "IIf(IsNull(kdzialka.zmiana_kas_id), 0, kdzialka.zmiana_kas_id) = 0 AND "
        "IIf(IsNull(rgrun.zmiana_kas_id), 0, rgrun.zmiana_kas_id) = 0"));
    q.open();
    const int step = std::max(1, q.recordCount() / wanted);
    QStringList ids;
    for (int row = 0; row < q.recordCount() && ids.size() < wanted; row += step) {
        q.setRecNo(row + 1);
        ids << q.asString(QStringLiteral("mslink"));
    }
    return ids.join(QLatin1Char(','));
}

void BM_WypisJrLargestUnit(benchmark::State &state)
{
    Environment &env = environment();
    int parcels = 0;
    const QString idJr = QString::number(largestUnit(env.db, parcels), 'f', 0);
    reports::TWypisyDM dm(env.db, env.tempQry, env.rtf1);
    for (auto _ : state)
        dm.WypisJr(idJr, QString());
    state.counters["parcels"] = parcels;
    reportDocument(state, env);
}
BENCHMARK(BM_WypisJrLargestUnit)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

void BM_WypisSort2000Parcels(benchmark::State &state)
{
    Environment &env = environment();
    const QString list = spreadParcels(env.db, 2000);
    for (auto _ : state) {
        reports::TWypisSkrRgDM dm(env.db, env.tempQry, env.rtf1);
        dm.WypisSort(list);
    }
    state.counters["parcels"] = double(list.count(QLatin1Char(',')) + 1);
    reportDocument(state, env);
}
BENCHMARK(BM_WypisSort2000Parcels)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

// The first `wanted` natural persons holding current land, in key order.
std::vector<double> landHolders(jet::Database &db, int wanted)
{
    jet::Query q;
    q.setDatabase(&db);
    q.setSql(QStringLiteral(
        "SELECT DISTINCT osoba_id FROM lwrgrun WHERE osoba_id < 300000000 AND "
        "IIf(IsNull(zmiana_kas_id), 0, zmiana_kas_id) = 0 ORDER BY osoba_id"));
    q.open();
    std::vector<double> ids;
    for (q.first(); !q.eof() && int(ids.size()) < wanted; q.next())
        ids.push_back(q.asFloat(QStringLiteral("osoba_id")));
    return ids;
}

void BM_ZestGrOs50Persons(benchmark::State &state)
{
    Environment &env = environment();
    const std::vector<double> persons = landHolders(env.db, 50);
    for (auto _ : state) {
        reports::TZestGrOsDM dm(env.db, env.rtf1);
        dm.WyczyscListe();
        for (double id : persons)
            dm.DodajOsobe(QStringLiteral("Osoba %1").arg(id, 0, 'f', 0), QStringLiteral("ul. Polna 1"), id);
        dm.DrukujZestawienie();
    }
    state.counters["persons"] = double(persons.size());
    reportDocument(state, env);
}
BENCHMARK(BM_ZestGrOs50Persons)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

} // namespace

int main(int argc, char **argv)
{
    return bench::uruchomBenchmarki(argc, argv);
}
