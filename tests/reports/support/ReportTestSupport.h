#pragma once

// Report tests: a register built in memory, the settings dialog pointing at the program's
// templates and a temporary output folder, a recording Interaction, and the produced document
// read back as plain text.

#include "app/UstawieniaFrm.h"
#include "common/SeparatorGuard.h"
#include "jet/Database.h"
#include "jet/Query.h"
#include "registergen/RegisterBuilder.h"
#include "rtf/RTFReport.h"
#include "support/RecordingInteraction.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>
#include <ostream>

inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QStringList &list, std::ostream *os)
{
    *os << '{' << list.join(QStringLiteral(" | ")).toStdString() << '}';
}

namespace katarix::reporttest {

// Plain text of an RTF document: '\n' for each paragraph end, line break, cell and row end.
QString rtfToText(const QByteArray &rtf);

// How often needle occurs in text.
int occurrences(const QString &text, const QString &needle);

class ReportEnvironment {
public:
    // Loads the register, installs the settings dialog (templates of the source tree, a fresh
    // output folder, report range 0) and the decimal comma.
    explicit ReportEnvironment(const registergen::RegisterBuilder &register_);
    ~ReportEnvironment();

    void setReportRange(int index);
    void setTemplatesFolder(const QString &folder);
    QString outputFolder() const { return m_dir.filePath(QStringLiteral("Tmp")); }
    QString documentPath() const { return outputFolder() + QStringLiteral("/Wynik.rtf"); }
    QByteArray documentRtf() const; // empty when no document was written
    QString documentText() const;
    void removeDocument() const;

    jet::Database db;
    jet::Query tempQry;
    rtf::TRTFReport rtf1;
    test::RecordingInteraction recording;

private:
    QTemporaryDir m_dir;
    std::unique_ptr<app::TUstawieniaFrm> m_ustawienia;
    test::SeparatorGuard m_comma{QLatin1Char(',')};
};

// Dictionary rows most tests share: forms of holding, uses, soil classes, building and
// premises functions, a court department.
void addDictionaries(registergen::RegisterBuilder &b);

} // namespace katarix::reporttest
