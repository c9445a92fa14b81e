#pragma once

#include "MacroTemplate.h"

// SQL of the land summary of persons (TZestGrOsDM).
namespace katarix::reg::sql::zestgros {

// Units in which a person holds: directly, through a marriage or a group (ListaJrSh).
// OSOBAID is a macro, replaced as text by the person's id. A share without a share number (NULL
// or empty) reads as the bare fraction.
inline constexpr MacroTemplate ListaJrSh{
    "SELECT\n"
    "  lwrgrun.id_jr,\n"
    "  rgrun.kol_obreb as JR,\n"
    "  obreb.nazwa as OBREB,\n"
    "  slo_wlad.skrot as F_WLAD,\n"
    "  IIf(lwrgrun.l_udzial=0,lwrgrun.nr_udzialu,Format$(lwrgrun.l_udzial)+'/'+Format$(lwrgrun.m_udzial)"
    "+IIf(IsNull(lwrgrun.nr_udzialu) Or Len(lwrgrun.nr_udzialu)=0,'',' '+lwrgrun.nr_udzialu)) AS UDZIAL,\n"
    "  lwrgrun.l_udzial,\n"
    "  lwrgrun.m_udzial\n"
    "FROM (((lwrgrun LEFT JOIN rgrun ON lwrgrun.id_jr = rgrun.id_jr)\n"
    "LEFT JOIN obreb ON rgrun.obreb_id = obreb.mslink)\n"
    "LEFT JOIN slo_wlad ON lwrgrun.wlad_id = slo_wlad.mslink)\n"
    "WHERE IIf(IsNull(lwrgrun.zmiana_kas_id), 0, lwrgrun.zmiana_kas_id) = 0\n"
    "and IIf(IsNull(rgrun.zmiana_kas_id), 0, rgrun.zmiana_kas_id) = 0\n"
    "and (lwrgrun.osoba_id = :OSOBAID\n"
    "or lwrgrun.osoba_id in (select malz_id from malz where on_id = :OSOBAID or ona_id = :OSOBAID)\n"
    "or lwrgrun.osoba_id in (select ospraw_id from pdm_gr_skl where osoba_id = :OSOBAID))",
    ':',
    {"OSOBAID"},
    {""}};

// Areas of a unit by use and class; parameter IdJr (float).
inline constexpr char GruntyQry[] =
    "SELECT\n"
    "  SLO_UZYT.SKROT AS Uzytek,\n"
    "  SLO_KLABOT.SKROT AS Klasa,\n"
    "  Format$(Sum(KLASOUZ.AREA)/10000, '########0.0000') AS Pow\n"
    "FROM ((KDZIALKA LEFT JOIN KLASOUZ ON KDZIALKA.MSLINK = KLASOUZ.OBSZAR_ID) LEFT JOIN SLO_KLABOT ON "
    "KLASOUZ.KLASA_ID = SLO_KLABOT.MSLINK) LEFT JOIN SLO_UZYT ON KLASOUZ.UZYTEK_ID = SLO_UZYT.MSLINK\n"
    "WHERE IIf(IsNull(KDZIALKA.ZMIANA_KAS_ID),0,KDZIALKA.ZMIANA_KAS_ID)=0\n"
    "AND KDZIALKA.ID_JR = :IdJr\n"
    "GROUP BY SLO_UZYT.SKROT, SLO_KLABOT.SKROT";

} // namespace katarix::reg::sql::zestgros
