#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <stdexcept>

namespace katarix::app {

// Raised when the configuration file cannot be written. The message is Polish and names the file.
class IniError : public std::runtime_error {
public:
    explicit IniError(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString &message() const { return m_message; }

private:
    QString m_message;
};

// The program's configuration file, read and written with the Windows profile-file rules:
// - "[Section]" lines open sections, "key=value" lines hold keys; section and key names are
//   matched without regard to case; the first of duplicate sections or keys wins;
// - keys and values are trimmed of blanks, and one pair of enclosing quotes ("..." or '...')
//   is removed from a value; lines starting with ';' are comments;
// - a missing file, section or key gives the caller's default;
// - every write goes straight to the file (or, in a batch, once at its end): it creates the file, the section and the key when
//   missing and keeps every other line (comments, blank lines, other keys, their case and
//   order, the line-end style) byte for byte; values are written exactly as given.
// Encoding: a file that is valid UTF-8 is read as UTF-8 (a byte-order mark is kept), any other
// file as Windows-1250. Writes keep the file's encoding; a Windows-1250 file is switched to UTF-8
// only when a value has a character that Windows-1250 cannot hold. New files are UTF-8 without
// a byte-order mark.
class IniFile {
public:
    explicit IniFile(QString path);

    const QString &fileName() const { return m_path; }

    QString ReadString(const QString &section, const QString &key, const QString &defaultValue) const;
    // The value as an integer: optional blanks, an optional sign and decimal digits, or a
    // hexadecimal number written "$1F" or "0x1F"; anything else (empty text, "12abc", a value
    // out of the 32-bit range) gives defaultValue.
    int ReadInteger(const QString &section, const QString &key, int defaultValue) const;
    // Any integer other than 0 is true; a value that is not an integer gives defaultValue.
    bool ReadBool(const QString &section, const QString &key, bool defaultValue) const;

    void WriteString(const QString &section, const QString &key, const QString &value); // throws IniError
    void WriteInteger(const QString &section, const QString &key, int value);            // throws IniError
    void WriteBool(const QString &section, const QString &key, bool value);              // "1" / "0"

    bool SectionExists(const QString &section) const;
    bool ValueExists(const QString &section, const QString &key) const;
    // Names as written in the file, in file order, each once.
    QStringList ReadSections() const;
    QStringList ReadSection(const QString &section) const; // key names of a section

    void DeleteKey(const QString &section, const QString &key); // throws IniError
    void EraseSection(const QString &section);                  // throws IniError

    // Re-reads the file (reads otherwise see the file as it was at construction or at this
    // object's last write).
    void reload();

    // While a batch is open the writes of this object change only its text, and closing the
    // last batch writes the file once (when anything changed; it throws IniError as a write
    // does). A window's layout is dozens of values: written one by one on closing, each a
    // rewrite of the whole file, they took most of the time the program needed to end.
    void RozpocznijWsad();
    void ZakonczWsad();

private:
    enum class Encoding { Utf8, Utf8Bom, Windows1250 };
    struct Located {
        int sectionLine = -1; // index of the "[Section]" line, -1 when missing
        int sectionEnd = -1;  // index one past the section's last line
        int keyLine = -1;     // index of the key's line, -1 when missing
    };

    Located locate(const QString &section, const QString &key) const;
    void save(); // throws IniError; in a batch only marks the text changed
    void odswiezPrzedZapisem(); // reload() unless a batch is open

    QString m_path;
    QStringList m_lines; // without line ends
    QString m_lineEnd;
    Encoding m_encoding = Encoding::Utf8;
    bool m_endsWithNewline = true;
    int m_wsad = 0;
    bool m_wsadZmieniony = false;
};

// Runs zapisy with the writes to ini in one batch: the file is written once at the end.
template <typename Zapisy>
void ZapiszRazem(IniFile &ini, Zapisy &&zapisy)
{
    ini.RozpocznijWsad();
    try {
        zapisy();
    } catch (...) {
        ini.ZakonczWsad();
        throw;
    }
    ini.ZakonczWsad();
}

// The integer rules of ReadInteger, for values the program splits itself ("120,80"): nullopt
// for anything that is not an integer.
std::optional<int> parseInteger(const QString &text);
// "'abc' nie jest poprawną liczbą całkowitą" - the message shown for a value parseInteger refuses.
QString invalidIntegerMessage(const QString &text);
// parseInteger, or IniError with invalidIntegerMessage.
int toInteger(const QString &text);

// Windows-1250, the 8-bit code page of Polish Windows; characters it lacks become '?'.
QString fromWindows1250(const QByteArray &bytes);
QByteArray toWindows1250(const QString &text, bool *lossless = nullptr);

} // namespace katarix::app
