#pragma once

#include "MacroTemplate.h"

// SQL and page template of the change history window (TTWzmianyFrm).
namespace katarix::reg::sql::zmiany {

// The change; parameter ZMIANA_ID (float).
inline constexpr char ZmianaQry[] =
    "SELECT zmiany.id,\n"
    "IIf(IsNull(usr.full_name2), usr.user_name, usr.full_name2) AS USRNAME,\n"
    "zmiany.datad,\n"
    "Format$(zmiany.data_d, '####-##-##') + ' ' + Format$(zmiany.czas_d, '##:##:##') as DATAD_TXT,\n"
    "zmiany.sprawa_id,\n"
    "srz.nazwa AS RODZZM,\n"
    "sprawa.opis\n"
    "FROM (((zmiany LEFT JOIN sprawa ON zmiany.sprawa_id = sprawa.sprawa_id)\n"
    "LEFT JOIN ew_user AS USR ON zmiany.user_id = usr.id)\n"
    "LEFT JOIN slo_rodz_zm AS SRZ ON sprawa.rodz_zm_id = srz.rodz_zm_id)\n"
    "WHERE zmiany.id = :ZMIANA_ID";

// Numbers of a case; parameter SPRAWA_ID.
inline constexpr char NrZmnQry[] =
    "SELECT FORMAT$(snr.nr) + IIf(IsNull(snr.nradd),'','-'+snr.nradd) +'/'+ FORMAT$(snr.rok) +' obr. '+ obr.nazwa AS NUMER\n"
    "FROM sprawa_nr AS SNR LEFT JOIN obreb AS OBR ON snr.obreb_id = obr.mslink\n"
    "WHERE snr.sprawa_id = :SPRAWA_ID\n"
    "ORDER BY obr.nazwa, snr.rok, snr.nr";

// Documents, survey works and archived survey works of a case; parameter SPRAWA_ID (three
// places, one value).
inline constexpr char DokQry[] =
    "SELECT 1 AS TYP,\n"
    "DOK.DOK_ID,\n"
    "SLO_RODZDOK.OPIS AS RODZDOK,\n"
    "DOK.SYGNATURA,\n"
    "DOK.DATA_DOK,\n"
    "DOK.DATA_WPLYWU,\n"
    "ZGLASZAJACY.OPIS AS WYDAL,\n"
    "DOK.OPIS\n"
    "FROM (DOK LEFT JOIN SLO_RODZDOK ON DOK.RODZDOK_ID = SLO_RODZDOK.MSLINK)\n"
    "LEFT JOIN ZGLASZAJACY ON DOK.ZGLASZ_ID = ZGLASZAJACY.ID\n"
    "WHERE DOK.DOK_ID IN (SELECT DOK_ID FROM SPRAWA_DOK WHERE SPRAWA_ID = :SPRAWA_ID)\n"
    "UNION ALL\n"
    "SELECT 2 AS TYP,\n"
    "OPERAT.MSLINK,\n"
    "SLO_RODZDOK.OPIS AS RODZDOK,\n"
    "OPERAT.SEKCJA &'-'& OPERAT.NR_KOL &'/'& OPERAT.ROK_ZGL,\n"
    "FORMAT$(OPERAT.DATA_ZAKLAUZUL,'####-##-##'),\n"
    "FORMAT$(OPERAT.DATA_WPLYWU,'####-##-##'),\n"
    "'' AS WYDAL,\n"
    "OPERAT.KOMENTARZ\n"
    "FROM OPERAT, SLO_RODZDOK\n"
    "WHERE OPERAT.MSLINK IN (SELECT OPERAT_ID FROM SPRAWA_OPERAT WHERE SPRAWA_ID = :SPRAWA_ID)\n"
    "AND SLO_RODZDOK.MSLINK = 2\n"
    "UNION ALL\n"
    "SELECT 3 AS TYP,\n"
    "OPERAT_ZASOB.OPERATZASOB_ID,\n"
    "'Operat pomiarowy' AS RODZDOK,\n"
    "SLO_OPERATTYP.SKROT + IIf(IsNull(OPERAT_ZASOB.J_SEGR),'',OPERAT_ZASOB.J_SEGR + "
    "IIf(IsNull(OPERAT_ZASOB.NR_ADDED),'','.' + OPERAT_ZASOB.NR_ADDED)+'-') + OPERAT_ZASOB.NR_KOL +'/'+ "
    "OPERAT_ZASOB.ROK_ZGL + IIf(IsNull(OPERAT_ZASOB.TOM),'','_' + OPERAT_ZASOB.TOM),\n"
    "FORMAT$(OPERAT_ZASOB.DATA_ZAKLAUZUL,'####-##-##'),\n"
    "'' AS DATA_WPLYWU,\n"
    "'' AS WYDAL,\n"
    "OPERAT_ZASOB.OPIS\n"
    "FROM OPERAT_ZASOB LEFT JOIN SLO_OPERATTYP ON OPERAT_ZASOB.OPERATTYP_ID = SLO_OPERATTYP.OPERATTYP_ID\n"
    "WHERE OPERAT_ZASOB.OPERATZASOB_ID IN (SELECT OPERATZASOB_ID FROM SPRAWA_OPERAT_Z WHERE SPRAWA_ID = :SPRAWA_ID)";

// The page (MainSh): fourteen lines, each ended by CR LF, Windows-1250 as its first line says.
inline constexpr MacroTemplate MainSh{
    "<head> <meta http-equiv=\"content-type\" content=\"text/html; charset=Windows-1250\"> </head>\r\n"
    "<table bgcolor=\"gray\" cellPadding=2 cellSpacing=1 width=100% align=center>\r\n"
    "<colgroup>\r\n"
    "  <col align=right width=130>\r\n"
    "  <col >\r\n"
    "</colgroup>\r\n"
    "<tr bgcolor=\"silver\"><th></th><td nowrap align=center><b>ZMIANA TWORZĄCA</b></td>\r\n"
    "<tr bgcolor=\"lightyellow\"><th nowrap bgcolor=\"silver\">Nr zmiany</th>              ~ZT_NRZM\r\n"
    "<tr bgcolor=\"lightyellow\"><th nowrap bgcolor=\"silver\">Wprowadził</th>             ~ZT_USR\r\n"
    "<tr bgcolor=\"lightyellow\"><th nowrap bgcolor=\"silver\">Data zmiany</th>            ~ZT_DATA\r\n"
    "<tr bgcolor=\"lightyellow\"><th nowrap bgcolor=\"silver\">Rodz. wniosk. zmiany</th>   ~ZT_RWZ\r\n"
    "<tr bgcolor=\"lightyellow\"><th nowrap bgcolor=\"silver\">Dokumenty</th>              ~ZT_DOK\r\n"
    "<tr bgcolor=\"lightyellow\"><th nowrap bgcolor=\"silver\">Opis zmiany</th>            ~ZT_OPIS\r\n"
    "</table>\r\n",
    '~',
    {"ZT_NRZM", "ZT_USR", "ZT_DATA", "ZT_RWZ", "ZT_DOK", "ZT_OPIS"},
    {"", "", "", "", "", ""}};

} // namespace katarix::reg::sql::zmiany
