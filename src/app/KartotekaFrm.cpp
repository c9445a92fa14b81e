#include "app/KartotekaFrm.h"

#include "app/Akcja.h"
#include "app/KursorKlepsydry.h"
#include "app/Podpowiedzi.h"
#include "app/Sesja.h"
#include "widgets/SkalaProjektu.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QStatusBar>
#include <QToolBar>

namespace katarix::app {

TKartotekaFrm::TKartotekaFrm(QWidget *parent, const QString &nazwa, const QString &tytul, const QString &ikona,
                             const QString &sekcja)
    : QMainWindow(parent), m_uklad(this, sekcja, LayoutStore::Placement::PosSize)
{
    setObjectName(nazwa);
    setWindowTitle(tytul);
    setWindowIcon(QIcon(ikona));

    Lv = new widgets::ListaRobocza(this);
    setCentralWidget(Lv);
    for (const auto zaznaczenie :
         {widgets::Zaznaczenie::Wszystko, widgets::Zaznaczenie::Nic, widgets::Zaznaczenie::Odwrotnie}) {
        QAction *pozycja = Lv->pozycjaMenu(zaznaczenie);
        const int tag = pozycja->data().toInt();
        connect(pozycja, &QAction::triggered, this, [this, tag] { WykonajAkcje([this, tag] { ZaznaczWszystkoMiClick(tag); }); });
    }
    connect(Lv->header(), &QHeaderView::sectionClicked, this,
            [this](int kolumna) { WykonajAkcje([this, kolumna] { LvColumnClick(kolumna); }); });
    const auto zaznaczenie = [this] { WykonajAkcje([this] { LvSelectItem(); }); };
    connect(Lv, &QTreeWidget::itemSelectionChanged, this, zaznaczenie);
    connect(Lv->model(), &QAbstractItemModel::rowsInserted, this, zaznaczenie);
    connect(Lv->model(), &QAbstractItemModel::rowsRemoved, this, zaznaczenie);
    Lv->installEventFilter(this);
    Lv->viewport()->installEventFilter(this);
}

TKartotekaFrm::~TKartotekaFrm() = default;

// ---- construction ----

QToolBar *TKartotekaFrm::utworzPasek(const char *nazwa, const QString &tytul, int rozmiarIkon)
{
    auto *pasek = new QToolBar(tytul, this);
    pasek->setObjectName(QString::fromLatin1(nazwa));
    pasek->setFloatable(false);
    pasek->setIconSize(QSize(rozmiarIkon, rozmiarIkon));
    addToolBar(Qt::TopToolBarArea, pasek);
    return pasek;
}

QAction *TKartotekaFrm::przycisk(QToolBar *pasek, const char *nazwa, const QIcon &ikona, const QString &podpowiedz,
                                 std::function<void()> obsluga)
{
    auto *akcja = new QAction(ikona, KrotkaPodpowiedz(podpowiedz), this);
    akcja->setObjectName(QString::fromLatin1(nazwa));
    akcja->setToolTip(KrotkaPodpowiedz(podpowiedz));
    akcja->setStatusTip(DlugaPodpowiedz(podpowiedz));
    pasek->addAction(akcja);
    connect(akcja, &QAction::triggered, this, [obsluga = std::move(obsluga)] { WykonajAkcje(obsluga); });
    return akcja;
}

void TKartotekaFrm::utworzPanele(int szerokosc0, int szerokosc1)
{
    auto *pasek = new QStatusBar(this);
    pasek->setObjectName(QStringLiteral("StatusBar"));
    StatusPanel0 = new QLabel(pasek);
    StatusPanel0->setObjectName(QStringLiteral("StatusPanel0"));
    StatusPanel0->setFixedWidth(widgets::projektowe(szerokosc0));
    StatusPanel1 = new QLabel(pasek);
    StatusPanel1->setObjectName(QStringLiteral("StatusPanel1"));
    StatusPanel1->setMinimumWidth(widgets::projektowe(szerokosc1));
    for (QLabel *panel : {StatusPanel0, StatusPanel1}) {
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        pasek->addWidget(panel);
    }
    setStatusBar(pasek);
    PokazIlosc(QStringLiteral("0/0"));
}

void TKartotekaFrm::wczytajUklad()
{
    m_uklad.setIniFileName(plikIni());
    m_uklad.restore();
}

// ---- counts and selection ----

void TKartotekaFrm::PokazIlosc(const QString &tekst)
{
    StatusPanel0->setText(QStringLiteral("Ilość: ") + tekst);
}

void TKartotekaFrm::pokazLiczby()
{
    PokazIlosc(QString::number(Lv->iloscZaznaczonych()) + QLatin1Char('/') + QString::number(Lv->iloscWierszy()));
}

void TKartotekaFrm::LvSelectItem()
{
    if (Lv->wTrakcieZmiany() || QCoreApplication::closingDown())
        return;
    pokazLiczby();
    poZmianieZaznaczenia();
}

void TKartotekaFrm::ZaznaczWszystkoMiClick(int tag)
{
    if (const auto zaznaczenie = widgets::ListaRobocza::zaznaczenieZeZnacznika(tag))
        Lv->zaznacz(*zaznaczenie);
    LvSelectItem();
    poZaznaczeniuZMenu();
}

void TKartotekaFrm::LvColumnClick(int kolumna)
{
    Lv->sortujWedlug(kolumna);
}

void TKartotekaFrm::usunWiersze(bool wszystkie)
{
    {
        const KursorKlepsydry kursor;
        if (wszystkie) {
            const widgets::ListaRobocza::Zmiana zmiana(*Lv);
            Lv->clear();
        } else {
            Lv->usunZaznaczone();
        }
    }
    LvSelectItem();
}

bool TKartotekaFrm::FormKeyDown(int, Qt::KeyboardModifiers) { return false; }
void TKartotekaFrm::LvKeyUp(int) {}
void TKartotekaFrm::LvMouseUp() {}
void TKartotekaFrm::LvMouseMove(const QPoint &) {}
void TKartotekaFrm::poZmianieZaznaczenia() {}
void TKartotekaFrm::poZaznaczeniuZMenu() {}
void TKartotekaFrm::FormClose() {}

// ---- events ----

bool TKartotekaFrm::event(QEvent *event)
{
    // System menu and minimise box only, set while the new MDI frame is still hidden.
    if (event->type() == QEvent::ParentChange)
        if (auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget()); sub && !sub->isVisible())
            sub->setWindowFlags(Qt::SubWindow | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                                | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    return QMainWindow::event(event);
}

void TKartotekaFrm::closeEvent(QCloseEvent *event)
{
    QMainWindow::closeEvent(event);
    if (event->isAccepted())
        FormClose();
}

bool TKartotekaFrm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Lv) {
        if (event->type() == QEvent::KeyPress) {
            // The window sees the keys before the list.
            const auto *key = static_cast<QKeyEvent *>(event);
            bool obsluzony = false;
            WykonajAkcje([&] { obsluzony = FormKeyDown(key->key(), key->modifiers()); });
            if (obsluzony)
                return true;
        } else if (event->type() == QEvent::KeyRelease) {
            const int key = static_cast<QKeyEvent *>(event)->key();
            WykonajAkcje([this, key] { LvKeyUp(key); });
        }
    } else if (watched == Lv->viewport()) {
        switch (event->type()) {
        case QEvent::MouseButtonRelease:
            // After the view has handled the release, so that the selection is final.
            QMetaObject::invokeMethod(this, [this] { WykonajAkcje([this] { LvMouseUp(); }); }, Qt::QueuedConnection);
            break;
        case QEvent::MouseMove: {
            const QPoint pos = static_cast<QMouseEvent *>(event)->position().toPoint();
            WykonajAkcje([this, pos] { LvMouseMove(pos); });
            break;
        }
        case QEvent::Leave: WykonajAkcje([this] { LvMouseMove(QPoint(-1, -1)); }); break;
        default: break;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace katarix::app
