#include "persons/TWjrOsobyFrm.h"

#include "app/Akcja.h"
#include "app/AppError.h"
#include "app/Komunikaty.h"
#include "app/KursorKlepsydry.h"
#include "app/MainFrm.h"
#include "app/Podpowiedzi.h"
#include "app/Sesja.h"
#include "app/MiejsceNarzedzia.h"
#include "jet/Query.h"
#include "persons/TWjrOsUstFrm.h"
#include "register/sql/JrOsobyQueries.h"
#include "register/SqlTemplates.h"
#include "widgets/ColorPanel.h"
#include "widgets/SkalaProjektu.h"

#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

namespace katarix::persons {

using widgets::DataGrid;
namespace sql = reg::sql::jrosoby;

namespace {

constexpr int TypGruntow = 1;
constexpr int TypLokali = 3;

QToolButton *przycisk(const QString &name, const QString &hint, const QString &icon, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(name);
    button->setToolTip(app::KrotkaPodpowiedz(hint));
    button->setStatusTip(app::DlugaPodpowiedz(hint));
    button->setIcon(QIcon(icon));
    button->setAutoRaise(true);
    button->setFixedSize(24, 24);
    return button;
}

void ustawRejestr(jet::StrHolder &sh, const sql::Rejestr &rejestr)
{
    sh.setMacro(QStringLiteral("JR_TYP"), QString::fromLatin1(rejestr.jrTyp));
    sh.setMacro(QStringLiteral("JR_PREFIX"), QString::fromLatin1(rejestr.jrPrefix));
    sh.setMacro(QStringLiteral("LW_TAB"), QString::fromLatin1(rejestr.lwTab));
    sh.setMacro(QStringLiteral("REJ_TAB"), QString::fromLatin1(rejestr.rejTab));
}

} // namespace

TTWjrOsobyFrm::TTWjrOsobyFrm(QWidget *owner)
    : QWidget(owner, Qt::Tool), SqlSh(reg::holderFor(sql::SqlSh)),
      m_uklad(this, QStringLiteral("KATARIX.TWjrOsobyFrm"), app::LayoutStore::Placement::PosSize)
{
    setObjectName(QStringLiteral("TWjrOsobyFrm"));
    setWindowTitle(QStringLiteral("Podsumowanie władania"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    resize(widgets::projektowe(QSize(370, 260)));

    JrQry = new jet::Query(this);
    JrQry->setObjectName(QStringLiteral("JrQry"));
    JrQry->setDatabase(app::bazaProgramu(nullptr));

    QWidget *pasek = utworzPasek();
    utworzSiatke();
    rozmiescPanele(pasek);
    polaczPrzyciski();

    TWjrOsUstFrm = new TTWjrOsUstFrm(this);

    m_uklad.setIniFileName(app::plikIni());
    m_uklad.restore();
}

// The buttons above the grid and the panel naming the person.
QWidget *TTWjrOsobyFrm::utworzPasek()
{
    auto *pasek = new QWidget(this);
    pasek->setObjectName(QStringLiteral("PasekPnl"));
    auto *czytaj = przycisk(QStringLiteral("CzytajSB"),
                            QStringLiteral("Szukanie jednostek|Tworzy listę jednostek dla wybranej osoby"),
                            QStringLiteral(":/icons/osoby.svg"), pasek);
    CzytajSB = czytaj;
    PrzejscieSB = przycisk(QStringLiteral("PrzejscieSB"), QStringLiteral("Przejście do wybranej jednostki (Enter)"),
                           QStringLiteral(":/icons/grunty.svg"), pasek);
    UstawieniaSB = przycisk(QStringLiteral("UstawieniaSB"),
                            QStringLiteral("Ustawienia|Otwiera okienko z ustawieniami wyszukiwania"),
                            QStringLiteral(":/icons/ustawienia.svg"), pasek);
    TopPnl = new QLabel(pasek);
    TopPnl->setObjectName(QStringLiteral("TopPnl"));
    TopPnl->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    TopPnl->setMinimumWidth(40);
    auto *pasekLayout = new QHBoxLayout(pasek);
    pasekLayout->setContentsMargins(1, 1, 1, 1);
    pasekLayout->setSpacing(1);
    pasekLayout->addWidget(czytaj);
    pasekLayout->addWidget(PrzejscieSB);
    pasekLayout->addWidget(UstawieniaSB);
    pasekLayout->addWidget(TopPnl, 1);
    return pasek;
}

void TTWjrOsobyFrm::utworzSiatke()
{
    JrGrd = new DataGrid(this);
    JrGrd->setObjectName(QStringLiteral("JrGrd"));
    JrGrd->setColumns({
        {QStringLiteral("JR"), QStringLiteral("JR"), 56},
        {QStringLiteral("OBREB"), QStringLiteral("Obręb"), 80},
        {QStringLiteral("F_WLAD"), QStringLiteral("F.wł."), 30, Qt::AlignHCenter},
        {QStringLiteral("UDZIAL"), QStringLiteral("Udział"), 85},
        {QStringLiteral("KW"), QStringLiteral("Nr KW"), 80},
    });
    JrGrd->setDataset(JrQry);
    JrGrd->GetCellParams = [this](const DataGrid::CellParams &cell) { return JrGrdGetCellParams(cell).tlo; };
    JrGrd->GetCellFont = [this](const DataGrid::CellParams &cell) { return JrGrdGetCellParams(cell).czcionka; };
    JrGrd->installEventFilter(this);
}

void TTWjrOsobyFrm::rozmiescPanele(QWidget *pasek)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(pasek);
    layout->addWidget(JrGrd, 1);
}

void TTWjrOsobyFrm::polaczPrzyciski()
{
    const auto przejdz = [this] { app::WykonajAkcje([this] { PrzejdzDoJr(); }); };
    connect(PrzejscieSB, &QToolButton::clicked, this, przejdz);
    connect(JrGrd, &QAbstractItemView::doubleClicked, this, przejdz);
    connect(UstawieniaSB, &QToolButton::clicked, this, &TTWjrOsobyFrm::UstawieniaSBClick);
}

int TTWjrOsobyFrm::PokazDlaOsoby(bool pokaz, const QString &opisOsoby, bool pytaj, double osobaId)
{
    try {
        JrQry->close();
        TopPnl->clear();
        if (!pokaz) {
            hide();
            return 0;
        }
        if (!isVisible() && pytaj && TWjrOsUstFrm->exec() != QDialog::Accepted)
            return 0;
        IdOsoby = osobaId;
        TopPnl->setText(QLatin1Char(' ') + opisOsoby);
        show();
        raise();
        return CzytajJr() ? 1 : 0;
    } catch (const std::exception &error) {
        app::PokazWyjatek(error);
        return 0;
    }
}

bool TTWjrOsobyFrm::CzytajJr()
{
    JrQry->close();
    if (!TWjrOsUstFrm->JestFormaWladania()) {
        OstrzezBrakFormWladania();
        return false;
    }
    QString warunek = WarunekFormWlad();
    if (!TWjrOsUstFrm->Archiwum())
        warunek += QString::fromLatin1(sql::TylkoAktualne);
    if (const int obreb = IdObrebu(); obreb != -1)
        warunek += QString::fromLatin1(sql::ObrebPrefix) + QString::number(obreb) + QString::fromLatin1(sql::ObrebSuffix);
    SqlSh.setMacro(QStringLiteral("WARUNEK"), warunek);

    QString tekst;
    const auto dolacz = [&](const sql::Rejestr &rejestr) {
        ustawRejestr(SqlSh, rejestr);
        tekst += SqlSh.expandedText() + QString::fromLatin1(sql::Polaczenie);
    };
    if (TWjrOsUstFrm->RejestrGruntow())
        dolacz(sql::RejestrGruntow);
    if (TWjrOsUstFrm->RejestrLokali())
        dolacz(sql::RejestrLokali);
    tekst.chop(int(qstrlen(sql::Polaczenie)));
    if (tekst.isEmpty())
        throw app::AppError(QStringLiteral("Nie określono wszystkich kryteriów - pusty SQL!"));

    app::KursorKlepsydry kursor;
    JrQry->setSql(tekst);
    JrQry->setParameter(QStringLiteral("OSOBA_ID"), IdOsoby, jet::FieldType::Float);
    JrQry->open();
    return true;
}

QString TTWjrOsobyFrm::WarunekFormWlad() const
{
    if (TWjrOsUstFrm->WszystkieFormy())
        return QString();
    return QString::fromLatin1(sql::FormyPrefix) + TWjrOsUstFrm->ZaznaczoneFormy() + QString::fromLatin1(sql::FormySuffix);
}

int TTWjrOsobyFrm::IdObrebu() const
{
    return TWjrOsUstFrm->IdObrebu();
}

void TTWjrOsobyFrm::PrzejdzDoJr()
{
    if (!JrQry->active() || JrQry->isEmpty() || !app::MainFrm)
        return;
    const double idJr = JrQry->asFloat(QStringLiteral("id_jr"));
    switch (JrQry->asInteger(QStringLiteral("TYP"))) {
    case TypGruntow: app::MainFrm->PokazRejestrGruntow(idJr); break;
    case TypLokali: app::MainFrm->PokazRejestrLokali(idJr); break;
    default: break;
    }
}

TTWjrOsobyFrm::WygladKomorki TTWjrOsobyFrm::JrGrdGetCellParams(const DataGrid::CellParams &cell) const
{
    WygladKomorki wyglad;
    const auto wartosc = [&](const char *pole) {
        return jet::Dataset::valueToFloat(JrQry->valueAt(cell.row, JrQry->fieldIndex(QString::fromLatin1(pole))));
    };
    try {
        switch (int(wartosc("TYP"))) {
        case TypGruntow: wyglad.tlo = widgets::colorFromWindows(11924165); break;
        case TypLokali: wyglad.tlo = widgets::colorFromWindows(9820151); break;
        default: break;
        }
        if (cell.selected) {
            wyglad.czcionka.bold = true;
            wyglad.czcionka.colour = QApplication::palette().color(QPalette::WindowText);
        }
        if (wartosc("zmiana_kas_id") != 0)
            wyglad.czcionka.colour = QColor(255, 0, 0);
    } catch (const std::exception &) {
        // a value that is no number keeps the default look
    }
    return wyglad;
}

void TTWjrOsobyFrm::UstawieniaSBClick()
{
    app::WykonajAkcje([this] {
        if (TWjrOsUstFrm->exec() == QDialog::Accepted)
            CzytajJr();
    });
}

bool TTWjrOsobyFrm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == JrGrd && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            app::WykonajAkcje([this] { PrzejdzDoJr(); });
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TTWjrOsobyFrm::showEvent(QShowEvent *event)
{
    if (!m_pokazane) {
        m_pokazane = true;
        if (!m_uklad.hasStoredPlacement() && parentWidget())
            app::umiescNarzedzie(*this, *parentWidget());
    }
    QWidget::showEvent(event);
}

} // namespace katarix::persons
