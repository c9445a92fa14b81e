#include "persons/TWjrOsUstFrm.h"

#include "app/Interaction.h"
#include "app/Komunikaty.h"
#include "app/ListHelpers.h"
#include "app/Sesja.h"
#include "jet/Query.h"
#include "register/sql/JrOsobyQueries.h"
#include "widgets/SkalaProjektu.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace katarix::persons {

namespace sql = reg::sql::jrosoby;

void OstrzezBrakFormWladania()
{
    app::Komunikat(QStringLiteral("Zaznacz przynajmniej jedną formę władania."), QString(), app::mb::IconWarning, true);
}

TTWjrOsUstFrm::TTWjrOsUstFrm(QWidget *owner, jet::Query *tempQry)
    : QDialog(owner, Qt::Tool)
{
    setObjectName(QStringLiteral("TWjrOsUstFrm"));
    setWindowTitle(QStringLiteral("Ustawienia wyszukiwania"));
    setModal(true);
    setMinimumSize(widgets::projektowe(QSize(170, 200)));
    resize(std::max(widgets::projektowe(210), widgets::szerokoscTytulu(windowTitle())), widgets::projektowe(300));

    ObrebCbx = new QComboBox(this);
    ObrebCbx->setObjectName(QStringLiteral("ObrebCbx"));
    ObrebCbx->setMaxVisibleItems(15);
    FwladClb = new QListWidget(this);
    FwladClb->setObjectName(QStringLiteral("FwladClb"));
    FwladClb->setToolTip(QStringLiteral("Wyszukiwane formy władania"));
    const auto pole = [this](const char *name, const QString &caption, bool checked) {
        auto *box = new QCheckBox(caption, this);
        box->setObjectName(QString::fromLatin1(name));
        box->setChecked(checked);
        return box;
    };
    RgrunChb = pole("RgrunChb", QStringLiteral("Rejestr gruntów"), true);
    RlokChb = pole("RlokChb", QStringLiteral("Rejestr lokali"), true);
    ArchChb = pole("ArchChb", QStringLiteral("Szukaj także w archiwum"), false);
    DomyslneSB = new QToolButton(this);
    DomyslneSB->setObjectName(QStringLiteral("DomyslneSB"));
    DomyslneSB->setToolTip(QStringLiteral("Przywróć ustawienia domyślne"));
    DomyslneSB->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
    DomyslneSB->setAutoRaise(true);
    OkBtn = new QPushButton(QStringLiteral("Ok"), this);
    OkBtn->setObjectName(QStringLiteral("OkBtn"));
    OkBtn->setDefault(true);
    AnulujBtn = new QPushButton(QStringLiteral("Anuluj"), this);
    AnulujBtn->setObjectName(QStringLiteral("AnulujBtn"));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(4);
    layout->addWidget(ObrebCbx);
    layout->addWidget(FwladClb, 1);
    layout->addWidget(RgrunChb);
    layout->addWidget(RlokChb);
    layout->addWidget(ArchChb);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(DomyslneSB);
    buttons->addStretch();
    buttons->addWidget(OkBtn);
    buttons->addWidget(AnulujBtn);
    layout->addLayout(buttons);

    connect(DomyslneSB, &QToolButton::clicked, this, &TTWjrOsUstFrm::DomyslneSBClick);
    connect(RgrunChb, &QCheckBox::clicked, this, &TTWjrOsUstFrm::RgrunChbClick);
    connect(RlokChb, &QCheckBox::clicked, this, &TTWjrOsUstFrm::RgrunChbClick);
    connect(OkBtn, &QPushButton::clicked, this, &TTWjrOsUstFrm::OkBtnClick);
    connect(AnulujBtn, &QPushButton::clicked, this, &QDialog::reject);

    if (!tempQry && app::bazaProgramu(nullptr))
        tempQry = app::pozyczTempQry(nullptr, this);
    if (tempQry) {
        // The fillers report their own errors; an unopened list stays empty.
        try {
            tempQry->close();
            tempQry->setSql(QString::fromUtf8(sql::ObrebySql));
            tempQry->open();
            app::WypelnijComboBox(ObrebCbx, *tempQry, QStringLiteral("nazwa"), true,
                                  QStringLiteral("* wszystkie obręby *"), QStringLiteral("mslink"));
            tempQry->close();
            tempQry->setSql(QString::fromUtf8(sql::FormyWladSql));
            tempQry->open();
            app::WypelnijCheckListBox(FwladClb, *tempQry, QStringLiteral("opis"), true, QStringLiteral("mslink"));
        } catch (const std::exception &error) {
            app::PokazWyjatek(error);
        }
    }
}

int TTWjrOsUstFrm::IdObrebu() const
{
    if (ObrebCbx->currentIndex() <= 0)
        return -1;
    return app::IdZComboBox(ObrebCbx);
}

QString TTWjrOsUstFrm::ZaznaczoneFormy() const
{
    return app::ListaIdZaznaczonych(FwladClb, true);
}

bool TTWjrOsUstFrm::WszystkieFormy() const
{
    return app::ListaIdZaznaczonych(FwladClb, false).isEmpty();
}

bool TTWjrOsUstFrm::JestFormaWladania() const
{
    return FwladClb->count() == 0 || !ZaznaczoneFormy().isEmpty();
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
    for (int i = 0; i < FwladClb->count(); ++i)
        ZapamietaneFormy += FwladClb->item(i)->checkState() == Qt::Checked ? QLatin1Char('1') : QLatin1Char('0');
    ZapamietanyObreb = ObrebCbx->currentIndex();
    ZapamietaneArchiwum = ArchChb->isChecked();

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
    for (int i = 0; i < FwladClb->count(); ++i)
        FwladClb->item(i)->setCheckState(ZapamietaneFormy.mid(i, 1) == QLatin1String("0") ? Qt::Unchecked : Qt::Checked);
    ObrebCbx->setCurrentIndex(ZapamietanyObreb);
    ArchChb->setChecked(ZapamietaneArchiwum);
}

void TTWjrOsUstFrm::DomyslneSBClick()
{
    if (ObrebCbx->count() > 0)
        ObrebCbx->setCurrentIndex(0);
    ArchChb->setChecked(false);
    RgrunChb->setChecked(true);
    RlokChb->setChecked(true);
    app::ZaznaczCheckListBox(FwladClb, 1);
}

void TTWjrOsUstFrm::RgrunChbClick()
{
    if (!RgrunChb->isChecked() && !RlokChb->isChecked())
        RgrunChb->setChecked(true);
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
