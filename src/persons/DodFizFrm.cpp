#include "persons/DodFizFrm.h"

#include "jet/Query.h"
#include "persons/AdresGrp.h"
#include "persons/PolaTekstowe.h"
#include "register/sql/OsobyQueries.h"
#include "widgets/LookupCombo.h"

#include "ui_DodFizFrm.h"

#include <QFontDatabase>
#include <QKeyEvent>

namespace katarix::persons {

namespace sql = reg::sql::dodfiz;

TDodFizFrm::TDodFizFrm(TKarOsFrm *kartoteka, jet::Database *baza)
    : TDodOsobyFrm(kartoteka, baza, sql::WynikSql, sql::UlicaQry, sql::MiejscowoscQry,
                   FragmentyAdresu{sql::warunki::Miejscowosc, sql::warunki::KodPrefix, sql::warunki::KodSuffix,
                                   sql::warunki::Ulica, sql::warunki::NumerPrefix, sql::warunki::Numer2Prefix,
                                   sql::warunki::TekstSuffix},
                   QStringLiteral("Nie określono żadnego atrybutu.\nCzy chcesz wybrać wszystkie osoby fizyczne?")),
      ui(std::make_unique<Ui::DodFizFrm>())
{
    ui->setupUi(this);
    setObjectName(QStringLiteral("DodFizFrm"));
    NazwiskoQry = zapytanie("NazwiskoQry", sql::NazwiskoQry);
    ImieQry = zapytanie("ImieQry", sql::ImieQry);
    const QFont staly = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    ui->PeselMsk->setFont(staly);
    ui->NipMsk->setFont(staly);
    ui->NazwiskoLcbx->setLookup(NazwiskoQry, QStringLiteral("MSLINK"), QStringLiteral("NAZW"));
    for (widgets::LookupCombo *lista : {ui->ImieLcbx, ui->Imie2Lcbx, ui->OjciecLcbx, ui->MatkaLcbx})
        lista->setLookup(ImieQry, QStringLiteral("MSLINK"), QStringLiteral("IM"));
    for (widgets::LookupCombo *lista : listyNazw()) {
        lista->setEmpty(QStringLiteral("wszystkie"), QString());
        lista->refill();
        lista->installEventFilter(this);
        connect(lista, &QComboBox::currentIndexChanged, this, [this] { NazwiskoLcbxChange(); });
    }
    for (QLineEdit *edit : {ui->PeselMsk, ui->NipMsk, ui->AdresGrp->kod(), ui->AdresGrp->numer(), ui->AdresGrp->numer2()})
        connect(edit, &QLineEdit::textChanged, this, [this] { NazwiskoLcbxChange(); });
    connect(ui->AdresGrp->ulica(), &QComboBox::currentIndexChanged, this, [this] { NazwiskoLcbxChange(); });
    connect(ui->AndRB, &QRadioButton::toggled, this, [this] { NazwiskoLcbxChange(); });
    polaczWspolne(ui->AdresGrp, ui->AndRB, ui->DodajBtn, ui->ZamknijBtn, ui->CzyscBtn, QStringLiteral("KATARIX.TDodFizFrm"));
    ui->NazwiskoLcbx->setFocus();
}

TDodFizFrm::~TDodFizFrm() = default;

QList<widgets::LookupCombo *> TDodFizFrm::listyNazw() const { return {ui->NazwiskoLcbx, ui->ImieLcbx, ui->Imie2Lcbx, ui->OjciecLcbx, ui->MatkaLcbx}; }

void TDodFizFrm::FormShow()
{
    Zmieniono = true;
    otworzPonownie(NazwiskoQry);
    otworzPonownie(ImieQry);
    for (widgets::LookupCombo *lista : listyNazw())
        lista->refill(true);
    TDodOsobyFrm::FormShow();
}

QString TDodFizFrm::FormKeyPress(const QString &tekst) const
{
    static const QString male = QStringLiteral("ąęćłńóśżź");
    static const QString wielkie = QStringLiteral("ĄĘĆŁŃÓŚŻŹ");
    if (!listyNazw().contains(qobject_cast<widgets::LookupCombo *>(focusWidget())))
        return tekst;
    QString out = tekst;
    for (QChar &c : out)
        if (const int i = male.indexOf(c); i >= 0)
            c = wielkie.at(i);
    return out;
}

bool TDodFizFrm::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && listyNazw().contains(qobject_cast<widgets::LookupCombo *>(watched))) {
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
    for (widgets::LookupCombo *lista : listyNazw())
        lista->reset();
    ui->PeselMsk->clear();
    ui->NipMsk->clear();
    TDodOsobyFrm::CzyscBtnClick();
}

QString TDodFizFrm::Warunki() const
{
    namespace w = sql::warunki;
    Kryteria k(iloczyn());
    k.klucz(w::Nazwisko, ui->NazwiskoLcbx->value());
    k.klucz(w::Imie, ui->ImieLcbx->value());
    k.klucz(w::Imie2, ui->Imie2Lcbx->value());
    k.klucz(w::Ojciec, ui->OjciecLcbx->value());
    k.klucz(w::Matka, ui->MatkaLcbx->value());
    k.tekst(w::PeselPrefix, CyfryMaski(ui->PeselMsk), w::TekstSuffix);
    k.tekst(w::NipPrefix, CyfryMaski(ui->NipMsk), w::TekstSuffix);
    dodajAdres(k);
    return k.warunek();
}

} // namespace katarix::persons
