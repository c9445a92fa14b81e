#include "persons/DodOsobyFrm.h"

#include "app/Akcja.h"
#include "app/Interaction.h"
#include "app/Komunikaty.h"
#include "app/KursorKlepsydry.h"
#include "app/Sesja.h"
#include "jet/Query.h"
#include "persons/AdresGrp.h"
#include "persons/KarOsFrm.h"
#include "persons/PolaTekstowe.h"
#include "register/SqlHelpers.h"
#include "register/sql/OsobyQueries.h"
#include "widgets/LookupCombo.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace katarix::persons {

void Kryteria::klucz(const char *fragment, const QString &klucz)
{
    if (!klucz.isEmpty())
        m_czesci << QString::fromUtf8(fragment) + klucz;
}

void Kryteria::tekst(const char *prefix, const QString &tekst, const char *suffix)
{
    if (!tekst.isEmpty())
        m_czesci << QString::fromUtf8(prefix) + reg::CytujApostrofy(tekst) + QString::fromUtf8(suffix);
}

TDodOsobyFrm::TDodOsobyFrm(TKarOsFrm *kartoteka, jet::Database *baza, const char *stala, const char *ulicaSql,
                           const char *miejscowoscSql, const FragmentyAdresu &fragmenty, QString pytanie)
    : QDialog(kartoteka), m_kartoteka(kartoteka), m_baza(baza), m_stala(QString::fromUtf8(stala)),
      m_fragmenty(fragmenty), m_pytanie(std::move(pytanie)), m_uklad(this, QString(), app::LayoutStore::Placement::Pos)
{
    MiejscowoscQry = zapytanie("MiejscowoscQry", miejscowoscSql);
    UlicaQry = zapytanie("UlicaQry", ulicaSql);
    UlicaQry->setParameter(QStringLiteral("MiejscId"), 0.0, jet::FieldType::Float);
    WynikQry = zapytanie("WynikQry", "");
}

TDodOsobyFrm::~TDodOsobyFrm() = default;

jet::Query *TDodOsobyFrm::zapytanie(const char *nazwa, const char *sql)
{
    auto *qry = new jet::Query(this);
    qry->setObjectName(QString::fromLatin1(nazwa));
    qry->setDatabase(m_baza);
    qry->setSql(QString::fromUtf8(sql));
    return qry;
}

void TDodOsobyFrm::otworzPonownie(jet::Query *qry)
{
    qry->close();
    qry->open();
}

void TDodOsobyFrm::polaczWspolne(TAdresGrp *adres, QRadioButton *andRb, QAbstractButton *dodaj,
                                 QAbstractButton *zamknij, QAbstractButton *czysc, const QString &sekcja)
{
    m_adres = adres;
    m_andRb = andRb;
    adres->miejscowosc()->setLookup(MiejscowoscQry, QStringLiteral("MIEJSC_ID"), QStringLiteral("NAZWA"));
    adres->ulica()->setLookup(UlicaQry, QStringLiteral("ULICA_ID"), QStringLiteral("ULICA"));
    connect(adres->miejscowosc(), &QComboBox::currentIndexChanged, this,
            [this] { app::WykonajAkcje([this] { MiejscowoscLcbxChange(); }); });
    connect(dodaj, &QAbstractButton::clicked, this, [this] { app::WykonajAkcje([this] { DodajBtnClick(); }); });
    connect(zamknij, &QAbstractButton::clicked, this, &QDialog::reject);
    connect(czysc, &QAbstractButton::clicked, this, [this] { app::WykonajAkcje([this] { CzyscBtnClick(); }); });
    m_uklad.setSection(sekcja);
    m_uklad.setIniFileName(app::plikIni());
    m_uklad.restore();
}

void TDodOsobyFrm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    app::WykonajAkcje([this] { FormShow(); });
}

void TDodOsobyFrm::FormShow()
{
    Zmieniono = true;
    otworzPonownie(MiejscowoscQry);
    m_adres->miejscowosc()->refill(true);
}

void TDodOsobyFrm::MiejscowoscLcbxChange()
{
    Zmieniono = true;
    UlicaQry->close();
    const QString miejscowosc = m_adres->miejscowosc()->value();
    if (!miejscowosc.isEmpty()) {
        UlicaQry->setParameter(QStringLiteral("MiejscId"), miejscowosc.toDouble(), jet::FieldType::Float);
        UlicaQry->open();
    }
    m_adres->ulica()->refill(); // only the empty entry while no place is chosen
}

void TDodOsobyFrm::CzyscBtnClick()
{
    m_adres->miejscowosc()->reset();
    m_adres->ulica()->reset();
    m_adres->kod()->clear();
    m_adres->numer()->clear();
    m_adres->numer2()->clear();
    m_andRb->setChecked(true);
}

bool TDodOsobyFrm::iloczyn() const { return m_andRb->isChecked(); }

void TDodOsobyFrm::dodajAdres(Kryteria &kryteria) const
{
    const FragmentyAdresu &f = m_fragmenty;
    kryteria.klucz(f.miejscowosc, m_adres->miejscowosc()->value());
    kryteria.tekst(f.kodPrefix, m_adres->kod()->text(), f.kodSuffix);
    kryteria.klucz(f.ulica, m_adres->ulica()->value());
    kryteria.tekst(f.numerPrefix, m_adres->numer()->text(), f.tekstSuffix);
    kryteria.tekst(f.numer2Prefix, m_adres->numer2()->text(), f.tekstSuffix);
}

QString TDodOsobyFrm::SqlSelekcji() const
{
    const QString warunki = Warunki();
    using namespace reg::sql::dodosoby;
    if (warunki.isEmpty())
        return m_stala;
    return m_stala + QString::fromUtf8(KryteriaPrefix) + warunki + QString::fromUtf8(KryteriaSuffix);
}

void TDodOsobyFrm::DodajBtnClick()
{
    if (!Zmieniono)
        return;
    if (Warunki().isEmpty()
        && app::Komunikat(m_pytanie, QString(), app::mb::YesNo | app::mb::IconWarning, true) != app::mb::IdYes)
        return;
    {
        const app::KursorKlepsydry kursor;
        WynikQry->close();
        WynikQry->setSql(SqlSelekcji());
        WynikQry->open();
    }
    if (WynikQry->isEmpty()) {
        WynikQry->close();
        app::Komunikat(QStringLiteral("Nie znaleziono żadnych osób."), QString(), app::mb::IconInformation, true);
        return;
    }
    m_kartoteka->DodajOsobyZZapytania(*WynikQry);
    WynikQry->close();
    Zmieniono = false;
}

} // namespace katarix::persons
