#pragma once

// SQL of the land register window (TRgFrm).
namespace katarix::reg::sql::rg {

// Current registration units of a precinct; parameter ObrebID (integer).
inline constexpr char JrQry[] =
    "SELECT\n"
    "  id_jr,\n"
    "  obreb_id,\n"
    "  Format$(kol_obreb) as NR_JR,\n"
    "  kw_id,\n"
    "  left(komentarz.tekst, 4000) as uwagi\n"
    "FROM RGRUN LEFT JOIN KOMENTARZ ON RGRUN.KOMENT = KOMENTARZ.MSLINK\n"
    "WHERE IIf(IsNull(zmiana_kas_id), 0, zmiana_kas_id) = 0\n"
    "  and OBREB_ID = :ObrebID\n"
    "ORDER BY kol_obreb";

// Communes (TempQry).
inline constexpr char GminySql[] = "SELECT mslink, nazwa FROM gmina";
// Precincts of a commune: followed by the commune's mslink.
inline constexpr char ObrebyGminySql[] = "SELECT mslink, nazwa FROM obreb WHERE gmina_id = ";
// Land book of the unit: followed by kw_id.
inline constexpr char KwJrSql[] = "SELECT kw_txt FROM slo_kw WHERE kw_id = ";
// Precinct and commune of a unit (PokazJr): followed by id_jr.
inline constexpr char ObrebJrSql[] =
    "SELECT obreb.mslink, obreb.gmina_id FROM obreb, rgrun WHERE rgrun.obreb_id = obreb.mslink and rgrun.id_jr = ";

// Holders of a unit; parameter IdJr (float). ORDER BY positions refer to the select list.
inline constexpr char OsobyQry[] =
    "SELECT\n"
    "  LWRGRUN.ID_JR,\n"
    "  LWRGRUN.OSOBA_ID,\n"
    "  IIf(LWRGRUN.OSOBA_ID >= 300000000 and LWRGRUN.OSOBA_ID < 500000000, 'P', 'F') AS RODZ_OS,\n"
    "  LWRGRUN.WLAD_ID,\n"
    "  SLO_WLAD.SKROT AS F_WLAD,\n"
    "  SLO_WLAD.RODZAJ AS RODZ_WLAD,\n"
    "  LWRGRUN.L_UDZIAL,\n"
    "  LWRGRUN.M_UDZIAL,\n"
    "  LWRGRUN.NR_UDZIALU,\n"
    "  IIf(LWRGRUN.M_UDZIAL=0, 0, LWRGRUN.L_UDZIAL / LWRGRUN.M_UDZIAL) as UDZIAL_DZIES,\n"
    "  IIf(lwrgrun.l_udzial=0,lwrgrun.nr_udzialu,Format$(lwrgrun.l_udzial)+'/'+Format$(lwrgrun.m_udzial)"
    "+IIf(IsNull(lwrgrun.nr_udzialu),'',' '+lwrgrun.nr_udzialu)) AS UDZIAL,\n"
    "  Format$(SLO_GRREJ.GRUPA) + '.' + Format$(SLO_GRREJ.PODGRUPA) as GRUPA,\n"
    "  left(OSOBA_TXT, 4000) AS NAZWA,\n"
    "  left(ADRES_TXT, 4000) AS ADR,\n"
    "  left(NIP_TXT, 50) as NIP2,\n"
    "  left(REG_PES_TXT, 50) as PES_REG,\n"
    "  LWRGRUN.DATA_UPLYWU,\n"
    "  LWRGRUN.KOMENT,\n"
    "  IIf(IsNull(KOMENTARZ.TEKST), '', '!') AS Kom,\n"
    "  left(komentarz.tekst, 4000) as uwagi,\n"
    "  LWRGRUN.ZMIANA_ID,\n"
    "  LWRGRUN.ZMIANA_KAS_ID\n"
    "FROM ((LWRGRUN LEFT JOIN SLO_WLAD ON LWRGRUN.WLAD_ID = SLO_WLAD.MSLINK)\n"
    "LEFT JOIN SLO_GRREJ ON LWRGRUN.GRREJ_ID = SLO_GRREJ.MSLINK)\n"
    "LEFT JOIN KOMENTARZ ON LWRGRUN.KOMENT = KOMENTARZ.MSLINK\n"
    "WHERE IIf(IsNull(LWRGRUN.ZMIANA_KAS_ID), 0, LWRGRUN.ZMIANA_KAS_ID) = 0\n"
    "AND LWRGRUN.ID_JR = :IdJr\n"
    "ORDER BY WLAD_ID, 3 desc, 13, NR_UDZIALU, 10 desc";

// Current parcels of a unit, once per current land-book link; parameter IdJr (float).
inline constexpr char DzialkiQry[] =
    "SELECT\n"
    "  KDZIALKA.MSLINK,\n"
    "  KDZIALKA.DZIALKA_ID,\n"
    "  KDZIALKA.ID_JR,\n"
    "  Format$(KDZIALKA.NR_L)+IIf(IsNull(KDZIALKA.NR_M),'','/'+Format$(KDZIALKA.NR_M))"
    "+IIf((IsNull(KDZIALKA.NR_ADD) or Len(KDZIALKA.NR_ADD)=0),'','-'+KDZIALKA.NR_ADD) AS NUMER,\n"
    "  ARKUSZ.NAZWA AS Arkusz,\n"
    "  IIf(KDZIALKA.AROWA=0, Format$(KDZIALKA.AREA/10000, '#########0.0000'), "
    "Format$(KDZIALKA.AREA/10000, '#########0.00')) as AREA,\n"
    "  left(SLO_KW.KW_TXT, 200) AS KW,\n"
    "  SLO_WYDZKW.NAZWA AS SAD,\n"
    "  left(KDZIALKA.AW,500) as AW,\n"
    "  left(KDZIALKA.POLOZENIE, 500) as Polozenie,\n"
    "  left(KDZIALKA.ADRES_TXT, 500) as Adres,\n"
    "  KDZIALKA.REJSTAT,\n"
    "  KDZIALKA.OBWSPIS,\n"
    "  KDZIALKA.REJ_ZAB,\n"
    "  Format$(KDZIALKA.DATA_REJ_ZAB, '####-##-##') AS DATA_REJ_ZAB,\n"
    "  KDZIALKA.WARTOSC,\n"
    "  Format$(KDZIALKA.DATA_WARTOSC, '####-##-##') AS DATA_WARTOSC,\n"
    "  KDZIALKA.ZMIANA_ID,\n"
    "  KDZIALKA.ZMIANA_KAS_ID,\n"
    "  left(KDZIALKA.UWAGI, 4000) as UWAGI,\n"
    "  IIf(IsNull(UWAGI), '', '!') AS Kom\n"
    "FROM (((KDZIALKA LEFT JOIN ARKUSZ ON KDZIALKA.ARKUSZ_ID = ARKUSZ.MSLINK)\n"
    "LEFT JOIN KW_DLK ON (KDZIALKA.DZIALKA_ID = KW_DLK.DZIALKA_ID AND IIf(IsNull(KW_DLK.ZMIANA_KAS_ID), 0, "
    "KW_DLK.ZMIANA_KAS_ID) = 0 AND (KW_DLK.STATUS = 'P' OR KW_DLK.STATUS IS NULL)))\n"
    "LEFT JOIN SLO_KW ON KW_DLK.KW_ID = SLO_KW.KW_ID)\n"
    "LEFT JOIN SLO_WYDZKW ON SLO_KW.WYDZKW_ID = SLO_WYDZKW.MSLINK\n"
    "WHERE IIf(IsNull(KDZIALKA.ZMIANA_KAS_ID), 0, KDZIALKA.ZMIANA_KAS_ID) = 0\n"
    "AND KDZIALKA.ID_JR = :IdJr\n"
    "ORDER BY KDZIALKA.NR_L, KDZIALKA.NR_M";

// Current land-register buildings of a unit; parameter IdJr (float).
inline constexpr char BudQry[] =
    "SELECT\n"
    "  KBUDYNEK.MSLINK,\n"
    "  KBUDYNEK.BUDYNEK_ID,\n"
    "  KBUDYNEK.ID_JR,\n"
    "  KBUDYNEK.IS_BUDYNKOWA,\n"
    "  KBUDYNEK.NIERUCH_ID,\n"
    "  SLO_FUNBUD.NAZWA AS Funkcja,\n"
    "  left(DLK_TXT, 200) AS Dzialka,\n"
    "  left(ADRES_TXT, 500) AS Adres,\n"
    "  left(SLO_KW.KW_TXT, 200) AS KW,\n"
    "  SLO_WYDZKW.NAZWA AS SAD,\n"
    "  KBUDYNEK.AW,\n"
    "  KBUDYNEK.REJ_ZAB,\n"
    "  Format$(KBUDYNEK.DATA_REJ_ZAB,'####-##-##') AS DATA_REJ_ZAB,\n"
    "  KBUDYNEK.WARTOSC,\n"
    "  Format$(KBUDYNEK.DATA_WARTOSC,'####-##-##') AS DATA_WARTOSC,\n"
    "  KBUDYNEK.NUM_KOND,\n"
    "  KBUDYNEK.NUM_KOND_POD,\n"
    "  KBUDYNEK.POW_ZAB,\n"
    "  Left$(Format$(KBUDYNEK.DATA_BUDOWY),4) AS ROK_BUDOWY,\n"
    "  SK1.nazwa as NOSNA,\n"
    "  SK2.nazwa as STROPY,\n"
    "  SK3.nazwa as DACH,\n"
    "  SI1.nazwa as WODA,\n"
    "  SI2.nazwa as KANAL,\n"
    "  SI3.nazwa as CO,\n"
    "  SI4.nazwa as GAZ,\n"
    "  SI5.nazwa as EL,\n"
    "  SI6.nazwa as CWODA,\n"
    "  IIf(KBUDYNEK.WINDA=2,'jest','nie ma') AS WINDA,\n"
    "  KBUDYNEK.ZMIANA_ID,\n"
    "  KBUDYNEK.ZMIANA_KAS_ID,\n"
    "  left(KBUDYNEK.UWAGI, 4000) as Uwagi,\n"
    "  IIf(IsNull(KBUDYNEK.UWAGI), '', '!') AS Kom\n"
    "FROM ((((((((((((KBUDYNEK\n"
    "LEFT JOIN KW_BUD ON (KBUDYNEK.BUDYNEK_ID = KW_BUD.BUDYNEK_ID AND IIf(IsNull(KW_BUD.ZMIANA_KAS_ID), 0, "
    "KW_BUD.ZMIANA_KAS_ID) = 0 AND (KW_BUD.STATUS = 'P' OR KW_BUD.STATUS is null)))\n"
    "LEFT JOIN SLO_KW ON KW_BUD.KW_ID = SLO_KW.KW_ID)\n"
    "LEFT JOIN SLO_WYDZKW ON SLO_KW.WYDZKW_ID = SLO_WYDZKW.MSLINK)\n"
    "LEFT JOIN SLO_FUNBUD ON KBUDYNEK.FUN_ID = SLO_FUNBUD.MSLINK)\n"
    "LEFT JOIN SLO_INST AS SI1 ON KBUDYNEK.WODA = SI1.MSLINK)\n"
    "LEFT JOIN SLO_INST AS SI2 ON KBUDYNEK.KANAL = SI2.MSLINK)\n"
    "LEFT JOIN SLO_INST AS SI3 ON KBUDYNEK.CO = SI3.MSLINK)\n"
    "LEFT JOIN SLO_INST AS SI4 ON KBUDYNEK.GAZ = SI4.MSLINK)\n"
    "LEFT JOIN SLO_INST AS SI5 ON KBUDYNEK.EL = SI5.MSLINK)\n"
    "LEFT JOIN SLO_INST AS SI6 ON KBUDYNEK.CWODA = SI6.MSLINK)\n"
    "LEFT JOIN SLO_KONSTR AS SK1 ON KBUDYNEK.NOSNA = SK1.MSLINK)\n"
    "LEFT JOIN SLO_KONSTR AS SK2 ON KBUDYNEK.STROPY = SK2.MSLINK)\n"
    "LEFT JOIN SLO_KONSTR AS SK3 ON KBUDYNEK.DACH = SK3.MSLINK\n"
    "WHERE KBUDYNEK.ID_JR = :IdJr\n"
    "AND KBUDYNEK.IS_BUDYNKOWA = 0\n"
    "AND IIf(IsNull(KBUDYNEK.ZMIANA_KAS_ID), 0, KBUDYNEK.ZMIANA_KAS_ID) = 0\n"
    "ORDER BY NIERUCH_ID";

// Classes and uses of a parcel row (tool window KlasouzTW); parameter MslDlk (float).
inline constexpr char KlauzQry[] =
    "SELECT\n"
    "  SLO_UZYT.SKROT AS Uzytek,\n"
    "  SLO_KLABOT.SKROT AS Klasa,\n"
    "  IIf(KDZIALKA.AROWA=0, Format$(KLASOUZ.AREA/10000, '#######0.0000'), "
    "Format$(KLASOUZ.AREA/10000, '#######0.00')) AS Pow,\n"
    "  SLO_UZYT.WYPIS_TXT as Opis\n"
    "FROM ((KLASOUZ LEFT JOIN SLO_KLABOT ON KLASOUZ.KLASA_ID = SLO_KLABOT.MSLINK)\n"
    "LEFT JOIN SLO_UZYT ON KLASOUZ.UZYTEK_ID = SLO_UZYT.MSLINK)\n"
    "LEFT JOIN KDZIALKA ON KLASOUZ.OBSZAR_ID = KDZIALKA.MSLINK\n"
    "WHERE (KLASOUZ.OBSZAR_ID = :MslDlk)\n"
    "ORDER BY SLO_UZYT.SRT, SLO_KLABOT.SRT, KLASOUZ.AREA;";

} // namespace katarix::reg::sql::rg
