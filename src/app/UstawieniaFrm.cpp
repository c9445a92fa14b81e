#include "app/UstawieniaFrm.h"

#include "app/IniFile.h"
#include "app/Interaction.h"
#include "app/Ustawienia.h"
#include "widgets/ColorPanel.h"
#include "widgets/PathEdit.h"
#include "widgets/RadioGroup.h"

#include "ui_UstawieniaFrm.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

namespace katarix::app {

TUstawieniaFrm *UstawieniaFrm = nullptr;

TUstawieniaFrm::TUstawieniaFrm(Ustawienia &ustawienia, const QString &plikIni, const KatalogiProgramu &katalogi,
                               QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::TUstawieniaFrm>()), m_ustawienia(ustawienia), m_plikIni(plikIni),
      m_katalogi(katalogi)
{
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    ui->OkBtn->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
    ui->AnulujBtn->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
    ui->EdytorFE->setFocus();
    // Dialog border: the size the contents ask for, at least the designed client area.
    setFixedSize(sizeHint().expandedTo(QSize(497, 234)));

    WczytajUstawienia();
    polacz();
}

TUstawieniaFrm::~TUstawieniaFrm() = default;

// Pickers, colour panels and buttons; every edit goes into the settings at once.
void TUstawieniaFrm::polacz()
{
    ui->EdytorFE->setPicker([this](const QString &current) { return wybierzEdytor(current); });
    ui->SzablonyDE->setPicker([this](const QString &current) {
        return wybierzKatalog(QStringLiteral("Wskaż katalog z szablonami raportów"), current);
    });
    ui->OutputDE->setPicker([this](const QString &current) {
        return wybierzKatalog(QStringLiteral("Wskaż katalog wynikowy"), current);
    });
    connect(ui->EdytorFE, &widgets::PathEdit::textChanged, this, [this](const QString &text) { m_ustawienia.edytor = text; });
    connect(ui->SzablonyDE, &widgets::PathEdit::textChanged, this,
            [this](const QString &text) { m_ustawienia.katalogSzablonow = text; });
    connect(ui->OutputDE, &widgets::PathEdit::textChanged, this,
            [this](const QString &text) { m_ustawienia.katalogWynikowy = text; });
    connect(ui->ZakresDlkGB, &widgets::RadioGroup::itemIndexChanged, this,
            [this](int index) { m_ustawienia.zakresDlk = index; });
    for (widgets::ColorPanel *panel : {ui->WlaPnl, ui->UwPnl, ui->Uk2Pnl, ui->Uk3Pnl})
        connect(panel, &widgets::ColorPanel::clicked, this, [this, panel] { WlaPnlClick(panel); });
    connect(ui->OkBtn, &QPushButton::clicked, this, &TUstawieniaFrm::OkBtnClick);
    connect(ui->AnulujBtn, &QPushButton::clicked, this, &TUstawieniaFrm::AnulujBtnClick);
}

void TUstawieniaFrm::WczytajUstawienia()
{
    m_ustawienia = Ustawienia::wczytaj(m_plikIni, m_katalogi);
    pokazUstawienia();
}

void TUstawieniaFrm::pokazUstawienia()
{
    const Ustawienia u = m_ustawienia; // the controls' change handlers write into m_ustawienia
    ui->EdytorFE->setFileName(u.edytor);
    ui->SzablonyDE->setText(u.katalogSzablonow);
    ui->OutputDE->setText(u.katalogWynikowy);
    ui->WlaPnl->setColor(u.kolorWla);
    ui->UwPnl->setColor(u.kolorUw);
    ui->Uk2Pnl->setColor(u.kolorUk2);
    ui->Uk3Pnl->setColor(u.kolorUk3);
    ui->ZakresDlkGB->setItemIndex(u.zakresDlk);
}

void TUstawieniaFrm::ZapiszUstawienia()
{
    m_ustawienia.zapisz(m_plikIni);
}

void TUstawieniaFrm::OkBtnClick()
{
    try {
        ZapiszUstawienia();
    } catch (const IniError &error) {
        // The dialog stays open with the edits, so nothing is lost.
        interaction().messageBox(this, error.message(), QGuiApplication::applicationDisplayName(),
                                 mb::Ok | mb::IconError);
        return;
    }
    done(QDialog::Accepted);
}

void TUstawieniaFrm::AnulujBtnClick()
{
    WczytajUstawienia();
    done(QDialog::Rejected);
}

void TUstawieniaFrm::WlaPnlClick(widgets::ColorPanel *sender)
{
    const std::optional<QColor> chosen = interaction().color(this, sender->color());
    if (!chosen)
        return;
    sender->setColor(*chosen);
    QColor Ustawienia::*const kolor = sender == ui->WlaPnl  ? &Ustawienia::kolorWla
                                     : sender == ui->UwPnl  ? &Ustawienia::kolorUw
                                     : sender == ui->Uk2Pnl ? &Ustawienia::kolorUk2
                                                            : &Ustawienia::kolorUk3;
    m_ustawienia.*kolor = sender->color();
}

std::optional<QString> TUstawieniaFrm::wybierzEdytor(const QString &current)
{
    FileDialogRequest request;
    request.title = QStringLiteral("Wybierz edytor tekstu RTF");
    request.filter = QStringLiteral("Programy [*.exe]|*.exe|Wszystkie pliki [*.*]|*.*");
    request.filterIndex = 2; // programs here have no ".exe"
    const QFileInfo info(current);
    request.initialFolder = info.fileName().isEmpty() ? QString() : info.absolutePath();
    request.fileName = info.fileName();
    const QString chosen = interaction().openFileName(this, request);
    return chosen.isEmpty() ? std::nullopt : std::optional<QString>(chosen);
}

std::optional<QString> TUstawieniaFrm::wybierzKatalog(const QString &title, const QString &current)
{
    const QString chosen = interaction().folder(this, title, current);
    return chosen.isEmpty() ? std::nullopt : std::optional<QString>(chosen);
}

void TUstawieniaFrm::showEvent(QShowEvent *event)
{
    // Centred on the screen each time it is shown.
    if (QScreen *screen = this->screen())
        move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
    QDialog::showEvent(event);
}

void TUstawieniaFrm::keyPressEvent(QKeyEvent *event)
{
    // Esc works as the "Anuluj" button.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        AnulujBtnClick();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace katarix::app
