#include "TestWindows.h"

#include "common/Files.h"
#include "jet/JetError.h"

#include <QDir>
#include <QFile>

namespace katarix::test {

int TestWindow::created = 0;
int TestWindow::alive = 0;

TestWindow::TestWindow(const QString &title)
{
    setWindowTitle(title);
    resize(200, 150);
    ++created;
    ++alive;
}

TestWindow::~TestWindow()
{
    --alive;
}

void TestWindow::PokazJr(double idJr)
{
    shownUnits.push_back(idJr);
    if (throwInPokazJr)
        throw jet::JetError(QStringLiteral("Błąd okna"));
}

TestWindowFactories::TestWindowFactories()
{
    const std::pair<app::OknoProgramu, const char *> windows[] = {
        {app::OknoProgramu::KartotekaDzialek, "Kartoteka działek"},
        {app::OknoProgramu::KartotekaOsob, "Kartoteka osób"},
        {app::OknoProgramu::RejestrGruntow, "Rejestr gruntów"},
        {app::OknoProgramu::RejestrLokali, "Rejestr lokali"},
        {app::OknoProgramu::SpisWladajacych, "Alfabetyczny spis władających"},
    };
    for (const auto &[window, title] : windows)
        app::zarejestrujOkno(window, [title = QString::fromUtf8(title)] { return new TestWindow(title); });
}

TestWindowFactories::~TestWindowFactories()
{
    for (int i = 0; i < app::LiczbaOkienProgramu; ++i)
        app::zarejestrujOkno(app::OknoProgramu(i), nullptr);
}

ProgramFolder::ProgramFolder()
{
    program = root.filePath(QStringLiteral("Program"));
    bazy = root.filePath(QStringLiteral("Bazy"));
    QDir().mkpath(program);
    QDir().mkpath(bazy);
}

QString ProgramFolder::ini() const
{
    return QDir(program).filePath(QStringLiteral("Katarix.ini"));
}

void ProgramFolder::writeIni(const QByteArray &content) const
{
    writeBytes(ini(), content);
}

QByteArray ProgramFolder::readIni() const
{
    return fileBytes(ini());
}

} // namespace katarix::test
