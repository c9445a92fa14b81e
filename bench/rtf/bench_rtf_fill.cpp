// Filling an extract-like template: units as paragraphs, parcels as table rows, a variable
// per unit and per parcel. Arguments: units, parcels per unit.

#include "jet/MemTable.h"
#include "rtf/RTFReport.h"

#include <QFile>
#include <benchmark/benchmark.h>

using namespace katarix;

namespace {

QByteArray extractTemplate()
{
    QFile file(QStringLiteral(KATARIX_SOURCE_DIR "/tests/rtf/data/libreoffice_extract.rtf"));
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

void fill(benchmark::State &state)
{
    const int units = int(state.range(0));
    const int perUnit = int(state.range(1));
    jet::MemTable jr;
    jr.addField("NR_JR", jet::FieldType::Integer);
    jr.addField("OBREB", jet::FieldType::Text);
    jr.open();
    for (int i = 0; i < units; ++i)
        jr.append({i + 1, QStringLiteral("Śródmieście")});
    jet::MemTable dlk;
    dlk.addField("NUMER", jet::FieldType::Text);
    dlk.open();

    rtf::TRTFReport report;
    report.OnDataSetRequest = [&](const QString &name, jet::Dataset *&dataset) {
        if (name == QLatin1String("jrqry"))
            dataset = &jr;
        else if (name == QLatin1String("dlkqry"))
            dataset = &dlk;
    };
    report.OnValueRequest = [&](const QString &name) -> QVariant {
        if (name == QLatin1String("skroluj_jr")) {
            dlk.emptyTable();
            for (int i = 0; i < perUnit; ++i)
                dlk.append({QStringLiteral("%1/%2").arg(jr.recNo()).arg(i + 1)});
            return QString();
        }
        if (name == QLatin1String("pow_dz"))
            return 0.1234;
        if (name == QLatin1String("wstaw_podzial"))
            return jr.recNo() != jr.recordCount();
        return QStringLiteral("żółć");
    };
    const QByteArray tpl = extractTemplate();
    qint64 bytes = 0;
    for (auto _ : state) {
        report.LoadTemplateData(tpl);
        const QByteArray out = report.Execute();
        bytes = out.size();
        benchmark::DoNotOptimize(out.constData());
    }
    state.counters["output_bytes"] = double(bytes);
    state.counters["rows_per_s"] =
        benchmark::Counter(double(units) * (perUnit + 1), benchmark::Counter::kIsIterationInvariantRate);
}

} // namespace

BENCHMARK(fill)->Args({1, 10})->Args({100, 10})->Args({1000, 10})->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
