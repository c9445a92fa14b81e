#include "parcels/DodDlkFrm.h"

#include "app/Akcja.h"
#include "app/AppError.h"
#include "app/Interaction.h"
#include "app/Komunikaty.h"
#include "app/KursorKlepsydry.h"
#include "app/ListHelpers.h"
#include "app/MainFrm.h"
#include "app/Sesja.h"
#include "jet/Query.h"
#include "parcels/KarDzFrm.h"
#include "register/sql/DodDlkQueries.h"
#include "register/SqlTemplates.h"
#include "widgets/LookupCombo.h"

#include "ui_DodDlkFrm.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QTreeWidget>

#include <cmath>

namespace katarix::parcels {

namespace sql = reg::sql::doddlk;
using widgets::LookupCombo;

namespace {

const QString Wszystkie = QStringLiteral("wszystkie");
const QString WszystkieId = QString::number(app::IdWszystkie);

QString kluczCombo(const QComboBox *combo)
{
    const int id = app::IdZComboBox(combo);
    return id == app::IdWszystkie || id == -1 ? QString() : QString::number(id);
}

QString kluczLookup(const LookupCombo *lookup)
{
    return lookup->chosen() ? lookup->value() : QString();
}

} // namespace

TDodDlkFrm::TDodDlkFrm(QWidget *owner, jet::Database *database)
    : QDialog(owner), ObrebSh(reg::holderFor(sql::ObrebSh)), MainSh(reg::holderFor(sql::MainSh)),
      ui(std::make_unique<Ui::TDodDlkFrm>()),
      m_uklad(this, QStringLiteral("KATARIX.DodDlkFrm"), app::LayoutStore::Placement::Pos)
{
    m_baza = app::bazaProgramu(database);
    utworzKomponenty();
    polacz();

    try {
        GminaQry->open();
        ui->GminaLcbx->refill();
        GminaLcbxChange();
        MiejscowoscQry->open();
        ui->MiejscLcbx->refill();
        jet::Query *temp = app::pozyczTempQry(m_baza, this);
        const auto wypelnij = [temp](QComboBox *combo, const char *text, const QString &pole, bool wszystkie) {
            temp->close();
            temp->setSql(QString::fromUtf8(text));
            temp->open();
            app::WypelnijComboBox(combo, *temp, pole, wszystkie, wszystkie ? Wszystkie : QString(), QStringLiteral("mslink"));
            temp->close();
        };
        wypelnij(ui->WydzialKwCbx, sql::WydzialyKwSql, QStringLiteral("nazwa"), false);
        ui->WydzialKwCbx->setCurrentIndex(-1);
        wypelnij(ui->KlasaCbx, sql::KlasySql, QStringLiteral("skrot"), true);
        wypelnij(ui->UzytekCbx, sql::UzytkiSql, QStringLiteral("skrot"), true);
    } catch (const std::exception &error) {
        app::PokazWyjatek(error);
    }
    m_uklad.setIniFileName(app::plikIni());
    m_uklad.restore();
    Zmieniono = false;
}

TDodDlkFrm::~TDodDlkFrm()
{
    if (DodDlkFrm == this)
        DodDlkFrm = nullptr;
}

void TDodDlkFrm::utworzKomponenty()
{
    const auto query = [this](const char *name, const QString &text) {
        auto *q = new jet::Query(this);
        q->setObjectName(QString::fromLatin1(name));
        q->setDatabase(m_baza);
        q->setSql(text);
        return q;
    };
    GminaQry = query("GminaQry", QString::fromUtf8(sql::GminaQry));
    ObrebQry = query("ObrebQry", ObrebSh.expandedText());
    ArkuszQry = query("ArkuszQry", QString::fromUtf8(sql::ArkuszQry));
    JrQry = query("JrQry", QString::fromUtf8(sql::JrQry));
    KwQry = query("KwQry", QString::fromUtf8(sql::KwQry));
    MiejscowoscQry = query("MiejscowoscQry", QString::fromUtf8(sql::MiejscowoscQry));
    UlicaQry = query("UlicaQry", QString::fromUtf8(sql::UlicaQry));
    MainQry = query("MainQry", QString());

    // The controls, their captions, hints and tab order come from the form.
    ui->setupUi(this);

    const struct {
        LookupCombo *combo;
        jet::Dataset *dataset;
        const char *key, *list;
        QString emptyValue;
    } lookups[] = {
        {ui->GminaLcbx, GminaQry, "MSLINK", "NAZWA", WszystkieId},
        {ui->ObrebLcbx, ObrebQry, "MSLINK", "NAZWA", WszystkieId},
        {ui->JrLcbx, JrQry, "id_jr", "kol_obreb", QString()},
        {ui->ArkuszLcbx, ArkuszQry, "MSLINK", "NAZWA", WszystkieId},
        {ui->NrKwLcbx, KwQry, "KW_ID", "NR_KW", QString()},
        {ui->MiejscLcbx, MiejscowoscQry, "miejsc_id", "nazwa", WszystkieId},
        {ui->UlicaLcbx, UlicaQry, "ulica_id", "ULICA", WszystkieId},
    };
    for (const auto &l : lookups) {
        l.combo->setLookup(l.dataset, QString::fromLatin1(l.key), QString::fromLatin1(l.list));
        l.combo->setEmpty(Wszystkie, l.emptyValue);
        l.combo->refill();
    }
    ui->GminaLcbx->setMinimumWidth(240);
}

QList<QLineEdit *> TDodDlkFrm::edycje() const
{
    return {ui->LicznikEdt, ui->MianownikEdt, ui->NrAddEdt, ui->PowDz1Edt, ui->PowDz2Edt,
            ui->AwzEdt, ui->NumerEdt, ui->PolozenieEdt, ui->PowKlauz1Edt, ui->PowKlauz2Edt};
}

void TDodDlkFrm::polacz()
{
    for (QLineEdit *edit : edycje()) {
        connect(edit, &QLineEdit::textChanged, this, [this] { OtherCtlsChange(); });
        edit->installEventFilter(this);
    }
    for (QComboBox *combo : std::initializer_list<QComboBox *>{ui->JrLcbx, ui->ArkuszLcbx, ui->NrKwLcbx, ui->UlicaLcbx,
                                                               ui->KlasaCbx, ui->UzytekCbx})
        connect(combo, &QComboBox::currentIndexChanged, this, [this] { OtherCtlsChange(); });
    for (QRadioButton *radio : {ui->HistoAktRB, ui->HistoArchRB, ui->HistoAllRB})
        connect(radio, &QRadioButton::clicked, this, [this] { OtherCtlsChange(); });
    naZmianeWyboru(ui->GminaLcbx, &TDodDlkFrm::GminaLcbxChange);
    naZmianeWyboru(ui->ObrebLcbx, &TDodDlkFrm::ObrebLcbxChange);
    naZmianeWyboru(ui->MiejscLcbx, &TDodDlkFrm::MiejscLcbxChange);
    naZmianeWyboru(ui->WydzialKwCbx, &TDodDlkFrm::WydzialKwCbxChange);
    connect(ui->BezAdrChb, &QCheckBox::clicked, this, [this] { app::WykonajAkcje([this] { BezAdrChbClick(); }); });
    connect(ui->CzyscBtn, &QToolButton::clicked, this, [this] { app::WykonajAkcje([this] { CzyscBtnClick(); }); });
    connect(ui->DodajBtn, &QPushButton::clicked, this, [this] { DodajBtnClick(); });
    connect(ui->ZamknijBtn, &QPushButton::clicked, this, &QDialog::reject);
    ui->WydzialKwCbx->installEventFilter(this);
    ui->JrLcbx->installEventFilter(this);
    ui->ArkuszLcbx->installEventFilter(this);
}

// The handler runs on the user's choice only when it differs from what the handler last acted
// on: resets follow a change.
void TDodDlkFrm::naZmianeWyboru(QComboBox *combo, void (TDodDlkFrm::*handler)())
{
    zapamietajWybor(combo);
    connect(combo, &QComboBox::activated, this, [this, combo, handler] {
        if (wybranoInny(combo))
            app::WykonajAkcje([this, handler] { (this->*handler)(); });
    });
}

namespace {

QString wybor(const QComboBox *combo)
{
    return combo->currentIndex() < 0 ? QString() : combo->currentData().toString() + QLatin1Char('\n') + combo->currentText();
}

} // namespace

void TDodDlkFrm::zapamietajWybor(const QComboBox *combo)
{
    m_wybory[combo] = wybor(combo);
}

bool TDodDlkFrm::wybranoInny(const QComboBox *combo) const
{
    return m_wybory.value(combo) != wybor(combo);
}

// ---- criteria ----

void TDodDlkFrm::OtherCtlsChange()
{
    Zmieniono = true;
}

void TDodDlkFrm::GminaLcbxChange()
{
    zapamietajWybor(ui->GminaLcbx);
    Zmieniono = true;
    ObrebSh.setMacro(QStringLiteral("WARUNEK"),
                     ui->GminaLcbx->chosen() ? QString::fromUtf8(sql::WarunekGminy) + ui->GminaLcbx->value() : QString());
    ObrebQry->close();
    ObrebQry->setSql(ObrebSh.expandedText());
    ObrebQry->open();
    ui->ObrebLcbx->refill();
    ObrebLcbxChange();
}

void TDodDlkFrm::ObrebLcbxChange()
{
    zapamietajWybor(ui->ObrebLcbx);
    Zmieniono = true;
    ArkuszQry->close();
    JrQry->close();
    if (ui->ObrebLcbx->chosen()) {
        const int obreb = ui->ObrebLcbx->value().toInt();
        ArkuszQry->setParameter(QStringLiteral("OBREB_ID"), obreb, jet::FieldType::SmallInt);
        JrQry->setParameter(QStringLiteral("OBREB_ID"), obreb, jet::FieldType::Integer);
        ArkuszQry->open();
        JrQry->open();
    }
    ui->ArkuszLcbx->refill();
    ui->JrLcbx->refill();
}

bool TDodDlkFrm::Jr_Ark_LcbxMouseDown()
{
    if (ui->ObrebLcbx->chosen())
        return false;
    app::Komunikat(QStringLiteral("Musisz wybrać jakiś obręb."), QString(), app::mb::IconInformation, true);
    return true;
}

void TDodDlkFrm::WydzialKwCbxChange()
{
    zapamietajWybor(ui->WydzialKwCbx);
    Zmieniono = true;
    KwQry->close();
    if (ui->WydzialKwCbx->currentIndex() >= 0) {
        KwQry->setParameter(QStringLiteral("WYDZ_ID"), app::IdZComboBox(ui->WydzialKwCbx), jet::FieldType::SmallInt);
        KwQry->open();
    }
    ui->NrKwLcbx->refill();
}

void TDodDlkFrm::MiejscLcbxChange()
{
    zapamietajWybor(ui->MiejscLcbx);
    Zmieniono = true;
    UlicaQry->close();
    if (ui->MiejscLcbx->chosen()) {
        UlicaQry->setParameter(QStringLiteral("MIEJSC_ID"), ui->MiejscLcbx->value().toDouble(), jet::FieldType::Float);
        UlicaQry->open();
    }
    ui->UlicaLcbx->refill();
}

void TDodDlkFrm::BezAdrChbClick()
{
    Zmieniono = true;
    const bool adres = !ui->BezAdrChb->isChecked();
    for (QWidget *w :
         std::initializer_list<QWidget *>{ui->MiejscLbl, ui->UlicaLbl, ui->MiejscLcbx, ui->UlicaLcbx, ui->NumerEdt})
        w->setEnabled(adres);
}

void TDodDlkFrm::CzyscBtnClick()
{
    ui->GminaLcbx->reset();
    GminaLcbxChange();
    ui->MiejscLcbx->reset();
    MiejscLcbxChange();
    for (QLineEdit *edit : edycje())
        edit->clear();
    ui->WydzialKwCbx->setCurrentIndex(-1);
    WydzialKwCbxChange();
    ui->KlasaCbx->setCurrentIndex(ui->KlasaCbx->count() > 0 ? 0 : -1);
    ui->UzytekCbx->setCurrentIndex(ui->UzytekCbx->count() > 0 ? 0 : -1);
    ui->BezAdrChb->setChecked(false);
    BezAdrChbClick();
    ui->HistoAktRB->setChecked(true);
    Zmieniono = true;
}

KryteriaDzialek TDodDlkFrm::Kryteria() const
{
    KryteriaDzialek k;
    k.gmina = kluczLookup(ui->GminaLcbx);
    k.obreb = kluczLookup(ui->ObrebLcbx);
    k.jr = kluczLookup(ui->JrLcbx);
    k.arkusz = kluczLookup(ui->ArkuszLcbx);
    k.licznik = ui->LicznikEdt->text();
    k.mianownik = ui->MianownikEdt->text();
    k.nrAdd = ui->NrAddEdt->text();
    k.powOd = ui->PowDz1Edt->text();
    k.powDo = ui->PowDz2Edt->text();
    k.kw = kluczLookup(ui->NrKwLcbx);
    k.aw = ui->AwzEdt->text();
    k.polozenie = ui->PolozenieEdt->text();
    k.bezAdresu = ui->BezAdrChb->isChecked();
    k.miejscowosc = kluczLookup(ui->MiejscLcbx);
    k.ulica = kluczLookup(ui->UlicaLcbx);
    k.numer = ui->NumerEdt->text();
    k.klasa = kluczCombo(ui->KlasaCbx);
    k.uzytek = kluczCombo(ui->UzytekCbx);
    k.powKlauzOd = ui->PowKlauz1Edt->text();
    k.powKlauzDo = ui->PowKlauz2Edt->text();
    return k;
}

StanHistorii TDodDlkFrm::Historia() const
{
    if (ui->HistoArchRB->isChecked())
        return StanHistorii::Archiwalne;
    if (ui->HistoAllRB->isChecked())
        return StanHistorii::Wszystkie;
    return StanHistorii::Aktualne;
}

QString TDodDlkFrm::WarunekHistorii() const
{
    return parcels::WarunekHistorii(Historia());
}

QString TDodDlkFrm::TekstZapytania() const
{
    const QString warunek = WarunekSelekcji(Kryteria());
    if (warunek.isEmpty())
        return QString();
    jet::StrHolder sh = MainSh;
    sh.setMacro(QStringLiteral("WAR_HIST"), WarunekHistorii());
    sh.setMacro(QStringLiteral("WAR_ALL"), warunek);
    return sh.expandedText();
}

// ---- search ----

void TDodDlkFrm::DodajBtnClick()
{
    if (!Zmieniono)
        return;
    app::KursorKlepsydry kursor;
    struct Zamknij {
        jet::Query *q;
        ~Zamknij() { q->close(); }
    } zamknij{MainQry};
    try {
        const QString historia = WarunekHistorii();
        const QString warunek = WarunekSelekcji(Kryteria());
        if (warunek.isEmpty()) {
            kursor.przywroc();
            app::Komunikat(QStringLiteral("Nie określono żadnego atrybutu."), QString(), app::mb::IconWarning, true);
            return;
        }
        MainSh.setMacro(QStringLiteral("WAR_HIST"), historia);
        MainSh.setMacro(QStringLiteral("WAR_ALL"), warunek);
        MainQry->close();
        MainQry->setSql(MainSh.expandedText());
        MainQry->open();
        if (MainQry->isEmpty())
            app::Komunikat(QStringLiteral("Nie znaleziono żadnych działek."), QString(), app::mb::IconInformation, true);
        PrzekazWyniki(*MainQry);
        Zmieniono = false;
        ui->LicznikEdt->setFocus();
        ui->LicznikEdt->selectAll();
    } catch (const std::exception &error) {
        kursor.przywroc();
        app::Komunikat(app::komunikatWyjatku(error), QStringLiteral("Błąd podczas selekcji działek"), app::mb::IconError);
    }
}

void TDodDlkFrm::PrzekazWyniki(jet::Dataset &query)
{
    TKarDzFrm *kartoteka = KarDzFrm;
    if (!kartoteka)
        return;
    const int n = kartoteka->iloscWierszy();
    const auto pole = [&query](const char *name) {
        const int index = query.fieldIndex(QString::fromLatin1(name));
        if (index < 0)
            throw app::AppError(QStringLiteral("Brak pola '%1' w wyniku selekcji").arg(QString::fromLatin1(name)));
        return index;
    };
    const int mslink = pole("mslink"), dzialkaId = pole("dzialka_id"), arkuszId = pole("arkusz_id"),
              idJr = pole("id_jr"), jr = pole("jr"), obreb = pole("obreb"), powOpis = pole("pow_opis"),
              arkusz = pole("arkusz"), numer = pole("numer"), obrebId = pole("obreb_id"), zmianaId = pole("zmiana_id"),
              zmianaKasId = pole("zmiana_kas_id");
    kartoteka->RozpocznijWsad();
    try {
        using D = jet::Dataset;
        for (int row = 0; row < query.recordCount(); ++row) {
            const auto v = [&query, row](int field) { return query.valueAt(row, field); };
            WierszDzialki wiersz;
            wiersz.numer = D::valueToText(v(numer));
            wiersz.arkusz = D::valueToText(v(arkusz));
            wiersz.jr = D::valueToText(v(jr));
            wiersz.obreb = D::valueToText(v(obreb));
            wiersz.pow_opis = D::valueToText(v(powOpis));
            wiersz.ident = TIdentDlk{D::valueToFloat(v(mslink)),   D::valueToFloat(v(dzialkaId)),
                                     D::valueToFloat(v(arkuszId)), D::valueToFloat(v(idJr)),
                                     qint32(std::trunc(D::valueToFloat(v(obrebId)))),
                                     D::valueToFloat(v(zmianaId)), D::valueToFloat(v(zmianaKasId))};
            kartoteka->DodajDzialke(wiersz, n);
        }
    } catch (...) {
        kartoteka->ZakonczWsad();
        throw;
    }
    kartoteka->ZakonczWsad();
}

// ---- dialog ----

void TDodDlkFrm::FormShow()
{
    Zmieniono = true;
}

void TDodDlkFrm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormShow();
}

bool TDodDlkFrm::filtrKlawiszy(QLineEdit *edit, QKeyEvent *event)
{
    const QString text = event->text();
    const bool backspace = event->key() == Qt::Key_Backspace;
    const auto przejdz = [](QLineEdit *target) {
        target->setFocus();
        target->selectAll();
    };
    if (backspace) {
        if (edit->text().isEmpty() && edit == ui->MianownikEdt) {
            przejdz(ui->LicznikEdt);
            return true;
        }
        if (edit->text().isEmpty() && edit == ui->NrAddEdt) {
            przejdz(ui->MianownikEdt);
            return true;
        }
        return false;
    }
    // Navigation and dialog keys (Enter, Esc, Tab, arrows) carry no printable character.
    if (text.isEmpty() || !text.at(0).isPrint() || edit == ui->NrAddEdt)
        return false;
    const QChar c = text.at(0);
    const bool cyfra = c >= QLatin1Char('0') && c <= QLatin1Char('9');
    if (edit == ui->LicznikEdt && c == QLatin1Char('/')) {
        przejdz(ui->MianownikEdt);
        return true;
    }
    if (edit == ui->MianownikEdt && c == QLatin1Char('-')) {
        przejdz(ui->NrAddEdt);
        return true;
    }
    const bool powierzchnia =
        edit == ui->PowDz1Edt || edit == ui->PowDz2Edt || edit == ui->PowKlauz1Edt || edit == ui->PowKlauz2Edt;
    const bool separator = powierzchnia && (c == QLatin1Char('.') || c == QLatin1Char(','));
    const bool filtrowany = powierzchnia || edit == ui->LicznikEdt || edit == ui->MianownikEdt;
    if (!filtrowany || cyfra || separator)
        return false;
    app::interaction().beep();
    return true;
}

bool TDodDlkFrm::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (auto *edit = qobject_cast<QLineEdit *>(watched))
            return filtrKlawiszy(edit, key);
        if (watched == ui->WydzialKwCbx && key->key() == Qt::Key_Escape) {
            ui->WydzialKwCbx->setCurrentIndex(-1);
            app::WykonajAkcje([this] { WydzialKwCbxChange(); });
            return true;
        }
    } else if (event->type() == QEvent::MouseButtonPress && (watched == ui->JrLcbx || watched == ui->ArkuszLcbx)) {
        bool zatrzymaj = false;
        app::WykonajAkcje([this, &zatrzymaj] { zatrzymaj = Jr_Ark_LcbxMouseDown(); });
        return zatrzymaj;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace katarix::parcels
