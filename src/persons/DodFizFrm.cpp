#include "persons/DodFizFrm.h"

#include "jet/Query.h"
#include "persons/Lookup.h"
#include "register/sql/OsobyQueries.h"

#include <QFontDatabase>
#include <QKeyEvent>

namespace katarix::persons {

namespace sql = reg::sql::dodfiz;

TDodFizFrm::TDodFizFrm(TKarOsFrm *kartoteka, jet::Database *baza)
    : TDodOsobyFrm(kartoteka, baza, sql::WynikSql, sql::UlicaQry, sql::MiejscowoscQry,
                   FragmentyAdresu{sql::warunki::Miejscowosc, sql::warunki::KodPrefix, sql::warunki::KodSuffix,
                                   sql::warunki::Ulica, sql::warunki::NumerPrefix, sql::warunki::Numer2Prefix,
                                   sql::warunki::TekstSuffix},
                   QStringLiteral("Nie określono żadnego atrybutu.\nCzy chcesz wybrać wszystkie osoby fizyczne?"))
{
    setupUi(this);
    setObjectName(QStringLiteral("DodFizFrm"));
    NazwiskoQry = zapytanie("NazwiskoQry", sql::NazwiskoQry);
    ImieQry = zapytanie("ImieQry", sql::ImieQry);
    const QFont staly = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    PeselMsk->setFont(staly);
    NipMsk->setFont(staly);
    for (QComboBox *lista : listyNazw()) {
        CzyscListeLookup(lista);
        lista->installEventFilter(this);
        connect(lista, &QComboBox::currentIndexChanged, this, [this] { NazwiskoLcbxChange(); });
    }
    for (QLineEdit *edit : {PeselMsk, NipMsk, AdresGrp->KodMsk, AdresGrp->NumerEdt, AdresGrp->Numer2Edt})
        connect(edit, &QLineEdit::textChanged, this, [this] { NazwiskoLcbxChange(); });
    connect(AdresGrp->UlicaLcbx, &QComboBox::currentIndexChanged, this, [this] { NazwiskoLcbxChange(); });
    connect(AndRB, &QRadioButton::toggled, this, [this] { NazwiskoLcbxChange(); });
    polaczWspolne(AdresGrp, AndRB, DodajBtn, ZamknijBtn, CzyscBtn, QStringLiteral("KATARIX.TDodFizFrm"));
    NazwiskoLcbx->setFocus();
}

QList<QComboBox *> TDodFizFrm::listyNazw() const { return {NazwiskoLcbx, ImieLcbx, Imie2Lcbx, OjciecLcbx, MatkaLcbx}; }

void TDodFizFrm::FormShow()
{
    Zmieniono = true;
    otworzPonownie(NazwiskoQry);
    otworzPonownie(ImieQry);
    WypelnijLookup(NazwiskoLcbx, *NazwiskoQry, QStringLiteral("MSLINK"), QStringLiteral("NAZW"));
    for (QComboBox *lista : {ImieLcbx, Imie2Lcbx, OjciecLcbx, MatkaLcbx})
        WypelnijLookup(lista, *ImieQry, QStringLiteral("MSLINK"), QStringLiteral("IM"));
    TDodOsobyFrm::FormShow();
}

QString TDodFizFrm::FormKeyPress(const QString &tekst) const
{
    static const QString male = QStringLiteral("ąęćłńóśżź");
    static const QString wielkie = QStringLiteral("ĄĘĆŁŃÓŚŻŹ");
    if (!listyNazw().contains(qobject_cast<QComboBox *>(focusWidget())))
        return tekst;
    QString out = tekst;
    for (QChar &c : out)
        if (const int i = male.indexOf(c); i >= 0)
            c = wielkie.at(i);
    return out;
}

bool TDodFizFrm::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && listyNazw().contains(qobject_cast<QComboBox *>(watched))) {
        auto *key = static_cast<QKeyEvent *>(event);
        const QString mapped = FormKeyPress(key->text());
        if (mapped != key->text()) {
            QKeyEvent zamiana(QEvent::KeyPress, key->key(), key->modifiers(), mapped, key->isAutoRepeat());
            QCoreApplication::sendEvent(watched, &zamiana);
            return true;
        }
    }
    return TDodOsobyFrm::eventFilter(watched, event);
}

void TDodFizFrm::CzyscBtnClick()
{
    for (QComboBox *lista : listyNazw())
        UstawPustyLookup(lista);
    PeselMsk->clear();
    NipMsk->clear();
    TDodOsobyFrm::CzyscBtnClick();
}

QString TDodFizFrm::Warunki() const
{
    namespace w = sql::warunki;
    Kryteria k(iloczyn());
    k.klucz(w::Nazwisko, KluczLookup(NazwiskoLcbx));
    k.klucz(w::Imie, KluczLookup(ImieLcbx));
    k.klucz(w::Imie2, KluczLookup(Imie2Lcbx));
    k.klucz(w::Ojciec, KluczLookup(OjciecLcbx));
    k.klucz(w::Matka, KluczLookup(MatkaLcbx));
    k.tekst(w::PeselPrefix, CyfryMaski(PeselMsk), w::TekstSuffix);
    k.tekst(w::NipPrefix, CyfryMaski(NipMsk), w::TekstSuffix);
    dodajAdres(k);
    return k.warunek();
}

} // namespace katarix::persons
