// Template syntax: markers found across the groups editors split them into, bands over
// table rows, paragraphs and inline text, conditional sections, and malformed templates.

#include "RtfTestSupport.h"
#include "rtf/RtfError.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace katarix;
using namespace katarix::rtf;
using namespace katarix::rtf::test;

namespace {

QByteArray fixture(const char *name)
{
    QFile file(QStringLiteral(KATARIX_SOURCE_DIR "/tests/rtf/data/") + QLatin1String(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    return file.readAll();
}

struct Fixture {
    std::unique_ptr<jet::MemTable> ds = table({"A", "B"}, {{"a1", "b1"}, {"a2", "b2"}});
    std::unique_ptr<jet::MemTable> sub = table({"X"}, {{"x1"}, {"x2"}});
    std::unique_ptr<jet::MemTable> none = table({"A"}, {});
    Handlers handlers;
    TRTFReport report;

    Fixture()
    {
        handlers.datasets = {{"ds", ds.get()}, {"sub", sub.get()}, {"none", none.get()}};
        handlers.values = {{"t", [] { return QVariant(true); }},
                           {"f", [] { return QVariant(false); }},
                           {"name", [] { return QVariant(QStringLiteral("Żółw")); }}};
        handlers.install(report);
    }

    QByteArray fill(const QByteArray &rtf)
    {
        EXPECT_TRUE(report.LoadTemplateData(rtf));
        return report.Execute();
    }
};

} // namespace

TEST(RtfTemplates, MarkersBandsAndSections)
{
    struct Case {
        const char *name;
        QByteArray body;
        QString text;
    };
    const QList<Case> cases = {
        {"field and variable", "[[ds.A]]/[[ds.b]] [[name]] [[ brak ]].", "a1/b1 Żółw .\n"},
        {"marker split as LibreOffice writes it",
         "{\\rtlch\\fcs1 \\af0 \\ltrch\\fcs0 \\insrsid123 [[d}{\\insrsid456 s.A]]}"
         "{\\loch [[na}{\\loch\\i\\loch\nme}{\\loch\n]]}",
         "a1Żółw\n"},
        {"marker split by a bookmark, a language change and escaped letters",
         "[[{\\*\\bkmkstart x}ds{\\*\\bkmkend x}.{\\lang1033 A}]] [[\\u110\\'6eame]]", "a1 Żółw\n"},
        {"inline band", "<[[#ds]][[ds.A]],[[/ds]]>", "<a1,a2,>\n"},
        {"band of paragraphs, markers on lines of their own",
         "przed\\par [[#ds]]\\par [[ds.A]]\\par [[ds.B]]\\par [[/ds]]\\par po", "przed\na1\nb1\na2\nb2\npo\n"},
        {"band of table rows", "przed\\par " + row({"[[#ds]][[ds.A]]", "[[ds.B]][[/ds]]"}) + "po",
         "przed\na1\nb1\n\na2\nb2\n\npo\n"},
        {"band of two rows", row({"[[#ds]][[ds.A]]", ""}) + row({"", "[[ds.B]][[/ds]]"}),
         "a1\n\n\n\nb1\n\na2\n\n\n\nb2\n\n\n"},
        {"nested bands: rows inside paragraphs",
         "[[#ds]][[ds.A]]:\\par " + row({"[[#sub]][[ds.A]]", "[[sub.X]][[/sub]]"}) + "[[/ds]]\\par koniec",
         "a1:\na1\nx1\n\na1\nx2\n\na2:\na2\nx1\n\na2\nx2\n\nkoniec\n"},
        {"nested inline band inside a row band",
         row({"[[#ds]][[ds.A]]", "[[#sub]][[sub.X]] [[/sub]][[/ds]]"}), "a1\nx1 x2 \n\na2\nx1 x2 \n\n\n"},
        {"empty dataset prints nothing", "<[[#none]]x[[/none]]>\\par [[#none]]\\par y\\par [[/none]]\\par z",
         "<>\nz\n"},
        {"field of an empty dataset is empty", "<[[none.A]]>", "<>\n"},
        {"sections: inline, paragraphs, negated, nested in a band",
         "[[?t]]T[[/t]][[?f]]F[[/f]][[?!f]]nie-F[[/f]]\\par [[?f]]\\par ukryty\\par [[/f]]\\par "
         "[[#ds]][[?t]][[ds.A]][[/t]][[/ds]]",
         "Tnie-F\na1a2\n"},
        {"section around a band", "[[?t]]\\par " + row({"[[#ds]][[ds.A]]", "[[/ds]]"}) + "[[/t]]\\par [[?f]]\\par " +
             row({"[[#ds]][[ds.A]]", "[[/ds]]"}) + "[[/f]]\\par k",
         "a1\n\n\na2\n\n\nk\n"},
        {"conditional table row", row({"[[?t]]nag\\u322\\'b3\\u243\\'f3wek", "[[/t]]"}) + row({"[[?f]]ukryty", "[[/f]]"}) + "k",
         "nagłówek\n\n\nk\n"},
        {"header row printed on condition inside a row band",
         row({"[[#ds]][[?t]]N", "[[/t]]"}) + row({"[[?f]]U", "[[/f]]"}) + row({"[[ds.A]]", "[[/ds]]"}),
         "N\n\n\na1\n\n\nN\n\n\na2\n\n\n\n"},
        {"a band start and an enclosing end share a paragraph",
         "[[#ds]]\\par [[?t]]\\par [[ds.A]]\\par [[/t]][[/ds]]\\par k", "a1\na2\nk\n"},
    };
    // A band in the first paragraph of a document without header groups repeats no header.
    {
        Fixture f;
        const QByteArray out = f.fill("{\\rtf1\\ansi\\deff0 [[#ds]][[ds.A]]\\par [[/ds]]\\par }");
        EXPECT_EQ(out, "{\\rtf1\\ansi\\ansicpg1250\\deflang1045 \\deff0 {\\uc1\\lang1045 a1}\\par "
                       "{\\uc1\\lang1045 a2}\\par }");
    }
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Fixture f;
        try {
            const QByteArray out = f.fill(document(c.body));
            EXPECT_EQ(textOf(out), c.text);
            EXPECT_TRUE(balanced(out)) << out.constData();
        } catch (const RtfError &error) {
            ADD_FAILURE() << error.message().toStdString();
        }
    }
}

TEST(RtfTemplates, MalformedTemplatesAreReportedWhenFilled)
{
    struct Case {
        const char *name;
        QByteArray rtf;
        QString message;
    };
    const QString prefix = QStringLiteral("Nieprawidłowy szablon raportu: ");
    const QList<Case> cases = {
        {"unclosed marker", document("[[ds.A\\par ]]"),
         "znacznik „[[ds.A” nie jest zamknięty znakami „]]” w tym samym akapicie."},
        {"marker inside a marker", document("[[ds.A [[name]]"),
         "znacznik „[[ds.A [[name]]” nie jest zamknięty znakami „]]” w tym samym akapicie."},
        {"empty marker", document("[[ ]]"), "pusty znacznik „[[]]”."},
        {"band without a name", document("[[#]]x[[/]]"), "znacznik „[[#]]” nie podaje nazwy."},
        {"field without a name", document("[[ds.]]"), "znacznik „[[ds.]]” powinien mieć postać [[zbiór.POLE]]."},
        {"end without start", document("x[[/ds]]"), "znacznik „[[/ds]]” niczego nie zamyka."},
        {"crossed ends", document("[[#ds]][[?t]]x[[/ds]][[/t]]"), "znacznik „[[/ds]]” nie pasuje do otwartego „[[?t]]”."},
        {"missing end", document("[[#ds]]x"), "brak znacznika „[[/ds]]” zamykającego „[[#ds]]”."},
        {"value before a band start in its paragraph", document("[[name]] [[#ds]]\\par x[[/ds]]\\par "),
         "znacznik „[[name]]” stoi w akapicie lub wierszu tabeli obszaru „[[#ds]]”, przed jego początkiem; "
         "przenieś go do innego akapitu lub za znacznik początku."},
        {"value after a band end in its row", document(row({"[[#ds]]x", "[[/ds]] [[name]]"})),
         "znacznik „[[name]]” stoi w akapicie lub wierszu tabeli obszaru „[[#ds]]”, za jego końcem; "
         "przenieś go do innego akapitu lub przed znacznik końca."},
        {"two row bands in one row", document(row({"[[#ds]]x", "[[/ds]]", "[[#sub]]y", "[[/sub]]"})),
         "obszary „[[#ds]]” i „[[#sub]]” zajmują ten sam akapit lub wiersz tabeli."},
        {"unbalanced braces", "{\\rtf1\\ansi {\\b x}", "niezamknięte grupy „{”, plik jest niekompletny."},
        {"extra brace", "{\\rtf1\\ansi {x}}}", "nawias zamykający „}” (bajt 15) kończy dokument przed jego końcem."},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Fixture f;
        ASSERT_TRUE(f.report.LoadTemplateData(c.rtf));
        try {
            f.report.Execute();
            ADD_FAILURE() << "no error";
        } catch (const RtfError &error) {
            EXPECT_EQ(error.message(), prefix + c.message);
        }
        EXPECT_TRUE(f.handlers.valueRequests.isEmpty()); // nothing is asked of a broken template
    }
}

TEST(RtfTemplates, DocumentsSavedByEditorsAreFilled)
{
    struct Case {
        const char *file;
        QStringList requests;
        QString text;
    };
    const QList<Case> cases = {
        {"libreoffice_extract.rtf",
         {"current_date", "skroluj_jr", "pow_dz", "pow_dz", "sumapow", "wstaw_podzial", "skroluj_jr",
          "pow_dz", "pow_dz", "sumapow", "wstaw_podzial"},
         "Wypis z rejestru gruntów\nData: 09.12.2026\nJednostka rejestrowa nr 7 – obręb Śródmieście\n"
         "Nr działki\nPowierzchnia [ha]\n\n1\n0,5\n\n2/3\n0,5\n\nRazem: 1,0 ha\n────────\n"
         "Jednostka rejestrowa nr 8 – obręb Łęgi\nNr działki\nPowierzchnia [ha]\n\n1\n0,5\n\n2/3\n0,5\n\n"
         "Razem: 1,0 ha\nŻółć gęślą jaźń\n"},
        {"word_split.rtf",
         {"opis", "uwagi", "uwagi", "opis", "uwagi", "uwagi", "data"},
         "Wypis z rejestru gruntów\nJednostka nr 7 – obręb\nDziałka\nPowierzchnia\n\n1\n0,12\n\n2/3\n1,5\n\n"
         "Uwagi: uwaga\nKoniec uwag.\nJednostka nr 8 – obręb\nDziałka\nPowierzchnia\n\n1\n0,12\n\n2/3\n1,5\n\n"
         "Uwagi: uwaga\nKoniec uwag.\nSporządzono dnia 09.12.2026.\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.file);
        auto units = table({"NR_JR", "OBREB", "NR"}, {{"7", "Śródmieście", "7"}, {"8", "Łęgi", "8"}});
        auto parcels = table({"NUMER", "POW"}, {{"1", "0,12"}, {"2/3", "1,5"}});
        Handlers handlers;
        handlers.datasets = {{"jrqry", units.get()}, {"listajr", units.get()},
                             {"dlkqry", parcels.get()}, {"dzialki", parcels.get()}};
        const auto text = [](const char *value) { return [value] { return QVariant(QString::fromUtf8(value)); }; };
        handlers.values = {{"current_date", text("09.12.2026")}, {"data", text("09.12.2026")},
                           {"pow_dz", text("0,5")},          {"sumapow", text("1,0")},
                           {"opis", text("obręb")},          {"uwagi", text("uwaga")},
                           {"wstaw_podzial", [&] { return QVariant(units->recNo() != units->recordCount()); }}};
        TRTFReport report;
        handlers.install(report);
        ASSERT_TRUE(report.LoadTemplateData(fixture(c.file)));
        const QByteArray out = report.Execute();
        EXPECT_EQ(handlers.valueRequests, c.requests);
        EXPECT_EQ(textOf(out), c.text);
        EXPECT_TRUE(balanced(out));
    }
}

TEST(RtfTemplates, DamagedFilesGiveAnErrorOrAValidDocument)
{
    // Every cut of an editor's file, and the file with bytes overwritten by RTF specials.
    const QByteArray original = fixture("word_split.rtf");
    QList<QByteArray> damaged;
    for (qsizetype cut = 0; cut < original.size(); cut += 7)
        damaged.append(original.left(cut));
    const char specials[] = "{}\\[]#/?.;' ";
    quint32 seed = 12345;
    for (int i = 0; i < 300; ++i) {
        QByteArray copy = original;
        for (int k = 0; k < 3; ++k) {
            seed = seed * 1103515245u + 12345u;
            const qsizetype at = qsizetype((seed >> 8) % quint32(copy.size()));
            copy[at] = specials[(seed >> 4) % (sizeof(specials) - 1)];
        }
        damaged.append(copy);
    }
    int filled = 0;
    for (const QByteArray &rtf : damaged) {
        Fixture f;
        auto parcels = table({"NUMER", "POW"}, {{"1", "2"}});
        f.handlers.datasets["listajr"] = f.ds.get();
        f.handlers.datasets["dzialki"] = parcels.get();
        if (!f.report.LoadTemplateData(rtf))
            continue;
        try {
            const QByteArray out = f.report.Execute();
            EXPECT_TRUE(balanced(out)) << rtf.constData();
            ++filled;
        } catch (const RtfError &error) {
            EXPECT_FALSE(error.message().isEmpty());
        }
    }
    EXPECT_GT(filled, 0);
}
