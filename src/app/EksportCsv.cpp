#include "app/EksportCsv.h"

#include "app/AppError.h"
#include "app/Interaction.h"
#include "jet/ControlsDisabled.h"
#include "jet/Dataset.h"
#include "jet/PrivateFile.h"
#include "jet/Windows1250.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

namespace katarix::app {

namespace {

void dopiszWindows1250(QByteArray &out, const QString &text)
{
    for (const char32_t c : text.toUcs4()) {
        const int byte = jet::unicodeToWindows1250(c);
        out.append(byte < 0 ? '?' : char(byte));
    }
}

// The fields written: all but those whose names begin with '_'.
QList<int> polaEksportu(const jet::Dataset &qry)
{
    QList<int> pola;
    for (int i = 0; i < qry.fieldCount(); ++i)
        if (!qry.fieldName(i).startsWith(QLatin1Char('_')))
            pola << i;
    return pola;
}

// The list's file; one that is not closed whole (a write error, no memory) is removed.
class PlikCsv {
public:
    explicit PlikCsv(const QString &path) : m_path(path), m_file(path)
    {
        // A new file is the user's alone from its first byte; an existing one is written only as
        // it is and keeps its mode (a read-only file is refused untouched).
        QString reason;
        if (!jet::openPrivate(m_file, QIODevice::WriteOnly | QIODevice::Truncate, &reason))
            throw AppError(QStringLiteral("Nie można utworzyć pliku „%1”: %2").arg(path, reason));
    }
    ~PlikCsv()
    {
        if (!m_zapisany)
            jet::removeUnfinished(m_file, m_path);
    }
    PlikCsv(const PlikCsv &) = delete;
    PlikCsv &operator=(const PlikCsv &) = delete;

    void zapisz(const QByteArray &bytes)
    {
        if (m_file.write(bytes) != bytes.size())
            blad();
    }
    void zamknij()
    {
        if (!m_file.flush())
            blad();
        m_file.close();
        if (m_file.error() != QFileDevice::NoError)
            blad();
        m_zapisany = true;
    }

private:
    [[noreturn]] void blad()
    {
        const QString reason = m_file.errorString();
        m_file.close();
        throw AppError(QStringLiteral("Błąd zapisu do pliku „%1”: %2").arg(m_path, reason));
    }
    QString m_path;
    QFile m_file;
    bool m_zapisany = false;
};

// Controls of the dataset stop following it while the file is written; afterwards the dataset
// is back on its first row and then the controls follow again.
struct ZapisZbioru {
    explicit ZapisZbioru(jet::Dataset &qry) : m_wylaczone(qry), m_qry(qry) {}
    ~ZapisZbioru() { m_qry.first(); }
    const jet::ControlsDisabled m_wylaczone; // ends after the destructor's body
    jet::Dataset &m_qry;
};

} // namespace

QByteArray WierszCsv(const QStringList &pola)
{
    QByteArray out;
    for (qsizetype i = 0; i < pola.size(); ++i) {
        if (i > 0)
            out.append(',');
        QString pole = pola[i];
        pole.replace(QLatin1Char('"'), QLatin1String("\"\""));
        out.append('"');
        dopiszWindows1250(out, pole);
        out.append('"');
    }
    out.append("\r\n");
    return out;
}

bool EksportCsv(jet::Dataset &qry, const QString &katalog, QWidget *parent)
{
    if (qry.isEmpty())
        return false;
    FileDialogRequest request;
    request.filter = QStringLiteral("Tekst rozdzielany przecinkami [*.csv]|*.csv|Wszystkie pliki [*.*]|*.*");
    request.defaultExtension = QStringLiteral("csv");
    request.initialFolder = katalog;
    const QString plik = interaction().saveFileName(parent, request);
    if (plik.isEmpty())
        return false;

    PlikCsv csv(plik);
    const ZapisZbioru zapis(qry);
    const QList<int> pola = polaEksportu(qry);
    QStringList wartosci;
    for (const int pole : pola)
        wartosci << qry.fieldName(pole);
    csv.zapisz(WierszCsv(wartosci));
    for (int row = 0; row < qry.recordCount(); ++row) {
        wartosci.clear();
        for (const int pole : pola)
            wartosci << jet::Dataset::valueToText(qry.valueAt(row, pole));
        csv.zapisz(WierszCsv(wartosci));
    }
    csv.zamknij();
    return true;
}

} // namespace katarix::app
