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
      m_ui(std::make_unique<Ui::TDodDlkFrm>())
{
    m_baza = app::bazaProgramu(database);
    utworzKomponenty();
    polacz();

    try {
        GminaQry->open();
        GminaLcbx->refill();
        GminaLcbxChange();
        MiejscowoscQry->open();
        MiejscLcbx->refill();
        jet::Query *temp = app::pozyczTempQry(m_baza, this);
        const auto wypelnij = [temp](QComboBox *combo, const char *text, const QString &pole, bool wszystkie) {
            temp->close();
            temp->setSql(QString::fromUtf8(text));
            temp->open();
            app::WypelnijComboBox(combo, *temp, pole, wszystkie, wszystkie ? Wszystkie : QString(), QStringLiteral("mslink"));
            temp->close();
        };
        wypelnij(WydzialKwCbx, sql::WydzialyKwSql, QStringLiteral("nazwa"), false);
        WydzialKwCbx->setCurrentIndex(-1);
        wypelnij(KlasaCbx, sql::KlasySql, QStringLiteral("skrot"), true);
        wypelnij(UzytekCbx, sql::UzytkiSql, QStringLiteral("skrot"), true);
    } catch (const std::exception &error) {
        app::PokazWyjatek(error);
    }
    if (app::MainFrm)
        m_iniSave.Init(this, app::MainFrm->PlikIni, false, true, QStringLiteral("KATARIX.DodDlkFrm"));
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
    m_ui->setupUi(this);
    GminaLcbx = m_ui->GminaLcbx;
    ObrebLcbx = m_ui->ObrebLcbx;
    JrLcbx = m_ui->JrLcbx;
    ArkuszLcbx = m_ui->ArkuszLcbx;
    NrKwLcbx = m_ui->NrKwLcbx;
    MiejscLcbx = m_ui->MiejscLcbx;
    UlicaLcbx = m_ui->UlicaLcbx;
    LicznikEdt = m_ui->LicznikEdt;
    MianownikEdt = m_ui->MianownikEdt;
    NrAddEdt = m_ui->NrAddEdt;
    PowDz1Edt = m_ui->PowDz1Edt;
    PowDz2Edt = m_ui->PowDz2Edt;
    AwzEdt = m_ui->AwzEdt;
    NumerEdt = m_ui->NumerEdt;
    PolozenieEdt = m_ui->PolozenieEdt;
    PowKlauz1Edt = m_ui->PowKlauz1Edt;
    PowKlauz2Edt = m_ui->PowKlauz2Edt;
    WydzialKwCbx = m_ui->WydzialKwCbx;
    KlasaCbx = m_ui->KlasaCbx;
    UzytekCbx = m_ui->UzytekCbx;
    BezAdrChb = m_ui->BezAdrChb;
    HistoAktRB = m_ui->HistoAktRB;
    HistoArchRB = m_ui->HistoArchRB;
    HistoAllRB = m_ui->HistoAllRB;
    DodajBtn = m_ui->DodajBtn;
    ZamknijBtn = m_ui->ZamknijBtn;
    CzyscBtn = m_ui->CzyscBtn;
    MiejscLbl = m_ui->MiejscLbl;
    UlicaLbl = m_ui->UlicaLbl;

    const struct {
        LookupCombo *combo;
        jet::Dataset *dataset;
        const char *key, *list;
        QString emptyValue;
    } lookups[] = {
        {GminaLcbx, GminaQry, "MSLINK", "NAZWA", WszystkieId},      {ObrebLcbx, ObrebQry, "MSLINK", "NAZWA", WszystkieId},
        {JrLcbx, JrQry, "id_jr", "kol_obreb", QString()},            {ArkuszLcbx, ArkuszQry, "MSLINK", "NAZWA", WszystkieId},
        {NrKwLcbx, KwQry, "KW_ID", "NR_KW", QString()},              {MiejscLcbx, MiejscowoscQry, "miejsc_id", "nazwa", WszystkieId},
        {UlicaLcbx, UlicaQry, "ulica_id", "ULICA", WszystkieId},
    };
    for (const auto &l : lookups) {
        l.combo->setLookup(l.dataset, QString::fromLatin1(l.key), QString::fromLatin1(l.list));
        l.combo->setEmpty(Wszystkie, l.emptyValue);
        l.combo->refill();
    }
    GminaLcbx->setMinimumWidth(240);
}

QList<QLineEdit *> TDodDlkFrm::edycje() const
{
    return {LicznikEdt, MianownikEdt, NrAddEdt, PowDz1Edt, PowDz2Edt, AwzEdt, NumerEdt, PolozenieEdt, PowKlauz1Edt, PowKlauz2Edt};
}

void TDodDlkFrm::polacz()
{
    for (QLineEdit *edit : edycje()) {
        connect(edit, &QLineEdit::textChanged, this, [this] { OtherCtlsChange(); });
        edit->installEventFilter(this);
    }
    for (QComboBox *combo : std::initializer_list<QComboBox *>{JrLcbx, ArkuszLcbx, NrKwLcbx, UlicaLcbx, KlasaCbx, UzytekCbx})
        connect(combo, &QComboBox::currentIndexChanged, this, [this] { OtherCtlsChange(); });
    for (QRadioButton *radio : {HistoAktRB, HistoArchRB, HistoAllRB})
        connect(radio, &QRadioButton::clicked, this, [this] { OtherCtlsChange(); });
    naZmianeWyboru(GminaLcbx, &TDodDlkFrm::GminaLcbxChange);
    naZmianeWyboru(ObrebLcbx, &TDodDlkFrm::ObrebLcbxChange);
    naZmianeWyboru(MiejscLcbx, &TDodDlkFrm::MiejscLcbxChange);
    naZmianeWyboru(WydzialKwCbx, &TDodDlkFrm::WydzialKwCbxChange);
    connect(BezAdrChb, &QCheckBox::clicked, this, [this] { app::WykonajAkcje([this] { BezAdrChbClick(); }); });
    connect(CzyscBtn, &QToolButton::clicked, this, [this] { app::WykonajAkcje([this] { CzyscBtnClick(); }); });
    connect(DodajBtn, &QPushButton::clicked, this, [this] { DodajBtnClick(); });
    connect(ZamknijBtn, &QPushButton::clicked, this, &QDialog::reject);
    WydzialKwCbx->installEventFilter(this);
    JrLcbx->installEventFilter(this);
    ArkuszLcbx->installEventFilter(this);
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
    zapamietajWybor(GminaLcbx);
    Zmieniono = true;
    ObrebSh.setMacro(QStringLiteral("WARUNEK"),
                     GminaLcbx->chosen() ? QString::fromUtf8(sql::WarunekGminy) + GminaLcbx->value() : QString());
    ObrebQry->close();
    ObrebQry->setSql(ObrebSh.expandedText());
    ObrebQry->open();
    ObrebLcbx->refill();
    ObrebLcbxChange();
}

void TDodDlkFrm::ObrebLcbxChange()
{
    zapamietajWybor(ObrebLcbx);
    Zmieniono = true;
    ArkuszQry->close();
    JrQry->close();
    if (ObrebLcbx->chosen()) {
        const int obreb = ObrebLcbx->value().toInt();
        ArkuszQry->setParameter(QStringLiteral("OBREB_ID"), obreb, jet::FieldType::SmallInt);
        JrQry->setParameter(QStringLiteral("OBREB_ID"), obreb, jet::FieldType::Integer);
        ArkuszQry->open();
        JrQry->open();
    }
    ArkuszLcbx->refill();
    JrLcbx->refill();
}

bool TDodDlkFrm::Jr_Ark_LcbxMouseDown()
{
    if (ObrebLcbx->chosen())
        return false;
    app::Komunikat(QStringLiteral("Musisz wybrać jakiś obręb."), QString(), app::mb::IconInformation, true);
    return true;
}

void TDodDlkFrm::WydzialKwCbxChange()
{
    zapamietajWybor(WydzialKwCbx);
    Zmieniono = true;
    KwQry->close();
    if (WydzialKwCbx->currentIndex() >= 0) {
        KwQry->setParameter(QStringLiteral("WYDZ_ID"), app::IdZComboBox(WydzialKwCbx), jet::FieldType::SmallInt);
        KwQry->open();
    }
    NrKwLcbx->refill();
}

void TDodDlkFrm::MiejscLcbxChange()
{
    zapamietajWybor(MiejscLcbx);
    Zmieniono = true;
    UlicaQry->close();
    if (MiejscLcbx->chosen()) {
        UlicaQry->setParameter(QStringLiteral("MIEJSC_ID"), MiejscLcbx->value().toDouble(), jet::FieldType::Float);
        UlicaQry->open();
    }
    UlicaLcbx->refill();
}

void TDodDlkFrm::BezAdrChbClick()
{
    Zmieniono = true;
    const bool adres = !BezAdrChb->isChecked();
    for (QWidget *w : std::initializer_list<QWidget *>{MiejscLbl, UlicaLbl, MiejscLcbx, UlicaLcbx, NumerEdt})
        w->setEnabled(adres);
}

void TDodDlkFrm::CzyscBtnClick()
{
    GminaLcbx->reset();
    GminaLcbxChange();
    MiejscLcbx->reset();
    MiejscLcbxChange();
    for (QLineEdit *edit : edycje())
        edit->clear();
    WydzialKwCbx->setCurrentIndex(-1);
    WydzialKwCbxChange();
    KlasaCbx->setCurrentIndex(KlasaCbx->count() > 0 ? 0 : -1);
    UzytekCbx->setCurrentIndex(UzytekCbx->count() > 0 ? 0 : -1);
    BezAdrChb->setChecked(false);
    BezAdrChbClick();
    HistoAktRB->setChecked(true);
    Zmieniono = true;
}

KryteriaDzialek TDodDlkFrm::Kryteria() const
{
    KryteriaDzialek k;
    k.gmina = kluczLookup(GminaLcbx);
    k.obreb = kluczLookup(ObrebLcbx);
    k.jr = kluczLookup(JrLcbx);
    k.arkusz = kluczLookup(ArkuszLcbx);
    k.licznik = LicznikEdt->text();
    k.mianownik = MianownikEdt->text();
    k.nrAdd = NrAddEdt->text();
    k.powOd = PowDz1Edt->text();
    k.powDo = PowDz2Edt->text();
    k.kw = kluczLookup(NrKwLcbx);
    k.aw = AwzEdt->text();
    k.polozenie = PolozenieEdt->text();
    k.bezAdresu = BezAdrChb->isChecked();
    k.miejscowosc = kluczLookup(MiejscLcbx);
    k.ulica = kluczLookup(UlicaLcbx);
    k.numer = NumerEdt->text();
    k.klasa = kluczCombo(KlasaCbx);
    k.uzytek = kluczCombo(UzytekCbx);
    k.powKlauzOd = PowKlauz1Edt->text();
    k.powKlauzDo = PowKlauz2Edt->text();
    return k;
}

StanHistorii TDodDlkFrm::Historia() const
{
    if (HistoArchRB->isChecked())
        return StanHistorii::Archiwalne;
    if (HistoAllRB->isChecked())
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
        LicznikEdt->setFocus();
        LicznikEdt->selectAll();
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
    const int n = kartoteka->Lv->topLevelItemCount();
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
            kartoteka->DodajDzialke(D::valueToText(v(numer)), D::valueToText(v(arkusz)), D::valueToFloat(v(mslink)),
                                    D::valueToFloat(v(dzialkaId)), D::valueToFloat(v(arkuszId)),
                                    D::valueToFloat(v(idJr)), D::valueToText(v(jr)),
                                    qint32(std::trunc(D::valueToFloat(v(obrebId)))), D::valueToText(v(obreb)),
                                    D::valueToText(v(powOpis)), D::valueToFloat(v(zmianaId)),
                                    D::valueToFloat(v(zmianaKasId)), n);
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
        if (edit->text().isEmpty() && edit == MianownikEdt) {
            przejdz(LicznikEdt);
            return true;
        }
        if (edit->text().isEmpty() && edit == NrAddEdt) {
            przejdz(MianownikEdt);
            return true;
        }
        return false;
    }
    // Navigation and dialog keys (Enter, Esc, Tab, arrows) carry no printable character.
    if (text.isEmpty() || !text.at(0).isPrint() || edit == NrAddEdt)
        return false;
    const QChar c = text.at(0);
    const bool cyfra = c >= QLatin1Char('0') && c <= QLatin1Char('9');
    if (edit == LicznikEdt && c == QLatin1Char('/')) {
        przejdz(MianownikEdt);
        return true;
    }
    if (edit == MianownikEdt && c == QLatin1Char('-')) {
        przejdz(NrAddEdt);
        return true;
    }
    const bool powierzchnia = edit == PowDz1Edt || edit == PowDz2Edt || edit == PowKlauz1Edt || edit == PowKlauz2Edt;
    const bool separator = powierzchnia && (c == QLatin1Char('.') || c == QLatin1Char(','));
    const bool filtrowany = powierzchnia || edit == LicznikEdt || edit == MianownikEdt;
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
        if (watched == WydzialKwCbx && key->key() == Qt::Key_Escape) {
            WydzialKwCbx->setCurrentIndex(-1);
            app::WykonajAkcje([this] { WydzialKwCbxChange(); });
            return true;
        }
    } else if (event->type() == QEvent::MouseButtonPress && (watched == JrLcbx || watched == ArkuszLcbx)) {
        bool zatrzymaj = false;
        app::WykonajAkcje([this, &zatrzymaj] { zatrzymaj = Jr_Ark_LcbxMouseDown(); });
        return zatrzymaj;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace katarix::parcels
