#include "persons/TWjrOsUstFrm.h"

#include "app/Interaction.h"
#include "app/Komunikaty.h"
#include "app/ListHelpers.h"
#include "app/Sesja.h"
#include "jet/Query.h"
#include "register/sql/JrOsobyQueries.h"
#include "widgets/SkalaProjektu.h"

#include "ui_TWjrOsUstFrm.h"

#include <QCheckBox>
#include <QCursor>
#include <QPushButton>
#include <QShowEvent>
#include <QStyle>
#include <QToolButton>

#include <algorithm>

namespace katarix::persons {

namespace sql = reg::sql::jrosoby;

void OstrzezBrakFormWladania()
{
    app::Komunikat(QStringLiteral("Zaznacz przynajmniej jedną formę władania."), QString(), app::mb::IconWarning, true);
}

TTWjrOsUstFrm::TTWjrOsUstFrm(QWidget *owner, jet::Query *tempQry)
    : QDialog(owner, Qt::Tool), ui(std::make_unique<Ui::TTWjrOsUstFrm>())
{
    ui->setupUi(this);
    setMinimumSize(widgets::projektowe(QSize(170, 200)));
    resize(std::max(widgets::projektowe(210), widgets::szerokoscTytulu(windowTitle())), widgets::projektowe(300));
    ui->DomyslneSB->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));

    connect(ui->DomyslneSB, &QToolButton::clicked, this, &TTWjrOsUstFrm::DomyslneSBClick);
    connect(ui->RgrunChb, &QCheckBox::clicked, this, &TTWjrOsUstFrm::RgrunChbClick);
    connect(ui->RlokChb, &QCheckBox::clicked, this, &TTWjrOsUstFrm::RgrunChbClick);
    connect(ui->OkBtn, &QPushButton::clicked, this, &TTWjrOsUstFrm::OkBtnClick);
    connect(ui->AnulujBtn, &QPushButton::clicked, this, &QDialog::reject);

    if (!tempQry && app::bazaProgramu(nullptr))
        tempQry = app::pozyczTempQry(nullptr, this);
    if (tempQry) {
        // The fillers report their own errors; an unopened list stays empty.
        try {
            tempQry->close();
            tempQry->setSql(QString::fromUtf8(sql::ObrebySql));
            tempQry->open();
            app::WypelnijComboBox(ui->ObrebCbx, *tempQry, QStringLiteral("nazwa"), true,
                                  QStringLiteral("* wszystkie obręby *"), QStringLiteral("mslink"));
            tempQry->close();
            tempQry->setSql(QString::fromUtf8(sql::FormyWladSql));
            tempQry->open();
            app::WypelnijCheckListBox(ui->FwladClb, *tempQry, QStringLiteral("opis"), true, QStringLiteral("mslink"));
        } catch (const std::exception &error) {
            app::PokazWyjatek(error);
        }
    }
}

TTWjrOsUstFrm::~TTWjrOsUstFrm() = default;

bool TTWjrOsUstFrm::Archiwum() const { return ui->ArchChb->isChecked(); }
bool TTWjrOsUstFrm::RejestrGruntow() const { return ui->RgrunChb->isChecked(); }
bool TTWjrOsUstFrm::RejestrLokali() const { return ui->RlokChb->isChecked(); }

int TTWjrOsUstFrm::IdObrebu() const
{
    if (ui->ObrebCbx->currentIndex() <= 0)
        return -1;
    return app::IdZComboBox(ui->ObrebCbx);
}

QString TTWjrOsUstFrm::ZaznaczoneFormy() const
{
    return app::ListaIdZaznaczonych(ui->FwladClb, true);
}

bool TTWjrOsUstFrm::WszystkieFormy() const
{
    return app::ListaIdZaznaczonych(ui->FwladClb, false).isEmpty();
}

bool TTWjrOsUstFrm::JestFormaWladania() const
{
    return ui->FwladClb->count() == 0 || !ZaznaczoneFormy().isEmpty();
}

void TTWjrOsUstFrm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

// Remembers what the window opens with and places it below the mouse pointer, inside the screen.
void TTWjrOsUstFrm::FormShow()
{
    ZapamietaneFormy.clear();
    for (int i = 0; i < ui->FwladClb->count(); ++i)
        ZapamietaneFormy += ui->FwladClb->item(i)->checkState() == Qt::Checked ? QLatin1Char('1') : QLatin1Char('0');
    ZapamietanyObreb = ui->ObrebCbx->currentIndex();
    ZapamietaneArchiwum = ui->ArchChb->isChecked();

    const QSize ekran = app::interaction().screenSize();
    const QSize rozmiar = frameGeometry().size();
    QPoint pozycja = QCursor::pos() + QPoint(0, 15);
    if (pozycja.x() + rozmiar.width() > ekran.width())
        pozycja.setX(ekran.width() - rozmiar.width());
    if (pozycja.y() + rozmiar.height() > ekran.height())
        pozycja.setY(ekran.height() - rozmiar.height());
    move(pozycja);
}

void TTWjrOsUstFrm::done(int wynik)
{
    FormClose(wynik);
    QDialog::done(wynik);
}

void TTWjrOsUstFrm::FormClose(int wynik)
{
    if (wynik == QDialog::Accepted)
        return;
    for (int i = 0; i < ui->FwladClb->count(); ++i)
        ui->FwladClb->item(i)->setCheckState(ZapamietaneFormy.mid(i, 1) == QLatin1String("0") ? Qt::Unchecked : Qt::Checked);
    ui->ObrebCbx->setCurrentIndex(ZapamietanyObreb);
    ui->ArchChb->setChecked(ZapamietaneArchiwum);
}

void TTWjrOsUstFrm::DomyslneSBClick()
{
    if (ui->ObrebCbx->count() > 0)
        ui->ObrebCbx->setCurrentIndex(0);
    ui->ArchChb->setChecked(false);
    ui->RgrunChb->setChecked(true);
    ui->RlokChb->setChecked(true);
    app::ZaznaczCheckListBox(ui->FwladClb, widgets::Zaznaczenie::Wszystko);
}

void TTWjrOsUstFrm::RgrunChbClick()
{
    if (!ui->RgrunChb->isChecked() && !ui->RlokChb->isChecked())
        ui->RgrunChb->setChecked(true);
}

// OK with no form of holding ticked would search nothing: warn and stay open.
void TTWjrOsUstFrm::OkBtnClick()
{
    if (!JestFormaWladania()) {
        OstrzezBrakFormWladania();
        return;
    }
    accept();
}

} // namespace katarix::persons
