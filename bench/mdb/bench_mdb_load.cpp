// Loading the benchmark register (100,000 parcels):
//   FirstOpen   - openRegister with an empty cache (helper process: libmdb -> SQLite, indexes)
//   CachedOpen  - openRegister while the cached copy is valid (its key and XXH3 checked)
//   Cancel      - from "Anuluj" (the cancel callback answering true, 300 ms into a first open) to
//                 openRegister returning with the helper ended and its copy removed
//   MdbExport   - mdb-export of every table to /dev/null, the floor set by the reader itself
// The register is bench/register-100k.mdb; it is generated with katarix-gen when missing.
// Run: build/bench/bench_mdb_load [--benchmark_filter=...]
#include "jet/Database.h"
#include "jet/RegisterLoader.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>

using namespace katarix;

namespace {

const QString kRegister = QStringLiteral(KATARIX_BENCH_DIR "/register-100k.mdb");

bool ensureRegister()
{
    if (QFileInfo::exists(kRegister))
        return true;
    std::fprintf(stderr, "generating %s\n", qPrintable(kRegister));
    QDir().mkpath(QFileInfo(kRegister).absolutePath());
    return QProcess::execute(QStringLiteral(KATARIX_PROGRAM_DIR "/katarix-gen"),
                             {QStringLiteral("--parcels"), QStringLiteral("100000"), QStringLiteral("--seed"),
                              QStringLiteral("1"), kRegister})
        == 0;
}

jet::OpenOptions options(const QString &cacheDir)
{
    jet::OpenOptions o;
    o.cacheDir = cacheDir;
    o.loaderPath = QStringLiteral(KATARIX_PROGRAM_DIR "/katarix-loader");
    return o;
}

void FirstOpen(benchmark::State &state)
{
    QTemporaryDir dir;
    for (auto _ : state) {
        state.PauseTiming();
        QDir(dir.path() + QStringLiteral("/cache")).removeRecursively();
        state.ResumeTiming();
        jet::Database db;
        jet::openRegister(db, kRegister, options(dir.path() + QStringLiteral("/cache")));
    }
    state.counters["MB"] = double(QFileInfo(kRegister).size()) / 1e6;
}

void CachedOpen(benchmark::State &state)
{
    QTemporaryDir dir;
    {
        jet::Database db;
        jet::openRegister(db, kRegister, options(dir.path()));
    }
    for (auto _ : state) {
        jet::Database db;
        jet::openRegister(db, kRegister, options(dir.path()));
        benchmark::DoNotOptimize(db.handle());
    }
}

void Cancel(benchmark::State &state)
{
    QTemporaryDir dir;
    for (auto _ : state) {
        QDir(dir.path() + QStringLiteral("/cache")).removeRecursively();
        jet::OpenOptions o = options(dir.path() + QStringLiteral("/cache"));
        QElapsedTimer sinceStart;
        QElapsedTimer sinceCancel;
        sinceStart.start();
        o.cancelled = [&] {
            if (!sinceCancel.isValid() && sinceStart.elapsed() >= 300)
                sinceCancel.start();
            return sinceCancel.isValid();
        };
        jet::Database db;
        try {
            jet::openRegister(db, kRegister, o);
        } catch (const jet::LoadCancelled &) {
        }
        state.SetIterationTime(double(sinceCancel.nsecsElapsed()) / 1e9);
        const QStringList left = QDir(dir.path() + QStringLiteral("/cache")).entryList(QDir::Files);
        if (!left.isEmpty())
            state.SkipWithError("a temporary copy was left");
    }
}

void MdbExport(benchmark::State &state)
{
    QProcess list;
    list.start(QStringLiteral("mdb-tables"), {QStringLiteral("-1"), kRegister});
    list.waitForFinished(-1);
    const QStringList tables = QString::fromUtf8(list.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (auto _ : state) {
        for (const QString &table : tables) {
            QProcess p;
            p.setStandardOutputFile(QProcess::nullDevice());
            p.start(QStringLiteral("mdb-export"), {kRegister, table});
            p.waitForFinished(-1);
        }
    }
    state.counters["tables"] = double(tables.size());
}

} // namespace

BENCHMARK(FirstOpen)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(CachedOpen)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Cancel)->Unit(benchmark::kMillisecond)->Iterations(5)->UseManualTime();
BENCHMARK(MdbExport)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

int main(int argc, char **argv)
{
    if (!ensureRegister()) {
        std::fprintf(stderr, "cannot generate %s\n", qPrintable(kRegister));
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
