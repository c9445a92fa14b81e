// The land register's unit change: the holders, parcels and buildings queries of one unit are
// closed, re-parameterised and opened again (rows fetched), on the 100,000-parcel register.
//
//   bench_register_unit_change [--benchmark_filter=...]
//
// The register is read from bench/register-100k.sqlite beside the program; when that file is
// missing it is generated (RegisterGenerator, 100,000 parcels, seed 1) and kept there.

#include "common/Czasy.h"
#include "common/Rejestr.h"
#include "jet/Database.h"
#include "jet/JetError.h"
#include "jet/Query.h"
#include "jet/Translator.h"
#include "register/sql/RgQueries.h"
#include "registergen/RegisterGenerator.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QString>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

using namespace katarix;
namespace rg = katarix::reg::sql::rg;

namespace {

jet::Database &registerDatabase()
{
    static jet::Database db;
    if (!db.isOpen())
        registergen::openGeneratedRegister(db, bench::rejestrDomyslny(), {100000, 1});
    return db;
}

// Current land registration units that have parcels, spread over the whole register.
const std::vector<double> &units()
{
    static std::vector<double> ids;
    if (ids.empty()) {
        jet::Query q;
        q.setDatabase(&registerDatabase());
        q.setSql(QStringLiteral("SELECT DISTINCT kdzialka.id_jr FROM kdzialka INNER JOIN rgrun ON kdzialka.id_jr = "
                                "rgrun.id_jr WHERE IIf(IsNull(rgrun.zmiana_kas_id), 0, rgrun.zmiana_kas_id) = 0"));
        q.open();
        std::vector<double> all;
        for (q.first(); !q.eof(); q.next())
            all.push_back(q.asFloat(QStringLiteral("id_jr")));
        const std::size_t step = std::max<std::size_t>(1, all.size() / 1000);
        for (std::size_t i = 0; i < all.size(); i += step)
            ids.push_back(all[i]);
    }
    return ids;
}

double threadCpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

// Per-iteration times, wall clock and this thread's CPU time, reported as median and 99th
// percentile in milliseconds (the CPU figures do not count time lost to other processes).
class Timings {
public:
    void start()
    {
        m_wallStart = std::chrono::steady_clock::now();
        m_cpuStart = threadCpuMs();
    }
    void stop()
    {
        m_wall.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - m_wallStart).count());
        m_cpu.push_back(threadCpuMs() - m_cpuStart);
    }
    void report(benchmark::State &state)
    {
        put(state, m_wall, "");
        put(state, m_cpu, "cpu_");
    }

private:
    static void put(benchmark::State &state, std::vector<double> &ms, const std::string &prefix)
    {
        if (ms.empty())
            return;
        std::sort(ms.begin(), ms.end());
        state.counters[prefix + "median_ms"] = bench::kwantyl(ms, 0.5);
        state.counters[prefix + "p99_ms"] = bench::kwantyl(ms, 0.99);
    }

    std::chrono::steady_clock::time_point m_wallStart;
    double m_cpuStart = 0;
    std::vector<double> m_wall, m_cpu;
};

void openFor(jet::Query &q, double idJr)
{
    q.close();
    q.setParameter(QStringLiteral("IdJr"), idJr, jet::FieldType::Float);
    q.open();
    benchmark::DoNotOptimize(q.recordCount());
}

// The unit change as the window does it: the three queries keep their text, so the engine's
// translation cache answers after the first unit.
void BM_UnitChange(benchmark::State &state)
{
    jet::Database &db = registerDatabase();
    const std::vector<double> &ids = units();
    jet::Query osoby, dzialki, bud;
    for (jet::Query *q : {&osoby, &dzialki, &bud})
        q->setDatabase(&db);
    osoby.setSql(QString::fromUtf8(rg::OsobyQry));
    dzialki.setSql(QString::fromUtf8(rg::DzialkiQry));
    bud.setSql(QString::fromUtf8(rg::BudQry));
    Timings timings;
    std::size_t i = 0;
    for (auto _ : state) {
        const double id = ids[i++ % ids.size()];
        timings.start();
        openFor(osoby, id);
        openFor(dzialki, id);
        openFor(bud, id);
        timings.stop();
    }
    timings.report(state);
}
BENCHMARK(BM_UnitChange)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2000);

// The same with the three texts translated afresh for every unit (no translation cache).
void BM_UnitChangeUncached(benchmark::State &state)
{
    jet::Database &db = registerDatabase();
    const std::vector<double> &ids = units();
    const QString texts[] = {QString::fromUtf8(rg::OsobyQry), QString::fromUtf8(rg::DzialkiQry),
                             QString::fromUtf8(rg::BudQry)};
    Timings timings;
    std::size_t i = 0;
    int variant = 0;
    for (auto _ : state) {
        const double id = ids[i++ % ids.size()];
        timings.start();
        for (const QString &text : texts) {
            // A trailing run of blanks of a new length makes each text new to the cache.
            jet::Query q;
            q.setDatabase(&db);
            q.setSql(text + QString(1 + variant, QLatin1Char(' ')));
            openFor(q, id);
        }
        ++variant;
        timings.stop();
    }
    timings.report(state);
}
BENCHMARK(BM_UnitChangeUncached)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1000);

// Translation alone: Jet text to SQLite text for the three queries.
void BM_TranslateUnitQueries(benchmark::State &state)
{
    const QString texts[] = {QString::fromUtf8(rg::OsobyQry), QString::fromUtf8(rg::DzialkiQry),
                             QString::fromUtf8(rg::BudQry)};
    for (auto _ : state)
        for (const QString &text : texts)
            benchmark::DoNotOptimize(jet::translateJetSql(text));
}
BENCHMARK(BM_TranslateUnitQueries)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    try {
        registerDatabase();
        units();
    } catch (const jet::JetError &e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
