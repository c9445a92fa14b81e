#include "parcels/KarDzFrm.h"

#include "app/Akcja.h"
#include "app/AppError.h"
#include "app/Interaction.h"
#include "app/Komunikaty.h"
#include "app/MainFrm.h"
#include "app/Sesja.h"
#include "browsers/ToolWindows.h"
#include "jet/JetFunctions.h"
#include "jet/NumberText.h"
#include "parcels/DodDlkFrm.h"
#include "reports/Rpt.h"
#include "reports/WypisSkrRg.h"
#include "reports/Wypisy.h"
#include "widgets/SkalaProjektu.h"

#include <QAction>
#include <QApplication>
#include <QItemSelectionModel>
#include <QLabel>
#include <QToolBar>

namespace katarix::parcels {

TKarDzFrm *KarDzFrm = nullptr;
TDodDlkFrm *DodDlkFrm = nullptr;

namespace {

const QString TytulOkna = QStringLiteral("Kartoteka działek");

// The number a text stands for under the regional settings; nullopt when it is none.
std::optional<double> liczba(const QString &text)
{
    bool ok = false;
    const double value = jet::textToNumber(text, &ok);
    if (!ok || text.trimmed().isEmpty())
        return std::nullopt;
    return value;
}

int znak(double roznica)
{
    return roznica < 0 ? -1 : roznica > 0 ? 1 : 0;
}

int porownajTeksty(const QString &a, const QString &b, bool rosnaco)
{
    const int wynik = rosnaco ? QString::localeAwareCompare(a, b) : QString::localeAwareCompare(b, a);
    return znak(wynik);
}

// Parcel numbers "licznik/mianownik[-dodatek]": numerators decide, then denominators (cut at
// a further "/"); nullopt when a part needed is no number.
std::optional<int> porownajNumery(const QString &a, const QString &b)
{
    const auto czesci = [](const QString &numer) {
        const qsizetype kreska = numer.indexOf(QLatin1Char('/'));
        if (kreska < 0)
            return std::pair{numer, QStringLiteral("0")};
        return std::pair{numer.left(kreska), numer.mid(kreska + 1)};
    };
    const auto [licznikA, mianownikA] = czesci(a);
    const auto [licznikB, mianownikB] = czesci(b);
    const auto la = liczba(licznikA), lb = liczba(licznikB);
    if (!la || !lb)
        return std::nullopt;
    if (*la != *lb)
        return znak(*la - *lb);
    const auto mianownik = [](const QString &text) { return liczba(text.section(QLatin1Char('/'), 0, 0)); };
    const auto ma = mianownik(mianownikA), mb = mianownik(mianownikB);
    if (!ma || !mb)
        return std::nullopt;
    return znak(*ma - *mb);
}

// The area a row keeps; a "Pow.ewid." text that was no number stops the sums.
double powierzchnia(const TDlkItem *item)
{
    if (!item->Powierzchnia)
        throw app::AppError(QStringLiteral("'%1' nie jest poprawną wartością zmiennoprzecinkową").arg(item->text(4)));
    return *item->Powierzchnia;
}

void nieZaznaczono()
{
    app::Komunikat(QStringLiteral("Nie zaznaczono działek."), TytulOkna, app::mb::IconWarning);
}

} // namespace

int PorownajWiersze(const QTreeWidgetItem &a, const QTreeWidgetItem &b, int kolumna, bool rosnaco)
{
    const QString ta = a.text(kolumna), tb = b.text(kolumna);
    std::optional<int> wynik;
    if (kolumna == 0) {
        wynik = porownajNumery(ta, tb);
    } else {
        const auto na = liczba(ta), nb = liczba(tb);
        if (na && nb)
            wynik = znak(*na - *nb);
    }
    if (!wynik)
        return porownajTeksty(ta, tb, rosnaco);
    return rosnaco ? *wynik : -*wynik;
}

TKarDzFrm::TKarDzFrm(QWidget *parent, jet::Database *database)
    : TKartotekaFrm(parent, QStringLiteral("KarDzFrm"), TytulOkna, QStringLiteral(":/icons/dzialki.svg"),
                    QStringLiteral("KATARIX.KarDzFrm"))
{
    KarDzFrm = this;
    m_baza = app::bazaProgramu(database);
    setMinimumSize(widgets::projektowe(QSize(280, 200)));
    resize(widgets::projektowe(QSize(420, 330)));
    utworzPaski();
    utworzListe();
    utworzPanele(120, 250);

    if (!DodDlkFrm)
        DodDlkFrm = new TDodDlkFrm(this, m_baza);
    BudTW = new browsers::TTWbudFrm(this, QStringLiteral("KarDzFrm"), m_baza);
    BudTW->OnClose = [this] { app::WykonajAkcje([this] { BudynkiZamkniete(); }); };
    wczytajUklad();
    PokazSumy(true);
}

TKarDzFrm::~TKarDzFrm()
{
    if (!m_zamkniete)
        FormClose();
}

void TKarDzFrm::utworzPaski()
{
    MainTlb = utworzPasek("MainTlb", QStringLiteral("Narzędzia podstawowe"), 16);
    RaportTlb = utworzPasek("RaportTlb", QStringLiteral("Raporty"), 16);
    SzczegTlb = utworzPasek("SzczegTlb", QStringLiteral("Informacje dodatkowe"), 16);
    const auto glif = [](const char *glyph) { return browsers::ikonaZnaku(QString::fromUtf8(glyph), QColor(40, 80, 160)); };
    DodajTBtn = przycisk(MainTlb, "DodajTBtn", glif("+"), QStringLiteral("Dodaj działkę (+)|Dodaje działki do kartoteki"),
                         [this] { DodajSBClick(); });
    UsunTBtn = przycisk(MainTlb, "UsunTBtn", glif("−"),
                        QStringLiteral("Usuń zaznaczone działki (Del)|Usuwa z listy zaznaczone działki"),
                        [this] { UsunSBClick(); });
    WyczyscTBtn = przycisk(MainTlb, "WyczyscTBtn", glif("×"), QStringLiteral("Usuń wszystkie|Usuwa z listy wszystkie działki"),
                           [this] { ClearSBClick(); });
    MainTlb->addSeparator();
    PrzejscieRGTBtn = przycisk(MainTlb, "PrzejscieRGTBtn", glif("G"),
                               QStringLiteral("Przejście do rejestru gruntów|Przenosi do jednostki rejestrowej działki"),
                               [this] { PrzejscieRGTBtnClick(); });
    JrRaportTBtn = przycisk(RaportTlb, "JrRaportTBtn", glif("R"), QStringLiteral("Raport dla jednostki rejestrowej"),
                            [this] { JrRaportTBtnClick(); });
    WypisSkrTBtn = przycisk(RaportTlb, "WypisSkrTBtn", glif("U"), QStringLiteral("Raport uproszczony"),
                            [this] { WypisSkrTBtnClick(); });
    WkzDlkWladBtn = przycisk(RaportTlb, "WkzDlkWladBtn", glif("W"), QStringLiteral("Wykaz działek z władającymi"),
                             [this] { WkzDlkWladBtnClick(); });
    BudTBtn = przycisk(SzczegTlb, "BudTBtn", glif("B"),
                       QStringLiteral("Budynki|Otwiera okienko z listą budynków położonych na działce"),
                       [this] { BudTBtnClick(); });
    BudTBtn->setCheckable(true);
}

void TKarDzFrm::utworzListe()
{
    Lv->ustawKolumny({{QStringLiteral("Nr działki"), 70, Qt::AlignLeft},
                      {QStringLiteral("Ark"), 40, Qt::AlignHCenter},
                      {QStringLiteral("JR"), 55, Qt::AlignHCenter},
                      {QStringLiteral("Obręb"), 90, Qt::AlignHCenter},
                      {QStringLiteral("Pow.ewid."), 65, Qt::AlignRight},
                      {QStringLiteral("Stan"), 35, Qt::AlignHCenter}});
    Lv->ustawPorownanie([](const QTreeWidgetItem &a, const QTreeWidgetItem &b, int kolumna) {
        return PorownajWiersze(a, b, kolumna, true);
    });
    Lv->ustawSortowanie(0, false); // the first click on "Nr działki" sorts ascending
}

// ---- rows ----

void TKarDzFrm::RozpocznijWsad()
{
    Lv->rozpocznijWsad();
}

void TKarDzFrm::ZakonczWsad()
{
    if (!Lv->wsad())
        return;
    if (widgets::WierszListy *ostatni = Lv->zakonczWsad())
        Lv->scrollToItem(ostatni);
    LvSelectItem();
    PokazSumy(true);
}

void TKarDzFrm::DodajDzialke(const WierszDzialki &dane, int n)
{
    const int indeks = Lv->znajdz(dane.ident.mslink, n);
    auto *item = indeks >= 0 ? static_cast<TDlkItem *>(Lv->wiersz(indeks)) : new TDlkItem;
    item->Ident = dane.ident;
    item->Powierzchnia = liczba(dane.pow_opis);
    item->setText(0, dane.numer);
    item->setText(1, dane.arkusz);
    item->setText(2, dane.jr);
    item->setText(3, dane.obreb);
    item->setText(4, dane.pow_opis);
    item->setText(5, dane.ident.zmiana_kas_id == 0 ? QStringLiteral("Akt") : QStringLiteral("Hist"));
    Lv->przyjmij(item, indeks);
    if (!Lv->wsad())
        Lv->scrollToItem(item);
}

// ---- sums ----

void TKarDzFrm::PokazSumy(bool wszystkie)
{
    double zaznaczonych = 0;
    double wszystkich = PowWszystkich;
    if (wszystkie) {
        wszystkich = 0;
        const QItemSelectionModel *selection = Lv->selectionModel();
        for (int i = 0; i < Lv->iloscWierszy(); ++i) {
            const double pow = powierzchnia(static_cast<const TDlkItem *>(Lv->wiersz(i)));
            wszystkich += pow;
            if (selection->isRowSelected(i))
                zaznaczonych += pow;
        }
    } else {
        for (const TDlkItem *item : Lv->zaznaczone<TDlkItem>())
            zaznaczonych += powierzchnia(item);
    }
    PowZaznaczonych = zaznaczonych;
    PowWszystkich = wszystkich;
    StatusPanel1->setText(QStringLiteral("Suma pow: ") + jet::fixedText(PowZaznaczonych, 4) + QStringLiteral(" / ")
                          + jet::fixedText(PowWszystkich, 4) + QStringLiteral("  [ha]"));
}

void TKarDzFrm::poZmianieZaznaczenia()
{
    if (BudTW && BudTW->isVisible())
        OdswiezBudynki(Lv->iloscZaznaczonych() == 1);
}

void TKarDzFrm::poZaznaczeniuZMenu()
{
    PokazSumy(false);
}

// ---- removing ----

void TKarDzFrm::UsunSBClick()
{
    usunWiersze(false);
    PokazSumy(true);
}

void TKarDzFrm::ClearSBClick()
{
    usunWiersze(true);
    PokazIlosc(QStringLiteral("0/0"));
    PokazSumy(true);
}

// ---- keys and mouse ----

bool TKarDzFrm::FormKeyDown(int key, Qt::KeyboardModifiers modifiers)
{
    const bool numeryczna = modifiers & Qt::KeypadModifier;
    if (key == Qt::Key_Plus && numeryczna) {
        DodajSBClick();
        return true;
    }
    if (key == Qt::Key_Delete || (key == Qt::Key_Minus && numeryczna)) {
        UsunSBClick();
        return true;
    }
    return false;
}

void TKarDzFrm::LvKeyUp(int key)
{
    switch (key) {
    case Qt::Key_Left: case Qt::Key_Up: case Qt::Key_Right: case Qt::Key_Down: case Qt::Key_Home: case Qt::Key_End:
        PokazSumy(false);
        break;
    default:
        break;
    }
}

void TKarDzFrm::LvMouseUp()
{
    PokazSumy(false);
}

// ---- actions ----

void TKarDzFrm::DodajSBClick()
{
    if (DodDlkFrm)
        DodDlkFrm->exec();
}

void TKarDzFrm::PrzejscieRGTBtnClick()
{
    const QList<TDlkItem *> rows = Lv->zaznaczone<TDlkItem>();
    if (rows.isEmpty()) {
        app::Komunikat(QStringLiteral("Wskaż jakąś działkę."), TytulOkna, app::mb::IconWarning);
        return;
    }
    if (rows.size() > 1) {
        app::Komunikat(QStringLiteral("Wybierz tylko jedną działkę."), TytulOkna, app::mb::IconWarning);
        return;
    }
    if (app::MainFrm)
        app::MainFrm->PokazRejestrGruntow(rows.first()->Ident.id_jr);
}

QString TKarDzFrm::ListaMslink() const
{
    QStringList out;
    for (const TDlkItem *item : Lv->zaznaczone<TDlkItem>())
        out << jet::sqlNumber(item->Ident.mslink);
    return out.join(QLatin1Char(','));
}

QString TKarDzFrm::ListaIdJr() const
{
    QStringList out;
    for (const TDlkItem *item : Lv->zaznaczone<TDlkItem>())
        out << jet::sqlNumber(item->Ident.id_jr);
    return out.join(QLatin1Char(','));
}

void TKarDzFrm::JrRaportTBtnClick()
{
    const QString jednostki = ListaIdJr();
    const QString dzialki = ListaMslink();
    if (jednostki.isEmpty() || dzialki.isEmpty()) {
        nieZaznaczono();
        return;
    }
    if (reports::WypisyDM)
        reports::WypisyDM->WypisJr(jednostki, dzialki);
}

void TKarDzFrm::WypisSkrTBtnClick()
{
    const QString dzialki = ListaMslink();
    if (dzialki.isEmpty()) {
        nieZaznaczono();
        return;
    }
    if (!app::MainFrm)
        return;
    reports::TWypisSkrRgDM wypis(*m_baza, *app::pozyczTempQry(m_baza, this), app::MainFrm->Rtf1, qApp);
    wypis.WypisSort(dzialki);
}

void TKarDzFrm::WkzDlkWladBtnClick()
{
    const QString dzialki = ListaMslink();
    if (dzialki.isEmpty()) {
        nieZaznaczono();
        return;
    }
    reports::TRptDM rpt(*m_baza, qApp);
    rpt.WykazDlkWlad(dzialki);
}

// ---- buildings ----

void TKarDzFrm::BudTBtnClick()
{
    BudTW->setVisible(BudTBtn->isChecked());
    OdswiezBudynki(BudTW->isVisible() && Lv->iloscZaznaczonych() == 1);
}

void TKarDzFrm::OdswiezBudynki(bool widoczne)
{
    const QList<TDlkItem *> rows = Lv->zaznaczone<TDlkItem>();
    double id = rows.isEmpty() ? -10 : rows.first()->Ident.dzialka_id;
    if (id == 0)
        id = -1;
    if (!rows.isEmpty())
        BudTW->setWindowTitle(QStringLiteral("Budynki na działce ") + rows.first()->text(0));
    BudTW->PokazBudynki(widoczne, id);
}

void TKarDzFrm::BudynkiZamkniete()
{
    BudTBtn->setChecked(false);
    OdswiezBudynki(false);
}

// ---- closing ----

void TKarDzFrm::FormClose()
{
    if (m_zamkniete)
        return;
    m_zamkniete = true;
    if (DodDlkFrm && DodDlkFrm->parent() == this) {
        delete DodDlkFrm;
        DodDlkFrm = nullptr;
    }
    if (KarDzFrm == this)
        KarDzFrm = nullptr;
}

} // namespace katarix::parcels
