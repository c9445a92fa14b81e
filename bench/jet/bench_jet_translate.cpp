// Cost of the Jet dialect: translating a typical multi-join query, the cached lookup, and the
// Jet functions and collation over a register-sized table.

#include "jet/Database.h"
#include "jet/JetFunctions.h"
#include "jet/Translator.h"
#include "register/sql/RgQueries.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QStringList>

using namespace katarix::jet;

namespace {

// The land register's buildings query: thirteen nested LEFT JOINs.
const QString &buildingsQuery()
{
    static const QString sql = QString::fromUtf8(katarix::reg::sql::rg::BudQry);
    return sql;
}

void BM_TranslateMultiJoin(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(translateJetSql(buildingsQuery()));
}
BENCHMARK(BM_TranslateMultiJoin);

void BM_TranslateCached(benchmark::State &state)
{
    Database db;
    db.openInMemory();
    db.translate(buildingsQuery());
    for (auto _ : state)
        benchmark::DoNotOptimize(&db.translate(buildingsQuery()));
}
BENCHMARK(BM_TranslateCached);

void BM_CompareJetText(benchmark::State &state)
{
    const QString a = state.range(0) ? QString::fromUtf8("Żółkiewski-Łęczycki") : QStringLiteral("Kowalski-Nowak");
    const QString b = state.range(0) ? QString::fromUtf8("żółkiewski-łęczycka") : QStringLiteral("KOWALSKI-NOWAKOWA");
    for (auto _ : state)
        benchmark::DoNotOptimize(compareJetText(a, b));
}
BENCHMARK(BM_CompareJetText)->Arg(0)->Arg(1);

// A register-sized parcel table: 100,000 rows through the display expressions and an ORDER BY
// on a Polish text column.
class RegisterFixture : public benchmark::Fixture {
public:
    void SetUp(const benchmark::State &) override
    {
        if (db.isOpen())
            return;
        setDecimalSeparator(u',');
        db.openInMemory();
        db.execNative(QStringLiteral(
            "CREATE TABLE kdzialka (mslink INTEGER PRIMARY KEY, nr_l INTEGER, nr_m INTEGER, nr_add TEXT COLLATE JET,"
            " area REAL, arowa INTEGER, nazwa TEXT COLLATE JET);"
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 100000)"
            " INSERT INTO kdzialka SELECT i, i % 997, CASE WHEN i % 3 = 0 THEN NULL ELSE i % 7 END,"
            " CASE WHEN i % 5 = 0 THEN 'A' ELSE NULL END, (i * 37) % 50000, i % 2,"
            " CASE i % 4 WHEN 0 THEN 'Łąka ' WHEN 1 THEN 'łąka ' WHEN 2 THEN 'Żyto ' ELSE 'abc ' END || (i % 1000)"
            " FROM n;"));
    }
    Database db;
};

int runAll(Database &db, const QString &jetSql)
{
    const TranslatedSql t = db.translate(jetSql);
    sqlite3_stmt *stmt = nullptr;
    const QByteArray sql = t.sql.toUtf8();
    sqlite3_prepare_v2(db.handle(), sql.constData(), -1, &stmt, nullptr);
    int rows = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW)
        ++rows;
    sqlite3_finalize(stmt);
    return rows;
}

BENCHMARK_F(RegisterFixture, DisplayExpressions100k)(benchmark::State &state)
{
    const QString sql = QStringLiteral(
        "SELECT Format$(NR_L)+IIf(IsNull(NR_M),'','/'+Format$(NR_M))+IIf((IsNull(NR_ADD) or Len(NR_ADD)=0),'',"
        "'-'+NR_ADD) AS NUMER, IIf(AROWA=0, Format$(AREA/10000, '#########0.0000'), "
        "Format$(AREA/10000, '#########0.00')) AS POW FROM kdzialka");
    for (auto _ : state)
        benchmark::DoNotOptimize(runAll(db, sql));
}

BENCHMARK_F(RegisterFixture, OrderByPolishText100k)(benchmark::State &state)
{
    const QString sql = QStringLiteral("SELECT mslink, nazwa FROM kdzialka ORDER BY nazwa, mslink");
    for (auto _ : state)
        benchmark::DoNotOptimize(runAll(db, sql));
}

} // namespace

BENCHMARK_MAIN();
