#pragma once

#include "MacroTemplate.h"

// SQL of the parcel search (TDodDlkFrm).
namespace katarix::reg::sql::doddlk {

inline constexpr char GminaQry[] = "SELECT mslink, nazwa FROM gmina ORDER BY nazwa";

// Precincts, all or of one commune: WARUNEK is "" or "WHERE gmina_id = " + commune key.
inline constexpr MacroTemplate ObrebSh{
    "SELECT mslink, nazwa\n"
    "FROM obreb\n"
    "%WARUNEK\n"
    "ORDER BY nazwa",
    '%',
    {"WARUNEK"},
    {""}};
inline constexpr char WarunekGminy[] = "WHERE gmina_id = ";

// Parameter OBREB_ID (small integer).
inline constexpr char ArkuszQry[] =
    "SELECT arkusz.mslink, arkusz.nazwa FROM arkusz WHERE obreb_id = :OBREB_ID ORDER BY nazwa";
// Parameter OBREB_ID (integer).
inline constexpr char JrQry[] = "SELECT id_jr, kol_obreb FROM rgrun WHERE obreb_id = :OBREB_ID ORDER BY kol_obreb";
// Parameter WYDZ_ID (small integer).
inline constexpr char KwQry[] =
    "SELECT kw_id, nazwa AS NR_KW, wydzkw_id FROM slo_kw WHERE wydzkw_id = :WYDZ_ID ORDER BY nazwa";
inline constexpr char MiejscowoscQry[] =
    "SELECT miejsc_id, nazwa FROM slo_miejsc WHERE miejsc_id in (select miejsc_id from obr_miejsc) ORDER BY nazwa";
// Parameter MIEJSC_ID (float).
inline constexpr char UlicaQry[] =
    "SELECT slo_ulice.ulica_id, slo_ulice.nazwa + ' ' + IIf(IsNull(slo_rodz_ul.przedrostek), '', "
    "slo_rodz_ul.przedrostek) as ULICA FROM slo_ulice LEFT JOIN slo_rodz_ul ON slo_ulice.rodz_ul_id = "
    "slo_rodz_ul.rodz_ul_id WHERE slo_ulice.miejsc_id = :MIEJSC_ID ORDER BY slo_ulice.nazwa";

// Lists filled through TempQry at creation.
inline constexpr char WydzialyKwSql[] = "SELECT mslink, nazwa FROM slo_wydzkw ORDER BY nazwa";
inline constexpr char KlasySql[] = "select mslink, skrot from slo_klabot order by skrot";
inline constexpr char UzytkiSql[] = "select mslink, skrot from slo_uzyt order by skrot";

// The search (MainSh): WAR_ALL holds the criteria, WAR_HIST the history condition. The land
// book joined is the one valid while the parcel version was valid.
inline constexpr MacroTemplate MainSh{
    "SELECT\n"
    "  kdzialka.mslink,\n"
    "  kdzialka.dzialka_id,\n"
    "  Format$(KDZIALKA.NR_L)+IIf(IsNull(KDZIALKA.NR_M),'','/'+Format$(KDZIALKA.NR_M))"
    "+IIf((IsNull(KDZIALKA.NR_ADD) or Len(KDZIALKA.NR_ADD)=0),'','-'+KDZIALKA.NR_ADD) AS NUMER,\n"
    "  kdzialka.arkusz_id,\n"
    "  arkusz.nazwa as ARKUSZ,\n"
    "  kdzialka.id_jr,\n"
    "  rgrun.kol_obreb as JR,\n"
    "  kdzialka.obreb_id,\n"
    "  obreb.nazwa as OBREB,\n"
    "  Format$(KDZIALKA.AREA/10000, '#########0.0000') as POW_OPIS,\n"
    "  kdzialka.zmiana_id,\n"
    "  kdzialka.zmiana_kas_id\n"
    "FROM (((kdzialka LEFT JOIN rgrun ON kdzialka.id_jr = rgrun.id_jr)\n"
    "LEFT JOIN obreb ON kdzialka.obreb_id = obreb.mslink)\n"
    "LEFT JOIN arkusz ON kdzialka.arkusz_id = arkusz.mslink)\n"
    "LEFT JOIN kw_dlk ON (kdzialka.dzialka_id = kw_dlk.dzialka_id"
    " AND (kw_dlk.status = 'P' OR kw_dlk.status is null)"
    " AND kw_dlk.zmiana_id < IIf(IsNull(kdzialka.zmiana_kas_id) or kdzialka.zmiana_kas_id=0, 9999999999,kdzialka.zmiana_kas_id)"
    " AND IIf(IsNull(kw_dlk.zmiana_kas_id),9999999999,kw_dlk.zmiana_kas_id) >= "
    "IIf(IsNull(kdzialka.zmiana_kas_id) or kdzialka.zmiana_kas_id=0, 9999999999,kdzialka.zmiana_kas_id))\n"
    "WHERE\n"
    "%WAR_ALL\n"
    "%WAR_HIST",
    '%',
    {"WAR_ALL", "WAR_HIST"},
    {"", ""}};

// History conditions (WAR_HIST) of the three radio buttons.
inline constexpr char HistoriaAktualne[] = " AND (kdzialka.zmiana_kas_id = 0 OR kdzialka.zmiana_kas_id is null)";
inline constexpr char HistoriaArchiwalne[] = " AND kdzialka.zmiana_kas_id <> 0 ";
inline constexpr char HistoriaWszystkie[] = "";

// Criteria of WAR_ALL, each followed by its value; the builder joins them with " AND ".
namespace warunki {
inline constexpr char Separator[] = " AND ";
inline constexpr char Obreb[] = "kdzialka.obreb_id = ";
inline constexpr char GminaPrefix[] = "kdzialka.obreb_id in (SELECT mslink FROM obreb WHERE gmina_id = ";
inline constexpr char GminaSuffix[] = ")";
inline constexpr char Jr[] = "kdzialka.id_jr = ";
inline constexpr char Arkusz[] = "kdzialka.arkusz_id = ";
inline constexpr char Licznik[] = "kdzialka.nr_l = ";
inline constexpr char Mianownik[] = "kdzialka.nr_m = ";
inline constexpr char NrAddPrefix[] = "kdzialka.nr_add like '";
inline constexpr char PowOd[] = "kdzialka.area >= ";
inline constexpr char PowDo[] = "kdzialka.area <= ";
inline constexpr char Kw[] = "kw_dlk.kw_id = ";
inline constexpr char AwPrefix[] = "UCase(kdzialka.aw) like '";
inline constexpr char PolozeniePrefix[] = "UCase(kdzialka.polozenie) like '";
inline constexpr char LikeSuffix[] = "'";
inline constexpr char BezAdresu[] = "IIf(IsNull(kdzialka.adres_id), 0,kdzialka.adres_id) < 1";
inline constexpr char AdresPrefix[] =
    "kdzialka.dzialka_id in (SELECT dzialka_id FROM ew_adres WHERE adres_id in (SELECT adres_id FROM adres WHERE ";
inline constexpr char AdresSuffix[] = ") and ZMIANA_KAS_ID is null)";
inline constexpr char KlasouzPrefix[] = "kdzialka.mslink in (SELECT obszar_id FROM klasouz WHERE ";
inline constexpr char KlasouzSuffix[] = ")";
// Address sub-condition parts.
inline constexpr char Ulica[] = "ulica_id = ";
inline constexpr char MiejscPrefix[] = "ulica_id in (SELECT ulica_id FROM slo_ulice WHERE miejsc_id = ";
inline constexpr char MiejscSuffix[] = ")";
inline constexpr char NumerPrefix[] = "UCase(numer) like '";
// Class-use sub-condition parts.
inline constexpr char Klasa[] = "klasa_id = ";
inline constexpr char Uzytek[] = "uzytek_id = ";
inline constexpr char KlauzPowOd[] = "area >= ";
inline constexpr char KlauzPowDo[] = "area <= ";
} // namespace warunki

} // namespace katarix::reg::sql::doddlk
