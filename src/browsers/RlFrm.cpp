#include "browsers/RlFrm.h"

#include "jet/Query.h"
#include "register/sql/RlQueries.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace katarix::browsers {

using widgets::DataGrid;
namespace sql = reg::sql::rl;

namespace {

OpisRejestru opisRejestruLokali()
{
    return {QStringLiteral("RlFrm"),
            QStringLiteral("Rejestr lokali"),
            QStringLiteral(":/icons/lokale.svg"),
            QStringLiteral("KATARIX.REJESTR_LOKALI"),
            QStringLiteral("RejLok."),
            sql::JrQry,
            sql::OsobyQry,
            sql::ObrebJrSql,
            QStringLiteral("Błąd przy tworzeniu okna rejestru lokali"),
            QStringLiteral("Błąd przy szukaniu JR rejestru lokali"),
            QSize(616, 354),
            false};
}

// The columns of the premises grid.
QList<DataGrid::Column> kolumnyLokali()
{
    return {
        {QStringLiteral("Kom"), QStringLiteral(" "), 10, Qt::AlignHCenter, true},
        {QStringLiteral("nrimported"), QStringLiteral("Numer"), 40, Qt::AlignHCenter},
        {QStringLiteral("FUN"), QStringLiteral("Funkcja"), 73, Qt::AlignLeft},
        {QStringLiteral("BUD"), QStringLiteral("Budynek"), 60, Qt::AlignHCenter},
        {QStringLiteral("pow_zab"), QStringLiteral("Pow [m.kw.]"), 66, Qt::AlignRight},
        {QStringLiteral("liczba_izb"), QStringLiteral("Liczba izb"), 50, Qt::AlignHCenter},
        {QStringLiteral("Adres"), QString(), 140, Qt::AlignLeft},
        {QStringLiteral("KW"), QString(), 70, Qt::AlignLeft},
        {QStringLiteral("SAD"), QStringLiteral("KW - Sąd"), 100, Qt::AlignLeft},
        {QStringLiteral("wartosc"), QStringLiteral("Wartość"), 50, Qt::AlignLeft},
        {QStringLiteral("data_wartosc"), QStringLiteral("Data wpis.wart."), 80, Qt::AlignLeft},
        {QStringLiteral("UWAGI"), QStringLiteral("Uwagi"), 300, Qt::AlignLeft},
    };
}

} // namespace

TRlFrm::TRlFrm(QWidget *parent, jet::Database *database) : TRejestrFrm(opisRejestruLokali(), parent, database)
{
    LokQry = utworzZapytanie("LokQry", sql::LokQry);
    LokQry->setParameter(QStringLiteral("IdJr"), -1.0, jet::FieldType::Float);
    connect(LokQry, &jet::Dataset::afterOpen, this, &TRlFrm::LokQryAfterOpen);
    connect(LokQry, &jet::Dataset::afterScroll, this, &TRlFrm::LokQryAfterScroll);

    // Lower part: the premises count and the object marker in a strip above the premises.
    auto *panel5Layout = new QVBoxLayout(Panel5);
    panel5Layout->setContentsMargins(0, 0, 0, 0);
    panel5Layout->setSpacing(1);
    auto *pasek = new QHBoxLayout;
    pasek->setContentsMargins(0, 1, 2, 0);
    pasek->setSpacing(1);
    IleLokPnl = panelTekstowy(QStringLiteral("IleLokPnl"), QStringLiteral("Ilość lokali:"), Panel5);
    IleLokPnl->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    IleLokPnl->setMinimumWidth(150);
    pasek->addWidget(IleLokPnl);
    pasek->addStretch(1);
    pasek->addWidget(KomentDlkBudPnl);
    panel5Layout->addLayout(pasek);
    LokGrd = new DataGrid(Panel5);
    LokGrd->setObjectName(QStringLiteral("LokGrd"));
    LokGrd->setMultiSelect(true);
    LokGrd->setColumns(kolumnyLokali());
    LokGrd->setDataset(LokQry);
    LokGrd->GetCellParams = [this](const DataGrid::CellParams &cell) { return LokGrdGetCellParams(cell); };
    panel5Layout->addWidget(LokGrd, 1);
    dodajSiatke(LokGrd, LokQry, QStringLiteral("Zmiany - lokal"), QStringLiteral("Komentarz - lokal"));

    ZmianyZrodlo = LokQry;
    KomentZrodlo = LokQry;
    zakonczTworzenie();
}

TRlFrm::~TRlFrm() = default;

void TRlFrm::otworzPrzedmioty(const QVariant &klucz)
{
    LokQry->close();
    LokQry->setParameter(QStringLiteral("IdJr"), klucz, jet::FieldType::Float);
    LokQry->open();
}

void TRlFrm::LokQryAfterOpen()
{
    IleLokPnl->setText(QStringLiteral(" Ilość lokali: ") + QString::number(LokQry->recordCount()));
}

void TRlFrm::LokQryAfterScroll()
{
    if (LokQry->controlsDisabled())
        return;
    odswiezPoPrzewinieciu(LokQry);
}

std::optional<QColor> TRlFrm::LokGrdGetCellParams(const DataGrid::CellParams &cell) const
{
    return kolorKomentarzaLubZaznaczenia(cell);
}

} // namespace katarix::browsers
