// Large documents: one report per process, from the module's entry operation to the document
// saved on disk (its rows counted, the question answered "Tak", the document written; the
// editor is not started), with the document's size and the program's resident memory before the
// report, at its peak during it and after it.
//
//   bench_reports_large --raport wypis|skrocony|spis|zestawienie [--dzialki N] [--wybor K]
//                       [--gesty W D] [--adres]
//
// --dzialki N (default 40000): a generated register of N current parcels (RegisterGenerator,
//   seed 1), kept as bench/register-<N>.sqlite beside the program after its first use.
// --wybor K (default: all): K current parcels of current units spread evenly over the register
//   (every (count/K)-th); "wypis" prints the units of these parcels limited to them (the parcel
//   file's "Raport dla jednostki rejestrowej"), "skrocony" the parcels themselves.
// --gesty W D: the register of 10,000 parcels with one more precinct "Gęsty obręb" holding one
//   unit of W holders and D parcels (bench/register-dense-W-D.sqlite); "skrocony" takes K (default
//   all) of its D parcels, "spis" lists the holders of that precinct (W × D list rows before
//   grouping), "wypis" prints the unit.
// --adres: "spis" sorted by address.
// "zestawienie" is the land summary of the first 50 natural persons holding land.
//
// The peak is the resident set's high-water mark reset just before the report (Linux
// /proc/self/clear_refs), so it is the report's own peak.

#include "common/Aplikacja.h"
#include "common/SrodowiskoRaportu.h"
#include "jet/Database.h"
#include "jet/JetFunctions.h"
#include "jet/Query.h"
#include "registergen/RegisterGenerator.h"
#include "reports/SpisWladFrm.h"
#include "reports/WypisSkrRg.h"
#include "reports/Wypisy.h"
#include "reports/ZestGrOs.h"
#include "rtf/RTFReport.h"

#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QStringList>

#include <chrono>
#include <cstdio>
#include <functional>

using namespace katarix;

namespace {

// VmRSS or VmHWM of this process, MB.
double memoryMb(const char *key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(qsizetype(qstrlen(key))).trimmed().split(' ').first().toDouble() / 1024.0;
    return -1;
}

void resetPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

// The dense register: the 10,000-parcel one and a precinct with one unit of W holders and D parcels.
void openDenseRegister(jet::Database &db, int holders, int parcels)
{
    const QString path = QStringLiteral(KATARIX_BENCH_DIR "/register-dense-%1-%2.sqlite").arg(holders).arg(parcels);
    if (!QFile::exists(path)) {
        std::fprintf(stderr, "Generating %s...\n", qPrintable(path));
        registergen::RegisterBuilder b = registergen::generateRegister({10000, 1});
        b.add("OBREB", {{"MSLINK", 9999}, {"NAZWA", "Gęsty obręb"}, {"GMINA_ID", 1.0}, {"ARKUSZOWA", 0}});
        b.add("RGRUN", {{"ID_JR", 9000001.0}, {"OBREB_ID", 9999}, {"KOL_OBREB", 1}});
        const char *surnames[] = {"Adamczyk", "Bąk", "Cieślak", "Dudek", "Ęckert", "Fijałkowski", "Górski", "Hoffmann",
                                  "Iwański", "Jabłoński", "Kaczmarek", "Łukasik", "Malinowski", "Nowicki", "Ożóg",
                                  "Pawlak", "Rutkowski", "Sikora", "Śliwa", "Tomaszewski", "Urban", "Wróbel", "Zając",
                                  "Żak"};
        const char *names[] = {"Anna", "Barbara", "Czesław", "Danuta", "Edward", "Franciszek", "Grażyna", "Henryk"};
        for (int i = 0; i < 8; ++i)
            b.add("SLO_IMIONA", {{"MSLINK", 990001 + i}, {"IMIE", names[i]}});
        // Every holder a name of its own, so that each is one entry of the list.
        for (int h = 0; h < holders; ++h) {
            const double osoba = 9100001.0 + h;
            const std::string surname = std::string(surnames[h % 24]) + '-' + std::to_string(h);
            const std::string name = surname + ' ' + names[(h / 24) % 8];
            b.add("SLO_NAZWISKA", {{"MSLINK", 990001 + h}, {"NAZWISKO", surname}});
            b.add("OSFIZ", {{"OSFIZ_ID", osoba}, {"NAZWISKO_ID", 990001 + h}, {"IMIE_ID", 990001 + (h / 24) % 8},
                            {"PESEL", "70010112345"}});
            b.add("LWRGRUN", {{"MSLINK", 9400001.0 + h}, {"ID_JR", 9000001.0}, {"OSOBA_ID", osoba}, {"WLAD_ID", 1},
                              {"L_UDZIAL", 1}, {"M_UDZIAL", holders}, {"OSOBA_TXT", name},
                              {"ADRES_TXT", "ul. Długa 5, 00-001 Dąbrowa Leśna"}, {"REG_PES_TXT", "PESEL 70010112345"}});
        }
        for (int p = 0; p < parcels; ++p)
            b.add("KDZIALKA", {{"MSLINK", 9200001.0 + p}, {"DZIALKA_ID", 9300001.0 + p}, {"ID_JR", 9000001.0},
                               {"OBREB_ID", 9999}, {"NR_L", p + 1}, {"AREA", 1000.0 + p}, {"AROWA", 0}});
        const QString partial = path + QStringLiteral(".part");
        QFile::remove(partial);
        {
            jet::Database out;
            out.open(partial, false);
            b.loadInto(out.handle());
        }
        QFile::rename(partial, path);
    }
    db.open(path, true);
}

// K current parcels of current units spread evenly (all when K is 0 or at least their number),
// and the units they lie in; only those of the dense precinct when dense.
void selection(jet::Database &db, int wanted, bool dense, QString &parcels, QString &units)
{
    jet::Query q;
    q.setDatabase(&db);
    q.setSql(QStringLiteral("SELECT kdzialka.mslink, kdzialka.id_jr FROM kdzialka INNER JOIN rgrun ON kdzialka.id_jr = "
                            "rgrun.id_jr WHERE IIf(IsNull(kdzialka.zmiana_kas_id), 0, kdzialka.zmiana_kas_id) = 0 AND "
                            "IIf(IsNull(rgrun.zmiana_kas_id), 0, rgrun.zmiana_kas_id) = 0") +
             (dense ? QStringLiteral(" AND kdzialka.obreb_id = 9999") : QString()));
    q.open();
    const int count = q.recordCount();
    const double step = wanted > 0 && wanted < count ? double(count) / wanted : 1.0;
    QStringList ids, jr;
    QSet<QString> seen;
    for (double at = 0; int(at) < count && (wanted <= 0 || ids.size() < wanted); at += step) {
        ids << jet::Dataset::valueToText(q.valueAt(int(at), 0));
        const QString unit = jet::Dataset::valueToText(q.valueAt(int(at), 1));
        if (!seen.contains(unit)) {
            seen.insert(unit);
            jr << unit;
        }
    }
    parcels = ids.join(QLatin1Char(','));
    units = jr.join(QLatin1Char(','));
}

} // namespace

int main(int argc, char *argv[])
{
    bench::Aplikacja application(argc, argv);
    const QStringList &args = application.args;
    const QString raport = bench::argument(args, QStringLiteral("--raport"), QStringLiteral("wypis"));
    const int wybor = bench::argument(args, QStringLiteral("--wybor"), QStringLiteral("0")).toInt();
    const qsizetype gesty = args.indexOf(QStringLiteral("--gesty"));
    jet::setDecimalSeparator(QLatin1Char(','));

    jet::Database db;
    QString opisRejestru;
    if (gesty >= 0 && gesty + 2 < args.size()) {
        const int holders = args[gesty + 1].toInt(), parcels = args[gesty + 2].toInt();
        openDenseRegister(db, holders, parcels);
        opisRejestru = QStringLiteral("dense unit of %1 holders and %2 parcels").arg(holders).arg(parcels);
    } else {
        const int parcels = bench::argument(args, QStringLiteral("--dzialki"), QStringLiteral("40000")).toInt();
        registergen::openGeneratedRegister(db, QStringLiteral(KATARIX_BENCH_DIR "/register-%1.sqlite").arg(parcels),
                                           {parcels, 1});
        opisRejestru = QStringLiteral("%1-parcel register").arg(parcels);
    }
    bench::SrodowiskoRaportu env(db);
    jet::Query &tempQry = env.tempQry;
    rtf::TRTFReport &rtf1 = env.rtf1;
    const bench::SilentInteraction &interaction = env.interaction;

    QString parcels, units, what;
    if (raport == QLatin1String("wypis") || raport == QLatin1String("skrocony"))
        selection(db, wybor, gesty >= 0, parcels, units);

    double before = 0, seconds = 0;
    auto measure = [&](const std::function<void()> &report) {
        before = memoryMb("VmRSS:");
        resetPeak();
        const auto start = std::chrono::steady_clock::now();
        report();
        seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };

    if (raport == QLatin1String("wypis")) {
        reports::TWypisyDM dm(db, tempQry, rtf1);
        measure([&] { dm.WypisJr(units, parcels); });
        what = QStringLiteral("extract of %1 parcels in %2 units").arg(parcels.count(QLatin1Char(',')) + 1).arg(units.count(QLatin1Char(',')) + 1);
    } else if (raport == QLatin1String("skrocony")) {
        measure([&] {
            reports::TWypisSkrRgDM dm(db, tempQry, rtf1);
            dm.WypisSort(parcels);
        });
        what = QStringLiteral("short extract of %1 parcels").arg(parcels.count(QLatin1Char(',')) + 1);
    } else if (raport == QLatin1String("spis")) {
        reports::TSpisWladFrm frm(nullptr, &db, &tempQry, &rtf1);
        for (int i = 0; i < frm.ObrebClb->count(); ++i) {
            const bool dense = frm.ObrebClb->item(i)->text() == QStringLiteral("Gęsty obręb");
            frm.ObrebClb->item(i)->setCheckState(dense || gesty < 0 ? Qt::Checked : Qt::Unchecked);
        }
        frm.DzialkiChb->setChecked(frm.DzialkiChb->isEnabled());
        frm.SortAdresRB->setChecked(args.contains(QStringLiteral("--adres")));
        measure([&] { frm.OkBtn->click(); });
        what = QStringLiteral("alphabetical list of holders, %1 entries").arg(frm.WynikTbl->rowCount());
    } else if (raport == QLatin1String("zestawienie")) {
        jet::Query q;
        q.setDatabase(&db);
        q.setSql(QStringLiteral("SELECT DISTINCT osoba_id FROM lwrgrun WHERE osoba_id < 300000000 AND "
                                "IIf(IsNull(zmiana_kas_id), 0, zmiana_kas_id) = 0 ORDER BY osoba_id"));
        q.open();
        reports::TZestGrOsDM dm(db, rtf1);
        dm.WyczyscListe();
        for (int i = 0; i < 50 && !q.eof(); ++i, q.next())
            dm.DodajOsobe(QStringLiteral("Osoba %1").arg(i), QStringLiteral("ul. Polna 1"), q.asFloat(QStringLiteral("osoba_id")));
        measure([&] { dm.DrukujZestawienie(); });
        what = QStringLiteral("land summary of 50 persons");
    } else {
        std::fprintf(stderr, "Unknown --raport %s\n", qPrintable(raport));
        return 2;
    }
    const double peak = memoryMb("VmHWM:");
    const double after = memoryMb("VmRSS:");
    if (interaction.messages > 0 || interaction.lastDocument.isEmpty()) {
        std::fprintf(stderr, "No document.\n");
        return 1;
    }
    std::printf("%s, %s: %.2f s to the saved document, document %.1f MB; memory: before %.0f MB, peak %.0f MB, "
                "after %.0f MB\n",
                qPrintable(what), qPrintable(opisRejestru), seconds,
                double(QFileInfo(interaction.lastDocument).size()) / (1024.0 * 1024.0), before, peak, after);
    return 0;
}
