// The request contract: datasets asked by name once per run and iterated by the component,
// variables asked once per occurrence, in template order, while the datasets stand on the
// rows being written.

#include "RtfTestSupport.h"
#include "rtf/RtfError.h"

#include <gtest/gtest.h>

using namespace katarix;
using namespace katarix::rtf;
using namespace katarix::rtf::test;

namespace {

// Units with their parcels; "skroluj_jr" refills the parcels of the current unit, "pow_dz"
// adds the current parcel's area to the unit's sum, as the extract module does.
struct Register {
    std::unique_ptr<jet::MemTable> units = table({"NR_JR"}, {{"1"}, {"2"}, {"3"}});
    std::unique_ptr<jet::MemTable> parcels = table({"NUMER", "AREA"}, {});
    QHash<QString, QList<QVariantList>> parcelsOfUnit{
        {"1", {{"10/1", "100"}, {"10/2", "250"}}}, {"2", {}}, {"3", {{"7", "5"}}}};
    int sum = 0;
    QStringList seenAtPowDz; // unit and parcel on which the component stood
    Handlers handlers;

    Register()
    {
        handlers.datasets = {{"jrqry", units.get()}, {"dlkqry", parcels.get()}};
        handlers.values["skroluj_jr"] = [this] {
            parcels->emptyTable();
            for (const QVariantList &values : parcelsOfUnit.value(units->asString("NR_JR")))
                parcels->append(values);
            parcels->last(); // the component must start the band from the first row itself
            sum = 0;
            return QVariant(QString());
        };
        handlers.values["pow_dz"] = [this] {
            seenAtPowDz.append(units->asString("NR_JR") + ":" + parcels->asString("NUMER"));
            sum += int(parcels->asInteger("AREA"));
            return QVariant(parcels->asString("AREA"));
        };
        handlers.values["sumapow"] = [this] { return QVariant(sum); };
        handlers.values["wstaw_podzial"] = [this] { return QVariant(units->recNo() != units->recordCount()); };
    }
};

QByteArray fill(TRTFReport &report, const QByteArray &body)
{
    EXPECT_TRUE(report.LoadTemplateData(document(body)));
    return report.Execute();
}

} // namespace

TEST(RtfRequests, VariablesAreAskedInTemplateOrderAcrossNestedBands)
{
    struct Case {
        const char *name;
        QByteArray body;
        QStringList requests;
        QStringList seenAtPowDz;
        QString text;
    };
    const QByteArray detailRow = row({"[[#dlkqry]][[dlkqry.NUMER]]", "[[pow_dz]][[/dlkqry]]"});
    const QList<Case> cases = {
        {"detail table rows under paragraphs of the master",
         "[[#jrqry]][[skroluj_jr]]Jednostka [[jrqry.NR_JR]]\\par " + detailRow +
             "Razem [[sumapow]][[?wstaw_podzial]] ---[[/wstaw_podzial]][[/jrqry]]",
         {"skroluj_jr", "pow_dz", "pow_dz", "sumapow", "wstaw_podzial", "skroluj_jr", "sumapow",
          "wstaw_podzial", "skroluj_jr", "pow_dz", "sumapow", "wstaw_podzial"},
         {"1:10/1", "1:10/2", "3:7"},
         "Jednostka 1\n10/1\n100\n\n10/2\n250\n\nRazem 350 ---\nJednostka 2\nRazem 0 ---\n"
         "Jednostka 3\n7\n5\n\nRazem 5\n"},
        {"master rows of a table, detail paragraphs between them",
         row({"[[#jrqry]][[jrqry.NR_JR]]", "[[skroluj_jr]]"}) + "[[#dlkqry]]- [[dlkqry.NUMER]] [[pow_dz]]\\par [[/dlkqry]]\\par " + row({"[[sumapow]]", "[[/jrqry]]"}),
         {"skroluj_jr", "pow_dz", "pow_dz", "sumapow", "skroluj_jr", "sumapow", "skroluj_jr", "pow_dz",
          "sumapow"},
         {"1:10/1", "1:10/2", "3:7"},
         "1\n\n\n- 10/1 100\n- 10/2 250\n350\n\n\n2\n\n\n0\n\n\n3\n\n\n- 7 5\n5\n\n\n\n"},
        {"inline band inside a cell, asked per detail row",
         "[[#jrqry]][[skroluj_jr]]\\par " + row({"[[jrqry.NR_JR]]", "[[#dlkqry]][[pow_dz]]; [[/dlkqry]]"}) +
             "[[/jrqry]]",
         {"skroluj_jr", "pow_dz", "pow_dz", "skroluj_jr", "skroluj_jr", "pow_dz"},
         {"1:10/1", "1:10/2", "3:7"},
         "\n1\n100; 250; \n\n\n2\n\n\n\n3\n5; \n\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Register reg;
        TRTFReport report;
        reg.handlers.install(report);
        const QByteArray out = fill(report, c.body);
        EXPECT_EQ(reg.handlers.valueRequests, c.requests);
        EXPECT_EQ(reg.seenAtPowDz, c.seenAtPowDz);
        EXPECT_EQ(reg.handlers.datasetRequests, QStringList({"jrqry", "dlkqry"}));
        EXPECT_EQ(textOf(out), c.text);
        EXPECT_TRUE(balanced(out)) << out.constData();
    }
}

TEST(RtfRequests, DatasetsAreKeptUntilClearTablesAndHandlersUntilReplaced)
{
    Register reg;
    TRTFReport report;
    reg.handlers.install(report);
    const QByteArray body = "[[#jrqry]][[jrqry.NR_JR]][[/jrqry]] [[jrqry.NR_JR]]";
    fill(report, body);
    fill(report, body);
    EXPECT_EQ(reg.handlers.datasetRequests, QStringList({"jrqry"}));

    report.ClearTables();
    const QByteArray out = fill(report, body);
    EXPECT_EQ(reg.handlers.datasetRequests, QStringList({"jrqry", "jrqry"}));
    // After the band the dataset stands past its last row; a field outside shows that row.
    EXPECT_EQ(textOf(out), "123 3\n");
}

TEST(RtfRequests, DatasetNamesAreExactAndUnknownOnesStopTheReport)
{
    struct Case {
        const char *name;
        QByteArray body;
        QString message;
    };
    const QList<Case> cases = {
        {"case differs", "[[#JrQry]]x[[/JrQry]]",
         "Szablon raportu używa zbioru danych „JrQry”, którego program nie udostępnia w tym raporcie."},
        {"unknown field", "[[jrqry.NR_KW]]",
         "Zbiór danych „jrqry” nie ma pola „NR_KW”, którego używa znacznik „[[jrqry.NR_KW]]” szablonu."},
        {"no handler answers", "[[inne.X]]",
         "Szablon raportu używa zbioru danych „inne”, którego program nie udostępnia w tym raporcie."},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Register reg;
        TRTFReport report;
        reg.handlers.install(report);
        ASSERT_TRUE(report.LoadTemplateData(document(c.body)));
        try {
            report.Execute();
            ADD_FAILURE() << "no error";
        } catch (const RtfError &error) {
            EXPECT_EQ(error.message(), c.message);
            EXPECT_EQ(QString::fromUtf8(error.what()), c.message);
        }
    }
}

TEST(RtfRequests, ConditionalSectionsFollowTheTruthOfTheVariable)
{
    struct Case {
        QVariant value;
        bool shown;
    };
    const QList<Case> cases = {
        {true, true},          {false, false},        {QVariant(), false},  {QString(), false},
        {QString("0"), false}, {QString("False"), false}, {QString("tak"), true}, {0, false},
        {2, true},             {qlonglong(-1), true},  {0.0, false},         {0.5, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.value.isValid() ? c.value.toString().toStdString() + " " + c.value.typeName()
                                       : std::string("invalid"));
        Handlers handlers;
        handlers.values["koment"] = [&] { return c.value; };
        TRTFReport report;
        handlers.install(report);
        // An inline section, a section of paragraphs and its negation.
        const QByteArray out = fill(report, "a[[?koment]]B[[/koment]]c\\par "
                                            "[[?koment]]P1\\par P2[[/koment]]\\par "
                                            "[[?!koment]]N[[/koment]]");
        EXPECT_EQ(textOf(out), c.shown ? "aBc\nP1\nP2\n\n" : "ac\nN\n");
        EXPECT_EQ(handlers.valueRequests, QStringList({"koment", "koment", "koment"}));
    }
    // A variable no handler knows is empty text, so false; without a handler too.
    Handlers unknown;
    TRTFReport report;
    unknown.install(report);
    EXPECT_EQ(textOf(fill(report, "[[?brak]]x[[/brak]]<[[brak]]>")), "<>\n");
    TRTFReport bare;
    EXPECT_EQ(textOf(fill(bare, "[[?brak]]x[[/brak]]<[[brak]]>")), "<>\n");
}

TEST(RtfRequests, ABandWhoseDatasetIsRewoundByAVariableStops)
{
    Register reg;
    reg.handlers.values["cofnij"] = [&] {
        reg.units->first();
        return QVariant();
    };
    TRTFReport report;
    reg.handlers.install(report);
    ASSERT_TRUE(report.LoadTemplateData(document("[[#jrqry]][[jrqry.NR_JR]][[cofnij]][[/jrqry]]")));
    try {
        report.Execute();
        ADD_FAILURE() << "no error";
    } catch (const RtfError &error) {
        EXPECT_EQ(error.message(), "Zbiór danych „jrqry” wrócił do wcześniejszego wiersza w trakcie "
                                   "wypełniania obszaru „[[#jrqry]]” szablonu.");
    }
}
