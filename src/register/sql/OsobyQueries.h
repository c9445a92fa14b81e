#pragma once

// SQL of the two person searches (TDodFizFrm, TDodPrawFrm).
namespace katarix::reg::sql {

namespace dodosoby {
// Either search's criteria follow its fixed part (WynikSql) between these two.
inline constexpr char KryteriaPrefix[] = " AND (";
inline constexpr char KryteriaSuffix[] = ")";
} // namespace dodosoby

namespace dodfiz {

inline constexpr char NazwiskoQry[] = "SELECT MSLINK, UCASE(NAZWISKO) as NAZW FROM slo_nazwiska ORDER BY NAZWISKO";
inline constexpr char ImieQry[] = "SELECT MSLINK, UCASE(IMIE) as IM FROM slo_imiona ORDER BY IMIE";
inline constexpr char MiejscowoscQry[] = "SELECT MIEJSC_ID, NAZWA FROM SLO_MIEJSC Miejscowosc ORDER BY NAZWA";
// Parameter MiejscId (float).
inline constexpr char UlicaQry[] =
    "SELECT SLO_ULICE.ULICA_ID, SLO_ULICE.NAZWA + ' ' + IIf(IsNull(SLO_RODZ_UL.PRZEDROSTEK), '', "
    "SLO_RODZ_UL.PRZEDROSTEK) as ULICA FROM SLO_ULICE LEFT JOIN SLO_RODZ_UL ON (SLO_ULICE.RODZ_UL_ID = "
    "SLO_RODZ_UL.RODZ_UL_ID) WHERE SLO_ULICE.MIEJSC_ID = :MiejscId ORDER BY SLO_ULICE.NAZWA";

// Fixed part of the search (WynikQry); the criteria follow between dodosoby::KryteriaPrefix
// and dodosoby::KryteriaSuffix.
inline constexpr char WynikSql[] =
    "SELECT\r\n"
    " Osfiz.OSFIZ_ID as mslink,\r\n"
    " slo_nazwiska.nazwisko+IIf(IsNull(si1.imie),'',' '+si1.imie)+IIf(IsNull(si2.imie),'',' '+si2.imie)"
    "+' ('+IIf(IsNull(si3.imie),'-',si3.imie)+','+IIf(IsNull(si4.imie),'-',si4.imie)+')' AS Osoba,\r\n"
    " Osfiz.PESEL as PESREG,\r\n"
    " OSFIZ.ADRES_ID,\r\n"
    " Adres.ADR_FULL AS Adres\r\n"
    "FROM (((((((OSFIZ LEFT JOIN SLO_NAZWISKA ON OSFIZ.NAZWISKO_ID = SLO_NAZWISKA.MSLINK)\r\n"
    " \tLEFT JOIN SLO_IMIONA Si1 ON OSFIZ.IMIE_ID = Si1.MSLINK)\r\n"
    " \tLEFT JOIN SLO_IMIONA Si2 ON OSFIZ.IMIE2_ID = Si2.MSLINK)\r\n"
    " \tLEFT JOIN SLO_IMIONA Si3 ON OSFIZ.OJCIEC_ID = Si3.MSLINK)\r\n"
    " \tLEFT JOIN SLO_IMIONA Si4 ON OSFIZ.MATKA_ID = Si4.MSLINK)\r\n"
    " \tLEFT JOIN ADRES ON OSFIZ.ADRES_ID = ADRES.ADRES_ID)\r\n"
    " \tLEFT JOIN SLO_ULICE ON ADRES.ULICA_ID = SLO_ULICE.ULICA_ID)\r\n"
    "WHERE OSFIZ.OSFIZ_ID <> 0\r\n";

// Criteria, each followed by its value and the separator " AND " or " OR ".
namespace warunki {
inline constexpr char Nazwisko[] = "OSFIZ.NAZWISKO_ID = ";
inline constexpr char Imie[] = "OSFIZ.IMIE_ID = ";
inline constexpr char Imie2[] = "OSFIZ.IMIE2_ID = ";
inline constexpr char Ojciec[] = "OSFIZ.OJCIEC_ID = ";
inline constexpr char Matka[] = "OSFIZ.MATKA_ID = ";
inline constexpr char PeselPrefix[] = "OSFIZ.PESEL = '";
inline constexpr char NipPrefix[] = "OSFIZ.NIP = '";
inline constexpr char Miejscowosc[] = "SLO_ULICE.MIEJSC_ID = ";
inline constexpr char KodPrefix[] = "ADRES.KOD_ID in (select kod_id from kod_poczt where kod like '";
inline constexpr char KodSuffix[] = "') ";
inline constexpr char Ulica[] = "ADRES.ULICA_ID = ";
inline constexpr char NumerPrefix[] = "ADRES.NUMER = '";
inline constexpr char Numer2Prefix[] = "ADRES.NUMER2 = '";
inline constexpr char TekstSuffix[] = "'";
} // namespace warunki

} // namespace dodfiz

namespace dodpraw {

inline constexpr char NazwyQry[] = "SELECT OSPRAW_ID, LEFT(NAZWA,1000) AS NAZWA FROM OSPRAW ORDER BY NAZWA";
inline constexpr char MiejscowoscQry[] = "SELECT MIEJSC_ID, NAZWA FROM SLO_MIEJSC Miejscowosc ORDER BY NAZWA";
// Parameter MiejscId (float).
inline constexpr char UlicaQry[] =
    "SELECT SLO_ULICE.ULICA_ID, SLO_ULICE.NAZWA + ' ' + IIf(IsNull(SLO_RODZ_UL.PRZEDROSTEK), '', "
    "SLO_RODZ_UL.PRZEDROSTEK) as ULICA FROM SLO_ULICE LEFT JOIN SLO_RODZ_UL ON (SLO_ULICE.RODZ_UL_ID = "
    "SLO_RODZ_UL.RODZ_UL_ID) WHERE SLO_ULICE.MIEJSC_ID = :MiejscId ORDER BY SLO_ULICE.NAZWA";

// Fixed part of the search (WynikQry); the criteria follow between dodosoby::KryteriaPrefix
// and dodosoby::KryteriaSuffix.
inline constexpr char WynikSql[] =
    "SELECT\r\n"
    " OSPRAW.OSPRAW_ID as mslink,\r\n"
    " OSPRAW.NAZWA as OSOBA,\r\n"
    " IIf(IsNull(OSPRAW.REGON), '',OSPRAW.REGON) as PESREG,\r\n"
    " OSPRAW.ADRES_ID,\r\n"
    " Adres.ADR_FULL AS Adres\r\n"
    "FROM (OSPRAW LEFT JOIN ADRES ON OSPRAW.ADRES_ID = ADRES.ADRES_ID)\r\n"
    "     LEFT JOIN SLO_ULICE ON ADRES.ULICA_ID = SLO_ULICE.ULICA_ID\r\n"
    "WHERE OSPRAW.OSPRAW_ID between 300000000 and 499999999\r\n";

namespace warunki {
inline constexpr char Id[] = "OSPRAW.OSPRAW_ID = ";
inline constexpr char NazwaPrefix[] = "OSPRAW.NAZWA like '";
inline constexpr char SkrotPrefix[] = "OSPRAW.SKROT like '";
inline constexpr char RegonPrefix[] = "OSPRAW.REGON = '";
inline constexpr char NipPrefix[] = "OSPRAW.NIP = '";
inline constexpr char Miejscowosc[] = "SLO_ULICE.MIEJSC_ID = ";
inline constexpr char KodPrefix[] = "ADRES.KOD_ID in (select kod_id from kod_poczt where kod like '";
inline constexpr char KodSuffix[] = "') ";
inline constexpr char Ulica[] = "ADRES.ULICA_ID = ";
inline constexpr char NumerPrefix[] = "ADRES.NUMER = '";
inline constexpr char Numer2Prefix[] = "ADRES.NUMER2 = '";
inline constexpr char TekstSuffix[] = "'";
} // namespace warunki

} // namespace dodpraw

} // namespace katarix::reg::sql
