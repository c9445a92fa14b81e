#pragma once

#include "MacroTemplate.h"

// SQL of the registration units of persons window (TTWjrOsobyFrm) and its settings window.
namespace katarix::reg::sql::jrosoby {

// One register's part of the units query (SqlSh). Parameter OSOBA_ID (float), three places.
// The window joins the land and premises parts with " UNION ".
inline constexpr MacroTemplate SqlSh{
    "SELECT\n"
    "  %JR_TYP as TYP,\n"
    "  rej.id_jr,\n"
    "  %JR_PREFIX + Format$(rej.kol_obreb) as JR,\n"
    "  rej.obreb_id,\n"
    "  obreb.nazwa as OBREB,\n"
    "  lw.wlad_id,\n"
    "  slo_wlad.skrot as F_WLAD,\n"
    "  IIf(lw.l_udzial=0,lw.nr_udzialu,Format$(lw.l_udzial)+'/'+Format$(lw.m_udzial)"
    "+IIf(IsNull(lw.nr_udzialu),'',' '+lw.nr_udzialu)) AS UDZIAL,\n"
    "  slo_kw.nazwa as KW,\n"
    "  lw.zmiana_kas_id\n"
    "FROM ((((%LW_TAB AS lw LEFT JOIN %REJ_TAB AS rej ON lw.id_jr = rej.id_jr)\n"
    "LEFT JOIN slo_kw ON rej.kw_id = slo_kw.kw_id)\n"
    "LEFT JOIN obreb ON rej.obreb_id = obreb.mslink)\n"
    "LEFT JOIN slo_wlad ON lw.wlad_id = slo_wlad.mslink)\n"
    "WHERE (lw.osoba_id = :OSOBA_ID\n"
    "or lw.osoba_id in (select malz_id from malz where on_id = :OSOBA_ID or ona_id = :OSOBA_ID)\n"
    "or lw.osoba_id in (select ospraw_id from pdm_gr_skl where osoba_id = :OSOBA_ID))\n"
    "%WARUNEK",
    '%',
    {"JR_TYP", "JR_PREFIX", "LW_TAB", "REJ_TAB", "WARUNEK"},
    {"1", "'G-'", "lwrgrun", "rgrun", ""}};

// Macro values of the two registers.
struct Rejestr {
    const char *jrTyp;
    const char *jrPrefix;
    const char *lwTab;
    const char *rejTab;
};
inline constexpr Rejestr RejestrGruntow{"1", "'G-'", "lwrgrun", "rgrun"};
inline constexpr Rejestr RejestrLokali{"3", "'L-'", "lwrlok", "rlok"};

inline constexpr char Polaczenie[] = " UNION ";
// WARUNEK parts: forms of holding, current holdings only, precinct.
inline constexpr char FormyPrefix[] = " and lw.wlad_id in(";
inline constexpr char FormySuffix[] = ") ";
inline constexpr char TylkoAktualne[] = " and IIf(IsNull(lw.zmiana_kas_id), 0, lw.zmiana_kas_id) = 0 ";
inline constexpr char ObrebPrefix[] = " and rej.obreb_id = ";
inline constexpr char ObrebSuffix[] = " ";

// Settings window lists (TempQry).
inline constexpr char ObrebySql[] = "SELECT mslink, nazwa FROM obreb ORDER BY nazwa";
inline constexpr char FormyWladSql[] = "SELECT mslink, opis FROM slo_wlad ORDER BY rodzaj, mslink";

} // namespace katarix::reg::sql::jrosoby
