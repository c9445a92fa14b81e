#pragma once

// Word lists of the register generator.

namespace katarix::registergen::data {

struct SurnamePair {
    const char *male;
    const char *female;
};

inline constexpr SurnamePair surnames[] = {
    {"Kowalski", "Kowalska"}, {"Wójcik", "Wójcik"}, {"Nowak", "Nowak"}, {"Wiśniewski", "Wiśniewska"},
    {"Kowalczyk", "Kowalczyk"}, {"Kamiński", "Kamińska"}, {"Lewandowski", "Lewandowska"},
    {"Zieliński", "Zielińska"}, {"Szymański", "Szymańska"}, {"Woźniak", "Woźniak"},
    {"Dąbrowski", "Dąbrowska"}, {"Kozłowski", "Kozłowska"}, {"Jankowski", "Jankowska"},
    {"Mazur", "Mazur"}, {"Kwiatkowski", "Kwiatkowska"}, {"Krawczyk", "Krawczyk"},
    {"Piotrowski", "Piotrowska"}, {"Grabowski", "Grabowska"}, {"Nowakowski", "Nowakowska"},
    {"Pawłowski", "Pawłowska"}, {"Michalski", "Michalska"}, {"Król", "Król"}, {"Wieczorek", "Wieczorek"},
    {"Jabłoński", "Jabłońska"}, {"Wróbel", "Wróbel"}, {"Majewski", "Majewska"}, {"Olszewski", "Olszewska"},
    {"Stępień", "Stępień"}, {"Ślęzak", "Ślęzak"}, {"Żak", "Żak"}, {"Łukaszewicz", "Łukaszewicz"},
    {"Śliwa", "Śliwa"}, {"Źrebiec", "Źrebiec"}, {"Ćwik", "Ćwik"}, {"Gąsior", "Gąsior"}, {"Ożóg", "Ożóg"},
    {"Żółkiewski", "Żółkiewska"}, {"Łęcki", "Łęcka"}, {"Adamczyk", "Adamczyk"}, {"Dudek", "Dudek"},
    {"Zając", "Zając"}, {"Górski", "Górska"}, {"Sikora", "Sikora"}, {"Baran", "Baran"},
    {"Rutkowski", "Rutkowska"}, {"Michalak", "Michalak"}, {"Szewczyk", "Szewczyk"},
    {"Ostrowski", "Ostrowska"}, {"Tomaszewski", "Tomaszewska"}, {"Pietrzak", "Pietrzak"},
    {"Marciniak", "Marciniak"}, {"Wróblewski", "Wróblewska"}, {"Zalewski", "Zalewska"},
    {"Jakubowski", "Jakubowska"}, {"Jasiński", "Jasińska"}, {"Zawadzki", "Zawadzka"},
    {"Sadowski", "Sadowska"}, {"Bąk", "Bąk"}, {"Chmielewski", "Chmielewska"}, {"Włodarczyk", "Włodarczyk"},
    {"Bielecki", "Bielecka"}, {"Czarnecki", "Czarnecka"}, {"Sobczak", "Sobczak"}, {"Kubiak", "Kubiak"},
};

inline constexpr const char *maleNames[] = {
    "Łukasz", "Jan", "Andrzej", "Piotr", "Krzysztof", "Stanisław", "Tomasz", "Paweł", "Józef", "Marcin",
    "Marek", "Michał", "Grzegorz", "Jerzy", "Tadeusz", "Adam", "Zbigniew", "Ryszard", "Dariusz",
    "Henryk", "Mariusz", "Kazimierz", "Wojciech", "Robert", "Mateusz", "Zdzisław", "Bogdan",
    "Wiesław", "Jacek", "Rafał", "Mieczysław", "Sławomir", "Bolesław", "Ignacy", "Maciej", "Władysław",
};

inline constexpr const char *femaleNames[] = {
    "Anna", "Maria", "Katarzyna", "Małgorzata", "Agnieszka", "Barbara", "Ewa", "Krystyna", "Elżbieta",
    "Zofia", "Teresa", "Joanna", "Magdalena", "Monika", "Danuta", "Jadwiga", "Żaneta", "Halina",
    "Irena", "Grażyna", "Bożena", "Urszula", "Beata", "Jolanta", "Dorota", "Łucja", "Władysława",
    "Stanisława", "Józefa", "Aleksandra", "Ściborka",
};

inline constexpr const char *communeNames[] = {
    "Dąbrowa Leśna", "Żurawica Górna", "Ślemień", "Olszówka", "Brzezinka Stara", "Łączany", "Zagórze",
};

inline constexpr const char *townPrecinctNames[] = {
    "Śródmieście", "Podgórze", "Zamłynie", "Nowe Miasto", "Kopaniny", "Stare Miasto", "Zarzecze",
    "Osiedle Północ", "Przedmieście", "Łazy", "Wygoda", "Rybitwy",
};

inline constexpr const char *villageNames[] = {
    "Zalesie", "Łęg", "Żabno", "Świątniki", "Ślęzany", "Wólka", "Olszyny", "Jodłówka", "Grabie", "Czułów",
    "Brzezie", "Dębina", "Łękawica", "Źródła", "Sułków", "Targowisko", "Mikluszowice", "Niegowić",
    "Pierzchów", "Chełm", "Gruszów", "Kłaj", "Wieruszyce", "Sobolów", "Bieńkowice", "Zborówek",
    "Cichawa", "Szarów", "Łapczyca", "Kolanów", "Ispina", "Wrząsowice", "Gorzków", "Kunice",
    "Węgrzce", "Rudno", "Stryszów", "Krzęcin", "Żarnówka", "Ściejowice",
};

inline constexpr const char *firstSortingNames[] = {
    "Adamów", "Aleksandrówka", "Anielin", "Antoniówka", "Augustów Mały", "Annopol", "Albinów",
};

struct StreetName {
    const char *name;
    int kind; // SLO_RODZ_UL
};

inline constexpr StreetName streets[] = {
    {"Kościuszki", 1}, {"Mickiewicza", 1}, {"Słowackiego", 1}, {"Polna", 1}, {"Leśna", 1},
    {"Ogrodowa", 1}, {"Szkolna", 1}, {"Kościelna", 1}, {"Żeromskiego", 1}, {"Łąkowa", 1},
    {"Źródlana", 1}, {"Świętego Jana", 1}, {"3 Maja", 1}, {"Rynek", 3}, {"Jana Pawła II", 2},
    {"Tysiąclecia", 4}, {"Krakowska", 1}, {"Wiśniowa", 1}, {"Sienkiewicza", 1}, {"Ściegiennego", 1},
    {"Długa", 1}, {"Krótka", 1}, {"Piłsudskiego", 2}, {"Niepodległości", 2}, {"Grunwaldzki", 3},
    {"Słoneczne", 4}, {"Młyńska", 1}, {"Ks. Popiełuszki", 1}, {"Orzeszkowej", 1}, {"Zielona", 1},
    {"Kolejowa", 1}, {"Spacerowa", 1}, {"Wąska", 1}, {"Górnicza", 1}, {"Jagiellońska", 1},
};

struct ClassDef {
    int id;
    const char *skrot;
    int use; // DEF_UZ
};

// Uses (SLO_UZYT): id, short name, sort order, extract text.
struct UseDef {
    int id;
    const char *skrot;
    int srt;
    const char *text;
};

inline constexpr UseDef uses[] = {
    {1, "R", 10, "grunty orne"}, {2, "S", 20, "sady"}, {3, "Ł", 30, "łąki trwałe"},
    {4, "Ps", 40, "pastwiska trwałe"}, {5, "Br", 50, "grunty rolne zabudowane"},
    {6, "Wsr", 60, "grunty pod stawami"}, {7, "W", 70, "grunty pod rowami"},
    {8, "Lzr", 80, "grunty zadrzewione i zakrzewione na użytkach rolnych"}, {9, "Ls", 90, "lasy"},
    {10, "Lz", 100, "grunty zadrzewione i zakrzewione"}, {11, "B", 110, "tereny mieszkaniowe"},
    {12, "Ba", 120, "tereny przemysłowe"}, {13, "Bi", 130, "inne tereny zabudowane"},
    {14, "Bp", 140, "zurbanizowane tereny niezabudowane"}, {15, "Bz", 150, "tereny rekreacyjno-wypoczynkowe"},
    {16, "dr", 160, "drogi"}, {17, "Tk", 170, "tereny kolejowe"}, {18, "Wp", 180, "grunty pod wodami powierzchniowymi płynącymi"},
    {19, "N", 190, "nieużytki"},
};

inline constexpr ClassDef classes[] = {
    {1, "RI", 1}, {2, "RII", 1}, {3, "RIIIa", 1}, {4, "RIIIb", 1}, {5, "RIVa", 1}, {6, "RIVb", 1},
    {7, "RV", 1}, {8, "RVI", 1}, {9, "ŁI", 3}, {10, "ŁII", 3}, {11, "ŁIII", 3}, {12, "ŁIV", 3},
    {13, "ŁV", 3}, {14, "PsII", 4}, {15, "PsIII", 4}, {16, "PsIV", 4}, {17, "PsV", 4},
    {18, "LsII", 9}, {19, "LsIII", 9}, {20, "LsIV", 9}, {21, "LsV", 9},
};

} // namespace katarix::registergen::data
