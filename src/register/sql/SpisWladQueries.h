#pragma once

#include "MacroTemplate.h"

// SQL of the alphabetical list of holders (TSpisWladFrm).
namespace katarix::reg::sql::spiswlad {

inline constexpr char GminySql[] = "SELECT mslink, nazwa FROM gmina ORDER BY nazwa";
// Precincts: ObrebySql, then ObrebyGminaPrefix + commune key unless all, then ObrebySuffix.
inline constexpr char ObrebySql[] = "SELECT mslink, nazwa FROM obreb";
inline constexpr char ObrebyGminaPrefix[] = " WHERE gmina_id = ";
inline constexpr char ObrebySuffix[] = " ORDER BY nazwa";
inline constexpr char FormyWladSql[] = "SELECT mslink, opis FROM slo_wlad ORDER BY rodzaj, mslink";
inline constexpr char MiejscowosciSql[] =
    "SELECT miejsc_id, nazwa FROM slo_miejsc WHERE miejsc_id in (select miejsc_id from obr_miejsc) ORDER BY nazwa";

// Pieces shared by the six selects.
#define KATARIX_SPIS_DZIALKA                                                                              \
    "  kdzialka.nr_l,\n"                                                                                  \
    "  kdzialka.nr_m,\n"                                                                                  \
    "  Format$(KDZIALKA.NR_L)+IIf(IsNull(KDZIALKA.NR_M),'','/'+Format$(KDZIALKA.NR_M))"                   \
    "+IIf((IsNull(KDZIALKA.NR_ADD) or Len(KDZIALKA.NR_ADD)=0),'','-'+KDZIALKA.NR_ADD) AS DZIALKA,\n"      \
    "  ARKUSZ.NAZWA AS Arkusz,\n"                                                                         \
    "  OBREB.ARKUSZOWA\n"
#define KATARIX_SPIS_OSFIZ_KOLUMNY                                                                        \
    "  slo_nazwiska.nazwisko & (' '+si1.imie) & (' '+si2.imie) &' ('& IIf(IsNull(si3.imie),'-',si3.imie) " \
    "&','& IIf(IsNull(si4.imie),'-',si4.imie) &')' AS OSOBA,\n"                                           \
    "  left(Adres.ADR_FULL, 4000) AS Adres,\n"                                                            \
    "  Osfiz.PESEL as PES_REG,\n" KATARIX_SPIS_DZIALKA
#define KATARIX_SPIS_OSFIZ                                                                                \
    "((((OSFIZ LEFT JOIN SLO_NAZWISKA ON OSFIZ.NAZWISKO_ID = SLO_NAZWISKA.MSLINK)\n"                      \
    "LEFT JOIN SLO_IMIONA AS SI1 ON OSFIZ.IMIE_ID = SI1.MSLINK)\n"                                        \
    "LEFT JOIN SLO_IMIONA AS SI2 ON OSFIZ.IMIE2_ID = SI2.MSLINK)\n"                                       \
    "LEFT JOIN SLO_IMIONA AS SI3 ON OSFIZ.OJCIEC_ID = SI3.MSLINK)\n"                                      \
    "LEFT JOIN SLO_IMIONA AS SI4 ON OSFIZ.MATKA_ID = SI4.MSLINK"
#define KATARIX_SPIS_OSFIZ_RESZTA                                                                         \
    "LEFT JOIN SLO_WLAD ON LW.WLAD_ID = SLO_WLAD.MSLINK)\n"                                                \
    "LEFT JOIN ADRES ON OSFIZ.ADRES_ID = ADRES.ADRES_ID)\n"                                               \
    "LEFT JOIN SLO_ULICE ON ADRES.ULICA_ID = SLO_ULICE.ULICA_ID)\n"                                       \
    "LEFT JOIN SLO_MIEJSC ON SLO_ULICE.MIEJSC_ID = SLO_MIEJSC.MIEJSC_ID)\n"                               \
    "LEFT JOIN ARKUSZ ON KDZIALKA.ARKUSZ_ID = ARKUSZ.MSLINK)\n"                                           \
    "LEFT JOIN OBREB ON KDZIALKA.OBREB_ID = OBREB.MSLINK\n"
#define KATARIX_SPIS_AKTUALNE                                                                             \
    "AND IIf(IsNull(LW.ZMIANA_KAS_ID), 0, LW.ZMIANA_KAS_ID) = 0\n"                                        \
    "AND IIf(IsNull(KDZIALKA.ZMIANA_KAS_ID), 0, KDZIALKA.ZMIANA_KAS_ID) = 0\n"                            \
    ":WARUNEK"

// Natural persons (OsFizSh): unit holders, parcel holders, husbands and wives of holding
// couples. WARUNEK closes every select.
inline constexpr MacroTemplate OsFizSh{
    "SELECT\n"
    "  'F' as TYP,\n"
    "  LW.OSOBA_ID,\n" KATARIX_SPIS_OSFIZ_KOLUMNY
    "FROM (((((((LWRGRUN LW LEFT JOIN (" KATARIX_SPIS_OSFIZ ") ON LW.OSOBA_ID = OSFIZ.OSFIZ_ID)\n"
    "LEFT JOIN KDZIALKA ON LW.ID_JR = KDZIALKA.ID_JR)\n" KATARIX_SPIS_OSFIZ_RESZTA
    "WHERE LW.OSOBA_ID < 300000000\n" KATARIX_SPIS_AKTUALNE "\n"
    "UNION\n"
    "SELECT\n"
    "  'F' as TYP,\n"
    "  LW.OSOBA_ID,\n" KATARIX_SPIS_OSFIZ_KOLUMNY
    "FROM (((((((LWKDZIALKA LW LEFT JOIN (" KATARIX_SPIS_OSFIZ ") ON LW.OSOBA_ID = OSFIZ.OSFIZ_ID)\n"
    "LEFT JOIN KDZIALKA ON LW.DZIALKA_ID = KDZIALKA.DZIALKA_ID)\n" KATARIX_SPIS_OSFIZ_RESZTA
    "WHERE LW.OSOBA_ID < 300000000\n" KATARIX_SPIS_AKTUALNE "\n"
    "UNION\n"
    "SELECT\n"
    "  'F' as TYP,\n"
    "  osfiz.osfiz_ID,\n" KATARIX_SPIS_OSFIZ_KOLUMNY
    "FROM ((((((((LWRGRUN LW LEFT JOIN MALZ ON LW.OSOBA_ID = MALZ.MALZ_ID)\n"
    "LEFT JOIN (" KATARIX_SPIS_OSFIZ ") ON OSFIZ.OSFIZ_ID = MALZ.ON_ID)\n"
    "LEFT JOIN KDZIALKA ON LW.ID_JR = KDZIALKA.ID_JR)\n" KATARIX_SPIS_OSFIZ_RESZTA
    "WHERE LW.OSOBA_ID >= 500000000\n" KATARIX_SPIS_AKTUALNE "\n"
    "UNION\n"
    "SELECT\n"
    "  'F' as TYP,\n"
    "  osfiz.osfiz_ID,\n" KATARIX_SPIS_OSFIZ_KOLUMNY
    "FROM ((((((((LWRGRUN LW LEFT JOIN MALZ ON LW.OSOBA_ID = MALZ.MALZ_ID)\n"
    "LEFT JOIN (" KATARIX_SPIS_OSFIZ ") ON OSFIZ.OSFIZ_ID = MALZ.ONA_ID)\n"
    "LEFT JOIN KDZIALKA ON LW.ID_JR = KDZIALKA.ID_JR)\n" KATARIX_SPIS_OSFIZ_RESZTA
    "WHERE LW.OSOBA_ID >= 500000000\n" KATARIX_SPIS_AKTUALNE,
    ':',
    {"WARUNEK"},
    {""}};

#define KATARIX_SPIS_OSPRAW_KOLUMNY                                                                       \
    "  OSPRAW.NAZWA AS OSOBA,\n"                                                                          \
    "  Adres.ADR_FULL AS Adres,\n"                                                                        \
    "  Format$(OSPRAW.REGON) as PES_REG,\n" KATARIX_SPIS_DZIALKA
#define KATARIX_SPIS_OSPRAW_RESZTA                                                                        \
    "LEFT JOIN ARKUSZ ON KDZIALKA.ARKUSZ_ID = ARKUSZ.MSLINK)\n"                                           \
    "LEFT JOIN SLO_WLAD ON LW.WLAD_ID = SLO_WLAD.MSLINK)\n"                                                \
    "LEFT JOIN ADRES ON OSPRAW.ADRES_ID = ADRES.ADRES_ID)\n"                                              \
    "LEFT JOIN SLO_ULICE ON ADRES.ULICA_ID = SLO_ULICE.ULICA_ID)\n"                                       \
    "LEFT JOIN SLO_MIEJSC ON SLO_ULICE.MIEJSC_ID = SLO_MIEJSC.MIEJSC_ID)\n"                               \
    "LEFT JOIN KOMENTARZ ON LW.KOMENT = KOMENTARZ.MSLINK)\n"                                              \
    "LEFT JOIN OBREB ON KDZIALKA.OBREB_ID = OBREB.MSLINK\n"

// Legal persons (OsPrawSh): unit holders and parcel holders.
inline constexpr MacroTemplate OsPrawSh{
    "SELECT\n"
    "  'P' as TYP,\n"
    "  LW.OSOBA_ID,\n" KATARIX_SPIS_OSPRAW_KOLUMNY
    "FROM ((((((((LWRGRUN LW LEFT JOIN OSPRAW ON LW.OSOBA_ID = OSPRAW.OSPRAW_ID)\n"
    "LEFT JOIN KDZIALKA ON LW.ID_JR = KDZIALKA.ID_JR)\n" KATARIX_SPIS_OSPRAW_RESZTA
    "WHERE LW.OSOBA_ID >= 300000000 and LW.OSOBA_ID < 500000000\n" KATARIX_SPIS_AKTUALNE "\n"
    "UNION\n"
    "SELECT\n"
    "  'P' as TYP,\n"
    "  LW.OSOBA_ID,\n" KATARIX_SPIS_OSPRAW_KOLUMNY
    "FROM ((((((((LWKDZIALKA LW LEFT JOIN OSPRAW ON LW.OSOBA_ID = OSPRAW.OSPRAW_ID)\n"
    "LEFT JOIN KDZIALKA ON LW.DZIALKA_ID = KDZIALKA.DZIALKA_ID)\n" KATARIX_SPIS_OSPRAW_RESZTA
    "WHERE LW.OSOBA_ID >= 300000000 and LW.OSOBA_ID < 500000000\n" KATARIX_SPIS_AKTUALNE,
    ':',
    {"WARUNEK"},
    {""}};

#undef KATARIX_SPIS_DZIALKA
#undef KATARIX_SPIS_OSFIZ_KOLUMNY
#undef KATARIX_SPIS_OSFIZ
#undef KATARIX_SPIS_OSFIZ_RESZTA
#undef KATARIX_SPIS_AKTUALNE
#undef KATARIX_SPIS_OSPRAW_KOLUMNY
#undef KATARIX_SPIS_OSPRAW_RESZTA

// BudujSql: WARUNEK = WarunekObrebyPrefix + precincts + WarunekFormyPrefix + forms +
// WarunekFormySuffix + residence condition; the parts joined by Polaczenie, then Porzadek.
inline constexpr char WarunekObrebyPrefix[] = "AND kdzialka.obreb_id in (";
inline constexpr char WarunekFormyPrefix[] = ") AND lw.wlad_id in (";
inline constexpr char WarunekFormySuffix[] = ") ";
inline constexpr char Polaczenie[] = " UNION ";
inline constexpr char Porzadek[] = " ORDER BY 1 desc, 3, nr_l, nr_m";
// Residence conditions (WarunekMiejsc).
inline constexpr char OsobyZamiejscowe[] = " AND slo_miejsc.miejsc_id not in (select miejsc_id from obr_miejsc)";
inline constexpr char OsobyMiejscowePrefix[] = " AND slo_miejsc.miejsc_id in (";
inline constexpr char OsobyMiejscoweSuffix[] = ")";

} // namespace katarix::reg::sql::spiswlad
