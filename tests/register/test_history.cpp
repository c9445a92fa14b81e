#include "RegisterTestSupport.h"
#include "register/History.h"
#include "register/sql/DodDlkQueries.h"
#include "registergen/RegisterBuilder.h"

#include <gtest/gtest.h>

using namespace katarix;
namespace history = katarix::reg::history;

namespace {

// The spellings as the queries write them for the parcel table.
TEST(History, FormsForATable)
{
    const QString k = QStringLiteral("KDZIALKA");
    const QString kl = QStringLiteral("kdzialka");
    EXPECT_EQ(history::current(k), QStringLiteral("IIf(IsNull(KDZIALKA.ZMIANA_KAS_ID), 0, KDZIALKA.ZMIANA_KAS_ID) = 0"));
    EXPECT_EQ(history::current(QString()), QStringLiteral("IIf(IsNull(ZMIANA_KAS_ID), 0, ZMIANA_KAS_ID) = 0"));
    EXPECT_EQ(history::currentAnd(kl),
              QStringLiteral(" AND (kdzialka.zmiana_kas_id = 0 OR kdzialka.zmiana_kas_id is null)"));
    EXPECT_EQ(history::archivedAnd(kl), QStringLiteral(" AND kdzialka.zmiana_kas_id <> 0 "));
    EXPECT_EQ(history::currentNullOnly(QStringLiteral("KW_DLK")), QStringLiteral("KW_DLK.ZMIANA_KAS_ID IS NULL"));
    EXPECT_EQ(history::currentZeroOnly(QStringLiteral("kbudynek")), QStringLiteral("kbudynek.zmiana_kas_id = 0"));
    EXPECT_EQ(history::landBookStatus(QStringLiteral("KW_DLK")),
              QStringLiteral("(KW_DLK.STATUS = 'P' OR KW_DLK.STATUS IS NULL)"));
    EXPECT_EQ(history::linkValidAt(QStringLiteral("kw_dlk"), kl),
              QStringLiteral("kw_dlk.zmiana_id < IIf(IsNull(kdzialka.zmiana_kas_id) or kdzialka.zmiana_kas_id=0, "
                             "9999999999,kdzialka.zmiana_kas_id) AND IIf(IsNull(kw_dlk.zmiana_kas_id),9999999999,"
                             "kw_dlk.zmiana_kas_id) >= IIf(IsNull(kdzialka.zmiana_kas_id) or "
                             "kdzialka.zmiana_kas_id=0, 9999999999,kdzialka.zmiana_kas_id)"));
    // The parcel search's texts are these forms.
    EXPECT_EQ(QString::fromUtf8(reg::sql::doddlk::HistoriaAktualne), history::currentAnd(kl));
    EXPECT_EQ(QString::fromUtf8(reg::sql::doddlk::HistoriaArchiwalne), history::archivedAnd(kl));
    EXPECT_TRUE(QString::fromUtf8(reg::sql::doddlk::MainSh.text).contains(history::linkValidAt(QStringLiteral("kw_dlk"), kl)));
}

// Holder rows whose retiring change is NULL (1), 0 (2), 500 (3) and 9999999998 (4); land-book
// links of status 'P' (1), NULL (2), 'A' (3).
class HistoryRows : public ::testing::Test {
protected:
    void SetUp() override
    {
        registergen::RegisterBuilder b;
        b.add("LWRGRUN", {{"MSLINK", 1.0}, {"ID_JR", 10.0}, {"ZMIANA_KAS_ID", nullptr}});
        b.add("LWRGRUN", {{"MSLINK", 2.0}, {"ID_JR", 10.0}, {"ZMIANA_KAS_ID", 0.0}});
        b.add("LWRGRUN", {{"MSLINK", 3.0}, {"ID_JR", 10.0}, {"ZMIANA_KAS_ID", 500.0}});
        b.add("LWRGRUN", {{"MSLINK", 4.0}, {"ID_JR", 10.0}, {"ZMIANA_KAS_ID", 9999999998.0}});
        b.add("KW_DLK", {{"DZIALKA_ID", 1.0}, {"KW_ID", 1.0}, {"STATUS", "P"}});
        b.add("KW_DLK", {{"DZIALKA_ID", 1.0}, {"KW_ID", 2.0}, {"STATUS", nullptr}});
        b.add("KW_DLK", {{"DZIALKA_ID", 1.0}, {"KW_ID", 3.0}, {"STATUS", "A"}});
        b.toDatabase(db);
    }
    QString select(const QString &table, const QString &key, const QString &where)
    {
        const regtest::Result r = regtest::run(
            db, QStringLiteral("SELECT %1 FROM %2 WHERE %3 ORDER BY %1").arg(key, table, where));
        return r.columnValues(key).join(QLatin1Char(','));
    }
    jet::Database db;
};

TEST_F(HistoryRows, NullAndZeroAsEachFormSays)
{
    const QString t = QStringLiteral("LWRGRUN");
    const struct {
        const char *form;
        QString where;
        QString rows;
    } cases[] = {
        {"IIf form", history::current(t), "1,2"},
        {"IIf form, unqualified", history::current(QString()), "1,2"},
        {"current, appended", QStringLiteral("MSLINK > 0") + history::currentAnd(t), "1,2"},
        {"archived", QStringLiteral("MSLINK > 0") + history::archivedAnd(t), "3,4"},
        {"NULL only", history::currentNullOnly(t), "1"},
        {"0 only", history::currentZeroOnly(t), "2"},
        {"not current", QStringLiteral("NOT (") + history::current(t) + QStringLiteral(")"), "3,4"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(select(t, QStringLiteral("MSLINK"), c.where), c.rows) << c.form;

    EXPECT_EQ(select(QStringLiteral("KW_DLK"), QStringLiteral("KW_ID"), history::landBookStatus(QStringLiteral("KW_DLK"))),
              QStringLiteral("1,2"));
    EXPECT_EQ(select(QStringLiteral("KW_DLK"), QStringLiteral("KW_ID"),
                     history::landBookStatusPOnly(QStringLiteral("kw_dlk"))),
              QStringLiteral("1"));
}

// The land book valid at the time of each parcel version.
//   parcel 1: version 11 retired at change 500, version 12 current (NULL), version 13 current (0);
//     links: A 100..300, B 300..500, C 500..NULL, D 600..0, E 200..NULL with status 'A',
//     F 450..NULL with status NULL.
//   parcel 2: version 21 retired at 800, version 22 current (NULL); link G 100..NULL, H 900..1000.
TEST(HistoryLinkValidAt, PicksTheLandBookOfEachVersion)
{
    registergen::RegisterBuilder b;
    auto version = [&](double mslink, double dzialka, registergen::FieldValue kas) {
        b.add("KDZIALKA", {{"MSLINK", mslink}, {"DZIALKA_ID", dzialka}, {"NR_L", int(mslink)},
                           {"ZMIANA_ID", 1.0}, {"ZMIANA_KAS_ID", kas}});
    };
    version(11, 1, 500.0);
    version(12, 1, nullptr);
    version(13, 1, 0.0);
    version(21, 2, 800.0);
    version(22, 2, nullptr);
    auto link = [&](double dzialka, const char *kw, double from, registergen::FieldValue to,
                    registergen::FieldValue status) {
        const double kwId = double(kw[0]);
        b.add("KW_DLK", {{"DZIALKA_ID", dzialka}, {"KW_ID", kwId}, {"STATUS", status},
                         {"ZMIANA_ID", from}, {"ZMIANA_KAS_ID", to}});
        b.add("SLO_KW", {{"KW_ID", kwId}, {"NAZWA", kw}});
    };
    link(1, "A", 100, 300.0, "P");
    link(1, "B", 300, 500.0, "P");
    link(1, "C", 500, nullptr, "P");
    link(1, "D", 600, 0.0, "P");
    link(1, "E", 200, nullptr, "A");
    link(1, "F", 450, nullptr, nullptr);
    link(2, "G", 100, nullptr, "P");
    link(2, "H", 900, 1000.0, "P");
    jet::Database db;
    b.toDatabase(db);

    const QString kdz = QStringLiteral("kdzialka");
    const QString sql = QStringLiteral(
        "SELECT kdzialka.mslink, slo_kw.nazwa FROM (kdzialka LEFT JOIN kw_dlk ON (kdzialka.dzialka_id = "
        "kw_dlk.dzialka_id AND %1 AND %2)) LEFT JOIN slo_kw ON kw_dlk.kw_id = slo_kw.kw_id "
        "ORDER BY kdzialka.mslink, slo_kw.nazwa")
        .arg(history::landBookStatus(QStringLiteral("kw_dlk")), history::linkValidAt(QStringLiteral("kw_dlk"), kdz));
    const regtest::Result r = regtest::run(db, sql);
    QStringList pairs;
    for (const QStringList &row : r.rows)
        pairs << row.value(0) + QLatin1Char(':') + row.value(1);
    // 11 (retired at 500): B (retired at 500) and F (still current); not C (created at 500).
    // 12 and 13 (current): the links still current by NULL, C and F; D (retired at 0) never.
    // 21 (retired at 800): G, still current; 22: G.
    EXPECT_EQ(pairs.join(QLatin1Char(' ')), QStringLiteral("11:B 11:F 12:C 12:F 13:C 13:F 21:G 22:G"));
}

} // namespace
