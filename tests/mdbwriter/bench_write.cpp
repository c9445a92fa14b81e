// Write speed of the Jet 4 writer: rows of 10 columns (numbers, dates, texts, a short memo).
//   build/tests/mdbwriter_bench --benchmark_filter=WriteRows/1000000

#include "MdbContent.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <unistd.h>

using namespace katarix::mdbwriter;

static Content makeRows(int rows)
{
    Table t{"KDZIALKA",
            {{"MSLINK", ColumnType::Double},
             {"DZIALKA_ID", ColumnType::Double},
             {"OBREB_ID", ColumnType::Long},
             {"NUMER", ColumnType::Text, 20},
             {"AREA", ColumnType::Double},
             {"ZMIANA_ID", ColumnType::Double},
             {"ZMIANA_KAS_ID", ColumnType::Double},
             {"DATA", ColumnType::DateTime},
             {"NAZWA", ColumnType::Text, 60},
             {"UWAGI", ColumnType::Memo}},
            {}};
    t.rows.reserve(rows);
    for (int i = 0; i < rows; ++i)
        t.rows.push_back({double(i), double(i / 2), std::int64_t(i % 40), std::to_string(i % 900) + "/" + std::to_string(i % 7),
                          1234.5 + i, double(i % 1000), i % 3 ? Value{} : Value(0.0), 40000.0 + i % 9000,
                          std::string("Działka położona w Łęczycy ") + std::to_string(i), i % 10 ? Value{} : Value(std::string("uwaga"))});
    return Content{{std::move(t)}};
}

static void WriteRows(benchmark::State &state)
{
    const Content content = makeRows(int(state.range(0)));
    const std::string path = (std::filesystem::temp_directory_path() / ("mdbwriter_bench_" + std::to_string(::getpid()) + ".mdb")).string();
    for (auto _ : state)
        writeJet4(content, path);
    state.counters["MB"] = double(std::filesystem::file_size(path)) / 1e6;
    state.SetItemsProcessed(state.iterations() * state.range(0));
    std::filesystem::remove(path);
}
BENCHMARK(WriteRows)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
