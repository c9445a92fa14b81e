#include "app/UstawieniaFrm.h"

#include "app/IniFile.h"
#include "app/Interaction.h"
#include "widgets/ColorPanel.h"
#include "widgets/PathEdit.h"
#include "widgets/RadioGroup.h"

#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

namespace katarix::app {

TUstawieniaFrm *UstawieniaFrm = nullptr;

namespace {

const QString kWydruk = QStringLiteral("wydruk");
const QString kRgrun = QStringLiteral("Rgrun");
const QString kRaportJR = QStringLiteral("RaportJR");

} // namespace

QString TUstawieniaFrm::domyslnyEdytor()
{
#ifdef Q_OS_WIN
    return QStringLiteral("C:\\Program Files\\Microsoft Office\\Office\\Winword.exe");
#else
    // LibreOffice Writer's launcher as Debian and most distributions install it.
    return QStringLiteral("/usr/bin/lowriter");
#endif
}

TUstawieniaFrm::TUstawieniaFrm(const QString &plikIni, const KatalogiProgramu &katalogi, QWidget *parent)
    : QDialog(parent), m_plikIni(plikIni), m_katalogi(katalogi)
{
    setObjectName(QStringLiteral("UstawieniaFrm"));
    setWindowTitle(QStringLiteral("Ustawienia"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);

    MainPnl = new QFrame(this);
    Label2 = new QLabel(QStringLiteral("Ścieżka do edytora tekstu RTF (np. Microsoft Word):"), MainPnl);
    Label3 = new QLabel(QStringLiteral("Ścieżka do katalogu z szablonami raportów:"), MainPnl);
    Label4 = new QLabel(QStringLiteral("Zapisuj raporty do katalogu:"), MainPnl);
    OutputDE = new widgets::DirectoryEdit(MainPnl);
    KolorGbx = new QGroupBox(QStringLiteral("Kolory dla władających:"), MainPnl);
    WlaPnl = new widgets::ColorPanel(QStringLiteral("Formy podmiotowe:"), KolorGbx);
    UwPnl = new widgets::ColorPanel(QStringLiteral("Użytkownicy wieczyści:"), KolorGbx);
    Uk2Pnl = new widgets::ColorPanel(QStringLiteral("Podmioty zależne:"), KolorGbx);
    Uk3Pnl = new widgets::ColorPanel(QStringLiteral("Użytkownicy zależni:"), KolorGbx);
    EdytorFE = new widgets::FileNameEdit(MainPnl);
    SzablonyDE = new widgets::DirectoryEdit(MainPnl);
    ZakresDlkGB = new widgets::RadioGroup(QStringLiteral("Raport dla jednostki:"), MainPnl);
    ZakresDlkGB->setItems({QStringLiteral("Umieść na wydruku tylko zaznaczone działki"),
                           QStringLiteral("Umieść na wydruku wszystkie działki")});
    BottomPnl = new QFrame(this);
    OkBtn = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("OK"), BottomPnl);
    AnulujBtn = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton), QStringLiteral("Anuluj"), BottomPnl);

    const std::pair<QObject *, const char *> names[] = {
        {MainPnl, "MainPnl"}, {Label2, "Label2"},     {Label3, "Label3"},         {Label4, "Label4"},
        {OutputDE, "OutputDE"}, {KolorGbx, "KolorGbx"}, {WlaPnl, "WlaPnl"},       {UwPnl, "UwPnl"},
        {Uk2Pnl, "Uk2Pnl"},   {Uk3Pnl, "Uk3Pnl"},     {EdytorFE, "EdytorFE"},     {SzablonyDE, "SzablonyDE"},
        {ZakresDlkGB, "ZakresDlkGB"}, {BottomPnl, "BottomPnl"}, {OkBtn, "OkBtn"}, {AnulujBtn, "AnulujBtn"},
    };
    for (const auto &[object, name] : names)
        object->setObjectName(QString::fromLatin1(name));

    // Layout: the three paths one under another, the colours and the report range side by side.
    auto *colours = new QGridLayout(KolorGbx);
    colours->setSpacing(6);
    colours->addWidget(WlaPnl, 0, 0);
    colours->addWidget(UwPnl, 0, 1);
    colours->addWidget(Uk2Pnl, 1, 0);
    colours->addWidget(Uk3Pnl, 1, 1);

    auto *main = new QGridLayout(MainPnl);
    main->setContentsMargins(8, 8, 8, 4);
    main->setVerticalSpacing(2);
    main->setHorizontalSpacing(8);
    Label2->setBuddy(EdytorFE);
    Label3->setBuddy(SzablonyDE);
    Label4->setBuddy(OutputDE);
    main->addWidget(Label2, 0, 0, 1, 2);
    main->addWidget(EdytorFE, 1, 0, 1, 2);
    main->addItem(new QSpacerItem(0, 6), 2, 0);
    main->addWidget(Label3, 3, 0, 1, 2);
    main->addWidget(SzablonyDE, 4, 0, 1, 2);
    main->addItem(new QSpacerItem(0, 6), 5, 0);
    main->addWidget(Label4, 6, 0, 1, 2);
    main->addWidget(OutputDE, 7, 0, 1, 2);
    main->addItem(new QSpacerItem(0, 8), 8, 0);
    main->addWidget(KolorGbx, 9, 0);
    main->addWidget(ZakresDlkGB, 9, 1);
    main->setColumnStretch(0, 1);

    auto *buttons = new QHBoxLayout(BottomPnl);
    buttons->setContentsMargins(8, 4, 8, 8);
    buttons->addStretch(1);
    buttons->addWidget(OkBtn);
    buttons->addWidget(AnulujBtn);
    OkBtn->setDefault(true);
    OkBtn->setAutoDefault(true);
    AnulujBtn->setAutoDefault(false);

    auto *dialog = new QVBoxLayout(this);
    dialog->setContentsMargins(0, 0, 0, 0);
    dialog->setSpacing(0);
    dialog->addWidget(MainPnl, 1);
    dialog->addWidget(BottomPnl);

    for (widgets::ColorPanel *panel : {WlaPnl, UwPnl, Uk2Pnl, Uk3Pnl})
        connect(panel, &widgets::ColorPanel::clicked, this, [this, panel] { WlaPnlClick(panel); });
    EdytorFE->setPicker([this](const QString &current) { return wybierzEdytor(current); });
    SzablonyDE->setPicker([this](const QString &current) {
        return wybierzKatalog(QStringLiteral("Wskaż katalog z szablonami raportów"), current);
    });
    OutputDE->setPicker([this](const QString &current) {
        return wybierzKatalog(QStringLiteral("Wskaż katalog wynikowy"), current);
    });
    connect(OkBtn, &QPushButton::clicked, this, &TUstawieniaFrm::OkBtnClick);
    connect(AnulujBtn, &QPushButton::clicked, this, &TUstawieniaFrm::AnulujBtnClick);

    // Tab order follows the layout, not the declaration order.
    QWidget *order[] = {EdytorFE, SzablonyDE, OutputDE, WlaPnl, UwPnl, Uk2Pnl, Uk3Pnl, ZakresDlkGB, OkBtn, AnulujBtn};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
    EdytorFE->setFocus();

    // Dialog border: the size the contents ask for, at least the designed client area.
    setFixedSize(sizeHint().expandedTo(QSize(497, 234)));

    WczytajUstawienia();
}

void TUstawieniaFrm::WczytajUstawienia()
{
    const IniFile ini(m_plikIni);
    EdytorFE->setFileName(ini.ReadString(kWydruk, QStringLiteral("przeglad"), domyslnyEdytor()));
    SzablonyDE->setText(ini.ReadString(kWydruk, QStringLiteral("szablony"), m_katalogi.szablony));
    OutputDE->setText(ini.ReadString(kWydruk, QStringLiteral("wynik"), m_katalogi.wyniki));
    WlaPnl->setColorValue(ini.ReadInteger(kRgrun, QStringLiteral("WlaColor"), DomyslnyWlaColor));
    UwPnl->setColorValue(ini.ReadInteger(kRgrun, QStringLiteral("UwColor"), DomyslnyUwColor));
    Uk2Pnl->setColorValue(ini.ReadInteger(kRgrun, QStringLiteral("Uk2Color"), DomyslnyUk2Color));
    Uk3Pnl->setColorValue(ini.ReadInteger(kRgrun, QStringLiteral("Uk3Color"), DomyslnyUk3Color));
    ZakresDlkGB->setItemIndex(ini.ReadInteger(kRaportJR, QStringLiteral("ZakresDlk"), 0));
}

void TUstawieniaFrm::ZapiszUstawienia()
{
    IniFile ini(m_plikIni);
    ini.WriteString(kWydruk, QStringLiteral("przeglad"), EdytorFE->fileName());
    ini.WriteString(kWydruk, QStringLiteral("szablony"), SzablonyDE->text());
    ini.WriteString(kWydruk, QStringLiteral("wynik"), OutputDE->text());
    ini.WriteInteger(kRgrun, QStringLiteral("WlaColor"), WlaPnl->colorValue());
    ini.WriteInteger(kRgrun, QStringLiteral("UwColor"), UwPnl->colorValue());
    ini.WriteInteger(kRgrun, QStringLiteral("Uk2Color"), Uk2Pnl->colorValue());
    ini.WriteInteger(kRgrun, QStringLiteral("Uk3Color"), Uk3Pnl->colorValue());
    ini.WriteInteger(kRaportJR, QStringLiteral("ZakresDlk"), ZakresDlkGB->itemIndex());
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
    if (const std::optional<QColor> chosen = interaction().color(this, sender->color()))
        sender->setColor(*chosen);
}

std::optional<QString> TUstawieniaFrm::wybierzEdytor(const QString &current)
{
    FileDialogRequest request;
    request.title = QStringLiteral("Wybierz edytor tekstu RTF");
    request.filter = QStringLiteral("Programy [*.exe]|*.exe|Wszystkie pliki [*.*]|*.*");
#ifdef Q_OS_WIN
    request.filterIndex = 1;
#else
    request.filterIndex = 2; // programs here have no ".exe"
#endif
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

void TUstawieniaFrm::EdytorFEButtonClick() { EdytorFE->pick(); }
void TUstawieniaFrm::SzablonyDEButtonClick() { SzablonyDE->pick(); }
void TUstawieniaFrm::OutputDEButtonClick() { OutputDE->pick(); }

QString TUstawieniaFrm::edytor() const { return EdytorFE->fileName(); }
QString TUstawieniaFrm::katalogSzablonow() const { return SzablonyDE->text(); }
QString TUstawieniaFrm::katalogWynikowy() const { return OutputDE->text(); }
QColor TUstawieniaFrm::kolorWla() const { return WlaPnl->color(); }
QColor TUstawieniaFrm::kolorUw() const { return UwPnl->color(); }
QColor TUstawieniaFrm::kolorUk2() const { return Uk2Pnl->color(); }
QColor TUstawieniaFrm::kolorUk3() const { return Uk3Pnl->color(); }
int TUstawieniaFrm::zakresDlk() const { return ZakresDlkGB->itemIndex(); }

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
