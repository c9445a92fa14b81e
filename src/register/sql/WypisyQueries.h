#pragma once

#include "MacroTemplate.h"

// SQL of the land register extract (TWypisyDM).
namespace katarix::reg::sql::wypisy {

// Units of the extract: JrQryPrefix + comma list of id_jr + JrQrySuffix.
inline constexpr char JrQryPrefix[] =
    "SELECT rgrun.id_jr, rgrun.kol_obreb, obreb.nazwa as OBREB FROM rgrun LEFT JOIN obreb ON "
    "rgrun.Obreb_id = obreb.mslink WHERE rgrun.id_jr in (";
inline constexpr char JrQrySuffix[] =
    ")  AND IIf(IsNull(rgrun.zmiana_kas_id), 0, rgrun.zmiana_kas_id) = 0 ORDER BY obreb.nazwa, rgrun.kol_obreb";

// Holders of a unit; parameter IdJr (float).
inline constexpr char OsobyQry[] =
    "SELECT\n"
    "  IIf(LWRGRUN.OSOBA_ID >= 300000000 and LWRGRUN.OSOBA_ID < 500000000, 'P', 'F') AS RODZ_OS,\n"
    "  LWRGRUN.ID_JR,\n"
    "  LWRGRUN.OSOBA_ID,\n"
    "  LWRGRUN.WLAD_ID,\n"
    "  LWRGRUN.L_UDZIAL,\n"
    "  LWRGRUN.NR_UDZIALU,\n"
    "  IIf(lwrgrun.m_udzial=0, 0, LWRGRUN.L_UDZIAL / LWRGRUN.M_UDZIAL) as UDZIAL_DZIES,\n"
    "  IIf(IsNull(LWRGRUN.DATA_UPLYWU) Or LWRGRUN.DATA_UPLYWU=0, SLO_WLAD.OPIS, SLO_WLAD.OPIS & ' do dn. '& LWRGRUN.DATA_UPLYWU) AS F_WLAD,\n"
    "  IIf(lwrgrun.l_udzial=0,lwrgrun.nr_udzialu,Format$(lwrgrun.l_udzial)&'/'&Format$(lwrgrun.m_udzial)"
    "&IIf(Len(lwrgrun.nr_udzialu)=0,'',' '&lwrgrun.nr_udzialu)) AS UDZIAL,\n"
    "  left(OSOBA_TXT, 4000) AS NAZWA,\n"
    "  left(ADRES_TXT, 4000) AS ADR,\n"
    "  LWRGRUN.KOMENT\n"
    "FROM LWRGRUN LEFT JOIN SLO_WLAD ON LWRGRUN.WLAD_ID = SLO_WLAD.MSLINK\n"
    "WHERE IIf(IsNull(LWRGRUN.ZMIANA_KAS_ID), 0, LWRGRUN.ZMIANA_KAS_ID) = 0\n"
    "AND LWRGRUN.ID_JR = :IdJr\n"
    "ORDER BY WLAD_ID, 1 desc, 10, NR_UDZIALU, 7 desc";

// Parcels of a unit (DlkSh): ID_JR the unit, WARUNEK the parcel selection (or empty).
inline constexpr MacroTemplate DlkSh{
    "SELECT\n"
    "  KDZIALKA.MSLINK,\n"
    "  KDZIALKA.ID_JR,\n"
    "  Format$(KDZIALKA.NR_L)+IIf(IsNull(KDZIALKA.NR_M),'','/'+Format$(KDZIALKA.NR_M))"
    "+IIf((IsNull(KDZIALKA.NR_ADD) or Len(KDZIALKA.NR_ADD)=0),'','-'+KDZIALKA.NR_ADD) AS NUMER,\n"
    "  ARKUSZ.NAZWA AS Arkusz,\n"
    "  KDZIALKA.AREA as AREA,\n"
    "  KDZIALKA.AROWA,\n"
    "  left(SLO_KW.KW_TXT, 200) AS KW,\n"
    "  left(KDZIALKA.AW,200) AS AW,\n"
    "  left(KDZIALKA.POLOZENIE, 500) AS Polozenie,\n"
    "  left(KDZIALKA.ADRES_TXT, 500) AS Adres,\n"
    "  left(KDZIALKA.UWAGI, 4000) AS Komentarz\n"
    "FROM ((KDZIALKA LEFT JOIN ARKUSZ ON KDZIALKA.ARKUSZ_ID = ARKUSZ.MSLINK)\n"
    "LEFT JOIN KW_DLK ON (KDZIALKA.DZIALKA_ID = KW_DLK.DZIALKA_ID AND IIf(IsNull(KW_DLK.ZMIANA_KAS_ID), 0, "
    "KW_DLK.ZMIANA_KAS_ID) = 0 AND (KW_DLK.STATUS = 'P' OR KW_DLK.STATUS IS NULL)))\n"
    "LEFT JOIN SLO_KW ON KW_DLK.KW_ID = SLO_KW.KW_ID\n"
    "WHERE IIf(IsNull(KDZIALKA.ZMIANA_KAS_ID), 0, KDZIALKA.ZMIANA_KAS_ID) = 0\n"
    "AND KDZIALKA.ID_JR = :ID_JR\n"
    ":WARUNEK",
    ':',
    {"ID_JR", "WARUNEK"},
    {"-1", ""}};

// Buildings of a unit (BudSh): ID_JR the unit, WARUNEK the buildings on selected parcels.
inline constexpr MacroTemplate BudSh{
    "SELECT\n"
    "  KBUDYNEK.MSLINK,\n"
    "  KBUDYNEK.BUDYNEK_ID,\n"
    "  KBUDYNEK.ID_JR,\n"
    "  KBUDYNEK.IS_BUDYNKOWA,\n"
    "  KBUDYNEK.NIERUCH_ID,\n"
    "  SLO_FUNBUD.NAZWA AS Funkcja,\n"
    "  DLK_TXT AS NUMERDZ,\n"
    "  left(SLO_KW.KW_TXT, 200) AS KW,\n"
    "  kbudynek.NUM_KOND & IIf(IsNull(kbudynek.NUM_KOND_POD), '', '/' & kbudynek.NUM_KOND_POD) as NUM_KOND,\n"
    "  Format$(KBUDYNEK.POW_ZAB, 'Fixed') as POW_ZAB,\n"
    "  left(kbudynek.ADRES_TXT, 500) AS Adres,\n"
    "  left(kbudynek.UWAGI, 4000) AS Komentarz\n"
    "FROM ((KBUDYNEK LEFT JOIN KW_BUD ON (KBUDYNEK.BUDYNEK_ID = KW_BUD.BUDYNEK_ID AND IIf(IsNull(KW_BUD.ZMIANA_KAS_ID), 0, "
    "KW_BUD.ZMIANA_KAS_ID) = 0 AND (KW_BUD.STATUS = 'P' OR KW_BUD.STATUS IS NULL)))\n"
    "LEFT JOIN SLO_KW ON KW_BUD.KW_ID = SLO_KW.KW_ID)\n"
    "LEFT JOIN SLO_FUNBUD ON KBUDYNEK.FUN_ID = SLO_FUNBUD.MSLINK\n"
    "WHERE KBUDYNEK.ID_JR = :ID_JR\n"
    "AND IS_BUDYNKOWA = 0\n"
    "AND IIf(IsNull(KBUDYNEK.ZMIANA_KAS_ID), 0, KBUDYNEK.ZMIANA_KAS_ID) = 0\n"
    ":WARUNEK\n"
    "ORDER BY NIERUCH_ID",
    ':',
    {"ID_JR", "WARUNEK"},
    {"-1", ""}};

// WARUNEK values for a parcel selection (comma list of kdzialka.mslink between the parts).
inline constexpr char WarunekDlkPrefix[] = "and kdzialka.mslink in (";
inline constexpr char WarunekDlkSuffix[] = ")";
inline constexpr char WarunekBudPrefix[] =
    "and kbudynek.budynek_id in (select budynek_id from dlk_bud where (zmiana_kas_id=0 or zmiana_kas_id is null) "
    "and dzialka_id in (select dzialka_id from kdzialka where mslink in (";
inline constexpr char WarunekBudSuffix[] = ")))";

// Class/use rows of a parcel row; parameter MslDlk (float).
inline constexpr char KlauzQry[] =
    "SELECT\n"
    "  IIf(SLO_KLABOT.DEF_UZ = KLASOUZ.UZYTEK_ID, SLO_KLABOT.SKROT, "
    "SLO_UZYT.SKROT + IIf(IsNull(SLO_KLABOT.SKROT), '', '-'+SLO_KLABOT.SKROT)) AS NAZWA,\n"
    "  KLASOUZ.AREA\n"
    "FROM (KLASOUZ LEFT JOIN SLO_KLABOT ON KLASOUZ.KLASA_ID = SLO_KLABOT.MSLINK)\n"
    "LEFT JOIN SLO_UZYT ON KLASOUZ.UZYTEK_ID = SLO_UZYT.MSLINK\n"
    "WHERE (KLASOUZ.OBSZAR_ID = :MslDlk)";

// Areas of a unit by use and class; parameter IdJr (float).
inline constexpr char ZestKlauzQry[] =
    "SELECT\n"
    "  SLO_UZYT.SKROT AS Uzytek,\n"
    "  SLO_KLABOT.SKROT AS Klasa,\n"
    "  Format$(Sum(KLASOUZ.AREA)/10000, '########0.0000') AS SumPow\n"
    "FROM ((KDZIALKA LEFT JOIN KLASOUZ ON KDZIALKA.MSLINK = KLASOUZ.OBSZAR_ID) LEFT JOIN SLO_KLABOT ON "
    "KLASOUZ.KLASA_ID = SLO_KLABOT.MSLINK) LEFT JOIN SLO_UZYT ON KLASOUZ.UZYTEK_ID = SLO_UZYT.MSLINK\n"
    "WHERE IIf(IsNull(KDZIALKA.ZMIANA_KAS_ID), 0, KDZIALKA.ZMIANA_KAS_ID) = 0\n"
    "AND KDZIALKA.ID_JR = :IdJr\n"
    "GROUP BY SLO_UZYT.SKROT, SLO_KLABOT.SKROT";

// Separate premises in the unit's buildings; parameter IdJr (float).
inline constexpr char LokQry[] =
    "SELECT\n"
    "  klokal.mslink,\n"
    "  klokal.nrimported as NUM_LOK,\n"
    "  kbudynek.nieruch_id as BUDYNEK,\n"
    "  Format$(rlok.kol_obreb) as JR,\n"
    "  Adres.ADR_UL AS Adres,\n"
    "  Format$(klokal.pow_zab, 'Fixed') as POW_UZ,\n"
    "  LCase(slo_funlok.nazwa) as FUNKCJA,\n"
    "  klokal.liczba_izb,\n"
    "  left(SLO_KW.KW_TXT, 200) AS KW,\n"
    "  slo_wydzkw.nazwa as SAD,\n"
    "  left(klokal.UWAGI, 4000) AS Komentarz\n"
    "FROM ((((((klokal LEFT JOIN rlok ON klokal.id_jr = rlok.id_jr)\n"
    "LEFT JOIN kbudynek ON klokal.budynek_id = kbudynek.budynek_id)\n"
    "LEFT JOIN kw_lok ON (klokal.lokal_id = kw_lok.lokal_id AND (kw_lok.status = 'P' or kw_lok.status is null) "
    "AND IIf(IsNull(KW_LOK.ZMIANA_KAS_ID), 0, KW_LOK.ZMIANA_KAS_ID) = 0))\n"
    "LEFT JOIN slo_kw ON kw_lok.kw_id = slo_kw.kw_id)\n"
    "LEFT JOIN slo_wydzkw ON slo_kw.wydzkw_id = slo_wydzkw.mslink)\n"
    "LEFT JOIN slo_funlok ON klokal.fun_id = slo_funlok.mslink)\n"
    "LEFT JOIN adres ON klokal.adres_id = adres.adres_id\n"
    "WHERE kbudynek.id_jr = :IdJr\n"
    "and kbudynek.is_budynkowa = 0\n"
    "and IIf(IsNull(kbudynek.zmiana_kas_id),0, kbudynek.zmiana_kas_id)=0\n"
    "and IIf(IsNull(klokal.zmiana_kas_id), 0, klokal.zmiana_kas_id) = 0\n"
    "and IIf(IsNull(rlok.zmiana_kas_id), 0, rlok.zmiana_kas_id) = 0\n"
    "ORDER BY nrimported, nieruch_id";

// Counting queries (TempQry): followed by the unit's id_jr.
inline constexpr char IleDzialekSql[] =
    "SELECT count(mslink) as ILE FROM kdzialka WHERE IIf(IsNull(zmiana_kas_id),0,zmiana_kas_id) = 0 and id_jr = ";
inline constexpr char IleBudynkowSql[] =
    "SELECT count(mslink) as ILE FROM kbudynek WHERE IIf(IsNull(zmiana_kas_id),0,zmiana_kas_id) = 0 and "
    "is_budynkowa = 0 and id_jr = ";

} // namespace katarix::reg::sql::wypisy
