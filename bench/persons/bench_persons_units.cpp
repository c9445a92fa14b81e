// The units of persons window on the 100,000-parcel register: CzytajJr (the union over the land
// and premises registers, every form of holding, with and without history) and the grid painted,
// for a person who holds directly, one who holds through a marriage and a group member.
//
//   bench_persons_units [--benchmark_filter=...]
//
// The register is read from bench/register-100k.sqlite beside the program; when that file is
// missing it is generated (RegisterGenerator, 100,000 parcels, seed 1) and kept there.

#include "common/BenchmarkMain.h"
#include "common/Rejestr.h"
#include "app/MainFrm.h"
#include "jet/Query.h"
#include "persons/TWjrOsUstFrm.h"
#include "persons/TWjrOsobyFrm.h"
#include "registergen/RegisterGenerator.h"
#include "widgets/DataGrid.h"

#include <QCheckBox>
#include <QDir>
#include <QTemporaryDir>

using namespace katarix;

namespace {

struct Environment {
    Environment()
    {
        QDir(dir.path()).mkpath(QStringLiteral("Program"));
        main = new app::TMainFrm(nullptr, dir.filePath(QStringLiteral("Program")));
        app::MainFrm = main;
        registergen::openGeneratedRegister(main->baza(), bench::rejestrDomyslny(), {100000, 1});
        owner = new QWidget;
        frm = new persons::TTWjrOsobyFrm(owner);
        frm->resize(420, 300);
    }
    QTemporaryDir dir;
    app::TMainFrm *main = nullptr;
    QWidget *owner = nullptr;
    persons::TTWjrOsobyFrm *frm = nullptr;
};

Environment &environment()
{
    static Environment env;
    return env;
}

// Showcase persons of the generator: 100001 holds G-1 directly, 100007 through the marriage that
// holds G-3 and L-1, 100010 as a member of the group holding G-5.
void BM_CzytajJr(benchmark::State &state)
{
    Environment &env = environment();
    env.frm->IdOsoby = double(state.range(0));
    env.frm->TWjrOsUstFrm->findChild<QCheckBox *>(QStringLiteral("ArchChb"))->setChecked(state.range(1) != 0);
    for (auto _ : state) {
        env.frm->CzytajJr();
        benchmark::DoNotOptimize(env.frm->JrGrd->grab());
    }
    state.counters["rows"] = env.frm->JrQry->recordCount();
}
BENCHMARK(BM_CzytajJr)
    ->ArgNames({"osoba", "archiwum"})
    ->Args({100001, 0})
    ->Args({100007, 0})
    ->Args({100010, 0})
    ->Args({100007, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(50);

} // namespace

int main(int argc, char **argv)
{
    return bench::uruchomBenchmarki(argc, argv);
}
