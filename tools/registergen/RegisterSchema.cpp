#include "RegisterSchema.h"

#include <algorithm>
#include <cctype>

namespace katarix::registergen {

namespace {

using mdbwriter::Column;
using mdbwriter::ColumnType;

bool sameName(std::string_view a, std::string_view b)
{
    return a.size() == b.size()
        && std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::toupper(x) == std::toupper(y);
           });
}

Column dbl(const char *name) { return {name, ColumnType::Double, 0}; }
Column lng(const char *name) { return {name, ColumnType::Long, 0}; }
Column integer(const char *name) { return {name, ColumnType::Integer, 0}; }
Column byte(const char *name) { return {name, ColumnType::Byte, 0}; }
Column single(const char *name) { return {name, ColumnType::Single, 0}; }
Column currency(const char *name) { return {name, ColumnType::Currency, 0}; }
Column boolean(const char *name) { return {name, ColumnType::Boolean, 0}; }
Column datetime(const char *name) { return {name, ColumnType::DateTime, 0}; }
Column text(const char *name, int size) { return {name, ColumnType::Text, size}; }
Column memo(const char *name) { return {name, ColumnType::Memo, 0}; }

// Columns shared by the three kinds of registration unit.
std::vector<Column> unitColumns()
{
    return {dbl("ID_JR"), lng("OBREB_ID"), lng("KOL_OBREB"), dbl("KW_ID"), dbl("KOMENT"),
            dbl("ZMIANA_ID"), dbl("ZMIANA_KAS_ID"), lng("DATA_ZAL")};
}

std::vector<Column> holderColumns(const char *objectColumn, bool withGroup)
{
    std::vector<Column> c{dbl("MSLINK"), dbl(objectColumn), dbl("OSOBA_ID"), lng("WLAD_ID"),
                          lng("L_UDZIAL"), lng("M_UDZIAL"), text("NR_UDZIALU", 50)};
    if (withGroup)
        c.push_back(lng("GRREJ_ID"));
    for (Column extra : {text("OSOBA_TXT", 255), text("ADRES_TXT", 255), text("NIP_TXT", 20),
                         text("REG_PES_TXT", 30), lng("DATA_UPLYWU"), dbl("KOMENT"), dbl("ZMIANA_ID"),
                         dbl("ZMIANA_KAS_ID")})
        c.push_back(extra);
    return c;
}

std::vector<Column> kwLinkColumns(const char *objectColumn)
{
    return {dbl(objectColumn), dbl("KW_ID"), text("STATUS", 1), dbl("ZMIANA_ID"), dbl("ZMIANA_KAS_ID")};
}

std::vector<TableSchema> buildSchema()
{
    return {
        // Administrative division and places.
        {"GMINA", {dbl("MSLINK"), text("NAZWA", 60), text("TERYT", 7), boolean("AKTYWNA")}},
        {"OBREB", {lng("MSLINK"), text("NAZWA", 60), dbl("GMINA_ID"), integer("ARKUSZOWA"), text("NUMER", 4)}},
        {"ARKUSZ", {dbl("MSLINK"), text("NAZWA", 20), lng("OBREB_ID"), lng("SKALA")}},
        {"SLO_MIEJSC", {dbl("MIEJSC_ID"), text("NAZWA", 60), text("SIMC", 7)}},
        {"OBR_MIEJSC", {lng("OBREB_ID"), dbl("MIEJSC_ID")}},
        // Registration units.
        {"RGRUN", unitColumns()},
        {"RBUD", unitColumns()},
        {"RLOK", unitColumns()},
        // Parcels and their contours.
        {"KDZIALKA",
         {dbl("MSLINK"), dbl("DZIALKA_ID"), dbl("ID_JR"), lng("OBREB_ID"), dbl("ARKUSZ_ID"), lng("NR_L"),
          lng("NR_M"), text("NR_ADD", 5), dbl("AREA"), integer("AROWA"), text("AW", 255),
          text("POLOZENIE", 100), text("ADRES_TXT", 150), dbl("ADRES_ID"), text("REJSTAT", 10),
          text("OBWSPIS", 10), text("REJ_ZAB", 20), lng("DATA_REJ_ZAB"), currency("WARTOSC"),
          lng("DATA_WARTOSC"), memo("UWAGI"), dbl("ZMIANA_ID"), dbl("ZMIANA_KAS_ID"),
          text("IDENTYFIKATOR", 40), boolean("SPORNA")}},
        {"KLASOUZ",
         {dbl("MSLINK"), dbl("OBSZAR_ID"), lng("KLASA_ID"), lng("UZYTEK_ID"), dbl("AREA"), single("UDZIAL_PROC")}},
        {"SLO_KLABOT", {lng("MSLINK"), text("SKROT", 10), lng("SRT"), lng("DEF_UZ"), text("OPIS", 60)}},
        {"SLO_UZYT", {lng("MSLINK"), text("SKROT", 10), lng("SRT"), text("WYPIS_TXT", 100), text("OPIS", 60)}},
        // Buildings.
        {"KBUDYNEK",
         {dbl("MSLINK"), dbl("BUDYNEK_ID"), integer("IS_BUDYNKOWA"), dbl("ID_JR"), text("NIERUCH_ID", 40),
          lng("FUN_ID"), text("DLK_TXT", 100), text("ADRES_TXT", 150), text("AW", 255), text("REJ_ZAB", 20),
          lng("DATA_REJ_ZAB"), dbl("WARTOSC"), lng("DATA_WARTOSC"), integer("NUM_KOND"),
          integer("NUM_KOND_POD"), dbl("POW_ZAB"), lng("DATA_BUDOWY"), lng("NOSNA"), lng("STROPY"),
          lng("DACH"), lng("WODA"), lng("KANAL"), lng("CO"), lng("GAZ"), lng("EL"), lng("CWODA"),
          integer("WINDA"), memo("UWAGI"), dbl("ZMIANA_ID"), dbl("ZMIANA_KAS_ID"), dbl("KUBATURA")}},
        {"DLK_BUD", {dbl("DZIALKA_ID"), dbl("BUDYNEK_ID"), dbl("ZMIANA_ID"), dbl("ZMIANA_KAS_ID")}},
        {"SLO_FUNBUD", {lng("MSLINK"), text("NAZWA", 80), text("KST", 10)}},
        {"SLO_INST", {lng("MSLINK"), text("NAZWA", 60)}},
        {"SLO_KONSTR", {lng("MSLINK"), text("NAZWA", 60)}},
        // Premises.
        {"KLOKAL",
         {dbl("MSLINK"), dbl("LOKAL_ID"), dbl("ID_JR"), dbl("BUDYNEK_ID"), text("NRIMPORTED", 10), lng("FUN_ID"),
          integer("LICZBA_IZB"), dbl("POW_ZAB"), dbl("ADRES_ID"), dbl("WARTOSC"), lng("DATA_WARTOSC"),
          memo("UWAGI"), dbl("ZMIANA_ID"), dbl("ZMIANA_KAS_ID"), integer("KONDYGNACJA")}},
        {"SLO_FUNLOK", {lng("MSLINK"), text("NAZWA", 60)}},
        // Land books.
        {"SLO_KW", {dbl("KW_ID"), text("NAZWA", 30), text("KW_TXT", 60), integer("WYDZKW_ID"), lng("DATA_ZAL")}},
        {"SLO_WYDZKW", {integer("MSLINK"), text("NAZWA", 120), text("KOD", 4)}},
        {"KW_DLK", kwLinkColumns("DZIALKA_ID")},
        {"KW_BUD", kwLinkColumns("BUDYNEK_ID")},
        {"KW_LOK", kwLinkColumns("LOKAL_ID")},
        // Holders.
        {"LWRGRUN", holderColumns("ID_JR", true)},
        {"LWRLOK", holderColumns("ID_JR", false)},
        {"LWKDZIALKA", holderColumns("DZIALKA_ID", false)},
        {"SLO_WLAD", {lng("MSLINK"), text("SKROT", 10), text("OPIS", 80), integer("RODZAJ")}},
        {"SLO_GRREJ", {lng("MSLINK"), integer("GRUPA"), integer("PODGRUPA"), text("OPIS", 150)}},
        // Persons.
        {"OSFIZ",
         {dbl("OSFIZ_ID"), lng("NAZWISKO_ID"), lng("IMIE_ID"), lng("IMIE2_ID"), lng("OJCIEC_ID"),
          lng("MATKA_ID"), text("PESEL", 11), text("NIP", 13), dbl("ADRES_ID"), text("PLEC", 1),
          lng("DATA_UR")}},
        {"OSPRAW",
         {dbl("OSPRAW_ID"), text("NAZWA", 255), text("SKROT", 50), text("REGON", 14), text("NIP", 13),
          dbl("ADRES_ID"), byte("RODZAJ_PODM")}},
        {"MALZ", {dbl("MALZ_ID"), dbl("ON_ID"), dbl("ONA_ID")}},
        {"PDM_GR_SKL", {dbl("OSPRAW_ID"), dbl("OSOBA_ID")}},
        {"SLO_NAZWISKA", {lng("MSLINK"), text("NAZWISKO", 50)}},
        {"SLO_IMIONA", {lng("MSLINK"), text("IMIE", 30)}},
        // Addresses.
        {"ADRES",
         {dbl("ADRES_ID"), lng("ULICA_ID"), lng("KOD_ID"), text("NUMER", 10), text("NUMER2", 10),
          text("ADR_FULL", 255), text("ADR_UL", 150)}},
        {"EW_ADRES", {dbl("DZIALKA_ID"), dbl("ADRES_ID"), dbl("ZMIANA_ID"), dbl("ZMIANA_KAS_ID")}},
        {"KOD_POCZT", {lng("KOD_ID"), text("KOD", 6), text("POCZTA", 60)}},
        {"SLO_ULICE", {lng("ULICA_ID"), text("NAZWA", 80), lng("RODZ_UL_ID"), dbl("MIEJSC_ID"), text("SYM_UL", 5)}},
        {"SLO_RODZ_UL", {lng("RODZ_UL_ID"), text("PRZEDROSTEK", 10), text("NAZWA", 30)}},
        // Comments.
        {"KOMENTARZ", {dbl("MSLINK"), memo("TEKST")}},
        // Changes and cases.
        {"ZMIANY",
         {dbl("ID"), lng("USER_ID"), dbl("SPRAWA_ID"), datetime("DATAD"), lng("DATA_D"), lng("CZAS_D"),
          text("OPIS", 255)}},
        {"EW_USER", {lng("ID"), text("USER_NAME", 30), text("FULL_NAME2", 80), byte("POZIOM")}},
        {"SPRAWA", {dbl("SPRAWA_ID"), memo("OPIS"), lng("RODZ_ZM_ID"), lng("DATA_ZAL")}},
        {"SLO_RODZ_ZM", {lng("RODZ_ZM_ID"), text("NAZWA", 100)}},
        {"SPRAWA_NR", {dbl("SPRAWA_ID"), lng("NR"), text("NRADD", 10), integer("ROK"), lng("OBREB_ID")}},
        {"SPRAWA_DOK", {dbl("SPRAWA_ID"), dbl("DOK_ID")}},
        {"DOK",
         {dbl("DOK_ID"), text("SYGNATURA", 60), lng("DATA_DOK"), lng("DATA_WPLYWU"), text("OPIS", 255),
          lng("RODZDOK_ID"), lng("ZGLASZ_ID")}},
        {"SLO_RODZDOK", {lng("MSLINK"), text("OPIS", 100)}},
        {"ZGLASZAJACY", {lng("ID"), text("OPIS", 150)}},
        {"SPRAWA_OPERAT", {dbl("SPRAWA_ID"), dbl("OPERAT_ID")}},
        {"OPERAT",
         {dbl("MSLINK"), text("SEKCJA", 10), lng("NR_KOL"), integer("ROK_ZGL"), lng("DATA_ZAKLAUZUL"),
          lng("DATA_WPLYWU"), memo("KOMENTARZ")}},
        {"SPRAWA_OPERAT_Z", {dbl("SPRAWA_ID"), dbl("OPERATZASOB_ID")}},
        {"OPERAT_ZASOB",
         {dbl("OPERATZASOB_ID"), lng("OPERATTYP_ID"), text("J_SEGR", 10), text("NR_ADDED", 10),
          text("NR_KOL", 10), text("ROK_ZGL", 4), text("TOM", 5), lng("DATA_ZAKLAUZUL"), memo("OPIS")}},
        {"SLO_OPERATTYP", {lng("OPERATTYP_ID"), text("SKROT", 10), text("OPIS", 100)}},
    };
}

} // namespace

int TableSchema::columnIndex(std::string_view column) const
{
    for (std::size_t i = 0; i < columns.size(); ++i) // names as written in the schema: the common case
        if (columns[i].name == column)
            return int(i);
    for (std::size_t i = 0; i < columns.size(); ++i)
        if (sameName(columns[i].name, column))
            return int(i);
    return -1;
}

const std::vector<TableSchema> &registerSchema()
{
    static const std::vector<TableSchema> schema = buildSchema();
    return schema;
}

const TableSchema *findTable(std::string_view name)
{
    for (const TableSchema &table : registerSchema())
        if (table.name == name)
            return &table;
    for (const TableSchema &table : registerSchema())
        if (sameName(table.name, name))
            return &table;
    return nullptr;
}

} // namespace katarix::registergen
