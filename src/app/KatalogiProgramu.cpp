#include "app/KatalogiProgramu.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace katarix::app {

namespace {

const QString kPlikIni = QStringLiteral("Katarix.ini");

// <prefix>/share/katarix for a program in <prefix>/bin; empty for a tree.
QString katalogDanychInstalacji(const QString &programFolder)
{
    const QString dane = QDir::cleanPath(QDir(programFolder).absoluteFilePath(QStringLiteral("../share/katarix")));
    return QFileInfo(dane).isDir() ? dane : QString();
}

// The user's configuration file, copied from wzor the first time (and made writable by its owner).
QString plikIniUzytkownika(const KatalogiUzytkownika &uzytkownik, const QString &wzor)
{
    const QString folder = QDir(uzytkownik.konfiguracja).filePath(QStringLiteral("Katarix"));
    QDir().mkpath(folder);
    const QString wlasny = QDir(folder).filePath(kPlikIni);
    if (!QFileInfo::exists(wlasny) && QFileInfo(wzor).isFile() && QFile::copy(wzor, wlasny))
        QFile::setPermissions(wlasny, QFile::permissions(wlasny) | QFile::ReadOwner | QFile::WriteOwner);
    return wlasny;
}

// Beside the program while it can be written there; otherwise the user's, seeded from beside it.
QString plikIniDrzewa(const QString &programFolder, const KatalogiUzytkownika &uzytkownik)
{
    const QString obok = QDir(programFolder).filePath(kPlikIni);
    const QFileInfo plik(obok);
    const QFileInfo folder(programFolder);
    const bool zapisywalny = plik.exists() ? plik.isFile() && plik.isWritable() : folder.isDir() && folder.isWritable();
    return zapisywalny ? obok : plikIniUzytkownika(uzytkownik, obok);
}

// The folder of documents, created for its owner alone when it is missing.
void utworzKatalogPrywatny(const QString &katalog)
{
    if (QFileInfo::exists(katalog))
        return;
    QDir().mkpath(QFileInfo(katalog).absolutePath());
    QDir().mkdir(katalog, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

} // namespace

KatalogiUzytkownika KatalogiUzytkownika::biezace()
{
    return {QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation),
            QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)};
}

KatalogiProgramu KatalogiProgramu::drzewo(const QString &katalogGlowny)
{
    KatalogiProgramu katalogi;
    katalogi.katalogGlowny = katalogGlowny;
    katalogi.szablony = katalogGlowny + QStringLiteral("Szablony");
    katalogi.wyniki = katalogGlowny + QStringLiteral("Tmp");
    katalogi.bazy = katalogGlowny + QStringLiteral("Bazy");
    return katalogi;
}

QString KatalogiProgramu::folderWyboruBazy(const QString &sciezkaBazy) const
{
    if (instalacja && !sciezkaBazy.isEmpty()) {
        const QString folder = QFileInfo(sciezkaBazy).absolutePath();
        if (QFileInfo(folder).isDir())
            return folder;
    }
    return bazy;
}

KatalogiProgramu przygotujKatalogi(const QString &programFolder, const KatalogiUzytkownika &uzytkownik)
{
    const QString dane = katalogDanychInstalacji(programFolder);
    if (dane.isEmpty()) {
        KatalogiProgramu katalogi = KatalogiProgramu::drzewo(
            QDir::cleanPath(QDir(programFolder).absoluteFilePath(QStringLiteral(".."))) + QLatin1Char('/'));
        katalogi.plikIni = plikIniDrzewa(programFolder, uzytkownik);
        return katalogi;
    }
    KatalogiProgramu katalogi = KatalogiProgramu::drzewo(dane + QLatin1Char('/'));
    katalogi.instalacja = true;
    katalogi.wyniki = QDir(uzytkownik.dokumenty).filePath(QStringLiteral("Katarix"));
    katalogi.plikIni = plikIniUzytkownika(uzytkownik, QDir(dane).filePath(kPlikIni));
    utworzKatalogPrywatny(katalogi.wyniki);
    return katalogi;
}

} // namespace katarix::app
