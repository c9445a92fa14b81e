#pragma once

#include <QString>

#include "RegisterBuilder.h"

#include <cstdint>

namespace katarix::jet {
class Database;
}

namespace katarix::registergen {

// A synthetic municipal register, the same for the same options on every platform (own PRNG,
// xoshiro256** seeded by splitmix64; no std:: distributions).
//
// Scale. `parcels` is the number of current parcels (at least 20); everything else scales:
// precincts max(4, parcels/250) in max(2, min(7, 2 + parcels/20000)) communes, one place per
// precinct plus five places outside the register, about one change per two parcels (at least
// 60), cases, documents and survey reports for the changes, land units of 1 to 6 parcels,
// about 0.3 buildings per parcel, blocks of flats with premises units.
//
// Fixed showcase (identical for every seed and size; ids are doubles):
//  Commune GMINA 1 "Dąbrowa Leśna"; precinct OBREB 1 "Śródmieście" (ARKUSZOWA 0) in it;
//  precinct OBREB 2 is ARKUSZOWA 1 with map sheets "1".."4" (ARKUSZ.MSLINK from 501); so is
//  every precinct whose MSLINK % 4 == 2. In every commune the precinct with the highest MSLINK
//  has the name that sorts first. ZMIANY.ID 100001 is the initial change (1999-03-15, no case);
//  change S1 = 100011; change 100002 was made at 09:03:05 (CZAS_D 90305); changes 100015 has
//  SPRAWA_ID NULL and 100031 has SPRAWA_ID 0; change ids grow with DATA_D/CZAS_D.
//  Changes, cases and the showcase persons' names do not depend on the seed (their dates and
//  PESEL numbers do depend on the size); case 7000001 has two case numbers.
//  Units of precinct 1 (RGRUN.ID_JR, KOL_OBREB = n of "G-n"):
//   G-1 1000001: holders OSFIZ 100001 (Kowalski Jan) 1/2 "1" and 100002 (Wójcik Żaneta) 1/2 "2",
//        WLAD 1; unit land book KW 1400001, comment 9000001 (two lines). Parcels:
//        "1"     DZIALKA_ID 3000001, MSLINK 2000001, NR_M NULL, NR_ADD NULL, AREA 1234, AROWA 0;
//                KW_DLK: 1400001 'P' and 1400002 'P' (two land books) and 1400003 'A';
//                contours RIIIa/R 800 ("RIIIa") and B without class 434; an address (EW_ADRES);
//                single-parcel holder LWKDZIALKA OSFIZ 100003 WLAD 5 1/1;
//                building 5500001 (IS_BUDYNKOWA 0, unit G-1, NUM_KOND 4, NUM_KOND_POD 1,
//                WINDA 2, POW_ZAB 85, DATA_BUDOWY 19781231, KW_BUD 1400001 STATUS NULL, no premises).
//        "2/1"   DZIALKA_ID 3000002, NR_ADD '' (empty), AREA 5, AROWA 0; KW_DLK 1400001 STATUS NULL;
//                contour dr without class 5.
//        "2/2-A" DZIALKA_ID 3000003, NR_ADD 'A', AREA 1234, AROWA 1, no land-book link; contours
//                ŁIII/Ł 1000 ("ŁIII") and W with class PsIV 234 ("W-PsIV").
//   G-2 1000002: OSFIZ 100004, 100005, 100006 each 1/3, WLAD 1; parcel "3" 3000004, 3000 m².
//   G-3 1000003: married couple MALZ 500000000 (ON 100007, ONA 100008) 1/1 WLAD 1 with
//        ZMIANA_KAS_ID 0; former holder OSFIZ 100009 1/1 retired at S1. Parcel "4" 3000005 has
//        two versions: MSLINK 2000005 in unit G-8, 2000 m², ZMIANA_ID 100001, ZMIANA_KAS_ID S1;
//        MSLINK 2000006 in G-3, 2010 m², ZMIANA_ID S1, ZMIANA_KAS_ID 0. Land-book links:
//        1400004 'P' ZMIANA_ID 100001 retired at S1; 1400005 'P' ZMIANA_ID S1, current (NULL).
//   G-4 1000004: owner OSPRAW 300000000 (the commune) WLAD 1 1/1; perpetual usufruct (WLAD 2)
//        OSFIZ 299999999 1/2 DATA_UPLYWU 20891231 and OSPRAW 300000001 1/2 DATA_UPLYWU 0.
//        Parcel "5" 3000006 carries building 5500002 (IS_BUDYNKOWA 0, unit G-4) and building
//        5500003 (IS_BUDYNKOWA 1, building unit B-1 = RBUD 1000009, KW_BUD 1400006 'P').
//   G-5 1000005: group subject OSPRAW 300000002 (members PDM_GR_SKL 100010 and MALZ 500000001)
//        L_UDZIAL 0, M_UDZIAL 0, NR_UDZIALU "udział we wspólnocie"; OSFIZ 100011 L_UDZIAL 0,
//        M_UDZIAL 4, NR_UDZIALU "część nieustalona". Parcel "6" 3000007, 15000 m², 3 contours.
//   G-6 1000006: no holders. Parcel "7" 3000008 carries block 5500004 (ZMIANA_KAS_ID 0) with
//        premises unit L-1 = RLOK 1000010 (3 premises "1","2","3", holder MALZ 500000000 1/1,
//        KW_LOK 'P') and L-2 = RLOK 1000011 (1 premises, OSFIZ 100012 1/2 + 100013 1/2), and
//        building 5500005 whose current row has ZMIANA_KAS_ID NULL, with premises unit
//        L-3 = RLOK 1000012 (1 premises).
//   G-7 1000007: holder OSFIZ 100014 1/1 whose ZMIANA_ID 100000 names no change; no parcels.
//   G-8 1000008: retired unit (ZMIANA_KAS_ID S1), former holder OSFIZ 100009 retired at S1;
//        only the retired version of parcel "4" points to it.
//   G-9 1000013: OSFIZ 100015 1/2 and 100016 1/3 (sum 5/6); parcel "8" 3000009, 700 m².
//  OSFIZ 0 exists (placeholder with no names). ID ranges: units 1000001+, parcel rows 2000001+,
//  parcel identities 3000001+, contours 4000001+, building rows 5000001+, building identities
//  5500001+, premises rows 6000001+, premises identities 6500001+, cases 7000001+, documents
//  7500001+, survey reports 7800001+, archived reports 7900001+, holder rows 8000001+, comments
//  9000001+, land books 1400001+, addresses 1700001+, natural persons 100001+ (and 299999999),
//  legal persons 300000000+, married couples 500000000+, changes 100001+.
//
// Random part (depends on the seed): more units in every precinct (KOL_OBREB continuing),
// parcels with NR_M NULL or set, NR_ADD NULL/''/letter, AROWA 0/1, tiny areas, 1-3 contours
// whose areas sum to the parcel's, retired versions (ZMIANA_KAS_ID set) before current ones
// (ZMIANA_KAS_ID NULL or 0), divided parcels (a retired parcel replaced by n/1 and n/2),
// retired units whose parcels moved to a new unit, land-book links with STATUS 'P', NULL and
// 'A' whose history follows the parcel versions, holders with every share pattern above,
// former holders of land and premises units, single-parcel holders, buildings on one or two
// parcels with IS_BUDYNKOWA 0, 1 or -1, blocks of flats with premises units, addresses of
// persons inside and outside the register, comments, remarks. Current building rows use
// ZMIANA_KAS_ID 0 or NULL. Every reference a query joins points to an existing row; the one
// exception is ZMIANA_ID 100000 of G-7's holder, which names no change.
struct GeneratorOptions {
    int parcels = 300;
    std::uint64_t seed = 1;
};

// The fixed showcase ids above, for tests.
namespace showcase {
inline constexpr double changeS1 = 100011;
inline constexpr double unitG1 = 1000001, unitG2 = 1000002, unitG3 = 1000003, unitG4 = 1000004,
                        unitG5 = 1000005, unitG6 = 1000006, unitG7 = 1000007, unitG8 = 1000008,
                        unitB1 = 1000009, unitL1 = 1000010, unitL2 = 1000011, unitL3 = 1000012,
                        unitG9 = 1000013;
inline constexpr double parcel1 = 3000001, parcel2_1 = 3000002, parcel2_2A = 3000003, parcel3 = 3000004,
                        parcel4 = 3000005, parcel5 = 3000006, parcel6 = 3000007, parcel7 = 3000008,
                        parcel8 = 3000009;
} // namespace showcase

RegisterBuilder generateRegister(const GeneratorOptions &options);

// Opens the engine database at sqlitePath read-only, first writing a generated register there
// when the file does not exist (through a ".part" file renamed when complete). For benchmarks.
void openGeneratedRegister(jet::Database &db, const QString &sqlitePath, const GeneratorOptions &options);

} // namespace katarix::registergen
