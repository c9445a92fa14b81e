#pragma once

// Display expressions built in SQL: they turn the stored numbers of the register into the texts
// shown in grids and reports. The texts are used verbatim inside the queries; the aliases are
// those of the queries that use them. Each constant converts to QString (UTF-8).
namespace katarix::reg::display {

// Parcel number: 12/3-A; an empty or NULL addition adds nothing.
inline constexpr char NumerDzialki[] =
    "Format$(KDZIALKA.NR_L)+IIf(IsNull(KDZIALKA.NR_M),'','/'+Format$(KDZIALKA.NR_M))"
    "+IIf((IsNull(KDZIALKA.NR_ADD) or Len(KDZIALKA.NR_ADD)=0),'','-'+KDZIALKA.NR_ADD)";

// Parcel number as the scratch query writes it: an empty (not NULL) addition leaves a hyphen.
inline constexpr char NumerDzialkiTempQry[] =
    "Format$(KDZIALKA.NR_L)+IIf(IsNull(KDZIALKA.NR_M),'','/'+Format$(KDZIALKA.NR_M))"
    "+IIf(IsNull(KDZIALKA.NR_ADD),'','-'+KDZIALKA.NR_ADD)";

// Parcel area in hectares, 4 decimals, or 2 when AROWA is not 0.
inline constexpr char PowierzchniaDzialki[] =
    "IIf(KDZIALKA.AROWA=0, Format$(KDZIALKA.AREA/10000, '#########0.0000'), "
    "Format$(KDZIALKA.AREA/10000, '#########0.00'))";

// Contour area in hectares with the precision of its parcel.
inline constexpr char PowierzchniaKonturu[] =
    "IIf(KDZIALKA.AROWA=0, Format$(KLASOUZ.AREA/10000, '#######0.0000'), "
    "Format$(KLASOUZ.AREA/10000, '#######0.00'))";

// Summed contour area in hectares, always 4 decimals.
inline constexpr char SumaPowierzchniKonturow[] = "Format$(Sum(KLASOUZ.AREA)/10000, '########0.0000')";

// Area in square metres with two decimals.
inline constexpr char PowierzchniaM2[] = "Format$(kbudynek.pow_zab, 'Fixed')";

// Date number YYYYMMDD as 2008-01-15.
inline constexpr char Data[] = "Format$(KDZIALKA.DATA_REJ_ZAB, '####-##-##')";

// Time number HHMMSS as 14:30:05 (no leading zero of the hour).
inline constexpr char Czas[] = "Format$(zmiany.czas_d, '##:##:##')";

// Year of a date number.
inline constexpr char RokBudowy[] = "Left$(Format$(KBUDYNEK.DATA_BUDOWY),4) AS ROK_BUDOWY";

// Remarks flag: "!" when there are remarks.
inline constexpr char FlagaUwag[] = "IIf(IsNull(UWAGI), '', '!') AS Kom";
inline constexpr char FlagaKomentarza[] = "IIf(IsNull(KOMENTARZ.TEKST), '', '!') AS Kom";

// Share: 1/2 3, or the share text alone when L_UDZIAL is 0.
inline constexpr char Udzial[] =
    "IIf(lwrgrun.l_udzial=0,lwrgrun.nr_udzialu,Format$(lwrgrun.l_udzial)+'/'+Format$(lwrgrun.m_udzial)"
    "+IIf(IsNull(lwrgrun.nr_udzialu),'',' '+lwrgrun.nr_udzialu)) AS UDZIAL";

// Share as a fraction; a denominator of 0 gives 0.
inline constexpr char UdzialDziesietny[] =
    "IIf(LWRGRUN.M_UDZIAL=0, 0, LWRGRUN.L_UDZIAL / LWRGRUN.M_UDZIAL) as UDZIAL_DZIES";

// Kind of holder: P for a legal person, F otherwise (married couples included).
inline constexpr char RodzajOsoby[] =
    "IIf(LWRGRUN.OSOBA_ID >= 300000000 and LWRGRUN.OSOBA_ID < 500000000, 'P', 'F') AS RODZ_OS";

// Form of holding with the end date appended as stored. A holding without an end date has
// DATA_UPLYWU NULL or 0, and both read as the plain form (testing only one of them printed
// "własność do dn. " or "własność do dn. 0").
inline constexpr char FormaWladania[] =
    "IIf(IsNull(LWRGRUN.DATA_UPLYWU) Or LWRGRUN.DATA_UPLYWU=0, SLO_WLAD.OPIS, SLO_WLAD.OPIS & ' do dn. '& LWRGRUN.DATA_UPLYWU) AS F_WLAD";

// Register group 1.2.
inline constexpr char Grupa[] = "Format$(SLO_GRREJ.GRUPA) + '.' + Format$(SLO_GRREJ.PODGRUPA) as GRUPA";

// Street followed by its prefix word.
inline constexpr char Ulica[] =
    "SLO_ULICE.NAZWA + ' ' + IIf(IsNull(SLO_RODZ_UL.PRZEDROSTEK), '', SLO_RODZ_UL.PRZEDROSTEK) as ULICA";

// Natural person: surname, first and second name, (father,mother) with "-" for a missing one.
inline constexpr char OsobaFizyczna[] =
    "slo_nazwiska.nazwisko+IIf(IsNull(si1.imie),'',' '+si1.imie)+IIf(IsNull(si2.imie),'',' '+si2.imie)"
    "+' ('+IIf(IsNull(si3.imie),'-',si3.imie)+','+IIf(IsNull(si4.imie),'-',si4.imie)+')' AS Osoba";

// Storeys above / below ground: 4/1.
inline constexpr char Kondygnacje[] =
    "kbudynek.NUM_KOND & IIf(IsNull(kbudynek.NUM_KOND_POD), '', '/' & kbudynek.NUM_KOND_POD) as NUM_KOND";

// Lift.
inline constexpr char Winda[] = "IIf(KBUDYNEK.WINDA=2,'jest','nie ma') AS WINDA";

// Class and use of a contour: the class alone when it implies the use, else use-class.
inline constexpr char KlasoUzytek[] =
    "IIf(SLO_KLABOT.DEF_UZ = KLASOUZ.UZYTEK_ID, SLO_KLABOT.SKROT, "
    "SLO_UZYT.SKROT + IIf(IsNull(SLO_KLABOT.SKROT), '', '-'+SLO_KLABOT.SKROT)) AS NAZWA";

// Registration unit numbers.
inline constexpr char NumerJr[] = "Format$(kol_obreb) as NR_JR";
inline constexpr char NumerJrGruntowej[] = "'G-' + Format$(rgrun.kol_obreb) as JR";
inline constexpr char NumerJrBudynkowej[] = "'B-' +  Format$(rbud.kol_obreb) as JR";
inline constexpr char NumerJrLokalowej[] = "'L-' + Format$(rlok.kol_obreb) as JR";

// Case number: 12-a/2010 obr. Name.
inline constexpr char NumerSprawy[] =
    "FORMAT$(snr.nr) + IIf(IsNull(snr.nradd),'','-'+snr.nradd) +'/'+ FORMAT$(snr.rok) +' obr. '+ obr.nazwa AS NUMER";

// User: the full name when present, else the login name.
inline constexpr char Uzytkownik[] = "IIf(IsNull(usr.full_name2), usr.user_name, usr.full_name2) AS USRNAME";

} // namespace katarix::reg::display
