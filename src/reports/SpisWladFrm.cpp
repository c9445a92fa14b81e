#include "reports/SpisWladFrm.h"

#include "app/Akcja.h"
#include "app/AppError.h"
#include "app/Interaction.h"
#include "app/Komunikaty.h"
#include "app/KursorKlepsydry.h"
#include "app/ListHelpers.h"
#include "app/MainFrm.h"
#include "app/PostepRaportu.h"
#include "app/RaportRunner.h"
#include "app/Sesja.h"
#include "jet/ControlsDisabled.h"
#include "jet/Query.h"
#include "register/sql/SpisWladQueries.h"
#include "register/SqlTemplates.h"
#include "reports/ReportValues.h"
#include "rtf/RTFReport.h"

#include "ui_SpisWladFrm.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <climits>

namespace katarix::reports {

namespace sql = reg::sql::spiswlad;

namespace {

const QString kWarunek = QStringLiteral("WARUNEK");
const QString kInne = QStringLiteral("... I INNE");

} // namespace

TSpisWladFrm::TSpisWladFrm(QWidget *parent, jet::Database *baza, jet::Query *tempQry, rtf::TRTFReport *rtf1)
    : QDialog(parent),
      OsFizSh(reg::holderFor(sql::OsFizSh)),
      OsPrawSh(reg::holderFor(sql::OsPrawSh)),
      ui(std::make_unique<Ui::TSpisWladFrm>())
{
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);


    jet::Database *database = app::bazaProgramu(baza);
    m_tempQry = tempQry ? tempQry : app::pozyczTempQry(database, this);
    m_rtf1 = rtf1 ? rtf1 : (app::MainFrm ? &app::MainFrm->Rtf1 : nullptr);

    MainQry = new jet::Query(this);
    MainQry->setObjectName(QStringLiteral("MainQry"));
    MainQry->setDatabase(database);

    MainQry->setForwardOnly(true);

    WynikTbl = std::make_unique<jet::TempTable>(
        *database, QStringLiteral("katarix_spis_wladajacych"),
        std::vector<jet::TempTable::Field>{{QStringLiteral("Osoba"), jet::FieldType::Text, 200},
                                           {QStringLiteral("Dzialki"), jet::FieldType::Text, RozmiarDzialek},
                                           {QStringLiteral("Adres"), jet::FieldType::Text, 200},
                                           {QStringLiteral("PesReg"), jet::FieldType::Text, 15}});
    WynikMD = new jet::Query(this);
    WynikMD->setObjectName(QStringLiteral("WynikMD"));
    WynikMD->setDatabase(database);
    WynikMD->setForwardOnly(true);

    polacz();
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect frame = geometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    FormCreate();
}

TSpisWladFrm::~TSpisWladFrm()
{
    WynikMD->release(); // before the table it reads is dropped
}

void TSpisWladFrm::polacz()
{
    connect(ui->JEwidCbx, &QComboBox::activated, this, [this] { JEwidCbxChange(); });
    connect(ui->ObrebClb, &QListWidget::itemChanged, this, [this] { ObrebClbClickCheck(); });
    for (QPushButton *b : {ui->ZazWszObrBtn, ui->OdwZazObrBtn, ui->OdzWszObrBtn})
        connect(b, &QPushButton::clicked, this, [this, b] { ZazWszObrBtnClick(b); });
    for (QPushButton *b : {ui->ZazWszWlBtn, ui->OdwZazWlBtn, ui->OdzWszWlBtn})
        connect(b, &QPushButton::clicked, this, [this, b] { ZazWszWlBtnClick(b); });
    for (QPushButton *b : {ui->ZaznWszMscBtn, ui->OdwZazMscBtn, ui->OdzWszMscBtn})
        connect(b, &QPushButton::clicked, this, [this, b] { ZaznWszMscBtnClick(b); });
    for (QCheckBox *c : {ui->OsFizChb, ui->OsPrawChb})
        connect(c, &QCheckBox::clicked, this, [this] { OsFizChbClick(); });
    for (QRadioButton *r : {ui->OsWszystkieRB, ui->OsZamiejscRB, ui->OsMiejscRB})
        connect(r, &QRadioButton::clicked, this, [this] { OsMiejscRBClick(); });
    for (QListWidget *l : {ui->ObrebClb, ui->FwladClb, ui->MiejscClb})
        l->installEventFilter(this);
    connect(ui->OkBtn, &QPushButton::clicked, this, [this] { OkBtnClick(); });
    connect(ui->AnulujBtn, &QPushButton::clicked, this, [this] { AnulujBtnClick(); });
}

void TSpisWladFrm::wypelnijTempQry(const QString &sqlText)
{
    m_tempQry->close();
    m_tempQry->setSql(sqlText);
    m_tempQry->open();
}

void TSpisWladFrm::FormCreate()
{
    OsMiejscRBClick();
    try {
        wypelnijTempQry(QString::fromUtf8(sql::GminySql));
        app::WypelnijComboBox(ui->JEwidCbx, *m_tempQry, QStringLiteral("nazwa"), true, QStringLiteral("wszystkie"),
                              QStringLiteral("mslink"));
        WypelnijObreby();
        wypelnijTempQry(QString::fromUtf8(sql::FormyWladSql));
        app::WypelnijCheckListBox(ui->FwladClb, *m_tempQry, QStringLiteral("opis"), true, QStringLiteral("mslink"));
        wypelnijTempQry(QString::fromUtf8(sql::MiejscowosciSql));
        app::WypelnijCheckListBox(ui->MiejscClb, *m_tempQry, QStringLiteral("nazwa"), false, QStringLiteral("miejsc_id"));
    } catch (const std::exception &error) {
        app::PokazWyjatek(error);
    }
}

void TSpisWladFrm::WypelnijObreby()
{
    QString text = QString::fromUtf8(sql::ObrebySql);
    const int gmina = app::IdZComboBox(ui->JEwidCbx);
    if (gmina != app::IdWszystkie && gmina != -1)
        text += QString::fromUtf8(sql::ObrebyGminaPrefix) + QString::number(gmina);
    text += QString::fromUtf8(sql::ObrebySuffix);
    wypelnijTempQry(text);
    app::WypelnijCheckListBox(ui->ObrebClb, *m_tempQry, QStringLiteral("nazwa"), false, QStringLiteral("mslink"));
    ObrebClbClickCheck();
}

void TSpisWladFrm::JEwidCbxChange()
{
    app::WykonajAkcje([this] { WypelnijObreby(); });
}

void TSpisWladFrm::ObrebClbClickCheck()
{
    int zaznaczone = 0;
    for (int i = 0; i < ui->ObrebClb->count() && zaznaczone < 2; ++i)
        if (ui->ObrebClb->item(i)->checkState() == Qt::Checked)
            ++zaznaczone;
    const bool jeden = zaznaczone < 2;
    if (!jeden)
        ui->DzialkiChb->setChecked(false);
    ui->DzialkiChb->setEnabled(jeden);
}

void TSpisWladFrm::ObrebClbExit(QListWidget *lista)
{
    lista->clearSelection();
    lista->setCurrentItem(nullptr, QItemSelectionModel::NoUpdate);
}

void TSpisWladFrm::ZazWszObrBtnClick(QPushButton *przycisk)
{
    app::ZaznaczCheckListBox(ui->ObrebClb, przycisk->property("tag").toInt());
    ObrebClbClickCheck();
}

void TSpisWladFrm::ZazWszWlBtnClick(QPushButton *przycisk)
{
    app::ZaznaczCheckListBox(ui->FwladClb, przycisk->property("tag").toInt());
}

void TSpisWladFrm::ZaznWszMscBtnClick(QPushButton *przycisk)
{
    app::ZaznaczCheckListBox(ui->MiejscClb, przycisk->property("tag").toInt());
}

void TSpisWladFrm::OsFizChbClick()
{
    if (!ui->OsFizChb->isChecked() && !ui->OsPrawChb->isChecked())
        ui->OsFizChb->setChecked(true);
}

void TSpisWladFrm::OsMiejscRBClick()
{
    const bool miejscowe = ui->OsMiejscRB->isChecked();
    ui->MiejscClb->setEnabled(miejscowe);
    for (QPushButton *b : {ui->ZaznWszMscBtn, ui->OdwZazMscBtn, ui->OdzWszMscBtn})
        b->setEnabled(miejscowe);
    // Text and background as the list shows them usable, greyed on the panel's colour otherwise.
    const QPalette wzor = QApplication::palette();
    const QColor tekst = miejscowe ? wzor.color(QPalette::Active, QPalette::WindowText)
                                   : wzor.color(QPalette::Disabled, QPalette::Text);
    const QColor tlo = miejscowe ? wzor.color(QPalette::Active, QPalette::Base)
                                 : ui->MiejscClb->parentWidget()->palette().color(QPalette::Window);
    QPalette palette = ui->MiejscClb->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Text, tekst);
        palette.setColor(group, QPalette::Base, tlo);
    }
    ui->MiejscClb->setPalette(palette);
}

void TSpisWladFrm::FormResize()
{
    const int trzecia = width() / 3;
    ui->LewyPnl->setFixedWidth(trzecia);
    ui->PrawyPnl->setFixedWidth(trzecia);
}

void TSpisWladFrm::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    FormResize();
}

bool TSpisWladFrm::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusOut)
        if (auto *lista = qobject_cast<QListWidget *>(watched))
            ObrebClbExit(lista);
    return QDialog::eventFilter(watched, event);
}

QString TSpisWladFrm::WarunekMiejsc() const
{
    if (ui->OsZamiejscRB->isChecked())
        return QString::fromUtf8(sql::OsobyZamiejscowe);
    if (ui->OsMiejscRB->isChecked())
        return QString::fromUtf8(sql::OsobyMiejscowePrefix) + app::ListaIdZaznaczonych(ui->MiejscClb, true) +
               QString::fromUtf8(sql::OsobyMiejscoweSuffix);
    return QString();
}

QString TSpisWladFrm::BudujSql()
{
    const QString warunek = QString::fromUtf8(sql::WarunekObrebyPrefix) + IdObrebow +
                            QString::fromUtf8(sql::WarunekFormyPrefix) + IdFormWlad +
                            QString::fromUtf8(sql::WarunekFormySuffix) + WarunekMiejsc();
    OsFizSh.setMacro(kWarunek, warunek);
    OsPrawSh.setMacro(kWarunek, warunek);
    const QString polaczenie = QString::fromUtf8(sql::Polaczenie);
    QString text;
    if (ui->OsFizChb->isChecked())
        text += OsFizSh.expandedText() + polaczenie;
    if (ui->OsPrawChb->isChecked())
        text += OsPrawSh.expandedText() + polaczenie;
    text.chop(polaczenie.size());
    return text + QString::fromUtf8(sql::Porzadek);
}

void TSpisWladFrm::BudujWynik(app::PostepRaportu *postep)
{
    const int poleId = MainQry->fieldIndex(QStringLiteral("osoba_id"));
    const int poleOsoba = MainQry->fieldIndex(QStringLiteral("osoba"));
    const int poleDzialka = MainQry->fieldIndex(QStringLiteral("dzialka"));
    const int poleArkusz = MainQry->fieldIndex(QStringLiteral("arkusz"));
    const int poleArkuszowa = MainQry->fieldIndex(QStringLiteral("arkuszowa"));
    const int poleAdres = MainQry->fieldIndex(QStringLiteral("adres"));
    const int polePesReg = MainQry->fieldIndex(QStringLiteral("pes_reg"));
    const QString przecinek = QStringLiteral(", ");
    const QString ark = QStringLiteral(" ark.");
    // Beyond this length the entry is cut anyway: later parcels are not appended.
    const int granica = RozmiarDzialek + int(przecinek.size());

    // Also when the grouping stops ("Anuluj", an error): the controls follow again and the entries
    // made so far are in the table.
    struct Koniec {
        jet::TempTable *wynik;
        ~Koniec() { wynik->finish(); }
    } koniec{WynikTbl.get()};
    const jet::ControlsDisabled wylaczone(*MainQry); // ends before koniec
    QString dzialki;
    bool obciete = false;
    QVariant osoba, adres, pesReg;
    qint64 przeczytane = 0;
    MainQry->first();
    while (!MainQry->eof()) {
        if (postep)
            postep->krok("Wiersze listy władających: %1", ++przeczytane);
        const double id = jet::Dataset::valueToFloat(MainQry->value(poleId));
        osoba = MainQry->value(poleOsoba);
        if (!obciete) {
            dzialki += jet::Dataset::valueToText(MainQry->value(poleDzialka));
            if (jet::Dataset::valueToInteger(MainQry->value(poleArkuszowa)) != 0)
                dzialki += ark + jet::Dataset::valueToText(MainQry->value(poleArkusz));
            dzialki += przecinek;
            obciete = dzialki.size() > granica;
        }
        adres = MainQry->value(poleAdres);
        pesReg = MainQry->value(polePesReg);
        MainQry->next();
        if (MainQry->eof() || jet::Dataset::valueToFloat(MainQry->value(poleId)) != id) {
            if (obciete)
                dzialki = dzialki.left(RozmiarDzialek - int(kInne.size())) + kInne;
            else
                dzialki.chop(przecinek.size());
            WynikTbl->append({osoba, dzialki, adres, pesReg});
            dzialki.clear();
            obciete = false;
        }
    }
}

qint64 TSpisWladFrm::PrzygotujWynik(app::PostepRaportu &postep)
{
    WynikTbl->create();
    MainQry->open();
    BudujWynik(&postep);
    // The rows are in WynikTbl now; the report does not need them twice.
    MainQry->release();
    WynikMD->setSql(WynikTbl->selectSql(ui->SortAdresRB->isChecked() ? QStringLiteral("Adres") : QString()));
    WynikMD->open();
    ui->ProgBar->setRange(0, int(std::max<qint64>(1, std::min<qint64>(WynikTbl->rowCount(), INT_MAX))));
    return WynikTbl->rowCount();
}

QString TSpisWladFrm::Kryteria() const
{
    QString text = QStringLiteral("OBRĘBY: ") + NazwyObrebow + QStringLiteral("\r\nFORMY WŁADANIA: ") + NazwyFormWlad +
                   QStringLiteral("\r\nZAKRES: ");
    if (ui->OsPrawChb->isChecked())
        text += QStringLiteral("Osoby prawne, ");
    if (ui->OsFizChb->isChecked())
        text += QStringLiteral("Osoby fizyczne, ");
    if (ui->OsZamiejscRB->isChecked())
        text += QStringLiteral("Osoby zamiejscowe, ");
    if (ui->OsMiejscRB->isChecked())
        text += QStringLiteral("Osoby miejscowe, ");
    text.chop(2);
    return text;
}

void TSpisWladFrm::DataSetRequest(const QString &name, jet::Dataset *&dataset)
{
    if (name == QLatin1String("spiswladds"))
        dataset = WynikMD;
}

QVariant TSpisWladFrm::ValueRequest(const QString &name)
{
    if (name == QLatin1String("current_date"))
        return biezacaData();
    if (name == QLatin1String("current_time"))
        return biezacyCzas();
    if (name == QLatin1String("kryteria"))
        return Kryteria();
    if (name == QLatin1String("dodajdlk")) {
        // The component processes no events while it fills: paint the bar at each new percent.
        const int przed = ui->ProgBar->value() * 100 / ui->ProgBar->maximum();
        ui->ProgBar->setValue(std::min(ui->ProgBar->value() + 1, ui->ProgBar->maximum()));
        if (ui->ProgBar->value() * 100 / ui->ProgBar->maximum() != przed && ui->ProgBar->isVisible())
            ui->ProgBar->repaint();
        return ui->DzialkiChb->isChecked();
    }
    return QString();
}

void TSpisWladFrm::OkBtnClick()
{
    ui->ProgBar->setValue(0);
    IdObrebow = app::ListaIdZaznaczonych(ui->ObrebClb, true);
    if (IdObrebow.isEmpty()) {
        app::Komunikat(QStringLiteral("Wybierz jakieś obręby."), QString(), app::mb::IconWarning);
        return;
    }
    NazwyObrebow.clear();
    app::TekstyZaznaczonych(ui->ObrebClb, NazwyObrebow, true);
    IdFormWlad = app::ListaIdZaznaczonych(ui->FwladClb, true);
    if (IdFormWlad.isEmpty()) {
        app::Komunikat(QStringLiteral("Określ jakieś formy władania."), QString(), app::mb::IconWarning);
        return;
    }
    NazwyFormWlad.clear();
    app::TekstyZaznaczonych(ui->FwladClb, NazwyFormWlad, true);
    // An empty list of localities would select nobody.
    if (ui->OsMiejscRB->isChecked() && app::ListaIdZaznaczonych(ui->MiejscClb, true).isEmpty()) {
        app::Komunikat(QStringLiteral("Zaznacz jakieś miejscowości."), QString(), app::mb::IconWarning);
        return;
    }

    app::KursorKlepsydry kursor;
    try {
        WynikMD->release();
        WynikTbl->drop();
        MainQry->close();
        MainQry->setSql(BudujSql());
        m_rtf1->OnDataSetRequest = [this](const QString &name, jet::Dataset *&dataset) { DataSetRequest(name, dataset); };
        m_rtf1->OnValueRequest = [this](const QString &name) { return ValueRequest(name); };
        // The list is built inside the report run: under its progress dialog, and counted before
        // the document is written.
        app::UruchomRaport(*m_rtf1, QStringLiteral("SpisWlad.rtf"),
                           [this](app::PostepRaportu &postep) { return PrzygotujWynik(postep); });
        MainQry->release();
        WynikMD->release();
        ui->ProgBar->setValue(0);
    } catch (const std::exception &error) {
        kursor.przywroc();
        app::Komunikat(app::komunikatWyjatku(error), QString(), app::mb::IconError);
    }
}

void TSpisWladFrm::AnulujBtnClick()
{
    reject();
}

} // namespace katarix::reports
