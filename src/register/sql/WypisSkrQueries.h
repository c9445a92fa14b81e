#pragma once

#include "MacroTemplate.h"

// SQL of the short extract (TWypisSkrRgDM).
namespace katarix::reg::sql::wypisskr {

// Selected current parcels of current units (DlkSortSh); WARUNEK is the WarunekIn condition
// over kdzialka.mslink.
inline constexpr MacroTemplate DlkSortSh{
    "SELECT\n"
    "  KDZIALKA.MSLINK,\n"
    "  KDZIALKA.DZIALKA_ID,\n"
    "  KDZIALKA.ID_JR,\n"
    "  RGRUN.KOL_OBREB AS JR,\n"
    "  OBREB.NAZWA AS OBREB,\n"
    "  Format$(KDZIALKA.NR_L)+IIf(IsNull(KDZIALKA.NR_M),'','/'+Format$(KDZIALKA.NR_M))"
    "+IIf((IsNull(KDZIALKA.NR_ADD) or Len(KDZIALKA.NR_ADD)=0),'','-'+KDZIALKA.NR_ADD) AS NUMER,\n"
    "  ARKUSZ.NAZWA AS Arkusz,\n"
    "  KDZIALKA.AREA/10000 AS POW,\n"
    "  KDZIALKA.AROWA,\n"
    "  left(SLO_KW.KW_TXT, 200) AS KW,\n"
    "  KDZIALKA.AW,\n"
    "  KDZIALKA.POLOZENIE AS Polozenie,\n"
    "  left(KDZIALKA.ADRES_TXT, 500) AS ADRES,\n"
    "  left(KDZIALKA.UWAGI, 4000) AS KOMENTARZ\n"
    "FROM ((((KDZIALKA LEFT JOIN ARKUSZ ON KDZIALKA.ARKUSZ_ID = ARKUSZ.MSLINK)\n"
    "LEFT JOIN RGRUN ON KDZIALKA.ID_JR = RGRUN.ID_JR)\n"
    "LEFT JOIN OBREB ON KDZIALKA.OBREB_ID = OBREB.MSLINK)\n"
    "LEFT JOIN KW_DLK ON (KDZIALKA.DZIALKA_ID = KW_DLK.DZIALKA_ID AND IIf(IsNull(KW_DLK.ZMIANA_KAS_ID), 0, "
    "KW_DLK.ZMIANA_KAS_ID) = 0 AND (KW_DLK.STATUS = 'P' OR KW_DLK.STATUS is null)))\n"
    "LEFT JOIN SLO_KW ON KW_DLK.KW_ID = SLO_KW.KW_ID\n"
    "WHERE IIf(IsNull(KDZIALKA.ZMIANA_KAS_ID), 0, KDZIALKA.ZMIANA_KAS_ID) = 0\n"
    "AND IIf(IsNull(RGRUN.ZMIANA_KAS_ID), 0, RGRUN.ZMIANA_KAS_ID) = 0\n"
    "%WARUNEK\n"
    "ORDER BY obreb.nazwa, nr_l, nr_m",
    '%',
    {"WARUNEK"},
    {""}};

// Holders of a parcel: those of its unit and those recorded on the parcel itself;
// parameters ID_JR (the unit) and MSL_DLK (the parcel's dzialka_id), untyped.
inline constexpr char OsobyQry[] =
    "SELECT\n"
    "  IIf(LWRGRUN.OSOBA_ID >= 300000000 and LWRGRUN.OSOBA_ID < 500000000, 'P', 'F') AS RODZ_OS,\n"
    "  LWRGRUN.OSOBA_ID,\n"
    "  LWRGRUN.WLAD_ID,\n"
    "  LWRGRUN.L_UDZIAL,\n"
    "  LWRGRUN.NR_UDZIALU,\n"
    "  IIf(LWRGRUN.M_UDZIAL=0, 0, LWRGRUN.L_UDZIAL / LWRGRUN.M_UDZIAL) as UDZIAL_DZIES,\n"
    "  IIf(IsNull(LWRGRUN.DATA_UPLYWU) Or LWRGRUN.DATA_UPLYWU=0, SLO_WLAD.OPIS, SLO_WLAD.OPIS & ' do dn. '& LWRGRUN.DATA_UPLYWU) AS F_WLAD,\n"
    "  IIf(lwrgrun.l_udzial=0,lwrgrun.nr_udzialu,Format$(lwrgrun.l_udzial)+'/'+Format$(lwrgrun.m_udzial)"
    "+IIf(IsNull(lwrgrun.nr_udzialu),'',' '+lwrgrun.nr_udzialu)) AS UDZIAL,\n"
    "  left(OSOBA_TXT, 4000) AS OSOBA,\n"
    "  left(ADRES_TXT, 4000) AS ADR,\n"
    "  left(NIP_TXT, 50) as NIP2,\n"
    "  left(REG_PES_TXT, 50) as PES_REG,\n"
    "  LWRGRUN.DATA_UPLYWU,\n"
    "  LWRGRUN.KOMENT\n"
    "FROM LWRGRUN LEFT JOIN SLO_WLAD ON LWRGRUN.WLAD_ID = SLO_WLAD.MSLINK\n"
    "WHERE IIf(IsNull(LWRGRUN.ZMIANA_KAS_ID), 0, LWRGRUN.ZMIANA_KAS_ID) = 0\n"
    "AND LWRGRUN.ID_JR = :ID_JR\n"
    "UNION\n"
    "SELECT\n"
    "  IIf(lwkdzialka.OSOBA_ID >= 300000000 and lwkdzialka.OSOBA_ID < 500000000, 'P', 'F') AS RODZ_OS,\n"
    "  lwkdzialka.OSOBA_ID,\n"
    "  lwkdzialka.WLAD_ID,\n"
    "  lwkdzialka.L_UDZIAL,\n"
    "  lwkdzialka.NR_UDZIALU,\n"
    "  IIf(lwkdzialka.M_UDZIAL=0, 0, lwkdzialka.L_UDZIAL / lwkdzialka.M_UDZIAL) as UDZIAL_DZIES,\n"
    "  IIf(IsNull(lwkdzialka.DATA_UPLYWU) Or lwkdzialka.DATA_UPLYWU=0, SLO_WLAD.OPIS, SLO_WLAD.OPIS & ' do dn. '& lwkdzialka.DATA_UPLYWU) AS F_WLAD,\n"
    "  IIf(lwkdzialka.l_udzial=0,lwkdzialka.nr_udzialu,Format$(lwkdzialka.l_udzial)+'/'+Format$(lwkdzialka.m_udzial)"
    "+IIf(IsNull(lwkdzialka.nr_udzialu),'',' '+lwkdzialka.nr_udzialu)) AS UDZIAL,\n"
    "  left(OSOBA_TXT, 4000) AS OSOBA,\n"
    "  left(ADRES_TXT, 4000) AS ADR,\n"
    "  left(NIP_TXT, 50) as NIP2,\n"
    "  left(REG_PES_TXT, 50) as PES_REG,\n"
    "  lwkdzialka.DATA_UPLYWU,\n"
    "  lwkdzialka.KOMENT\n"
    "FROM lwkdzialka LEFT JOIN SLO_WLAD ON lwkdzialka.WLAD_ID = SLO_WLAD.MSLINK\n"
    "WHERE IIf(IsNull(lwkdzialka.ZMIANA_KAS_ID), 0, lwkdzialka.ZMIANA_KAS_ID) = 0\n"
    "AND lwkdzialka.dzialka_id = :MSL_DLK\n"
    "ORDER BY wlad_id, 1 desc, nr_udzialu, UDZIAL_DZIES";

} // namespace katarix::reg::sql::wypisskr
