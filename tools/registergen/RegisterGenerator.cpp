#include "RegisterGenerator.h"

#include "GeneratorData.h"

#include "jet/Database.h"

#include <QDate>
#include <QFile>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

namespace katarix::registergen {

namespace {

using V = FieldValue;

// xoshiro256** seeded through splitmix64: the same sequence on every platform and library.
class Rng {
public:
    explicit Rng(std::uint64_t seed)
    {
        for (std::uint64_t &word : m_s) {
            seed += 0x9E3779B97F4A7C15ull;
            std::uint64_t z = seed;
            z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
            z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
            word = z ^ (z >> 31);
        }
    }

    std::uint64_t next()
    {
        const std::uint64_t result = rotl(m_s[1] * 5, 7) * 9;
        const std::uint64_t t = m_s[1] << 17;
        m_s[2] ^= m_s[0];
        m_s[3] ^= m_s[1];
        m_s[1] ^= m_s[2];
        m_s[0] ^= m_s[3];
        m_s[2] ^= t;
        m_s[3] = rotl(m_s[3], 45);
        return result;
    }

    // Uniform in [0, n).
    int below(int n) { return n <= 0 ? 0 : int((unsigned __int128)next() * std::uint64_t(n) >> 64); }
    // Uniform in [low, high].
    int range(int low, int high) { return low + below(high - low + 1); }
    double unit() { return double(next() >> 11) * 0x1.0p-53; }
    bool chance(double p) { return unit() < p; }
    template <typename T, std::size_t N> const T &pick(const T (&items)[N]) { return items[below(int(N))]; }

private:
    static std::uint64_t rotl(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
    std::uint64_t m_s[4];
};

std::string format(const char *fmt, auto... args)
{
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, fmt, args...);
    return buffer;
}

long dateNumber(const QDate &d) { return d.year() * 10000L + d.month() * 100L + d.day(); }

const char *const romans[] = {"", " II", " III", " IV", " V", " VI", " VII", " VIII", " IX", " X",
                              " XI", " XII", " XIII", " XIV", " XV", " XVI", " XVII", " XVIII", " XIX", " XX"};

std::string suffixed(const char *name, int repeat)
{
    std::string s = name;
    if (repeat > 0)
        s += repeat < 20 ? romans[repeat] : " " + std::to_string(repeat + 1);
    return s;
}

// Land-book number of the current form: court code / 8 digits / check digit.
std::string landBookNumber(const std::string &court, long number)
{
    static const std::string alphabet = "0123456789XABCDEFGHIJKLMNOPRSTUWYZ";
    const std::string digits = format("%08ld", number);
    const std::string body = court + digits;
    static const int weights[] = {1, 3, 7};
    int sum = 0;
    for (std::size_t i = 0; i < body.size(); ++i)
        sum += int(alphabet.find(body[i])) * weights[i % 3];
    return court + "/" + digits + "/" + std::to_string(sum % 10);
}

struct Court {
    int id;
    const char *code;
    const char *name;
};
const Court courts[] = {
    {1, "KR1W", "Sąd Rejonowy w Dąbrowie Leśnej, V Wydział Ksiąg Wieczystych"},
    {2, "KR2D", "Sąd Rejonowy w Żurawicy Górnej, IV Wydział Ksiąg Wieczystych"},
    {3, "KR1P", "Sąd Rejonowy dla Krakowa-Podgórza w Krakowie, IV Wydział Ksiąg Wieczystych"},
};

struct Change {
    double id;
    QDate date;
    long time; // HHMMSS
};

struct Place {
    double id;
    std::string name;
    std::vector<long> streetIds;
    std::vector<std::string> streetLabels; // "ul. Kościuszki"
    long pseudoStreet = 0;                 // street named after a village without streets
    long kodId = 0;
    std::string kod;
    std::string poczta;
};

struct Precinct {
    long id;
    int commune;
    std::string name;
    bool urban;
    int place;
    std::vector<double> sheets;
    std::vector<long> sheetNumbers;
    long nextNumber = 1;
    long kolG = 1, kolB = 1, kolL = 1;
};

struct Person {
    double id = 0;
    std::string text;
    std::string address;
    std::string pesel; // PESEL or REGON
    std::string nip;
    long group = 7; // SLO_GRREJ of the person as owner
};

struct Unit {
    double id;
    Precinct *precinct;
    double kw; // 0: none
};

// One version of a parcel.
struct ParcelVersion {
    double unit;
    double area;
    int arowa;
    double created;
    V retired;
};

// SLO_GRREJ keys.
enum Group { GrSp = 1, GrSpUw = 2, GrStatePerson = 3, GrGmina = 4, GrGminaUw = 5, GrGminaPerson = 6,
             GrNatural = 7, GrCooperative = 8, GrChurch = 9, GrCommunity = 10, GrPowiat = 11, GrOther = 12 };

class Generator {
public:
    explicit Generator(const GeneratorOptions &options)
        : m_parcels(std::max(20, options.parcels)), m_rng(options.seed), m_fixed(0x4B41544152495845ull)
    {
    }

    RegisterBuilder run()
    {
        dictionaries();
        geography();
        changesAndCases();
        showcasePersons();
        randomPersons();
        showcaseUnits();
        randomUnits();
        return std::move(b);
    }

private:
    // ---- identifiers -------------------------------------------------------------------
    double m_unitId = 1000001, m_parcelRow = 2000001, m_parcelId = 3000001, m_contour = 4000001,
           m_buildingRow = 5000001, m_buildingId = 5500001, m_premisesRow = 6000001, m_premisesId = 6500001,
           m_caseId = 7000001, m_docId = 7500001, m_operatId = 7800001, m_operatZasobId = 7900001,
           m_holderRow = 8000001, m_commentId = 9000001, m_kwId = 1400001, m_addressId = 1700001,
           m_naturalId = 100001, m_legalId = 300000000, m_coupleId = 500000000;
    long m_kwNumber = 10001;

    // ---- dictionaries ------------------------------------------------------------------
    void dictionaries()
    {
        for (const auto &u : data::uses)
            b.add("SLO_UZYT", {{"MSLINK", u.id}, {"SKROT", u.skrot}, {"SRT", u.srt}, {"WYPIS_TXT", u.text},
                               {"OPIS", u.text}});
        for (const auto &c : data::classes)
            b.add("SLO_KLABOT", {{"MSLINK", c.id}, {"SKROT", c.skrot}, {"SRT", c.id * 10}, {"DEF_UZ", c.use},
                                 {"OPIS", std::string("klasa ") + c.skrot}});
        struct W { int id; const char *skrot, *opis; int rodzaj; };
        for (const W &w : {W{1, "wł", "własność", 1}, W{2, "uw", "użytkowanie wieczyste", 2},
                           W{3, "tz", "trwały zarząd", 2}, W{4, "ws", "władanie samoistne", 1},
                           W{5, "dz", "dzierżawa", 3}, W{6, "uż", "użytkowanie", 3}, W{7, "zr", "zarząd", 2},
                           W{8, "in", "inny rodzaj władania", 3}})
            b.add("SLO_WLAD", {{"MSLINK", w.id}, {"SKROT", w.skrot}, {"OPIS", w.opis}, {"RODZAJ", w.rodzaj}});
        struct G { int id, grupa, podgrupa; const char *opis; };
        for (const G &g : {G{GrSp, 1, 1, "Skarb Państwa"}, G{GrSpUw, 1, 2, "Skarb Państwa, grunty w użytkowaniu wieczystym"},
                           G{GrStatePerson, 2, 1, "państwowe osoby prawne"}, G{GrGmina, 4, 1, "gminy"},
                           G{GrGminaUw, 4, 2, "gminy, grunty w użytkowaniu wieczystym"},
                           G{GrGminaPerson, 5, 1, "gminne osoby prawne"}, G{GrNatural, 7, 1, "osoby fizyczne"},
                           G{GrCooperative, 8, 1, "spółdzielnie"}, G{GrChurch, 9, 1, "kościoły i związki wyznaniowe"},
                           G{GrCommunity, 10, 1, "wspólnoty gruntowe"}, G{GrPowiat, 6, 1, "powiaty"},
                           G{GrOther, 7, 3, "spółki prawa handlowego i inne podmioty"}})
            b.add("SLO_GRREJ", {{"MSLINK", g.id}, {"GRUPA", g.grupa}, {"PODGRUPA", g.podgrupa}, {"OPIS", g.opis}});
        struct N { int id; const char *nazwa; };
        for (const N &n : {N{1, "budynek mieszkalny jednorodzinny"}, N{2, "budynek mieszkalny wielorodzinny"},
                           N{3, "budynek gospodarczy"}, N{4, "budynek handlowo-usługowy"}, N{5, "budynek przemysłowy"},
                           N{6, "budynek biurowy"}, N{7, "budynek garażu"}, N{8, "budynek szkoły"}})
            b.add("SLO_FUNBUD", {{"MSLINK", n.id}, {"NAZWA", n.nazwa}, {"KST", format("11%02d", n.id)}});
        for (const N &n : {N{1, "sieciowa"}, N{2, "lokalna"}, N{3, "brak"}})
            b.add("SLO_INST", {{"MSLINK", n.id}, {"NAZWA", n.nazwa}});
        for (const N &n : {N{1, "mur"}, N{2, "drewno"}, N{3, "żelbet"}, N{4, "stal"}, N{5, "prefabrykaty"},
                           N{6, "papa"}, N{7, "blachodachówka"}, N{8, "dachówka"}})
            b.add("SLO_KONSTR", {{"MSLINK", n.id}, {"NAZWA", n.nazwa}});
        for (const N &n : {N{1, "lokal mieszkalny"}, N{2, "lokal użytkowy"}, N{3, "garaż"}})
            b.add("SLO_FUNLOK", {{"MSLINK", n.id}, {"NAZWA", n.nazwa}});
        for (const Court &c : courts)
            b.add("SLO_WYDZKW", {{"MSLINK", c.id}, {"NAZWA", c.name}, {"KOD", c.code}});
        for (const N &n : {N{1, "Założenie ewidencji"}, N{2, "Podział działki"}, N{3, "Zmiana właściciela"},
                           N{4, "Aktualizacja danych"}, N{5, "Modernizacja ewidencji"}, N{6, "Wpis budynku"},
                           N{7, "Wyodrębnienie lokalu"}, N{8, "Zmiana użytku gruntowego"}})
            b.add("SLO_RODZ_ZM", {{"RODZ_ZM_ID", n.id}, {"NAZWA", n.nazwa}});
        for (const N &n : {N{1, "Akt notarialny"}, N{2, "Operat techniczny"}, N{3, "Decyzja administracyjna"},
                           N{4, "Postanowienie sądu"}, N{5, "Wypis z księgi wieczystej"}})
            b.add("SLO_RODZDOK", {{"MSLINK", n.id}, {"OPIS", n.nazwa}});
        for (const N &n : {N{1, "Notariusz Anna Żółkiewska, Kancelaria Notarialna w Dąbrowie Leśnej"},
                           N{2, "Starosta Dąbrowski"}, N{3, "Sąd Rejonowy w Dąbrowie Leśnej"}, N{4, ""},
                           N{5, "Geodeta uprawniony Łukasz Śliwa"}})
            b.add("ZGLASZAJACY", {{"ID", n.id}, {"OPIS", n.nazwa}});
        for (const N &n : {N{1, "P"}, N{2, "O"}, N{3, "Z"}})
            b.add("SLO_OPERATTYP", {{"OPERATTYP_ID", n.id}, {"SKROT", n.nazwa},
                                    {"OPIS", n.id == 1 ? "operat pomiarowy" : n.id == 2 ? "operat opisowy" : "zbiór"}});
        struct U { int id; const char *login; V full; int level; };
        for (const U &u : {U{1, "admin", "Administrator systemu", 9}, U{2, "jkowalska", "Joanna Kowalska", 5},
                           U{3, "mwojcik", V(), 5}, U{4, "import", "Konwersja danych", 9}})
            b.add("EW_USER", {{"ID", u.id}, {"USER_NAME", u.login}, {"FULL_NAME2", u.full}, {"POZIOM", u.level}});
        for (const N &n : {N{1, "ul."}, N{2, "al."}, N{3, "pl."}, N{4, "os."}})
            b.add("SLO_RODZ_UL", {{"RODZ_UL_ID", n.id}, {"PRZEDROSTEK", n.nazwa},
                                  {"NAZWA", n.id == 1 ? "ulica" : n.id == 2 ? "aleja" : n.id == 3 ? "plac" : "osiedle"}});
        b.add("SLO_RODZ_UL", {{"RODZ_UL_ID", 5}, {"NAZWA", "miejscowość bez ulic"}});
        long id = 1;
        for (const auto &s : data::surnames) {
            m_maleSurname.push_back(id);
            b.add("SLO_NAZWISKA", {{"MSLINK", id++}, {"NAZWISKO", s.male}});
            if (std::string(s.male) != s.female)
                b.add("SLO_NAZWISKA", {{"MSLINK", id++}, {"NAZWISKO", s.female}});
            m_femaleSurname.push_back(id - 1);
        }
        id = 1;
        for (const char *name : data::maleNames)
            b.add("SLO_IMIONA", {{"MSLINK", id++}, {"IMIE", name}});
        m_firstFemaleName = id;
        for (const char *name : data::femaleNames)
            b.add("SLO_IMIONA", {{"MSLINK", id++}, {"IMIE", name}});
    }

    // ---- communes, precincts, places, streets ----------------------------------------
    void geography()
    {
        const int communes = std::max(2, std::min(7, 2 + m_parcels / 20000));
        const int precincts = std::max(4, m_parcels / 250);
        for (int c = 0; c < communes; ++c)
            b.add("GMINA", {{"MSLINK", double(c + 1)}, {"NAZWA", data::communeNames[c]},
                            {"TERYT", format("12010%d%d", c + 1, c == 0 ? 1 : 2)}, {"AKTYWNA", true}});
        addCode("32-400", "Dąbrowa Leśna");
        for (int c = 1; c < communes; ++c)
            addCode(format("32-4%d0", c), data::communeNames[c]);
        const long townCode = 1;

        // The town of the first commune: one place for all its precincts.
        const int town = addPlace("Dąbrowa Leśna", townCode);
        for (std::size_t i = 0; i < std::size(data::streets); ++i)
            addStreet(town, data::streets[i].name, data::streets[i].kind);

        int village = 0, townPart = 0;
        for (int p = 0; p < precincts; ++p) {
            const int commune = p * communes / precincts;
            const bool lastOfCommune = (p + 1) * communes / precincts != commune;
            Precinct pr{p + 1, commune, "", commune == 0, town, {}, {}};
            if (lastOfCommune && p > 0) {
                pr.name = data::firstSortingNames[commune];
            } else if (commune == 0) {
                pr.name = suffixed(data::townPrecinctNames[townPart % std::size(data::townPrecinctNames)],
                                   int(townPart / std::size(data::townPrecinctNames)));
                ++townPart;
            } else {
                pr.name = suffixed(data::villageNames[village % std::size(data::villageNames)],
                                   int(village / std::size(data::villageNames)));
                ++village;
            }
            if (!pr.urban) {
                pr.place = addPlace(pr.name, 1 + commune);
                const int count = m_fixed.range(0, 3);
                for (int s = 0; s < count; ++s) {
                    const auto &street = m_fixed.pick(data::streets);
                    addStreet(pr.place, street.name, street.kind);
                }
                addStreet(pr.place, pr.name, 5);
                m_places[std::size_t(pr.place)].pseudoStreet = m_places[std::size_t(pr.place)].streetIds.back();
                m_places[std::size_t(pr.place)].streetIds.pop_back();
                m_places[std::size_t(pr.place)].streetLabels.pop_back();
            }
            const bool sheets = (pr.id % 4) == 2;
            b.add("OBREB", {{"MSLINK", pr.id}, {"NAZWA", pr.name}, {"GMINA_ID", double(commune + 1)},
                            {"ARKUSZOWA", sheets ? 1 : 0}, {"NUMER", format("%04ld", pr.id)}});
            b.add("OBR_MIEJSC", {{"OBREB_ID", pr.id}, {"MIEJSC_ID", m_places[std::size_t(pr.place)].id}});
            if (sheets) {
                const int count = pr.id == 2 ? 4 : m_fixed.range(2, 6);
                for (int s = 0; s < count; ++s) {
                    const double sheetId = 501 + double(m_sheetCount++);
                    b.add("ARKUSZ", {{"MSLINK", sheetId}, {"NAZWA", std::to_string(s + 1)}, {"OBREB_ID", pr.id},
                                     {"SKALA", s % 2 ? 1000 : 2000}});
                    pr.sheets.push_back(sheetId);
                    pr.sheetNumbers.push_back(1);
                }
            }
            m_precincts.push_back(pr);
        }
        m_firstExternal = int(m_places.size());
        struct Ext { const char *name, *code; };
        for (const Ext &e : {Ext{"Kraków", "30-001"}, Ext{"Warszawa", "00-950"}, Ext{"Katowice", "40-001"},
                             Ext{"Tarnów", "33-100"}, Ext{"Nowy Sącz", "33-300"}}) {
            const long code = addCode(e.code, e.name);
            const int place = addPlace(e.name, code);
            for (int s = 0; s < 6; ++s) {
                const auto &street = data::streets[std::size_t(s * 5 + 1) % std::size(data::streets)];
                addStreet(place, street.name, street.kind);
            }
        }
    }

    long addCode(const std::string &kod, const std::string &poczta)
    {
        const long id = long(m_codes.size()) + 1;
        m_codes.push_back({kod, poczta});
        b.add("KOD_POCZT", {{"KOD_ID", id}, {"KOD", kod}, {"POCZTA", poczta}});
        return id;
    }

    int addPlace(const std::string &name, long code)
    {
        Place place;
        place.id = double(m_places.size() + 1);
        place.name = name;
        place.kodId = code;
        place.kod = m_codes[std::size_t(code - 1)].first;
        place.poczta = m_codes[std::size_t(code - 1)].second;
        b.add("SLO_MIEJSC", {{"MIEJSC_ID", place.id}, {"NAZWA", name}, {"SIMC", format("%07d", 950000 + int(place.id))}});
        m_places.push_back(place);
        return int(m_places.size()) - 1;
    }

    void addStreet(int place, const std::string &name, int kind)
    {
        const long id = ++m_streetCount;
        b.add("SLO_ULICE", {{"ULICA_ID", id}, {"NAZWA", name}, {"RODZ_UL_ID", kind},
                            {"MIEJSC_ID", m_places[std::size_t(place)].id}, {"SYM_UL", format("%05ld", 10000 + id)}});
        static const char *const prefixes[] = {"", "ul. ", "al. ", "pl. ", "os. ", ""};
        m_places[std::size_t(place)].streetIds.push_back(id);
        m_places[std::size_t(place)].streetLabels.push_back(prefixes[kind] + name);
    }

    // An address in a place: on its street `street`, or on the village's own name when -1.
    double addAddress(int placeIndex, int street, const std::string &number, const std::string &flat,
                      std::string *full = nullptr)
    {
        const Place &place = m_places[std::size_t(placeIndex)];
        if (street < 0 && !place.pseudoStreet && !place.streetIds.empty())
            street = 0;
        const long streetId = street < 0 ? place.pseudoStreet : place.streetIds[std::size_t(street)];
        std::string line = (street < 0 ? place.name : place.streetLabels[std::size_t(street)]) + " " + number;
        if (!flat.empty())
            line += "/" + flat;
        const std::string all = line + ", " + place.kod + " " + place.poczta;
        const double id = m_addressId++;
        b.add("ADRES", {{"ADRES_ID", id}, {"ULICA_ID", streetId}, {"KOD_ID", place.kodId}, {"NUMER", number},
                        {"NUMER2", flat.empty() ? V() : V(flat)}, {"ADR_FULL", all}, {"ADR_UL", line}});
        if (full)
            *full = all;
        return id;
    }

    double randomAddress(Rng &rng, bool local, std::string *full, bool flat = false)
    {
        int place;
        if (local) {
            const Precinct &pr = m_precincts[std::size_t(rng.below(int(m_precincts.size())))];
            place = pr.place;
        } else {
            place = m_firstExternal + rng.below(int(m_places.size()) - m_firstExternal);
        }
        const Place &pl = m_places[std::size_t(place)];
        const int street = pl.streetIds.empty() || (pl.pseudoStreet && rng.chance(0.5))
            ? -1 : rng.below(int(pl.streetIds.size()));
        std::string number = std::to_string(rng.range(1, street < 0 ? 250 : 120));
        if (rng.chance(0.08))
            number += char('a' + rng.below(3));
        return addAddress(place, street, number, flat ? std::to_string(rng.range(1, 40)) : std::string(), full);
    }

    // ---- changes, cases, documents -----------------------------------------------------
    void changesAndCases()
    {
        const int count = std::max(60, m_parcels / 2 + 40);
        const QDate first(1999, 3, 15);
        const int span = int(first.daysTo(QDate(2025, 11, 28))) - 30;
        Rng &r = m_fixed;
        double currentCase = 0;
        int caseCount = 0;
        std::vector<int> caseNumbers(40, 0);
        for (int i = 0; i < count; ++i) {
            Change c;
            c.id = 100001 + i;
            c.date = i == 0 ? first : first.addDays(30 + qint64(i - 1) * span / std::max(1, count - 2));
            long seconds = r.range(7 * 3600, 15 * 3600 + 1800);
            if (!m_changes.empty() && m_changes.back().date == c.date) {
                const long prev = m_changes.back().time;
                const long prevSec = prev / 10000 * 3600 + prev / 100 % 100 * 60 + prev % 100;
                seconds = std::min(prevSec + r.range(1, 1800), 86399L);
            }
            if (i == 0)
                seconds = 8 * 3600;
            if (i == 1)
                seconds = 9 * 3600 + 3 * 60 + 5;
            c.time = seconds / 3600 * 10000 + seconds / 60 % 60 * 100 + seconds % 60;
            m_changes.push_back(c);

            V caseId;
            if (i == 0 || i == 14 || (i > 40 && i % 17 == 0)) {
                caseId = V();
            } else if (i == 30) {
                caseId = 0.0;
            } else {
                if (currentCase == 0 || r.chance(0.6)) {
                    currentCase = m_caseId++;
                    addCase(currentCase, c, caseCount++, caseNumbers);
                }
                caseId = currentCase;
            }
            const int user = i == 0 ? 4 : 1 + r.below(3);
            b.add("ZMIANY", {{"ID", c.id}, {"USER_ID", user}, {"SPRAWA_ID", caseId},
                             {"DATAD", oleDate(c.date.year(), c.date.month(), c.date.day(), int(c.time / 10000),
                                               int(c.time / 100 % 100), int(c.time % 100))},
                             {"DATA_D", dateNumber(c.date)}, {"CZAS_D", c.time},
                             {"OPIS", i == 0 ? V("Założenie ewidencji - konwersja danych") : V()}});
        }
    }

    void addCase(double caseId, const Change &c, int index, std::vector<int> &numbers)
    {
        Rng &r = m_fixed;
        const int kind = 2 + r.below(7);
        static const char *const descriptions[] = {
            "", "", "Podział działki na wniosek właściciela", "Zmiana właściciela na podstawie aktu notarialnego",
            "Aktualizacja danych ewidencyjnych", "Modernizacja ewidencji gruntów i budynków",
            "Wpis nowego budynku do ewidencji", "Wyodrębnienie lokalu mieszkalnego",
            "Zmiana użytku gruntowego - zalesienie"};
        std::string opis = descriptions[kind];
        if (index % 5 == 0)
            opis += "\r\nWnioskodawca: " + std::string(r.pick(data::maleNames)) + " "
                + r.pick(data::surnames).male + ".\r\nSprawa prowadzona zgodnie z przepisami prawa geodezyjnego.";
        b.add("SPRAWA", {{"SPRAWA_ID", caseId}, {"OPIS", opis}, {"RODZ_ZM_ID", kind}, {"DATA_ZAL", dateNumber(c.date)}});
        const int year = c.date.year();
        const int numberCount = index == 0 || r.chance(0.08) ? 2 : 1;
        for (int k = 0; k < numberCount; ++k) {
            int &counter = numbers[std::size_t(year - 1990)];
            b.add("SPRAWA_NR", {{"SPRAWA_ID", caseId}, {"NR", ++counter},
                                {"NRADD", r.chance(0.2) ? V(std::string(1, char('a' + r.below(3)))) : V()},
                                {"ROK", year}, {"OBREB_ID", long(1 + r.below(std::max<int>(1, int(m_precincts.size()))))}});
        }
        const int docs = index == 0 ? 2 : r.below(3);
        for (int k = 0; k < docs; ++k) {
            const double doc = m_docId++;
            const int rodz = index == 0 && k == 1 ? 2 : 1 + r.below(5);
            const QDate dated = c.date.addDays(-r.range(3, 60));
            static const char *const sig[] = {"", "Rep. A nr %d/%d", "P.1201.%d.%d", "GN.6831.%d.%d",
                                              "I Ns %d/%d", "KW-%d/%d"};
            V issuer = r.chance(0.1) ? V() : V(index == 0 && k == 0 ? 4 : 1 + r.below(5));
            b.add("SPRAWA_DOK", {{"SPRAWA_ID", caseId}, {"DOK_ID", doc}});
            b.add("DOK", {{"DOK_ID", doc}, {"SYGNATURA", format(sig[rodz], r.range(1, 9999), dated.year())},
                          {"DATA_DOK", dateNumber(dated)}, {"DATA_WPLYWU", dateNumber(dated.addDays(r.range(1, 5)))},
                          {"OPIS", r.chance(0.5) ? V("Dokument stanowiący podstawę zmiany") : V()},
                          {"RODZDOK_ID", rodz}, {"ZGLASZ_ID", issuer}});
        }
        if (index == 0 || r.chance(0.3)) {
            const double op = m_operatId++;
            b.add("SPRAWA_OPERAT", {{"SPRAWA_ID", caseId}, {"OPERAT_ID", op}});
            b.add("OPERAT", {{"MSLINK", op}, {"SEKCJA", "P.1201"}, {"NR_KOL", r.range(1, 2500)}, {"ROK_ZGL", c.date.year()},
                             {"DATA_ZAKLAUZUL", dateNumber(c.date.addDays(-r.range(1, 20)))},
                             {"DATA_WPLYWU", dateNumber(c.date.addDays(-r.range(21, 40)))},
                             {"KOMENTARZ", "Operat z pomiaru sytuacyjnego i podziału nieruchomości"}});
        }
        if (index == 0 || r.chance(0.1)) {
            const double oz = m_operatZasobId++;
            b.add("SPRAWA_OPERAT_Z", {{"SPRAWA_ID", caseId}, {"OPERATZASOB_ID", oz}});
            b.add("OPERAT_ZASOB", {{"OPERATZASOB_ID", oz}, {"OPERATTYP_ID", 1 + r.below(3)}, {"J_SEGR", "1201"},
                                   {"NR_ADDED", r.chance(0.2) ? V("A") : V()}, {"NR_KOL", std::to_string(r.range(1, 900))},
                                   {"ROK_ZGL", std::to_string(c.date.year() - r.below(3))},
                                   {"TOM", r.chance(0.3) ? V(std::to_string(1 + r.below(3))) : V()},
                                   {"DATA_ZAKLAUZUL", dateNumber(c.date.addDays(-r.range(1, 200)))},
                                   {"OPIS", "Operat archiwalny z zasobu powiatowego"}});
        }
    }

    double changeId(int index) const { return m_changes[std::size_t(index)].id; }
    double initialChange() const { return m_changes[0].id; }
    // Indexes of n distinct changes after the initial one, ascending.
    std::vector<int> laterChanges(int n)
    {
        std::vector<int> picked;
        const int count = int(m_changes.size());
        while (int(picked.size()) < n) {
            const int c = 1 + m_rng.below(count - 1);
            if (std::find(picked.begin(), picked.end(), c) == picked.end())
                picked.push_back(c);
        }
        std::sort(picked.begin(), picked.end());
        return picked;
    }

    // ---- persons -----------------------------------------------------------------------
    static std::string pesel(Rng &r, int year, int month, int day, bool male)
    {
        const int m = month + (year >= 2000 ? 20 : 0);
        std::string s = format("%02d%02d%02d%03d%d", year % 100, m, day, r.below(1000), male ? 1 + 2 * r.below(5) : 2 * r.below(5));
        static const int w[] = {1, 3, 7, 9, 1, 3, 7, 9, 1, 3};
        int sum = 0;
        for (int i = 0; i < 10; ++i)
            sum += (s[std::size_t(i)] - '0') * w[i];
        return s + char('0' + (10 - sum % 10) % 10);
    }

    static std::string checkedNumber(Rng &r, const std::vector<int> &weights, int modulus)
    {
        for (;;) {
            std::string s;
            int sum = 0;
            for (int w : weights) {
                const int d = s.empty() ? 1 + r.below(9) : r.below(10);
                s += char('0' + d);
                sum += d * w;
            }
            const int check = sum % modulus;
            if (check == 10 && modulus == 11 && weights.size() == 9)
                continue; // NIP: no check digit 10
            return s + char('0' + check % 10);
        }
    }
    static std::string nip(Rng &r) { return checkedNumber(r, {6, 5, 7, 2, 3, 4, 5, 6, 7}, 11); }
    static std::string regon(Rng &r) { return checkedNumber(r, {8, 9, 2, 3, 4, 5, 6, 7}, 11); }

    Person addNatural(Rng &r, double id, bool male, int surname, int first, int second, bool local)
    {
        Person p;
        p.id = id;
        const int year = r.range(1930, 2004), month = r.range(1, 12), day = r.range(1, 28);
        const long surnameId = male ? m_maleSurname[std::size_t(surname)] : m_femaleSurname[std::size_t(surname)];
        const long firstId = male ? 1 + first : m_firstFemaleName + first;
        V secondId = second < 0 ? V() : V(male ? 1 + second : m_firstFemaleName + second);
        const long father = 1 + r.below(int(std::size(data::maleNames)));
        const long mother = m_firstFemaleName + r.below(int(std::size(data::femaleNames)));
        p.pesel = pesel(r, year, month, day, male);
        const bool hasNip = r.chance(0.3);
        if (hasNip)
            p.nip = nip(r);
        const double address = randomAddress(r, local, &p.address);
        b.add("OSFIZ", {{"OSFIZ_ID", id}, {"NAZWISKO_ID", surnameId}, {"IMIE_ID", firstId}, {"IMIE2_ID", secondId},
                        {"OJCIEC_ID", r.chance(0.9) ? V(father) : V()}, {"MATKA_ID", r.chance(0.85) ? V(mother) : V()},
                        {"PESEL", p.pesel}, {"NIP", hasNip ? V(p.nip) : V()}, {"ADRES_ID", address},
                        {"PLEC", male ? "M" : "K"}, {"DATA_UR", year * 10000L + month * 100 + day}});
        const auto &pair = data::surnames[std::size_t(surname)];
        p.text = std::string(male ? pair.male : pair.female) + " "
            + (male ? data::maleNames[first] : data::femaleNames[first]);
        return p;
    }

    Person addCouple(double id, const Person &husband, const Person &wife)
    {
        b.add("MALZ", {{"MALZ_ID", id}, {"ON_ID", husband.id}, {"ONA_ID", wife.id}});
        Person p = husband;
        p.id = id;
        p.text = husband.text + ", " + wife.text + " - małżeństwo";
        p.pesel = husband.pesel + ", " + wife.pesel;
        p.nip.clear();
        return p;
    }

    Person addLegal(Rng &r, double id, const std::string &name, const std::string &shortName, long group, int kind = 1)
    {
        Person p;
        p.id = id;
        p.text = name;
        p.pesel = regon(r);
        p.nip = nip(r);
        p.group = group;
        const double address = randomAddress(r, r.chance(0.8), &p.address);
        b.add("OSPRAW", {{"OSPRAW_ID", id}, {"NAZWA", name}, {"SKROT", shortName}, {"REGON", p.pesel},
                         {"NIP", p.nip}, {"ADRES_ID", address}, {"RODZAJ_PODM", kind}});
        return p;
    }

    int surnameIndex(const char *male) const
    {
        for (std::size_t i = 0; i < std::size(data::surnames); ++i)
            if (std::string(data::surnames[i].male) == male)
                return int(i);
        return 0;
    }
    static int nameIndex(const char *const *names, std::size_t n, const char *name)
    {
        for (std::size_t i = 0; i < n; ++i)
            if (std::string(names[i]) == name)
                return int(i);
        return 0;
    }
    Person fixedNatural(double id, const char *surnameMale, bool male, const char *first)
    {
        const int nameIdx = male ? nameIndex(data::maleNames, std::size(data::maleNames), first)
                                 : nameIndex(data::femaleNames, std::size(data::femaleNames), first);
        return addNatural(m_fixed, id, male, surnameIndex(surnameMale), nameIdx, -1, true);
    }

    void showcasePersons()
    {
        b.add("OSFIZ", {{"OSFIZ_ID", 0.0}});
        struct F { const char *surname; bool male; const char *first; };
        const F fixed[] = {{"Kowalski", true, "Jan"}, {"Wójcik", false, "Żaneta"}, {"Ślęzak", true, "Łukasz"},
                           {"Nowak", true, "Piotr"}, {"Nowak", false, "Anna"}, {"Żak", true, "Stanisław"},
                           {"Wiśniewski", true, "Andrzej"}, {"Wiśniewski", false, "Maria"},
                           {"Łukaszewicz", true, "Józef"}, {"Gąsior", true, "Tadeusz"}, {"Ożóg", false, "Halina"},
                           {"Dudek", true, "Marek"}, {"Dudek", false, "Ewa"}, {"Stępień", true, "Krzysztof"},
                           {"Mazur", true, "Adam"}, {"Król", false, "Zofia"}, {"Baran", true, "Jerzy"},
                           {"Baran", false, "Teresa"}};
        for (const F &f : fixed)
            m_fixedPersons.push_back(fixedNatural(m_naturalId++, f.surname, f.male, f.first));
        m_fixedPersons.push_back(fixedNatural(299999999, "Żółkiewski", false, "Elżbieta"));
        m_couple0 = addCouple(m_coupleId++, person(100007), person(100008));
        m_couple1 = addCouple(m_coupleId++, person(100017), person(100018));
        m_commune = addLegal(m_fixed, m_legalId++, "Gmina Dąbrowa Leśna", "Gmina D. L.", GrGmina);
        m_company = addLegal(m_fixed, m_legalId++, "Przedsiębiorstwo Handlowo-Usługowe \"Żuraw\" Sp. z o.o.",
                             "PHU Żuraw", GrOther);
        m_community = addLegal(m_fixed, m_legalId++, "Wspólnota Gruntowa wsi Zalesie", "WG Zalesie", GrCommunity, 2);
        b.add("PDM_GR_SKL", {{"OSPRAW_ID", m_community.id}, {"OSOBA_ID", 100010.0}});
        b.add("PDM_GR_SKL", {{"OSPRAW_ID", m_community.id}, {"OSOBA_ID", m_couple1.id}});
        struct L { const char *name, *skrot; long group; };
        for (const L &l : {L{"Skarb Państwa", "SP", GrSp},
                           L{"Spółdzielnia Mieszkaniowa \"Przyszłość\"", "SM Przyszłość", GrCooperative},
                           L{"Parafia Rzymskokatolicka pw. św. Józefa w Dąbrowie Leśnej", "Parafia św. Józefa", GrChurch},
                           L{"Powiat Dąbrowski", "Powiat", GrPowiat},
                           L{"Skarb Państwa - Lasy Państwowe, Nadleśnictwo Dąbrowa", "LP Nadl. Dąbrowa", GrStatePerson},
                           L{"Zakład Gospodarki Komunalnej Sp. z o.o.", "ZGK", GrGminaPerson},
                           L{"Ochotnicza Straż Pożarna w Łęgu", "OSP Łęg", GrOther}})
            m_legal.push_back(addLegal(m_fixed, m_legalId++, l.name, l.skrot, l.group));
    }

    const Person &person(double id) const
    {
        for (const Person &p : m_fixedPersons)
            if (p.id == id)
                return p;
        return m_fixedPersons.front();
    }

    void randomPersons()
    {
        Rng &r = m_rng;
        const int naturals = std::max(30, m_parcels * 7 / 10);
        const int couples = naturals / 7;
        for (int i = 0; i < naturals - 2 * couples; ++i) {
            const bool male = r.chance(0.5);
            const int first = male ? r.below(int(std::size(data::maleNames))) : r.below(int(std::size(data::femaleNames)));
            const int second = r.chance(0.4) ? (male ? r.below(int(std::size(data::maleNames)))
                                                     : r.below(int(std::size(data::femaleNames)))) : -1;
            m_naturals.push_back(addNatural(r, m_naturalId++, male, r.below(int(std::size(data::surnames))), first,
                                            second, r.chance(0.8)));
        }
        for (int i = 0; i < couples; ++i) {
            const int surname = r.below(int(std::size(data::surnames)));
            const bool local = r.chance(0.85);
            Person husband = addNatural(r, m_naturalId++, true, surname, r.below(int(std::size(data::maleNames))), -1, local);
            Person wife = addNatural(r, m_naturalId++, false, surname, r.below(int(std::size(data::femaleNames))), -1, local);
            m_naturals.push_back(husband);
            m_naturals.push_back(wife);
            m_couples.push_back(addCouple(m_coupleId++, husband, wife));
        }
        const int companies = std::max(6, m_parcels / 60);
        for (int i = 0; i < companies; ++i) {
            const auto &surname = r.pick(data::surnames);
            const char *village = r.pick(data::villageNames);
            switch (r.below(4)) {
            case 0:
                m_legal.push_back(addLegal(r, m_legalId++, format("%s i Wspólnicy Sp. j.", surname.male),
                                           format("%s Sp. j.", surname.male), GrOther));
                break;
            case 1:
                m_legal.push_back(addLegal(r, m_legalId++, format("Przedsiębiorstwo Usługowe \"%s\" %s %s", village,
                                                                  r.pick(data::maleNames), surname.male),
                                           format("PU %s", village), GrOther));
                break;
            case 2:
                m_legal.push_back(addLegal(r, m_legalId++, format("Spółka Wodna %s", village),
                                           format("SW %s", village), GrOther));
                break;
            default:
                m_legal.push_back(addLegal(r, m_legalId++, format("%s Nieruchomości Sp. z o.o.", surname.male),
                                           format("%s Nier.", surname.male), GrOther));
            }
        }
        const int groups = std::max(2, m_parcels / 2000);
        for (int i = 0; i < groups; ++i) {
            const char *village = data::villageNames[std::size_t(i) % std::size(data::villageNames)];
            Person g = addLegal(r, m_legalId++, suffixed(format("Współwłaściciele wspólnoty gruntowej wsi %s", village).c_str(),
                                                         int(i / std::size(data::villageNames))),
                                format("Wsp. %s", village), GrCommunity, 2);
            const int members = r.range(2, 5);
            for (int k = 0; k < members; ++k) {
                const Person &m = k == 0 && !m_couples.empty() ? m_couples[std::size_t(r.below(int(m_couples.size())))]
                                                               : randomNatural();
                b.add("PDM_GR_SKL", {{"OSPRAW_ID", g.id}, {"OSOBA_ID", m.id}});
            }
            m_groups.push_back(g);
        }
    }

    const Person &randomNatural() { return m_naturals[std::size_t(m_rng.below(int(m_naturals.size())))]; }
    const Person &randomCouple() { return m_couples[std::size_t(m_rng.below(int(m_couples.size())))]; }
    const Person &randomLegal() { return m_legal[std::size_t(m_rng.below(int(m_legal.size())))]; }

    // ---- registration units, holders, land books, comments -----------------------------
    double addUnit(const char *table, Precinct &pr, long kol, V kw, V comment, double created, V retired)
    {
        const double id = m_unitId++;
        b.add(table, {{"ID_JR", id}, {"OBREB_ID", pr.id}, {"KOL_OBREB", kol}, {"KW_ID", kw}, {"KOMENT", comment},
                      {"ZMIANA_ID", created}, {"ZMIANA_KAS_ID", retired},
                      {"DATA_ZAL", dateNumber(changeDate(created))}});
        return id;
    }

    QDate changeDate(double id) const
    {
        const std::size_t i = std::size_t(id - 100001);
        return i < m_changes.size() ? m_changes[i].date : m_changes[0].date;
    }

    double addLandBook(Rng &r, bool oldForm = false, bool noCourt = false)
    {
        const double id = m_kwId++;
        const Court &court = courts[r.chance(0.85) ? 0 : r.chance(0.7) ? 1 : 2];
        const long number = m_kwNumber++;
        std::string nazwa = oldForm ? std::to_string(number) : landBookNumber(court.code, number);
        std::string txt = oldForm ? "KW nr " + nazwa : nazwa;
        b.add("SLO_KW", {{"KW_ID", id}, {"NAZWA", nazwa}, {"KW_TXT", txt},
                         {"WYDZKW_ID", noCourt ? V() : V(court.id)}, {"DATA_ZAL", dateNumber(m_changes[0].date)}});
        return id;
    }

    void kwLink(const char *table, const char *column, double object, double kw, V status, double created, V retired)
    {
        b.add(table, {{column, object}, {"KW_ID", kw}, {"STATUS", status}, {"ZMIANA_ID", created},
                      {"ZMIANA_KAS_ID", retired}});
    }

    double addComment(const std::string &text)
    {
        const double id = m_commentId++;
        b.add("KOMENTARZ", {{"MSLINK", id}, {"TEKST", text}});
        return id;
    }

    void holder(const char *table, const char *column, double object, const Person &p, int wlad, long l, long m,
                V nr, V group, V until, V comment, double created, V retired)
    {
        std::vector<Field> fields{{"MSLINK", m_holderRow++}, {column, object}, {"OSOBA_ID", p.id},
                                  {"WLAD_ID", wlad}, {"L_UDZIAL", l}, {"M_UDZIAL", m}, {"NR_UDZIALU", nr},
                                  {"OSOBA_TXT", p.text}, {"ADRES_TXT", p.address},
                                  {"NIP_TXT", p.nip.empty() ? V() : V(p.nip)}, {"REG_PES_TXT", p.pesel},
                                  {"DATA_UPLYWU", until}, {"KOMENT", comment}, {"ZMIANA_ID", created},
                                  {"ZMIANA_KAS_ID", retired}};
        if (std::string(table) == "LWRGRUN")
            fields.push_back({"GRREJ_ID", group});
        b.add(table, fields);
    }

    void landHolder(double unit, const Person &p, int wlad, long l, long m, V nr, double created, V retired,
                    V until = V(), V comment = V(), long group = 0)
    {
        holder("LWRGRUN", "ID_JR", unit, p, wlad, l, m, std::move(nr), group ? group : p.group, std::move(until),
               std::move(comment), created, std::move(retired));
    }

    // ---- parcels -----------------------------------------------------------------------
    struct Contour {
        int cls; // 0: none
        int use;
        double area;
    };

    double addParcelRow(double parcelId, const Precinct &pr, V sheet, long nrL, V nrM, V nrAdd,
                        const ParcelVersion &v, V addressId, const std::string &addressText,
                        const std::vector<Contour> &contours, Rng &r, bool details)
    {
        const double row = m_parcelRow++;
        std::string number = std::to_string(nrL);
        if (auto m = std::get_if<std::int64_t>(&nrM.value()))
            number += "/" + std::to_string(*m);
        std::vector<Field> f{{"MSLINK", row}, {"DZIALKA_ID", parcelId}, {"ID_JR", v.unit}, {"OBREB_ID", pr.id},
                             {"ARKUSZ_ID", sheet}, {"NR_L", nrL}, {"NR_M", nrM}, {"NR_ADD", nrAdd},
                             {"AREA", v.area}, {"AROWA", v.arowa}, {"ADRES_ID", addressId},
                             {"ADRES_TXT", addressText.empty() ? V() : V(addressText)},
                             {"ZMIANA_ID", v.created}, {"ZMIANA_KAS_ID", v.retired},
                             {"IDENTYFIKATOR", format("12010%d_%d.%04ld.%s", pr.commune + 1, pr.urban ? 1 : 2, pr.id,
                                                      number.c_str())},
                             {"REJSTAT", format("%04d", 10 + int(pr.id % 50))}, {"OBWSPIS", std::to_string(1 + pr.id % 9)}};
        if (details) {
            static const char *const fields[] = {"Za Lasem", "Pod Górą", "Na Zagrodach", "Łęgi", "Przy Drodze",
                                                 "Długie Role", "Źródliska"};
            if (!pr.urban && r.chance(0.4))
                f.push_back({"POLOZENIE", r.pick(fields)});
            if (r.chance(0.03))
                f.push_back({"UWAGI", r.chance(0.5) ? "Działka sporna - postępowanie rozgraniczeniowe w toku."
                                                    : "Granice ustalone na podstawie mapy katastralnej.\r\n"
                                                      "Wymaga pomiaru uzupełniającego."});
            if (r.chance(0.05))
                f.push_back({"AW", format("Akt notarialny Rep. A nr %d/%d", r.range(1, 9000), r.range(1995, 2024))});
            if (r.chance(0.005)) {
                f.push_back({"REJ_ZAB", format("A-%d", r.range(1, 1500))});
                f.push_back({"DATA_REJ_ZAB", long(r.range(1960, 2010)) * 10000 + 115});
            }
            if (r.chance(0.03)) {
                f.push_back({"WARTOSC", double(r.range(10, 900)) * 1000.0 + 0.5 * r.below(2)});
                f.push_back({"DATA_WARTOSC", long(r.range(2005, 2024)) * 10000 + 630});
            }
            if (r.chance(0.002))
                f.push_back({"SPORNA", true});
        }
        b.add("KDZIALKA", f);
        for (const Contour &c : contours)
            b.add("KLASOUZ", {{"MSLINK", m_contour++}, {"OBSZAR_ID", row}, {"KLASA_ID", c.cls ? V(c.cls) : V()},
                              {"UZYTEK_ID", c.use}, {"AREA", c.area},
                              {"UDZIAL_PROC", v.area > 0 ? c.area * 100.0 / v.area : 0.0}});
        return row;
    }

    std::vector<Contour> randomContours(Rng &r, double area, bool urban)
    {
        std::vector<Contour> result;
        auto classContour = [&](int firstClass, int lastClass) {
            const auto &c = data::classes[std::size_t(r.range(firstClass, lastClass) - 1)];
            return Contour{c.id, c.use, 0};
        };
        auto mainContour = [&]() -> Contour {
            if (urban) {
                if (r.chance(0.1))
                    return {4, 5, 0}; // Br-RIIIb
                static const int builtUp[] = {11, 11, 11, 13, 12, 14, 16};
                return {0, r.pick(builtUp), 0};
            }
            const double x = r.unit();
            if (x < 0.6) return classContour(1, 8);
            if (x < 0.8) return classContour(9, 13);
            if (x < 0.9) return classContour(14, 17);
            return classContour(18, 21);
        };
        const int count = area < 200 ? 1 : r.range(1, urban ? 2 : 3);
        for (int i = 0; i < count; ++i) {
            Contour c = i == 0 ? mainContour() : Contour{};
            if (i > 0) {
                const double x = r.unit();
                if (x < 0.3) c = {5 + r.below(3), 5, 0};        // Br-RIVa..RV
                else if (x < 0.45) c = {12, 7, 0};                // W-ŁIV
                else if (x < 0.55) c = {16, 8, 0};                // Lzr-PsIV
                else if (x < 0.7) c = {0, 11, 0};                 // B
                else if (x < 0.8) c = {0, 16, 0};                 // dr
                else if (x < 0.85) c = {0, 19, 0};                // N
                else c = mainContour();
            }
            result.push_back(c);
        }
        // Split the area; every contour gets at least one square metre.
        double left = area;
        for (std::size_t i = 0; i < result.size(); ++i) {
            if (i + 1 == result.size()) {
                result[i].area = left;
            } else {
                const double share = std::floor(left * (0.3 + 0.5 * r.unit()));
                result[i].area = std::max(1.0, share);
                left -= result[i].area;
            }
        }
        return result;
    }

    double randomArea(Rng &r, bool urban, int arowa)
    {
        double area;
        if (r.chance(0.01))
            area = r.range(5, 60);
        else if (urban)
            area = std::round(300.0 * std::pow(8.0, r.unit()));
        else
            area = std::round(800.0 * std::pow(40.0, r.unit()));
        if (arowa)
            area = std::max(100.0, std::round(area / 100.0) * 100.0);
        return area;
    }

    // One parcel identity with its versions, contours, land-book links and address.
    struct ParcelPlan {
        long nrL;
        V nrM, nrAdd;
        V sheet;
        std::vector<ParcelVersion> versions;
        double kw = 0;              // land book of the current link
        double oldKw = 0;           // land book of the link retired at the last version change
        double linkCreated = 0;     // change that created the current link
        V status = "P";
    };

    double addParcel(const Precinct &pr, const ParcelPlan &plan, Rng &r, double *currentRow = nullptr)
    {
        const double id = m_parcelId++;
        V addressId;
        std::string addressText;
        const bool hasAddress = r.chance(pr.urban ? 0.7 : 0.25);
        const ParcelVersion &last = plan.versions.back();
        const bool current = std::holds_alternative<std::monostate>(last.retired.value())
            || last.retired.value() == mdbwriter::Value(0.0);
        if (hasAddress) {
            std::string full;
            const Place &place = m_places[std::size_t(pr.place)];
            const int street = place.streetIds.empty() || (place.pseudoStreet && r.chance(0.4))
                ? -1 : r.below(int(place.streetIds.size()));
            const double a = addAddress(pr.place, street, std::to_string(r.range(1, 150)), "", &full);
            addressText = full.substr(0, full.find(','));
            addressId = a;
            b.add("EW_ADRES", {{"DZIALKA_ID", id}, {"ADRES_ID", a}, {"ZMIANA_ID", plan.versions.front().created},
                               {"ZMIANA_KAS_ID", current ? V() : last.retired}});
        } else if (r.chance(0.3)) {
            addressId = 0.0;
        }
        double row = 0;
        for (const ParcelVersion &v : plan.versions)
            row = addParcelRow(id, pr, plan.sheet, plan.nrL, plan.nrM, plan.nrAdd, v,
                               addressId, addressText,
                               randomContours(r, v.area, pr.urban), r, true);
        if (currentRow)
            *currentRow = row;
        // Land-book links.
        if (plan.oldKw) {
            const double changed = plan.linkCreated;
            kwLink("KW_DLK", "DZIALKA_ID", id, plan.oldKw, "P", plan.versions.front().created, changed);
        }
        if (plan.kw) {
            const double created = plan.linkCreated ? plan.linkCreated : plan.versions.front().created;
            kwLink("KW_DLK", "DZIALKA_ID", id, plan.kw, plan.status, created, current ? V() : last.retired);
            if (current && r.chance(0.005))
                kwLink("KW_DLK", "DZIALKA_ID", id, addLandBook(r), "P", created, V());
        }
        if (r.chance(0.02))
            kwLink("KW_DLK", "DZIALKA_ID", id, addLandBook(r, true), "A", plan.versions.front().created, V());
        return id;
    }

    // ---- buildings and premises ---------------------------------------------------------
    struct BuildingPlan {
        int function;
        int isBudynkowa = 0;
        double unit;
        std::vector<double> parcels;
        std::string parcelText;
        std::string address;
        V retired = 0.0;
        bool history = false;
        int storeys = 1;
        V below;
        int lift = 1;
        double area = 100;
        V built;
    };

    double addBuilding(const Precinct &pr, const BuildingPlan &plan, Rng &r)
    {
        const double id = m_buildingId++;
        auto row = [&](double created, V retired, double area) {
            std::vector<Field> f{{"MSLINK", m_buildingRow++}, {"BUDYNEK_ID", id}, {"IS_BUDYNKOWA", plan.isBudynkowa},
                                 {"ID_JR", plan.unit},
                                 {"NIERUCH_ID", format("12010%d_%d.%04ld.%s_BUD", pr.commune + 1, pr.urban ? 1 : 2,
                                                       pr.id, std::to_string(long(id) - 5500000).c_str())},
                                 {"FUN_ID", plan.function}, {"DLK_TXT", plan.parcelText},
                                 {"ADRES_TXT", plan.address.empty() ? V() : V(plan.address)},
                                 {"NUM_KOND", plan.storeys}, {"NUM_KOND_POD", plan.below}, {"POW_ZAB", area},
                                 {"DATA_BUDOWY", plan.built}, {"NOSNA", 1 + r.below(5)}, {"STROPY", 1 + r.below(5)},
                                 {"DACH", 6 + r.below(3)}, {"WODA", 1 + r.below(3)}, {"KANAL", 1 + r.below(3)},
                                 {"CO", 1 + r.below(3)}, {"GAZ", 1 + r.below(3)}, {"EL", 1}, {"CWODA", 1 + r.below(3)},
                                 {"WINDA", plan.lift}, {"ZMIANA_ID", created}, {"ZMIANA_KAS_ID", retired},
                                 {"KUBATURA", area * 3.0 * plan.storeys}};
            if (r.chance(0.03))
                f.push_back({"UWAGI", "Budynek w złym stanie technicznym"});
            if (r.chance(0.02)) {
                f.push_back({"WARTOSC", double(r.range(50, 2000)) * 1000.0});
                f.push_back({"DATA_WARTOSC", long(r.range(2005, 2024)) * 10000 + 1231});
            }
            b.add("KBUDYNEK", f);
        };
        double created = initialChange();
        if (plan.history) {
            const int c = laterChanges(1).front();
            row(created, changeId(c), plan.area * 0.8);
            created = changeId(c);
        }
        row(created, plan.retired, plan.area);
        for (double parcel : plan.parcels)
            b.add("DLK_BUD", {{"DZIALKA_ID", parcel}, {"BUDYNEK_ID", id}, {"ZMIANA_ID", initialChange()}});
        return id;
    }

    void addPremisesUnit(Precinct &pr, double building, int count, int &number, Rng &r, const Person *owner = nullptr,
                         const Person *second = nullptr)
    {
        const double kw = addLandBook(r);
        const double unit = addUnit("RLOK", pr, pr.kolL++, kw, V(), initialChange(), V());
        for (int i = 0; i < count; ++i) {
            const double premisesId = m_premisesId++;
            const bool garage = i > 0;
            std::string full;
            const double address = addAddress(pr.place, pr.urban ? 0 : -1, "5", std::to_string(number), &full);
            b.add("KLOKAL", {{"MSLINK", m_premisesRow++}, {"LOKAL_ID", premisesId}, {"ID_JR", unit},
                             {"BUDYNEK_ID", building}, {"NRIMPORTED", std::to_string(number)},
                             {"FUN_ID", garage ? 3 : (r.chance(0.9) ? 1 : 2)}, {"LICZBA_IZB", garage ? 1 : r.range(1, 5)},
                             {"POW_ZAB", garage ? 18.5 : double(r.range(250, 1100)) / 10.0}, {"ADRES_ID", address},
                             {"ZMIANA_ID", initialChange()}, {"KONDYGNACJA", garage ? -1 : r.range(0, 4)}});
            kwLink("KW_LOK", "LOKAL_ID", premisesId, kw, r.chance(0.95) ? V("P") : V(), initialChange(), V());
            ++number;
        }
        const Person &a = owner ? *owner : (r.chance(0.35) ? randomCouple() : randomNatural());
        if (second) {
            holder("LWRLOK", "ID_JR", unit, a, 1, 1, 2, "1", V(), V(), V(), initialChange(), V());
            holder("LWRLOK", "ID_JR", unit, *second, 1, 1, 2, "2", V(), V(), V(), initialChange(), V());
        } else if (!owner && r.chance(0.1)) {
            holder("LWRLOK", "ID_JR", unit, a, 1, 1, 2, V(), V(), V(), V(), initialChange(), V());
            holder("LWRLOK", "ID_JR", unit, randomNatural(), 1, 1, 2, V(), V(), V(), V(), initialChange(), V());
        } else if (!owner && r.chance(0.05)) {
            // Sold: the former owner retired at the change that entered the buyer.
            const double sold = changeId(laterChanges(1).front());
            holder("LWRLOK", "ID_JR", unit, randomNatural(), 1, 1, 1, V(), V(), V(), V(), initialChange(), sold);
            holder("LWRLOK", "ID_JR", unit, a, 1, 1, 1, V(), V(), V(), V(), sold, V());
        } else {
            holder("LWRLOK", "ID_JR", unit, a, 1, 1, 1, V(), V(), V(), V(), initialChange(),
                   r.chance(0.2) ? V(0.0) : V());
        }
    }

    // ---- the showcase --------------------------------------------------------------------
    void showcaseUnits()
    {
        Precinct &pr = m_precincts[0];
        Rng &r = m_fixed;
        const double c0 = initialChange();
        const double s1 = showcase::changeS1;

        // Land books 1400001..1400006.
        const double kw1 = addLandBook(r), kw2 = addLandBook(r), kw3 = addLandBook(r, true), kw4 = addLandBook(r),
                     kw5 = addLandBook(r), kw6 = addLandBook(r);
        const double comment = addComment("Jednostka objęta postępowaniem spadkowym.\r\nDane do weryfikacji z księgą wieczystą.");

        // G-1..G-8, then B-1, L-1..L-3, G-9.
        const double g1 = addUnit("RGRUN", pr, pr.kolG++, kw1, comment, c0, V());
        const double g2 = addUnit("RGRUN", pr, pr.kolG++, V(), V(), c0, V());
        const double g3 = addUnit("RGRUN", pr, pr.kolG++, kw5, V(), s1, V());
        const double g4 = addUnit("RGRUN", pr, pr.kolG++, 0.0, V(), c0, V());
        const double g5 = addUnit("RGRUN", pr, pr.kolG++, V(), V(), c0, V());
        const double g6 = addUnit("RGRUN", pr, pr.kolG++, V(), V(), c0, V());
        const double g7 = addUnit("RGRUN", pr, pr.kolG++, V(), V(), c0, V());
        const double g8 = addUnit("RGRUN", pr, pr.kolG++, kw4, V(), c0, s1);

        landHolder(g1, person(100001), 1, 1, 2, "1", c0, V());
        landHolder(g1, person(100002), 1, 1, 2, "2", c0, V());
        for (double id : {100004.0, 100005.0, 100006.0})
            landHolder(g2, person(id), 1, 1, 3, V(), c0, V());
        landHolder(g3, m_couple0, 1, 1, 1, V(), s1, 0.0);
        landHolder(g3, person(100009), 1, 1, 1, V(), c0, s1);
        landHolder(g4, m_commune, 1, 1, 1, V(), c0, V(), V(), V(), GrGminaUw);
        landHolder(g4, person(299999999), 2, 1, 2, "1", c0, V(), 20891231L);
        landHolder(g4, m_company, 2, 1, 2, "2", c0, V(), 0L);
        landHolder(g5, m_community, 1, 0, 0, "udział we wspólnocie", c0, V());
        landHolder(g5, person(100011), 1, 0, 4, "część nieustalona", c0, V());
        landHolder(g7, person(100014), 1, 1, 1, V(), 100000.0, V()); // ZMIANA_ID names no change
        landHolder(g8, person(100009), 1, 1, 1, V(), c0, s1);

        std::string full;
        const double address1 = addAddress(pr.place, 0, "1", "", &full);

        // Parcel "1".
        addParcelRow(m_parcelId++, pr, V(), 1, V(), V(), {g1, 1234, 0, c0, V()}, address1,
                     full.substr(0, full.find(',')), {{3, 1, 800}, {0, 11, 434}}, r, false);
        b.add("EW_ADRES", {{"DZIALKA_ID", showcase::parcel1}, {"ADRES_ID", address1}, {"ZMIANA_ID", c0}});
        kwLink("KW_DLK", "DZIALKA_ID", showcase::parcel1, kw1, "P", c0, V());
        kwLink("KW_DLK", "DZIALKA_ID", showcase::parcel1, kw2, "P", c0, V());
        kwLink("KW_DLK", "DZIALKA_ID", showcase::parcel1, kw3, "A", c0, V());
        holder("LWKDZIALKA", "DZIALKA_ID", showcase::parcel1, person(100003), 5, 1, 1, V(), V(), V(), V(), c0, V());
        // Parcel "2/1" and "2/2-A".
        addParcelRow(m_parcelId++, pr, V(), 2, 1, "", {g1, 5, 0, c0, V()}, V(), "", {{0, 16, 5}}, r, false);
        kwLink("KW_DLK", "DZIALKA_ID", showcase::parcel2_1, kw1, V(), c0, V());
        addParcelRow(m_parcelId++, pr, V(), 2, 2, "A", {g1, 1234, 1, c0, V()}, V(), "", {{11, 3, 1000}, {16, 7, 234}}, r,
                     false);
        // Parcel "3" of G-2.
        addParcelRow(m_parcelId++, pr, V(), 3, V(), V(), {g2, 3000, 0, c0, V()}, V(), "", {{5, 1, 3000}}, r, false);
        // Parcel "4": moved from G-8 to G-3 at S1 with a new land book.
        const double p4 = m_parcelId++;
        addParcelRow(p4, pr, V(), 4, V(), V(), {g8, 2000, 0, c0, s1}, V(), "", {{3, 1, 2000}}, r, false);
        addParcelRow(p4, pr, V(), 4, V(), V(), {g3, 2010, 0, s1, 0.0}, V(), "", {{3, 1, 2010}}, r, false);
        kwLink("KW_DLK", "DZIALKA_ID", p4, kw4, "P", c0, s1);
        kwLink("KW_DLK", "DZIALKA_ID", p4, kw5, "P", s1, V());
        // Parcel "5" of G-4 with a land-unit building and a building-unit building.
        const double p5 = m_parcelId++;
        addParcelRow(p5, pr, V(), 5, V(), V(), {g4, 800, 0, c0, V()}, V(), "", {{0, 11, 800}}, r, false);
        // Parcel "6" of G-5, "7" of G-6.
        addParcelRow(m_parcelId++, pr, V(), 6, V(), V(), {g5, 15000, 0, c0, V()}, V(), "",
                     {{5, 1, 9000}, {12, 3, 5000}, {0, 16, 1000}}, r, false);
        const double p7 = m_parcelId++;
        addParcelRow(p7, pr, V(), 7, V(), V(), {g6, 1200, 0, c0, V()}, V(), "", {{0, 11, 1200}}, r, false);

        // Buildings 5500001..5500005 and unit B-1.
        BuildingPlan house{1, 0, g1, {showcase::parcel1}, "1", "", 0.0, false, 4, 1L, 2, 85, 19781231L};
        house.address = full.substr(0, full.find(','));
        addBuilding(pr, house, r);
        kwLink("KW_BUD", "BUDYNEK_ID", 5500001, kw1, V(), c0, V());
        addBuilding(pr, {3, 0, g4, {p5}, "5", "", 0.0, false, 1, V(), 1, 40, 19951231L}, r);
        const double b1 = addUnit("RBUD", pr, pr.kolB++, kw6, V(), c0, V());
        addBuilding(pr, {4, 1, b1, {p5}, "5", "", 0.0, false, 2, V(), 1, 220, 20030630L}, r);
        kwLink("KW_BUD", "BUDYNEK_ID", 5500003, kw6, "P", c0, V());
        const double block = addBuilding(pr, {2, 0, g6, {p7}, "7", "", 0.0, false, 5, 1L, 2, 600, 19851231L}, r);
        const double shed = addBuilding(pr, {7, 0, g6, {p7}, "7", "", V(), false, 1, V(), 1, 60, V()}, r);
        int number = 1;
        addPremisesUnit(pr, block, 3, number, r, &m_couple0);
        addPremisesUnit(pr, block, 1, number, r, &person(100012), &person(100013));
        number = 1;
        addPremisesUnit(pr, shed, 1, number, r, &person(100014));

        const double g9 = addUnit("RGRUN", pr, pr.kolG++, V(), V(), c0, V());
        landHolder(g9, person(100015), 1, 1, 2, "1", c0, V());
        landHolder(g9, person(100016), 1, 1, 3, "2", c0, V());
        addParcelRow(m_parcelId++, pr, V(), 8, V(), V(), {g9, 700, 0, c0, V()}, V(), "", {{7, 1, 700}}, r, false);
        pr.nextNumber = 9;
        (void)g2;
    }

    // ---- the random part -------------------------------------------------------------------
    void randomUnits()
    {
        const int showcaseParcels = 9;
        const int total = m_parcels - showcaseParcels;
        const int precincts = int(m_precincts.size());
        for (int p = 0; p < precincts; ++p) {
            Precinct &pr = m_precincts[std::size_t(p)];
            int target = total / precincts + (p < total % precincts ? 1 : 0);
            while (target > 0) {
                static const int sizes[] = {1, 1, 1, 1, 1, 1, 1, 1, 2, 2, 2, 2, 2, 3, 3, 3, 4, 4, 5, 6};
                const int n = std::min(target, m_rng.pick(sizes));
                target -= randomUnit(pr, n);
            }
        }
    }

    // Holders of a new land unit; returns nothing, writes LWRGRUN rows.
    void randomHolders(double unit, double created, Rng &r)
    {
        V retired = r.chance(0.15) ? V(0.0) : V();
        auto cur = [&]() { return retired; };
        const double x = r.unit();
        if (x < 0.36) {
            landHolder(unit, randomNatural(), r.chance(0.05) ? 4 : 1, 1, 1, V(), created, cur());
        } else if (x < 0.56) {
            landHolder(unit, randomCouple(), 1, 1, 1, V(), created, cur());
        } else if (x < 0.66) {
            landHolder(unit, randomNatural(), 1, 1, 2, "1", created, cur());
            landHolder(unit, randomNatural(), 1, 1, 2, "2", created, cur());
        } else if (x < 0.71) {
            for (int i = 0; i < 3; ++i)
                landHolder(unit, randomNatural(), 1, 1, 3, V(), created, cur());
        } else if (x < 0.74) {
            landHolder(unit, randomNatural(), 1, 1, 4, "1", created, cur());
            landHolder(unit, randomCouple(), 1, 3, 4, "2", created, cur());
        } else if (x < 0.79) {
            const bool state = r.chance(0.4);
            landHolder(unit, state ? m_legal[0] : m_commune, 1, 1, 1, V(), created, cur(), V(), V(),
                       state ? GrSpUw : GrGminaUw);
            const Person &user = r.chance(0.3) ? randomLegal() : r.chance(0.5) ? randomCouple() : randomNatural();
            V until = r.chance(0.7) ? V(long(r.range(2060, 2099)) * 10000 + 1231) : r.chance(0.5) ? V(0L) : V();
            landHolder(unit, user, 2, 1, 1, V(), created, cur(), until);
        } else if (x < 0.84) {
            landHolder(unit, randomLegal(), 1, 1, 1, V(), created, cur());
        } else if (x < 0.86) {
            landHolder(unit, m_legal[0], 1, 1, 1, V(), created, cur());
            landHolder(unit, m_legal[4], 3, 1, 1, V(), created, cur());
        } else if (x < 0.88) {
            static const char *const texts[] = {"udział nieustalony", "w częściach równych", "cz. ułamkowa wg KW"};
            landHolder(unit, randomNatural(), 1, 0, 0, r.pick(texts), created, cur());
            landHolder(unit, randomNatural(), 1, 0, r.chance(0.5) ? 0 : 2, r.pick(texts), created, cur());
        } else if (x < 0.90) {
            landHolder(unit, m_groups[std::size_t(r.below(int(m_groups.size())))], 1, 1, 1, V(), created, cur());
        } else if (x < 0.92) {
            // no holders
        } else if (x < 0.94) {
            landHolder(unit, randomNatural(), 1, 1, 2, "1", created, cur());
            landHolder(unit, randomNatural(), 1, 1, 3, "2", created, cur());
        } else {
            landHolder(unit, randomCouple(), 1, 1, 1, V(), created, cur());
            landHolder(unit, randomNatural(), 5, 1, 1, V(), created, cur(), V(),
                       r.chance(0.3) ? V(addComment("Dzierżawa do 2030 r.")) : V());
        }
    }

    ParcelPlan plainPlan(Precinct &pr, int sheet, double unit, double kw, Rng &r)
    {
        ParcelPlan plan;
        long &counter = sheet >= 0 ? pr.sheetNumbers[std::size_t(sheet)] : pr.nextNumber;
        plan.nrL = counter;
        counter += r.chance(0.2) ? 2 : 1;
        if (sheet >= 0)
            plan.sheet = pr.sheets[std::size_t(sheet)];
        if (r.chance(0.1))
            plan.nrM = long(r.range(1, 9));
        const double add = r.unit();
        plan.nrAdd = add < 0.01 ? V(r.chance(0.5) ? "A" : "B") : add < 0.05 ? V("") : V();
        const int arowa = !pr.urban && r.chance(0.15) ? 1 : 0;
        plan.versions.push_back({unit, randomArea(r, pr.urban, arowa), arowa, initialChange(),
                                 r.chance(0.2) ? V(0.0) : V()});
        plan.kw = kw;
        const double s = r.unit();
        plan.status = s < 0.9 ? V("P") : V();
        return plan;
    }

    // A land unit of n parcels (with its holders, buildings and premises); returns the number of
    // current parcels it made.
    int randomUnit(Precinct &pr, int n)
    {
        Rng &r = m_rng;
        const double c0 = initialChange();
        int made = 0;
        const bool transfer = n <= 2 && r.chance(0.01);
        double oldUnit = 0;
        double created = c0;
        double transferChange = 0;
        double oldKw = 0;
        if (transfer) {
            // A retired unit whose parcels moved to the new unit at transferChange.
            transferChange = changeId(laterChanges(1).front());
            oldKw = r.chance(0.8) ? addLandBook(r) : 0;
            oldUnit = addUnit("RGRUN", pr, pr.kolG++, oldKw ? V(oldKw) : V(), V(), c0, transferChange);
            landHolder(oldUnit, randomNatural(), 1, 1, 1, V(), c0, transferChange);
            created = transferChange;
        }
        const double kw = r.chance(0.85) ? addLandBook(r, r.chance(0.1), r.chance(0.005)) : 0;
        const double unit = addUnit("RGRUN", pr, pr.kolG++, kw ? V(kw) : (r.chance(0.5) ? V(0.0) : V()),
                                    r.chance(0.04) ? V(addComment("Uwaga: jednostka do weryfikacji.\r\n"
                                                                  "Wniosek o aktualizację danych właściciela."))
                                                   : V(),
                                    created, V());
        // Holders, possibly with a former owner.
        if (!transfer && r.chance(0.15)) {
            const double change = changeId(laterChanges(1).front());
            landHolder(unit, randomNatural(), 1, 1, 1, V(), c0, change);
            randomHolders(unit, change, r);
        } else {
            randomHolders(unit, created, r);
        }
        if (r.chance(0.03))
            holder("LWKDZIALKA", "DZIALKA_ID", m_parcelId, randomNatural(), r.chance(0.7) ? 5 : 6, 1, 1, V(), V(), V(),
                   V(), c0, V());

        const int sheet = pr.sheets.empty() ? -1 : r.below(int(pr.sheets.size()));
        std::vector<std::pair<double, std::string>> parcels; // identity, number text
        while (made < n) {
            ParcelPlan plan = plainPlan(pr, sheet, unit, kw, r);
            std::string number = std::to_string(plan.nrL);
            if (auto m = std::get_if<std::int64_t>(&plan.nrM.value()))
                number += "/" + std::to_string(*m);
            if (transfer) {
                const double area = plan.versions[0].area;
                plan.versions = {{oldUnit, area, plan.versions[0].arowa, c0, transferChange},
                                 {unit, area, plan.versions[0].arowa, transferChange, V()}};
                plan.oldKw = kw ? oldKw : 0;
                plan.linkCreated = transferChange;
                parcels.push_back({addParcel(pr, plan, r), number});
                ++made;
            } else if (n - made >= 2 && r.chance(0.03)) {
                // Division: the parcel is retired and replaced by n/1 and n/2.
                const int change = laterChanges(1).front();
                ParcelPlan old = plan;
                old.nrM = V();
                old.versions[0].retired = changeId(change);
                addParcel(pr, old, r);
                const double area = old.versions[0].area;
                for (int part = 1; part <= 2; ++part) {
                    ParcelPlan piece = plan;
                    piece.nrM = long(part);
                    piece.nrAdd = V();
                    const double a = part == 1 ? std::max(1.0, std::floor(area / 3)) : area - std::max(1.0, std::floor(area / 3));
                    piece.versions = {{unit, a, 0, changeId(change), V()}};
                    parcels.push_back({addParcel(pr, piece, r), std::to_string(plan.nrL) + "/" + std::to_string(part)});
                }
                made += 2;
            } else {
                if (r.chance(0.18)) {
                    // Retired versions before the current one.
                    const std::vector<int> changes = laterChanges(r.range(1, 2));
                    ParcelVersion base = plan.versions[0];
                    const V currentRetired = base.retired;
                    plan.versions.clear();
                    double createdAt = c0;
                    int arowa = base.arowa ? 1 : (r.chance(0.2) ? 1 : 0);
                    double area = base.area;
                    for (int c : changes) {
                        plan.versions.push_back({unit, area, arowa, createdAt, changeId(c)});
                        createdAt = changeId(c);
                        area = std::max(5.0, std::round(area * (0.98 + 0.04 * r.unit())));
                        arowa = 0;
                    }
                    plan.versions.push_back({unit, area, 0, createdAt, currentRetired});
                    if (kw && r.chance(0.3)) {
                        plan.oldKw = addLandBook(r, true);
                        plan.linkCreated = createdAt;
                    }
                }
                parcels.push_back({addParcel(pr, plan, r), number});
                ++made;
            }
        }

        // Buildings.
        for (std::size_t i = 0; i < parcels.size(); ++i) {
            if (!r.chance(pr.urban ? 0.5 : 0.25))
                continue;
            BuildingPlan plan;
            const double f = r.unit();
            plan.function = pr.urban ? (f < 0.5 ? 1 : f < 0.65 ? 2 : f < 0.75 ? 4 : f < 0.85 ? 6 : f < 0.95 ? 7 : 5)
                                     : (f < 0.5 ? 1 : f < 0.9 ? 3 : 4);
            plan.unit = unit;
            plan.parcels = {parcels[i].first};
            plan.parcelText = parcels[i].second;
            if (i > 0 && r.chance(0.05)) {
                plan.parcels.push_back(parcels[i - 1].first);
                plan.parcelText = parcels[i - 1].second + ", " + parcels[i].second;
            }
            if (r.chance(0.04)) {
                plan.isBudynkowa = r.chance(0.5) ? 1 : -1;
                plan.unit = addUnit("RBUD", pr, pr.kolB++, V(addLandBook(r)), V(), c0, V());
            }
            plan.retired = r.chance(0.85) ? V(0.0) : V();
            plan.history = r.chance(0.08);
            plan.storeys = plan.function == 2 ? r.range(3, 11) : plan.function == 3 || plan.function == 7 ? 1 : r.range(1, 3);
            plan.below = r.chance(0.5) ? V(r.range(0, 1)) : V();
            plan.lift = plan.storeys >= 5 ? 2 : (r.chance(0.5) ? 1 : 0);
            plan.area = plan.function == 2 ? r.range(300, 1500) : plan.function == 7 ? r.range(15, 40) : r.range(40, 250);
            plan.built = r.chance(0.8) ? V(long(r.range(1900, 2024)) * 10000 + 1231) : V();
            const double building = addBuilding(pr, plan, r);
            if (plan.isBudynkowa)
                kwLink("KW_BUD", "BUDYNEK_ID", building, m_kwId - 1, "P", c0, V());
            else if (kw && r.chance(0.3))
                kwLink("KW_BUD", "BUDYNEK_ID", building, kw, r.chance(0.6) ? V("P") : V(), c0, V());
            if (plan.function == 2) {
                const int units = r.range(2, 12);
                int number = 1;
                for (int k = 0; k < units; ++k)
                    addPremisesUnit(pr, building, r.chance(0.15) ? 2 : 1, number, r);
            }
        }
        return made;
    }

    RegisterBuilder b;
    int m_parcels;
    Rng m_rng;
    Rng m_fixed;
    std::vector<Change> m_changes;
    std::vector<Place> m_places;
    std::vector<std::pair<std::string, std::string>> m_codes;
    std::vector<Precinct> m_precincts;
    int m_firstExternal = 0;
    long m_streetCount = 0;
    long m_sheetCount = 0;
    std::vector<long> m_maleSurname, m_femaleSurname;
    long m_firstFemaleName = 0;
    std::vector<Person> m_fixedPersons, m_naturals, m_couples, m_legal, m_groups;
    Person m_couple0, m_couple1, m_commune, m_company, m_community;
};

} // namespace

RegisterBuilder generateRegister(const GeneratorOptions &options)
{
    return Generator(options).run();
}

void openGeneratedRegister(jet::Database &db, const QString &sqlitePath, const GeneratorOptions &options)
{
    if (!QFile::exists(sqlitePath)) {
        std::fprintf(stderr, "Generating %s (%d parcels)...\n", qPrintable(sqlitePath), options.parcels);
        const QString partial = sqlitePath + QStringLiteral(".part");
        QFile::remove(partial);
        {
            jet::Database out;
            out.open(partial, false);
            generateRegister(options).loadInto(out.handle());
        }
        QFile::rename(partial, sqlitePath);
    }
    db.open(sqlitePath, true);
}

} // namespace katarix::registergen
