#include "browsers/ToolWindows.h"

#include "app/Akcja.h"
#include "app/MainFrm.h"
#include "app/Sesja.h"
#include "app/MiejsceNarzedzia.h"
#include "jet/Query.h"
#include "register/sql/TwQueries.h"
#include "widgets/DataGrid.h"
#include "widgets/SkalaProjektu.h"

#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QIcon>
#include <QPainter>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace katarix::browsers {

using widgets::DataGrid;

QIcon ikonaZnaku(const QString &glyph, const QColor &color)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(color.darker(140), 1));
    painter.setBrush(color);
    painter.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 3, 3);
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(glyph.size() > 1 ? 8 : 12);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, glyph);
    painter.end();
    return QIcon(pixmap);
}

namespace {

QFont czcionkaPaska()
{
    QFont font = QWidget().font();
    font.setPointSizeF(7);
    return font;
}

} // namespace

TToolWindow::TToolWindow(QWidget *owner, const QString &baseSection, const QString &ownerName)
    : QWidget(owner, Qt::Tool), m_section(baseSection + QLatin1Char('/') + ownerName),
      Uklad(this, m_section, app::LayoutStore::Placement::PosSize)
{
    setAttribute(Qt::WA_DeleteOnClose, false);
}

TToolWindow::TToolWindow(QWidget *owner) : QWidget(owner, Qt::Tool)
{
    setAttribute(Qt::WA_DeleteOnClose, false);
}

bool TToolWindow::pozycjaZapisana() const
{
    return Uklad.hasStoredPlacement();
}

void TToolWindow::initStorage()
{
    Uklad.setIniFileName(app::plikIni());
    Uklad.restore();
}

void TToolWindow::showEvent(QShowEvent *event)
{
    if (!m_pokazane) {
        m_pokazane = true;
        if (!pozycjaZapisana() && parentWidget())
            app::umiescNarzedzie(*this, *parentWidget());
    }
    QWidget::showEvent(event);
}

void TToolWindow::closeEvent(QCloseEvent *event)
{
    QWidget::closeEvent(event);
    if (!event->isAccepted())
        return;
    hide();
    if (OnClose)
        OnClose();
}

// ---- buildings ----

TTWbudFrm::TTWbudFrm(QWidget *owner, const QString &ownerName, jet::Database *database)
    : TToolWindow(owner, QStringLiteral("Katarix.TWbudFrm"), ownerName)
{
    setObjectName(QStringLiteral("TWbudFrm"));
    setWindowTitle(QStringLiteral("Budynki na działce"));
    resize(widgets::projektowe(QSize(518, 126)));

    BudQry = new jet::Query(this);
    BudQry->setObjectName(QStringLiteral("BudQry"));
    BudQry->setDatabase(app::bazaProgramu(database));
    BudQry->setSql(QString::fromUtf8(reg::sql::twbud::BudQry));
    connect(BudQry, &jet::Dataset::afterOpen, this, &TTWbudFrm::BudQryAfterOpen);

    utworzPrzejscie();
    utworzSiatke();
    rozmiescPanele();

    Uklad.addGridColumns(BudGrd, QStringLiteral("Katarix.TWbudFrm.BudGrd"));
    initStorage();
}

// The button left of the grid that takes the register to the selected building's unit.
void TTWbudFrm::utworzPrzejscie()
{
    BtnPnl = new QFrame(this);
    BtnPnl->setObjectName(QStringLiteral("BtnPnl"));
    BtnPnl->setFixedWidth(22);
    PrzejscieBtn = new QToolButton(BtnPnl);
    PrzejscieBtn->setObjectName(QStringLiteral("PrzejscieBtn"));
    PrzejscieBtn->setAutoRaise(true);
    PrzejscieBtn->setToolTip(QStringLiteral("Pokaż w rejestrze"));
    PrzejscieBtn->setIcon(ikonaZnaku(QStringLiteral("G"), QColor(0, 128, 0)));
    PrzejscieBtn->setFixedSize(20, 20);
    auto *btnLayout = new QVBoxLayout(BtnPnl);
    btnLayout->setContentsMargins(1, 1, 1, 1);
    btnLayout->addWidget(PrzejscieBtn);
    btnLayout->addStretch();
    connect(PrzejscieBtn, &QToolButton::clicked, this, [this] { app::WykonajAkcje([this] { PrzejscieBtnClick(); }); });
}

void TTWbudFrm::utworzSiatke()
{
    BudGrd = new DataGrid(this);
    BudGrd->setObjectName(QStringLiteral("BudGrd"));
    BudGrd->setColumns({
        {QStringLiteral("nieruch_id"), QStringLiteral("Identyfikator"), 70, Qt::AlignHCenter},
        {QStringLiteral("JR"), QString(), 50, Qt::AlignHCenter},
        {QStringLiteral("FUNKCJA"), QStringLiteral("Funkcja"), 90, Qt::AlignLeft},
        {QStringLiteral("Adres"), QString(), 130, Qt::AlignLeft},
        {QStringLiteral("KW"), QString(), 75, Qt::AlignLeft},
        {QStringLiteral("aw"), QStringLiteral("Inne dokumenty"), 85, Qt::AlignLeft},
        {QStringLiteral("NUM_KOND"), QStringLiteral("Kondygn."), 48, Qt::AlignHCenter},
        {QStringLiteral("POW_ZAB"), QStringLiteral("Pow.zab.[m2]"), 70, Qt::AlignRight},
    });
    BudGrd->setDataset(BudQry);
}

// The button panel beside the grid, the status bar below both.
void TTWbudFrm::rozmiescPanele()
{
    StatBar = new QStatusBar(this);
    StatBar->setObjectName(QStringLiteral("StatBar"));
    StatBar->setFont(czcionkaPaska());
    StatBar->setSizeGripEnabled(false);

    auto *body = new QHBoxLayout;
    body->setContentsMargins(0, 0, 0, 0);
    body->setSpacing(0);
    body->addWidget(BtnPnl);
    body->addWidget(BudGrd);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(body);
    layout->addWidget(StatBar);
}

void TTWbudFrm::PokazBudynki(bool widoczne, double dzialkaId)
{
    BudQry->close();
    if (!widoczne)
        return;
    if (!isVisible())
        show();
    BudQry->setParameter(QStringLiteral("DZIALKAID"), dzialkaId, jet::FieldType::Float);
    BudQry->open();
}

void TTWbudFrm::BudQryAfterOpen()
{
    StatBar->showMessage(QStringLiteral("Ilość: ") + QString::number(BudQry->recordCount()));
}

void TTWbudFrm::PrzejscieBtnClick()
{
    if (!BudQry->active() || BudQry->isEmpty())
        return;
    const double idJr = BudQry->asFloat(QStringLiteral("id_jr"));
    if (idJr == 0)
        return;
    if (BudQry->asFloat(QStringLiteral("is_budynkowa")) != 0)
        return;
    if (app::MainFrm)
        app::MainFrm->PokazRejestrGruntow(idJr);
}

// ---- premises ----

TTWlokFrm::TTWlokFrm(QWidget *owner, const QString &ownerName, jet::Database *database)
    : TToolWindow(owner, QStringLiteral("Katarix.TWlokFrm"), ownerName)
{
    setObjectName(QStringLiteral("TWlokFrm"));
    setWindowTitle(QStringLiteral("Lokale w budynku"));
    resize(widgets::projektowe(QSize(523, 140)));

    LokQry = new jet::Query(this);
    LokQry->setObjectName(QStringLiteral("LokQry"));
    LokQry->setDatabase(app::bazaProgramu(database));
    LokQry->setSql(QString::fromUtf8(reg::sql::twlok::LokQry));
    connect(LokQry, &jet::Dataset::afterOpen, this, &TTWlokFrm::LokQryAfterScroll);
    connect(LokQry, &jet::Dataset::afterScroll, this, &TTWlokFrm::LokQryAfterScroll);

    LokalGrd = new DataGrid(this);
    LokalGrd->setObjectName(QStringLiteral("LokalGrd"));
    LokalGrd->setColumns({
        {QStringLiteral("NUM_LOK"), QStringLiteral("Numer"), 40, Qt::AlignHCenter},
        {QStringLiteral("JR"), QString(), 40, Qt::AlignHCenter},
        {QStringLiteral("FUNKCJA"), QStringLiteral("Funkcja"), 76, Qt::AlignLeft},
        {QStringLiteral("Adres"), QString(), 179, Qt::AlignLeft},
        {QStringLiteral("KW"), QString(), 60, Qt::AlignLeft},
        {QStringLiteral("SAD"), QStringLiteral("Sąd"), 140, Qt::AlignLeft},
        {QStringLiteral("POW_ZAB"), QStringLiteral("Pow.uż.[m2]"), 66, Qt::AlignRight},
        {QStringLiteral("liczba_izb"), QStringLiteral("Ilość izb"), 42, Qt::AlignHCenter},
    });
    LokalGrd->setDataset(LokQry);

    StatBar = new QStatusBar(this);
    StatBar->setObjectName(QStringLiteral("StatBar"));
    StatBar->setFont(czcionkaPaska());
    StatBar->setSizeGripEnabled(false);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(LokalGrd);
    layout->addWidget(StatBar);

    Uklad.addGridColumns(LokalGrd, QStringLiteral("Katarix.TWlokFrm.LokalGrd"));
    initStorage();
}

void TTWlokFrm::PokazLokale(bool widoczne, double budynekId)
{
    LokQry->close();
    if (!widoczne)
        return;
    if (!isVisible())
        show();
    LokQry->setParameter(QStringLiteral("BUDYNEK_ID"), budynekId, jet::FieldType::Float);
    LokQry->open();
}

void TTWlokFrm::LokQryAfterScroll()
{
    StatBar->showMessage(QStringLiteral("Ilość: ") + QString::number(LokQry->recordCount()));
}

// ---- comment ----

TTWkomentFrm::TTWkomentFrm(QWidget *owner, const QString &ownerName)
    : TToolWindow(owner, QStringLiteral("KATARIX.KomentFrm"), ownerName)
{
    setObjectName(QStringLiteral("KomentFrm"));
    setWindowTitle(QStringLiteral("Komentarz"));
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setMinimumSize(widgets::projektowe(QSize(150, 72)));
    resize(widgets::projektowe(QSize(286, 72)));
    Memo = new QPlainTextEdit(this);
    Memo->setObjectName(QStringLiteral("Memo"));
    Memo->setReadOnly(true);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Memo);
    initStorage();
}

void TTWkomentFrm::PokazKoment(bool widoczne, const QString &tekst)
{
    Memo->clear();
    if (widoczne) {
        QString text = tekst;
        text.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
        Memo->setPlainText(text);
    }
}

} // namespace katarix::browsers
