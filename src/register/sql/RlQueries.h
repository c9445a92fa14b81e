#pragma once

// SQL of the premises register window (TRlFrm).
namespace katarix::reg::sql::rl {

// Current premises registration units of a precinct; parameter ObrebID (integer).
inline constexpr char JrQry[] =
    "SELECT\n"
    "  id_jr,\n"
    "  obreb_id,\n"
    "  Format$(kol_obreb) as NR_JR,\n"
    "  kw_id,\n"
    "  left(komentarz.tekst, 4000) as uwagi\n"
    "FROM rlok LEFT JOIN KOMENTARZ ON rlok.KOMENT = KOMENTARZ.MSLINK\n"
    "WHERE IIf(IsNull(zmiana_kas_id), 0, zmiana_kas_id) = 0\n"
    "  and OBREB_ID = :ObrebID\n"
    "ORDER BY kol_obreb";

// Precinct and commune of a premises unit (PokazJr): followed by id_jr.
inline constexpr char ObrebJrSql[] =
    "SELECT obreb.mslink, obreb.gmina_id FROM obreb, rlok WHERE rlok.obreb_id = obreb.mslink and rlok.id_jr = ";

// Holders of a premises unit; parameter IdJr (float). GRUPA is always empty.
inline constexpr char OsobyQry[] =
    "SELECT\n"
    "  LWRLOK.ID_JR,\n"
    "  LWRLOK.OSOBA_ID,\n"
    "  IIf(LWRLOK.OSOBA_ID >= 300000000 and LWRLOK.OSOBA_ID < 500000000, 'P', 'F') AS RODZ_OS,\n"
    "  LWRLOK.WLAD_ID,\n"
    "  SLO_WLAD.SKROT AS F_WLAD,\n"
    "  SLO_WLAD.RODZAJ AS RODZ_WLAD,\n"
    "  LWRLOK.L_UDZIAL,\n"
    "  LWRLOK.M_UDZIAL,\n"
    "  LWRLOK.NR_UDZIALU,\n"
    "  IIf(LWRLOK.M_UDZIAL=0, 0, LWRLOK.L_UDZIAL / LWRLOK.M_UDZIAL) as UDZIAL_DZIES,\n"
    "  IIf(lwrlok.l_udzial=0,lwrlok.nr_udzialu,Format$(lwrlok.l_udzial)+'/'+Format$(lwrlok.m_udzial)"
    "+IIf(IsNull(lwrlok.nr_udzialu),'',' '+lwrlok.nr_udzialu)) AS UDZIAL,\n"
    "  '' as GRUPA,\n"
    "  left(OSOBA_TXT, 4000) AS NAZWA,\n"
    "  left(ADRES_TXT, 4000) AS ADR,\n"
    "  left(NIP_TXT, 4000) as NIP2,\n"
    "  left(REG_PES_TXT, 4000) as PES_REG,\n"
    "  LWRLOK.DATA_UPLYWU,\n"
    "  LWRLOK.KOMENT,\n"
    "  IIf(IsNull(KOMENTARZ.TEKST), '', '!') AS Kom,\n"
    "  left(komentarz.tekst, 4000) as uwagi,\n"
    "  LWRLOK.ZMIANA_ID,\n"
    "  LWRLOK.ZMIANA_KAS_ID\n"
    "FROM (LWRLOK LEFT JOIN SLO_WLAD ON LWRLOK.WLAD_ID = SLO_WLAD.MSLINK)\n"
    "LEFT JOIN KOMENTARZ ON LWRLOK.KOMENT = KOMENTARZ.MSLINK\n"
    "WHERE IIf(IsNull(LWRLOK.ZMIANA_KAS_ID), 0, LWRLOK.ZMIANA_KAS_ID) = 0\n"
    "AND LWRLOK.ID_JR = :IdJr\n"
    "ORDER BY WLAD_ID, 3 desc, 13, NR_UDZIALU, 10 desc";

// Current premises of a unit, in the database's order; parameter IdJr (float). The building
// joins only when its zmiana_kas_id is 0.
inline constexpr char LokQry[] =
    "SELECT\n"
    "  klokal.mslink,\n"
    "  klokal.lokal_id,\n"
    "  klokal.nrimported,\n"
    "  kbudynek.id_jr as id_jr_bud,\n"
    "  kbudynek.is_budynkowa,\n"
    "  kbudynek.nieruch_id as BUD,\n"
    "  klokal.fun_id,\n"
    "  slo_funlok.nazwa as FUN,\n"
    "  klokal.liczba_izb,\n"
    "  klokal.pow_zab,\n"
    "  left(slo_kw.KW_TXT, 200) as KW,\n"
    "  slo_wydzkw.nazwa as SAD,\n"
    "  klokal.adres_id,\n"
    "  left(Adres.ADR_UL, 500) AS Adres,\n"
    "  klokal.wartosc,\n"
    "  klokal.data_wartosc,\n"
    "  klokal.zmiana_id,\n"
    "  klokal.zmiana_kas_id,\n"
    "  left(klokal.UWAGI, 4000) as UWAGI,\n"
    "  IIf(IsNull(UWAGI), '', '!') AS Kom\n"
    "FROM (((((klokal LEFT JOIN kbudynek ON (klokal.budynek_id = kbudynek.budynek_id AND kbudynek.zmiana_kas_id = 0))\n"
    "LEFT JOIN adres ON klokal.adres_id = adres.adres_id)\n"
    "LEFT JOIN slo_funlok ON klokal.fun_id = slo_funlok.mslink)\n"
    "LEFT JOIN kw_lok ON (klokal.lokal_id = kw_lok.lokal_id AND (kw_lok.status = 'P' OR kw_lok.status is null) "
    "AND IIf(IsNull(KW_LOK.ZMIANA_KAS_ID), 0, KW_LOK.ZMIANA_KAS_ID) = 0))\n"
    "LEFT JOIN slo_kw ON kw_lok.kw_id = slo_kw.kw_id)\n"
    "LEFT JOIN slo_wydzkw ON slo_kw.wydzkw_id = slo_wydzkw.mslink\n"
    "WHERE klokal.id_jr = :IdJr\n"
    "AND IIf(IsNull(klokal.zmiana_kas_id), 0, klokal.zmiana_kas_id) = 0";

} // namespace katarix::reg::sql::rl
