#pragma once

#include "MacroTemplate.h"

// SQL of the list of parcels with holders (TRptDM).
namespace katarix::reg::sql::rpt {

// Every class/use row of the selected parcels with every holder of their unit (StrHld);
// WARUNEK is the WarunekIn condition over kdzialka.mslink.
inline constexpr MacroTemplate StrHld{
    "SELECT\n"
    "  KDZIALKA.MSLINK as ID_DLK,\n"
    "  KLASOUZ.MSLINK as ID_KLASOUZ,\n"
    "  RGRUN.KOL_OBREB AS JR_NR,\n"
    "  OBREB.NAZWA AS OBREB,\n"
    "  KDZIALKA.NR_L,\n"
    "  KDZIALKA.NR_M,\n"
    "  Format$(KDZIALKA.NR_L)+IIf(IsNull(KDZIALKA.NR_M),'','/'+Format$(KDZIALKA.NR_M))"
    "+IIf((IsNull(KDZIALKA.NR_ADD) or Len(KDZIALKA.NR_ADD)=0),'','-'+KDZIALKA.NR_ADD) AS NR_DLK,\n"
    "  ARKUSZ.NAZWA AS ARKUSZ,\n"
    "  KDZIALKA.AREA/10000 AS POW_DLK,\n"
    "  IIf(SLO_KLABOT.DEF_UZ = KLASOUZ.UZYTEK_ID, SLO_KLABOT.SKROT, "
    "SLO_UZYT.SKROT + IIf(IsNull(SLO_KLABOT.SKROT), '', '-'+SLO_KLABOT.SKROT)) AS KLASOUZ,\n"
    "  KLASOUZ.AREA/10000 AS POW_KL,\n"
    "  SLO_WLAD.OPIS as F_WLAD,\n"
    "  LWRGRUN.L_UDZIAL as L_UDZ,\n"
    "  LWRGRUN.M_UDZIAL as M_UDZ,\n"
    "  LWRGRUN.NR_UDZIALU as NR_UDZ,\n"
    "  left(LWRGRUN.OSOBA_TXT, 4000) AS OSOBA,\n"
    "  left(LWRGRUN.ADRES_TXT, 4000) AS ADRES\n"
    "FROM (((((((KDZIALKA LEFT JOIN ARKUSZ ON KDZIALKA.ARKUSZ_ID = ARKUSZ.MSLINK)\n"
    "LEFT JOIN RGRUN ON KDZIALKA.ID_JR = RGRUN.ID_JR)\n"
    "LEFT JOIN OBREB ON KDZIALKA.OBREB_ID = OBREB.MSLINK)\n"
    "LEFT JOIN KLASOUZ ON KDZIALKA.MSLINK = KLASOUZ.OBSZAR_ID)\n"
    "LEFT JOIN SLO_KLABOT ON KLASOUZ.KLASA_ID = SLO_KLABOT.MSLINK)\n"
    "LEFT JOIN SLO_UZYT ON KLASOUZ.UZYTEK_ID = SLO_UZYT.MSLINK)\n"
    "LEFT JOIN LWRGRUN ON KDZIALKA.ID_JR = LWRGRUN.ID_JR)\n"
    "LEFT JOIN SLO_WLAD ON LWRGRUN.WLAD_ID = SLO_WLAD.MSLINK\n"
    "WHERE IIf(IsNull(KDZIALKA.ZMIANA_KAS_ID), 0, KDZIALKA.ZMIANA_KAS_ID) = 0\n"
    "AND (kdzialka.zmiana_kas_id = 0 OR kdzialka.zmiana_kas_id is null)\n"
    "AND (lwrgrun.zmiana_kas_id = 0 OR lwrgrun.zmiana_kas_id is null)\n"
    ":WARUNEK\n"
    "ORDER BY obreb.nazwa, kdzialka.nr_l, kdzialka.nr_m, kdzialka.mslink, klasouz.mslink, lwrgrun.nr_udzialu, "
    "lwrgrun.l_udzial",
    ':',
    {"WARUNEK"},
    {""}};

} // namespace katarix::reg::sql::rpt
