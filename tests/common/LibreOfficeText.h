#pragma once

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <QUrl>

namespace katarix::test {

// Converts an RTF file to UTF-8 text with LibreOffice (soffice), as a reader of the document
// sees it; a private profile in dir keeps it apart from any other running instance.
inline QString convertRtfToText(const QString &soffice, const QString &rtfPath, const QTemporaryDir &dir)
{
    QProcess process;
    process.setProgram(soffice);
    process.setArguments({"-env:UserInstallation=" + QUrl::fromLocalFile(dir.filePath("profile")).toString(),
                          "--headless", "--convert-to", "txt:Text (encoded):UTF8", "--outdir", dir.path(), rtfPath});
    process.start();
    if (!process.waitForFinished(180000))
        return QStringLiteral("<soffice did not finish>");
    QFile file(dir.filePath(QFileInfo(rtfPath).completeBaseName() + ".txt"));
    QString text = file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

} // namespace katarix::test
