#include "reports/SpisWladFrm.h"

#include "app/Akcja.h"
#include "app/ListHelpers.h"
#include "app/MainFrm.h"
#include "app/PostepRaportu.h"
#include "app/RaportRunner.h"
#include "jet/Query.h"
#include "register/SqlTemplates.h"
#include "register/sql/SpisWladQueries.h"
#include "app/KursorKlepsydry.h"
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

TSpisWladFrm *SpisWladFrm = nullptr;

namespace {

const QString kWarunek = QStringLiteral("WARUNEK");
const QString kInne = QStringLiteral("... I INNE");

} // namespace

TSpisWladFrm::TSpisWladFrm(QWidget *parent, jet::Database *baza, jet::Query *tempQry, rtf::TRTFReport *rtf1)
    : QDialog(parent),
      OsFizSh(reg::holderFor(sql::OsFizSh)),
      OsPrawSh(reg::holderFor(sql::OsPrawSh)),
      m_ui(std::make_unique<Ui::TSpisWladFrm>())
{
    SpisWladFrm = this;
    m_ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);

    JEwidCbx = m_ui->JEwidCbx;
    ObrebClb = m_ui->ObrebClb;
    ZazWszObrBtn = m_ui->ZazWszObrBtn;
    OdwZazObrBtn = m_ui->OdwZazObrBtn;
    OdzWszObrBtn = m_ui->OdzWszObrBtn;
    OsFizChb = m_ui->OsFizChb;
    OsPrawChb = m_ui->OsPrawChb;
    DzialkiChb = m_ui->DzialkiChb;
    FwladClb = m_ui->FwladClb;
    ZazWszWlBtn = m_ui->ZazWszWlBtn;
    OdwZazWlBtn = m_ui->OdwZazWlBtn;
    OdzWszWlBtn = m_ui->OdzWszWlBtn;
    OsWszystkieRB = m_ui->OsWszystkieRB;
    OsZamiejscRB = m_ui->OsZamiejscRB;
    OsMiejscRB = m_ui->OsMiejscRB;
    MiejscClb = m_ui->MiejscClb;
    ZaznWszMscBtn = m_ui->ZaznWszMscBtn;
    OdwZazMscBtn = m_ui->OdwZazMscBtn;
    OdzWszMscBtn = m_ui->OdzWszMscBtn;
    SortNazwiskoRB = m_ui->SortNazwiskoRB;
    SortAdresRB = m_ui->SortAdresRB;
    OkBtn = m_ui->OkBtn;
    AnulujBtn = m_ui->AnulujBtn;
    ProgBar = m_ui->ProgBar;
    LewyPnl = m_ui->LewyPnl;
    SrodekPnl = m_ui->SrodekPnl;
    PrawyPnl = m_ui->PrawyPnl;

    jet::Database *database = app::bazaProgramu(baza);
    m_tempQry = tempQry ? tempQry : (app::MainFrm ? app::MainFrm->TempQry : nullptr);
    m_rtf1 = rtf1 ? rtf1 : (app::MainFrm ? &app::MainFrm->Rtf1 : nullptr);
    if (!m_tempQry) {
        m_tempQry = new jet::Query(this);
        m_tempQry->setObjectName(QStringLiteral("TempQry"));
        m_tempQry->setDatabase(database);
    }

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
    if (SpisWladFrm == this)
        SpisWladFrm = nullptr;
    WynikMD->release(); // before the table it reads is dropped
}

void TSpisWladFrm::polacz()
{
    connect(JEwidCbx, &QComboBox::activated, this, [this] { JEwidCbxChange(); });
    connect(ObrebClb, &QListWidget::itemChanged, this, [this] { ObrebClbClickCheck(); });
    for (QPushButton *b : {ZazWszObrBtn, OdwZazObrBtn, OdzWszObrBtn})
        connect(b, &QPushButton::clicked, this, [this, b] { ZazWszObrBtnClick(b); });
    for (QPushButton *b : {ZazWszWlBtn, OdwZazWlBtn, OdzWszWlBtn})
        connect(b, &QPushButton::clicked, this, [this, b] { ZazWszWlBtnClick(b); });
    for (QPushButton *b : {ZaznWszMscBtn, OdwZazMscBtn, OdzWszMscBtn})
        connect(b, &QPushButton::clicked, this, [this, b] { ZaznWszMscBtnClick(b); });
    for (QCheckBox *c : {OsFizChb, OsPrawChb})
        connect(c, &QCheckBox::clicked, this, [this] { OsFizChbClick(); });
    for (QRadioButton *r : {OsWszystkieRB, OsZamiejscRB, OsMiejscRB})
        connect(r, &QRadioButton::clicked, this, [this] { OsMiejscRBClick(); });
    for (QListWidget *l : {ObrebClb, FwladClb, MiejscClb})
        l->installEventFilter(this);
    connect(OkBtn, &QPushButton::clicked, this, [this] { OkBtnClick(); });
    connect(AnulujBtn, &QPushButton::clicked, this, [this] { AnulujBtnClick(); });
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
        app::WypelnijComboBox(JEwidCbx, *m_tempQry, QStringLiteral("nazwa"), true, QStringLiteral("wszystkie"),
                              QStringLiteral("mslink"));
        WypelnijObreby();
        wypelnijTempQry(QString::fromUtf8(sql::FormyWladSql));
        app::WypelnijCheckListBox(FwladClb, *m_tempQry, QStringLiteral("opis"), true, QStringLiteral("mslink"));
        wypelnijTempQry(QString::fromUtf8(sql::MiejscowosciSql));
        app::WypelnijCheckListBox(MiejscClb, *m_tempQry, QStringLiteral("nazwa"), false, QStringLiteral("miejsc_id"));
    } catch (const std::exception &error) {
        app::PokazWyjatek(error);
    }
}

void TSpisWladFrm::WypelnijObreby()
{
    QString text = QString::fromUtf8(sql::ObrebySql);
    const int gmina = app::IdZComboBox(JEwidCbx);
    if (gmina != app::IdWszystkie && gmina != -1)
        text += QString::fromUtf8(sql::ObrebyGminaPrefix) + QString::number(gmina);
    text += QString::fromUtf8(sql::ObrebySuffix);
    wypelnijTempQry(text);
    app::WypelnijCheckListBox(ObrebClb, *m_tempQry, QStringLiteral("nazwa"), false, QStringLiteral("mslink"));
    ObrebClbClickCheck();
}

void TSpisWladFrm::JEwidCbxChange()
{
    app::WykonajAkcje([this] { WypelnijObreby(); });
}

void TSpisWladFrm::ObrebClbClickCheck()
{
    int zaznaczone = 0;
    for (int i = 0; i < ObrebClb->count() && zaznaczone < 2; ++i)
        if (ObrebClb->item(i)->checkState() == Qt::Checked)
            ++zaznaczone;
    const bool jeden = zaznaczone < 2;
    if (!jeden)
        DzialkiChb->setChecked(false);
    DzialkiChb->setEnabled(jeden);
}

void TSpisWladFrm::ObrebClbExit(QListWidget *lista)
{
    lista->clearSelection();
    lista->setCurrentItem(nullptr, QItemSelectionModel::NoUpdate);
}

void TSpisWladFrm::ZazWszObrBtnClick(QPushButton *przycisk)
{
    app::ZaznaczCheckListBox(ObrebClb, przycisk->property("tag").toInt());
    ObrebClbClickCheck();
}

void TSpisWladFrm::ZazWszWlBtnClick(QPushButton *przycisk)
{
    app::ZaznaczCheckListBox(FwladClb, przycisk->property("tag").toInt());
}

void TSpisWladFrm::ZaznWszMscBtnClick(QPushButton *przycisk)
{
    app::ZaznaczCheckListBox(MiejscClb, przycisk->property("tag").toInt());
}

void TSpisWladFrm::OsFizChbClick()
{
    if (!OsFizChb->isChecked() && !OsPrawChb->isChecked())
        OsFizChb->setChecked(true);
}

void TSpisWladFrm::OsMiejscRBClick()
{
    const bool miejscowe = OsMiejscRB->isChecked();
    MiejscClb->setEnabled(miejscowe);
    for (QPushButton *b : {ZaznWszMscBtn, OdwZazMscBtn, OdzWszMscBtn})
        b->setEnabled(miejscowe);
    // Text and background as the list shows them usable, greyed on the panel's colour otherwise.
    const QPalette wzor = QApplication::palette();
    const QColor tekst = miejscowe ? wzor.color(QPalette::Active, QPalette::WindowText)
                                   : wzor.color(QPalette::Disabled, QPalette::Text);
    const QColor tlo = miejscowe ? wzor.color(QPalette::Active, QPalette::Base)
                                 : MiejscClb->parentWidget()->palette().color(QPalette::Window);
    QPalette palette = MiejscClb->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Text, tekst);
        palette.setColor(group, QPalette::Base, tlo);
    }
    MiejscClb->setPalette(palette);
}

void TSpisWladFrm::FormResize()
{
    const int trzecia = width() / 3;
    LewyPnl->setFixedWidth(trzecia);
    PrawyPnl->setFixedWidth(trzecia);
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
    if (OsZamiejscRB->isChecked())
        return QString::fromUtf8(sql::OsobyZamiejscowe);
    if (OsMiejscRB->isChecked())
        return QString::fromUtf8(sql::OsobyMiejscowePrefix) + app::ListaIdZaznaczonych(MiejscClb, true) +
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
    if (OsFizChb->isChecked())
        text += OsFizSh.expandedText() + polaczenie;
    if (OsPrawChb->isChecked())
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
        jet::Query *qry;
        jet::TempTable *wynik;
        ~Koniec()
        {
            qry->enableControls();
            wynik->finish();
        }
    } koniec{MainQry, WynikTbl.get()};
    MainQry->disableControls();
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
    WynikMD->setSql(WynikTbl->selectSql(SortAdresRB->isChecked() ? QStringLiteral("Adres") : QString()));
    WynikMD->open();
    ProgBar->setRange(0, int(std::max<qint64>(1, std::min<qint64>(WynikTbl->rowCount(), INT_MAX))));
    return WynikTbl->rowCount();
}

QString TSpisWladFrm::Kryteria() const
{
    QString text = QStringLiteral("OBRĘBY: ") + NazwyObrebow + QStringLiteral("\r\nFORMY WŁADANIA: ") + NazwyFormWlad +
                   QStringLiteral("\r\nZAKRES: ");
    if (OsPrawChb->isChecked())
        text += QStringLiteral("Osoby prawne, ");
    if (OsFizChb->isChecked())
        text += QStringLiteral("Osoby fizyczne, ");
    if (OsZamiejscRB->isChecked())
        text += QStringLiteral("Osoby zamiejscowe, ");
    if (OsMiejscRB->isChecked())
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
        const int przed = ProgBar->value() * 100 / ProgBar->maximum();
        ProgBar->setValue(std::min(ProgBar->value() + 1, ProgBar->maximum()));
        if (ProgBar->value() * 100 / ProgBar->maximum() != przed && ProgBar->isVisible())
            ProgBar->repaint();
        return DzialkiChb->isChecked();
    }
    return QString();
}

void TSpisWladFrm::OkBtnClick()
{
    ProgBar->setValue(0);
    IdObrebow = app::ListaIdZaznaczonych(ObrebClb, true);
    if (IdObrebow.isEmpty()) {
        app::Komunikat(QStringLiteral("Wybierz jakieś obręby."), QString(), app::mb::IconWarning);
        return;
    }
    NazwyObrebow.clear();
    app::TekstyZaznaczonych(ObrebClb, NazwyObrebow, true);
    IdFormWlad = app::ListaIdZaznaczonych(FwladClb, true);
    if (IdFormWlad.isEmpty()) {
        app::Komunikat(QStringLiteral("Określ jakieś formy władania."), QString(), app::mb::IconWarning);
        return;
    }
    NazwyFormWlad.clear();
    app::TekstyZaznaczonych(FwladClb, NazwyFormWlad, true);
    // An empty list of localities would select nobody.
    if (OsMiejscRB->isChecked() && app::ListaIdZaznaczonych(MiejscClb, true).isEmpty()) {
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
        ProgBar->setValue(0);
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
