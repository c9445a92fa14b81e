#include "parcels/DodDlkFrm.h"

#include "app/Interaction.h"
#include "app/Akcja.h"
#include "app/Klepsydra.h"
#include "app/ListHelpers.h"
#include "app/MainFrm.h"
#include "jet/Query.h"
#include "parcels/KarDzFrm.h"
#include "register/SqlTemplates.h"
#include "register/sql/DodDlkQueries.h"
#include "widgets/LookupCombo.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
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
    : QDialog(owner), ObrebSh(reg::holderFor(sql::ObrebSh)), MainSh(reg::holderFor(sql::MainSh))
{
    m_baza = database ? database : (app::MainFrm ? &app::MainFrm->baza() : nullptr);
    setObjectName(QStringLiteral("DodDlkFrm"));
    setWindowTitle(QStringLiteral("Selekcja działek"));
    setModal(true);
    utworzKomponenty();
    polacz();

    try {
        GminaQry->open();
        GminaLcbx->refill();
        GminaLcbxChange();
        MiejscowoscQry->open();
        MiejscLcbx->refill();
        jet::Query wlasne;
        jet::Query *temp = app::MainFrm && app::MainFrm->TempQry && !database ? app::MainFrm->TempQry : &wlasne;
        wlasne.setDatabase(m_baza);
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

    const auto lookup = [this](const char *name, jet::Dataset *dataset, const char *key, const char *list,
                               const QString &emptyValue) {
        auto *combo = new LookupCombo(this);
        combo->setObjectName(QString::fromLatin1(name));
        combo->setLookup(dataset, QString::fromLatin1(key), QString::fromLatin1(list));
        combo->setEmpty(Wszystkie, emptyValue);
        combo->refill();
        return combo;
    };
    const auto edit = [this](const char *name, const QString &hint = QString()) {
        auto *e = new QLineEdit(this);
        e->setObjectName(QString::fromLatin1(name));
        e->setToolTip(hint);
        return e;
    };
    const auto combo = [this](const char *name) {
        auto *c = new QComboBox(this);
        c->setObjectName(QString::fromLatin1(name));
        return c;
    };
    const QString wzorzec = QStringLiteral("znak % zastępuje dowolny ciąg znaków");
    const QString wzorzecBezWielkosci = QStringLiteral("Znak % zastępuje dowolny ciąg znaków,\nwielkość liter nie ma znaczenia");

    // Created in tab order.
    GminaLcbx = lookup("GminaLcbx", GminaQry, "MSLINK", "NAZWA", WszystkieId);
    ObrebLcbx = lookup("ObrebLcbx", ObrebQry, "MSLINK", "NAZWA", WszystkieId);
    ObrebLcbx->setMaxVisibleItems(12);
    JrLcbx = lookup("JrLcbx", JrQry, "id_jr", "kol_obreb", QString());
    ArkuszLcbx = lookup("ArkuszLcbx", ArkuszQry, "MSLINK", "NAZWA", WszystkieId);
    LicznikEdt = edit("LicznikEdt");
    MianownikEdt = edit("MianownikEdt");
    NrAddEdt = edit("NrAddEdt", wzorzec);
    PowDz1Edt = edit("PowDz1Edt");
    PowDz2Edt = edit("PowDz2Edt");
    WydzialKwCbx = combo("WydzialKwCbx");
    NrKwLcbx = lookup("NrKwLcbx", KwQry, "KW_ID", "NR_KW", QString());
    AwzEdt = edit("AwzEdt", wzorzecBezWielkosci);
    MiejscLcbx = lookup("MiejscLcbx", MiejscowoscQry, "miejsc_id", "nazwa", WszystkieId);
    UlicaLcbx = lookup("UlicaLcbx", UlicaQry, "ulica_id", "ULICA", WszystkieId);
    NumerEdt = edit("NumerEdt", wzorzec);
    BezAdrChb = new QCheckBox(QStringLiteral("Wybierz działki bez adresu"), this);
    BezAdrChb->setObjectName(QStringLiteral("BezAdrChb"));
    BezAdrChb->setToolTip(QStringLiteral("Powoduje wybranie działek, które nie mają przypisanego adresu"));
    PolozenieEdt = edit("PolozenieEdt", wzorzecBezWielkosci);
    KlasaCbx = combo("KlasaCbx");
    UzytekCbx = combo("UzytekCbx");
    PowKlauz1Edt = edit("PowKlauz1Edt");
    PowKlauz2Edt = edit("PowKlauz2Edt");
    HistoAktRB = new QRadioButton(QStringLiteral("Aktualne"), this);
    HistoArchRB = new QRadioButton(QStringLiteral("Archiwalne"), this);
    HistoAllRB = new QRadioButton(QStringLiteral("Wszystkie"), this);
    HistoAktRB->setObjectName(QStringLiteral("HistoAktRB"));
    HistoArchRB->setObjectName(QStringLiteral("HistoArchRB"));
    HistoAllRB->setObjectName(QStringLiteral("HistoAllRB"));
    HistoAktRB->setChecked(true);
    DodajBtn = new QPushButton(QStringLiteral("Dodaj"), this);
    DodajBtn->setObjectName(QStringLiteral("DodajBtn"));
    DodajBtn->setDefault(true);
    DodajBtn->setAutoDefault(true);
    ZamknijBtn = new QPushButton(QStringLiteral("Zamknij"), this);
    ZamknijBtn->setObjectName(QStringLiteral("ZamknijBtn"));
    ZamknijBtn->setAutoDefault(false);
    CzyscBtn = new QToolButton(this);
    CzyscBtn->setObjectName(QStringLiteral("CzyscBtn"));
    CzyscBtn->setText(QStringLiteral("⌫"));
    CzyscBtn->setToolTip(QStringLiteral("Czyść kryteria"));
    CzyscBtn->setStatusTip(QStringLiteral("Czyści wszystkie kryteria selekcji na tym formularzu"));

    QWidget *kolejnosc[] = {GminaLcbx,  ObrebLcbx,   JrLcbx,    ArkuszLcbx, LicznikEdt,   MianownikEdt, NrAddEdt,
                            PowDz1Edt,  PowDz2Edt,   WydzialKwCbx, NrKwLcbx, AwzEdt,      MiejscLcbx,   UlicaLcbx,
                            NumerEdt,   BezAdrChb,   PolozenieEdt, KlasaCbx, UzytekCbx,   PowKlauz1Edt, PowKlauz2Edt,
                            HistoAktRB, HistoArchRB, HistoAllRB, DodajBtn,   ZamknijBtn,  CzyscBtn};
    for (size_t i = 1; i < std::size(kolejnosc); ++i)
        setTabOrder(kolejnosc[i - 1], kolejnosc[i]);

    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);
    int row = 0;
    const auto label = [this](const QString &text) { return new QLabel(text, this); };
    const auto pair = [this](QWidget *a, const QString &between, QWidget *b, const QString &after = QString()) {
        auto *box = new QHBoxLayout;
        box->setSpacing(4);
        box->addWidget(a, 1);
        box->addWidget(new QLabel(between, this));
        box->addWidget(b, 1);
        if (!after.isEmpty())
            box->addWidget(new QLabel(after, this));
        return box;
    };
    grid->addWidget(label(QStringLiteral("Jedn. ewidencyjna:")), row, 0);
    grid->addWidget(GminaLcbx, row++, 1);
    grid->addWidget(label(QStringLiteral("Obręb ewidencyjny:")), row, 0);
    grid->addWidget(ObrebLcbx, row++, 1);
    grid->addWidget(label(QStringLiteral("Jedn. rejestrowa:")), row, 0);
    grid->addLayout(pair(JrLcbx, QStringLiteral("Arkusz:"), ArkuszLcbx), row++, 1);
    grid->addWidget(label(QStringLiteral("Numer działki:")), row, 0);
    {
        auto *box = pair(LicznikEdt, QStringLiteral("/"), MianownikEdt);
        box->addWidget(new QLabel(QStringLiteral("-"), this));
        box->addWidget(NrAddEdt, 1);
        grid->addLayout(box, row++, 1);
    }
    grid->addWidget(label(QStringLiteral("Pow. (od - do):")), row, 0);
    grid->addLayout(pair(PowDz1Edt, QStringLiteral("-"), PowDz2Edt, QStringLiteral("[ha]")), row++, 1);
    grid->addWidget(label(QStringLiteral("Wydział KW:")), row, 0);
    grid->addWidget(WydzialKwCbx, row++, 1);
    grid->addWidget(label(QStringLiteral("Numer KW:")), row, 0);
    grid->addWidget(NrKwLcbx, row++, 1);
    grid->addWidget(label(QStringLiteral("Inne dokumenty:")), row, 0);
    grid->addWidget(AwzEdt, row++, 1);
    MiejscLbl = label(QStringLiteral("Miejscowość:"));
    grid->addWidget(MiejscLbl, row, 0);
    grid->addWidget(MiejscLcbx, row++, 1);
    UlicaLbl = label(QStringLiteral("Ulica, numer:"));
    grid->addWidget(UlicaLbl, row, 0);
    {
        auto *box = new QHBoxLayout;
        box->addWidget(UlicaLcbx, 3);
        box->addWidget(NumerEdt, 1);
        grid->addLayout(box, row++, 1);
    }
    grid->addWidget(BezAdrChb, row++, 1);
    grid->addWidget(label(QStringLiteral("Położenie:")), row, 0);
    grid->addWidget(PolozenieEdt, row++, 1);
    grid->addWidget(label(QStringLiteral("Klasa / Użytek:")), row, 0);
    grid->addLayout(pair(KlasaCbx, QStringLiteral("/"), UzytekCbx), row++, 1);
    grid->addWidget(label(QStringLiteral("Pow. (od - do):")), row, 0);
    grid->addLayout(pair(PowKlauz1Edt, QStringLiteral("-"), PowKlauz2Edt, QStringLiteral("[ha]")), row++, 1);
    grid->addWidget(label(QStringLiteral("Wybierz działki:")), row, 0);
    {
        auto *box = new QHBoxLayout;
        box->addWidget(HistoAktRB);
        box->addWidget(HistoArchRB);
        box->addWidget(HistoAllRB);
        box->addStretch(1);
        grid->addLayout(box, row++, 1);
    }
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(CzyscBtn);
    buttons->addStretch(1);
    buttons->addWidget(DodajBtn);
    buttons->addWidget(ZamknijBtn);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    setMinimumWidth(360);
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
    connect(GminaLcbx, &QComboBox::activated, this, [this] { app::WykonajAkcje([this] { GminaLcbxChange(); }); });
    connect(ObrebLcbx, &QComboBox::activated, this, [this] { app::WykonajAkcje([this] { ObrebLcbxChange(); }); });
    connect(MiejscLcbx, &QComboBox::activated, this, [this] { app::WykonajAkcje([this] { MiejscLcbxChange(); }); });
    connect(WydzialKwCbx, &QComboBox::activated, this, [this] { app::WykonajAkcje([this] { WydzialKwCbxChange(); }); });
    connect(BezAdrChb, &QCheckBox::clicked, this, [this] { app::WykonajAkcje([this] { BezAdrChbClick(); }); });
    connect(CzyscBtn, &QToolButton::clicked, this, [this] { app::WykonajAkcje([this] { CzyscBtnClick(); }); });
    connect(DodajBtn, &QPushButton::clicked, this, [this] { DodajBtnClick(); });
    connect(ZamknijBtn, &QPushButton::clicked, this, &QDialog::reject);
    WydzialKwCbx->installEventFilter(this);
    JrLcbx->installEventFilter(this);
    ArkuszLcbx->installEventFilter(this);
}

// ---- criteria ----

void TDodDlkFrm::OtherCtlsChange()
{
    Zmieniono = true;
}

void TDodDlkFrm::GminaLcbxChange()
{
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
