#include "persons/KarOsFrm.h"

#include "app/Akcja.h"
#include "app/Interaction.h"
#include "app/Komunikaty.h"
#include "app/KursorKlepsydry.h"
#include "app/MainFrm.h"
#include "app/Sesja.h"
#include "jet/Dataset.h"
#include "jet/NumberText.h"
#include "persons/DodFizFrm.h"
#include "persons/DodPrawFrm.h"
#include "persons/TWjrOsobyFrm.h"
#include "reports/ZestGrOs.h"
#include "widgets/SkalaProjektu.h"

#include <memory>

#include <QAbstractButton>
#include <QAction>
#include <QHeaderView>
#include <QIcon>
#include <QToolBar>

// Resources of a static library are registered by hand.
static void zaladujIkony() { Q_INIT_RESOURCE(persons); }

namespace katarix::persons {

QString TKarOsFrm::sekcjaOkna() { return QStringLiteral("KATARIX.KarOsFrm"); }
QString TKarOsFrm::prefiksPaskow() { return QStringLiteral("KATARIX.KART_OS_TOOLBARS."); }

TKarOsFrm::TKarOsFrm(QWidget *parent, jet::Database *database)
    : TKartotekaFrm(parent, QStringLiteral("KarOsFrm"), QStringLiteral("Kartoteka osób"),
                    QStringLiteral(":/icons/osoby.svg"), sekcjaOkna())
{
    zaladujIkony();
    m_baza = app::bazaProgramu(database);
    m_porzadek.setCaseSensitivity(Qt::CaseSensitive);
    resize(widgets::projektowe(QSize(560, 360)));
    utworzPaski();
    utworzListe();
    utworzPanele(150, 200);

    DodFizFrm = new TDodFizFrm(this, m_baza);
    DodPrawFrm = new TDodPrawFrm(this, m_baza);
    TWjrOsobyFrm = new TTWjrOsobyFrm(this);
    connect(TWjrOsobyFrm->CzytajSB, &QAbstractButton::clicked, this, [this] { app::WykonajAkcje([this] { JrTBClick(); }); });
    m_uklad.addToolBars(this, prefiksPaskow());
    wczytajUklad();
}

TKarOsFrm::~TKarOsFrm() = default;

void TKarOsFrm::utworzPaski()
{
    const auto ikona = [](const char *plik) { return QIcon(QStringLiteral(":/persons/") + QString::fromLatin1(plik)); };
    const QString dodaj = QStringLiteral("Dodaj osobę|Dodaje osobę do kartoteki");
    MainTlb = utworzPasek("MainTlb", QStringLiteral("Narzędzia podstawowe"), 20);
    DodajFizTBtn = przycisk(MainTlb, "DodajFizTBtn", ikona("osoba_fiz.svg"), dodaj,
                            [this] { DodajFizTBtnClick(RodzajOsoby::Fizyczna); });
    DodajPrawTBtn = przycisk(MainTlb, "DodajPrawTBtn", ikona("osoba_praw.svg"), dodaj,
                             [this] { DodajFizTBtnClick(RodzajOsoby::Prawna); });
    UsunTBtn = przycisk(MainTlb, "UsunTBtn", ikona("usun.svg"),
                        QStringLiteral("Usuń zaznaczone (Del)|Usuwa z listy zaznaczone osoby"), [this] { UsunTBtnClick(); });
    WyczyscTBtn = przycisk(MainTlb, "WyczyscTBtn", ikona("wyczysc.svg"), QStringLiteral("Usuń|Usuwa z listy wszystkie osoby"),
                           [this] { WyczyscTBtnClick(); });
    ToolsTlb = utworzPasek("ToolsTlb", QStringLiteral("Informacje dodatkowe"), 20);
    ZestGrOsTBtn = przycisk(ToolsTlb, "ZestGrOsTBtn", ikona("zestawienie.svg"),
                            QStringLiteral("Zestawienie gruntów|Wykonuje zestawienie gruntów w jednostkach rejestrowych"),
                            [this] { ZestGrOsTBtnClick(); });
    ToolsTlb->addSeparator();
    JrTB = przycisk(ToolsTlb, "JrTB", ikona("jednostki.svg"),
                    QStringLiteral("Jednostki rejestrowe|Lista JR, w których występuje dana osoba"), [this] { JrTBClick(); });
}

void TKarOsFrm::utworzListe()
{
    Lv->ustawKolumny({{QStringLiteral("Osoba"), 275}, {QStringLiteral("Adres"), 170}, {QStringLiteral("Pesel/Regon"), 80}});
    Lv->header()->setStretchLastSection(true);
    Lv->setMouseTracking(true);
    Lv->ustawPorownanie(
        [this](const QTreeWidgetItem &a, const QTreeWidgetItem &b, int kolumna) { return LvCompare(a, b, kolumna); });
}

void TKarOsFrm::FormClose()
{
    if (m_zamkniety)
        return;
    m_zamkniety = true;
}

// ---- list contents ----

void TKarOsFrm::DodajOsobyZZapytania(jet::Dataset &qry)
{
    const int n = Lv->iloscWierszy();
    {
        const app::KursorKlepsydry kursor;
        const widgets::ListaRobocza::Wsad wsad(*Lv);
        qry.first();
        while (!qry.eof()) {
            DodajWierszOsoby(qry.asString(QStringLiteral("osoba")), qry.asString(QStringLiteral("adres")), n,
                             qry.asString(QStringLiteral("pesreg")), qry.asFloat(QStringLiteral("adres_id")),
                             qry.asFloat(QStringLiteral("mslink")));
            qry.next();
        }
    }
    LvSelectItem();
    Lv->scrollToBottom();
}

void TKarOsFrm::DodajWierszOsoby(const QString &osoba, const QString &adres, int n, const QString &pesreg,
                                 double adresId, double mslink)
{
    const int indeks = Lv->znajdz(mslink, n);
    WierszOsoby *row = indeks >= 0 ? wiersz(indeks) : new WierszOsoby(TIdentOs{mslink, adresId});
    row->Ident = TIdentOs{mslink, adresId};
    row->setText(0, osoba);
    row->setText(1, adres);
    row->setText(2, pesreg);
    Lv->przyjmij(row, indeks);
}

QString TKarOsFrm::ListaIdOsob() const
{
    QStringList ids;
    for (const WierszOsoby *row : Lv->zaznaczone<WierszOsoby>())
        ids << jet::sqlNumber(row->Ident.mslink);
    return ids.join(QLatin1Char(','));
}

QString TKarOsFrm::ListaNazwOsob() const
{
    QStringList names;
    for (const WierszOsoby *row : Lv->zaznaczone<WierszOsoby>())
        names << row->text(0);
    return names.join(QLatin1Char(','));
}

// ---- actions ----

bool TKarOsFrm::FormKeyDown(int key, Qt::KeyboardModifiers modifiers)
{
    const auto inne = modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier | Qt::MetaModifier);
    if (key != Qt::Key_Delete || inne)
        return false;
    UsunTBtnClick();
    return true;
}

void TKarOsFrm::DodajFizTBtnClick(RodzajOsoby rodzaj)
{
    if (rodzaj == RodzajOsoby::Fizyczna)
        DodFizFrm->exec();
    else
        DodPrawFrm->exec();
}

void TKarOsFrm::UsunTBtnClick()
{
    WierszPodKursorem = nullptr;
    usunWiersze(false);
}

void TKarOsFrm::WyczyscTBtnClick()
{
    WierszPodKursorem = nullptr;
    usunWiersze(true);
    PokazIlosc(QStringLiteral("0/0"));
}

int TKarOsFrm::LvCompare(const QTreeWidgetItem &a, const QTreeWidgetItem &b, int kolumna) const
{
    return m_porzadek.compare(a.text(kolumna), b.text(kolumna));
}

void TKarOsFrm::LvMouseMove(const QPoint &pos)
{
    QTreeWidgetItem *row = Lv->itemAt(pos);
    if (row == WierszPodKursorem)
        return;
    WierszPodKursorem = row;
    Lv->setToolTip(row ? row->text(0) : QString());
}

void TKarOsFrm::JrTBClick()
{
    if (Lv->iloscZaznaczonych() != 1) {
        app::Komunikat(QStringLiteral("Zaznacz jedną osobę."), QString(), app::mb::IconWarning, true);
        return;
    }
    pokazJednostkiOsoby(ListaNazwOsob(), ListaIdOsob().toDouble());
}

void TKarOsFrm::ZestGrOsTBtnClick()
{
    QList<OsobaZestawienia> osoby;
    for (const WierszOsoby *row : Lv->zaznaczone<WierszOsoby>())
        osoby.append(OsobaZestawienia{row->text(0), row->text(1), row->Ident.mslink});
    drukujZestawienie(osoby);
}

void TKarOsFrm::pokazJednostkiOsoby(const QString &opisOsoby, double osobaId)
{
    TWjrOsobyFrm->PokazDlaOsoby(true, opisOsoby, true, osobaId);
}

void TKarOsFrm::drukujZestawienie(const QList<OsobaZestawienia> &osoby)
{
    // The module lives for one summary and is freed also after an error.
    const auto modul = std::make_unique<reports::TZestGrOsDM>(*m_baza, app::MainFrm->Rtf1);
    modul->WyczyscListe();
    for (const OsobaZestawienia &osoba : osoby)
        modul->DodajOsobe(osoba.osoba, osoba.adres, osoba.mslink);
    modul->DrukujZestawienie();
}

} // namespace katarix::persons
