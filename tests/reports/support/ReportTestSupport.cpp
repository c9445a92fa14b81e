#include "ReportTestSupport.h"

#include "common/Files.h"
#include "rtf/RtfTemplate.h"
#include "support/TestApplication.h"
#include "widgets/PathEdit.h"
#include "widgets/RadioGroup.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

namespace katarix::reporttest {

QString rtfToText(const QByteArray &rtf)
{
    return rtf::RtfTemplate(rtf).plainText();
}

int occurrences(const QString &text, const QString &needle)
{
    return int(text.count(needle));
}

ReportEnvironment::ReportEnvironment(const registergen::RegisterBuilder &register_)
{
    test::ensureApplication();
    register_.toDatabase(db);
    tempQry.setDatabase(&db);
    QDir(m_dir.path()).mkpath(QStringLiteral("Tmp"));
    m_ustawienia = std::make_unique<app::TUstawieniaFrm>(m_dir.filePath(QStringLiteral("Katarix.ini")),
                                                          app::KatalogiProgramu::drzewo(m_dir.path() + QLatin1Char('/')));
    m_ustawienia->SzablonyDE->setText(QStringLiteral(KATARIX_SOURCE_DIR "/templates"));
    m_ustawienia->OutputDE->setText(outputFolder());
    m_ustawienia->EdytorFE->setFileName(QStringLiteral("/usr/bin/edytor-rtf"));
    app::UstawieniaFrm = m_ustawienia.get();
}

ReportEnvironment::~ReportEnvironment()
{
    app::UstawieniaFrm = nullptr;
}

void ReportEnvironment::setReportRange(int index)
{
    m_ustawienia->ZakresDlkGB->setItemIndex(index);
}

void ReportEnvironment::setTemplatesFolder(const QString &folder)
{
    m_ustawienia->SzablonyDE->setText(folder);
}

QByteArray ReportEnvironment::documentRtf() const
{
    return test::fileBytes(documentPath());
}

QString ReportEnvironment::documentText() const
{
    const QByteArray rtf = documentRtf();
    // KATARIX_REPORT_DUMP=folder keeps a copy of every document read, to look at it.
    const QString dump = qEnvironmentVariable("KATARIX_REPORT_DUMP");
    if (!dump.isEmpty() && !rtf.isEmpty()) {
        static int counter = 0;
        QFile copy(QStringLiteral("%1/%2-%3.rtf").arg(dump, QCoreApplication::applicationName()).arg(++counter));
        if (copy.open(QIODevice::WriteOnly))
            copy.write(rtf);
    }
    return rtf.isEmpty() ? QString() : rtfToText(rtf);
}

void ReportEnvironment::removeDocument() const
{
    QFile::remove(documentPath());
}

void addDictionaries(registergen::RegisterBuilder &b)
{
    b.add("SLO_WLAD", {{"MSLINK", 1}, {"SKROT", "wł"}, {"OPIS", "Własność"}, {"RODZAJ", 1}});
    b.add("SLO_WLAD", {{"MSLINK", 2}, {"SKROT", "uw"}, {"OPIS", "Użytkowanie wieczyste"}, {"RODZAJ", 2}});
    b.add("SLO_WLAD", {{"MSLINK", 5}, {"SKROT", "wd"}, {"OPIS", "Władanie samoistne"}, {"RODZAJ", 1}});
    b.add("SLO_UZYT", {{"MSLINK", 1}, {"SKROT", "R"}, {"OPIS", "grunty orne"}});
    b.add("SLO_UZYT", {{"MSLINK", 2}, {"SKROT", "B"}, {"OPIS", "tereny mieszkaniowe"}});
    b.add("SLO_UZYT", {{"MSLINK", 3}, {"SKROT", "Ł"}, {"OPIS", "łąki"}});
    b.add("SLO_UZYT", {{"MSLINK", 4}, {"SKROT", "W"}, {"OPIS", "rowy"}});
    b.add("SLO_KLABOT", {{"MSLINK", 11}, {"SKROT", "RIIIa"}, {"DEF_UZ", 1}});
    b.add("SLO_KLABOT", {{"MSLINK", 12}, {"SKROT", "ŁIII"}, {"DEF_UZ", 3}});
    b.add("SLO_KLABOT", {{"MSLINK", 13}, {"SKROT", "PsIV"}, {"DEF_UZ", 0}});
    b.add("SLO_FUNBUD", {{"MSLINK", 1}, {"NAZWA", "budynek mieszkalny jednorodzinny"}});
    b.add("SLO_FUNBUD", {{"MSLINK", 2}, {"NAZWA", "budynek mieszkalny wielorodzinny"}});
    b.add("SLO_FUNLOK", {{"MSLINK", 1}, {"NAZWA", "Lokal Mieszkalny"}});
    b.add("SLO_WYDZKW", {{"MSLINK", 1}, {"NAZWA", "Sąd Rejonowy w Dąbrowie, IV Wydział Ksiąg Wieczystych"}});
}

} // namespace katarix::reporttest
