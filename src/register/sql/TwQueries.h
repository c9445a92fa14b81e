#pragma once

// SQL of the tool windows that follow a register grid.
namespace katarix::reg::sql {

namespace twbud {

// Buildings standing on a parcel, land register ("G-") and building register ("B-") alike;
// parameter DZIALKAID (float), once in each part.
inline constexpr char BudQry[] =
    "SELECT\n"
    "  kbudynek.mslink,\n"
    "  kbudynek.id_jr,\n"
    "  kbudynek.is_budynkowa,\n"
    "  'G-' + Format$(rgrun.kol_obreb) as JR,\n"
    "  kbudynek.nieruch_id,\n"
    "  kbudynek.NUM_KOND & IIf(IsNull(kbudynek.NUM_KOND_POD), '', '/' & kbudynek.NUM_KOND_POD) as NUM_KOND,\n"
    "  Format$(kbudynek.pow_zab, 'Fixed') as POW_ZAB,\n"
    "  left(kbudynek.ADRES_TXT, 500) AS Adres,\n"
    "  slo_funbud.nazwa as FUNKCJA,\n"
    "  left(slo_kw.KW_TXT, 200) as KW,\n"
    "  left(kbudynek.aw,500) as AW\n"
    "FROM ((((kbudynek LEFT JOIN rgrun ON kbudynek.id_jr = rgrun.id_jr)\n"
    "LEFT JOIN kw_bud ON (kbudynek.budynek_id = kw_bud.budynek_id AND IIf(IsNull(KW_BUD.ZMIANA_KAS_ID), 0, "
    "KW_BUD.ZMIANA_KAS_ID) = 0 AND kw_bud.status = 'P'))\n"
    "LEFT JOIN slo_kw ON kw_bud.kw_id = slo_kw.kw_id)\n"
    "LEFT JOIN slo_funbud ON kbudynek.fun_id = slo_funbud.mslink)\n"
    "LEFT JOIN dlk_bud ON (kbudynek.budynek_id = dlk_bud.budynek_id AND IIf(IsNull(DLK_BUD.ZMIANA_KAS_ID), 0, "
    "DLK_BUD.ZMIANA_KAS_ID) = 0)\n"
    "WHERE dlk_bud.dzialka_id = :DZIALKAID\n"
    "and kbudynek.is_budynkowa = 0\n"
    "and IIf(IsNull(kbudynek.zmiana_kas_id), 0, kbudynek.zmiana_kas_id) = 0\n"
    "and IIf(IsNull(rgrun.zmiana_kas_id), 0, rgrun.zmiana_kas_id) = 0;\n"
    "UNION\n"
    "SELECT\n"
    "  kbudynek.mslink,\n"
    "  kbudynek.id_jr,\n"
    "  kbudynek.is_budynkowa,\n"
    "  'B-' +  Format$(rbud.kol_obreb) as JR,\n"
    "  kbudynek.nieruch_id,\n"
    "  kbudynek.NUM_KOND & IIf(IsNull(kbudynek.NUM_KOND_POD), '', '/' & kbudynek.NUM_KOND_POD) as NUM_KOND,\n"
    "  Format$(kbudynek.pow_zab, 'Fixed') as POW_ZAB,\n"
    "  left(kbudynek.ADRES_TXT, 500) AS Adres,\n"
    "  slo_funbud.nazwa as FUNKCJA,\n"
    "  left(slo_kw.KW_TXT, 200) as KW,\n"
    "  left(kbudynek.aw,500) as AW\n"
    "FROM ((((kbudynek LEFT JOIN rbud ON kbudynek.id_jr = rbud.id_jr)\n"
    "LEFT JOIN kw_bud ON (kbudynek.budynek_id = kw_bud.budynek_id AND IIf(IsNull(KW_BUD.ZMIANA_KAS_ID), 0, "
    "KW_BUD.ZMIANA_KAS_ID) = 0 AND kw_bud.status = 'P'))\n"
    "LEFT JOIN slo_kw ON kw_bud.kw_id = slo_kw.kw_id)\n"
    "LEFT JOIN slo_funbud ON kbudynek.fun_id = slo_funbud.mslink)\n"
    "LEFT JOIN dlk_bud ON (kbudynek.budynek_id = dlk_bud.budynek_id AND IIf(IsNull(DLK_BUD.ZMIANA_KAS_ID), 0, "
    "DLK_BUD.ZMIANA_KAS_ID) = 0)\n"
    "WHERE dlk_bud.dzialka_id = :DZIALKAID\n"
    "and kbudynek.is_budynkowa <> 0\n"
    "and IIf(IsNull(kbudynek.zmiana_kas_id), 0, kbudynek.zmiana_kas_id) = 0\n"
    "and IIf(IsNull(rbud.zmiana_kas_id), 0, rbud.zmiana_kas_id) = 0\n"
    "ORDER BY nieruch_id";

} // namespace twbud

namespace twlok {

// Current premises of a building; parameter BUDYNEK_ID (float).
inline constexpr char LokQry[] =
    "SELECT\n"
    "  klokal.mslink,\n"
    "  klokal.nrimported as NUM_LOK,\n"
    "  rlok.id_jr as ID_JR,\n"
    "  Format$(rlok.kol_obreb) as JR,\n"
    "  left(Adres.ADR_UL, 4000) AS Adres,\n"
    "  Format$(klokal.pow_zab, 'Fixed') as POW_ZAB,\n"
    "  LCase(slo_funlok.nazwa) as FUNKCJA,\n"
    "  klokal.liczba_izb,\n"
    "  left(slo_kw.KW_TXT, 4000) as KW,\n"
    "  slo_wydzkw.nazwa as SAD\n"
    "FROM (((((klokal LEFT JOIN rlok ON klokal.id_jr = rlok.id_jr)\n"
    "LEFT JOIN kw_lok ON (klokal.lokal_id = kw_lok.lokal_id AND kw_lok.status = 'P' AND "
    "IIf(IsNull(KW_LOK.ZMIANA_KAS_ID), 0, KW_LOK.ZMIANA_KAS_ID) = 0))\n"
    "LEFT JOIN slo_kw ON kw_lok.kw_id = slo_kw.kw_id)\n"
    "LEFT JOIN slo_wydzkw ON slo_kw.wydzkw_id = slo_wydzkw.mslink)\n"
    "LEFT JOIN slo_funlok ON klokal.fun_id = slo_funlok.mslink)\n"
    "LEFT JOIN adres ON klokal.adres_id = adres.adres_id\n"
    "WHERE klokal.budynek_id = :BUDYNEK_ID\n"
    "and IIf(IsNull(klokal.zmiana_kas_id), 0, klokal.zmiana_kas_id) = 0\n"
    "and IIf(IsNull(rlok.zmiana_kas_id), 0, rlok.zmiana_kas_id) = 0\n"
    "ORDER BY nrimported";

} // namespace twlok

} // namespace katarix::reg::sql
