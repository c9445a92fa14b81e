#include "app/IniFile.h"
#include "jet/Windows1250.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>

#include <array>
#include <limits>

namespace katarix::app {

namespace {

const QByteArray kUtf8Bom("\xEF\xBB\xBF");

bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }

// "[Name]" -> "Name"; empty optional for a line that is not a section header.
std::optional<QString> sectionName(const QString &line)
{
    const QString text = line.trimmed();
    if (!text.startsWith(u'['))
        return std::nullopt;
    const qsizetype close = text.indexOf(u']');
    return (close < 0 ? text.mid(1) : text.mid(1, close - 1)).trimmed();
}

// "key = value" -> "key"; empty optional for comments and lines without '='.
std::optional<QString> keyName(const QString &line)
{
    const QString text = line.trimmed();
    if (text.startsWith(u';'))
        return std::nullopt;
    const qsizetype eq = text.indexOf(u'=');
    if (eq < 0)
        return std::nullopt;
    return text.left(eq).trimmed();
}

QString valueOf(const QString &line)
{
    QString value = line.mid(line.indexOf(u'=') + 1).trimmed();
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    return value;
}

bool same(const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

QString writeFailure(const QString &path)
{
    return QStringLiteral("Nie udało się zapisać pliku konfiguracyjnego %1.\n"
                          "Sprawdź, czy plik i jego katalog nie są chronione przed zapisem.")
        .arg(QDir::toNativeSeparators(path));
}

} // namespace

QString fromWindows1250(const QByteArray &bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (const char byte : bytes) {
        const auto b = static_cast<unsigned char>(byte);
        text.append(QChar(jet::windows1250ToUnicode(b)));
    }
    return text;
}

QByteArray toWindows1250(const QString &text, bool *lossless)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    bool exact = true;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80) {
            bytes.append(static_cast<char>(u));
            continue;
        }
        const int byte = jet::unicodeToWindows1250(u);
        if (byte < 0) {
            exact = false;
            bytes.append('?');
        } else {
            bytes.append(static_cast<char>(byte));
        }
    }
    if (lossless)
        *lossless = exact;
    return bytes;
}

std::optional<int> parseInteger(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    int base = 10;
    if (i < text.size() && text[i] == u'$') {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
        base = 16;
        i += 2;
    }
    if (i >= text.size())
        return std::nullopt;
    quint64 value = 0;
    const quint64 limit = base == 16 ? 0xFFFFFFFFull : (negative ? 2147483648ull : 2147483647ull);
    for (; i < text.size(); ++i) {
        const int digit = text[i].isDigit() && text[i].unicode() < 0x80 ? text[i].unicode() - '0'
                          : base == 16 && text[i].toLower() >= u'a' && text[i].toLower() <= u'f'
                              ? text[i].toLower().unicode() - 'a' + 10
                              : -1;
        if (digit < 0)
            return std::nullopt;
        value = value * base + digit;
        if (value > limit)
            return std::nullopt;
    }
    // Hexadecimal values fill the 32 bits: $FFFFFFFF is -1.
    const qint64 magnitude = base == 16 ? static_cast<qint64>(static_cast<qint32>(static_cast<quint32>(value)))
                                        : static_cast<qint64>(value);
    return static_cast<int>(negative ? -magnitude : magnitude);
}

QString invalidIntegerMessage(const QString &text)
{
    return QStringLiteral("'%1' nie jest poprawną liczbą całkowitą").arg(text);
}

int toInteger(const QString &text)
{
    const std::optional<int> value = parseInteger(text);
    if (!value)
        throw IniError(invalidIntegerMessage(text));
    return *value;
}

IniFile::IniFile(QString path) : m_path(std::move(path)) { reload(); }

void IniFile::reload()
{
    m_lines.clear();
    m_encoding = Encoding::Utf8;
    m_lineEnd = QStringLiteral("\n");
    m_endsWithNewline = true;
    if (m_path.isEmpty())
        return;
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    QByteArray bytes = file.readAll();
    if (bytes.startsWith(kUtf8Bom)) {
        m_encoding = Encoding::Utf8Bom;
        bytes.remove(0, kUtf8Bom.size());
    }
    QStringDecoder decoder(QStringConverter::Utf8);
    QString text = decoder.decode(bytes);
    if (decoder.hasError()) {
        m_encoding = Encoding::Windows1250;
        text = fromWindows1250(bytes);
    }
    if (text.isEmpty())
        return;
    const qsizetype firstNewline = text.indexOf(u'\n');
    if (firstNewline > 0 && text[firstNewline - 1] == u'\r')
        m_lineEnd = QStringLiteral("\r\n");
    else if (firstNewline >= 0)
        m_lineEnd = QStringLiteral("\n");
    m_endsWithNewline = text.endsWith(u'\n');
    m_lines = text.split(u'\n');
    if (m_endsWithNewline)
        m_lines.removeLast();
    for (QString &line : m_lines)
        if (line.endsWith(u'\r'))
            line.chop(1);
}

IniFile::Located IniFile::locate(const QString &section, const QString &key) const
{
    Located at;
    for (int i = 0; i < m_lines.size(); ++i) {
        const std::optional<QString> name = sectionName(m_lines[i]);
        if (at.sectionLine < 0) {
            if (name && same(*name, section))
                at.sectionLine = i;
            continue;
        }
        if (name) {
            at.sectionEnd = i;
            return at;
        }
        if (at.keyLine < 0 && !key.isNull()) {
            const std::optional<QString> k = keyName(m_lines[i]);
            if (k && same(*k, key))
                at.keyLine = i;
        }
    }
    if (at.sectionLine >= 0)
        at.sectionEnd = m_lines.size();
    return at;
}

QString IniFile::ReadString(const QString &section, const QString &key, const QString &defaultValue) const
{
    const Located at = locate(section, key.isNull() ? QStringLiteral("") : key);
    return at.keyLine < 0 ? defaultValue : valueOf(m_lines[at.keyLine]);
}

int IniFile::ReadInteger(const QString &section, const QString &key, int defaultValue) const
{
    return parseInteger(ReadString(section, key, QString())).value_or(defaultValue);
}

bool IniFile::ReadBool(const QString &section, const QString &key, bool defaultValue) const
{
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void IniFile::WriteString(const QString &section, const QString &key, const QString &value)
{
    odswiezPrzedZapisem();
    const Located at = locate(section, key.isNull() ? QStringLiteral("") : key);
    if (at.keyLine >= 0) {
        const QString &line = m_lines[at.keyLine];
        const QString spelled = line.left(line.indexOf(u'=')).trimmed();
        m_lines[at.keyLine] = spelled + u'=' + value;
    } else if (at.sectionLine >= 0) {
        // After the section's last non-blank line, so blank separators stay before the next section.
        int insertAt = at.sectionEnd;
        while (insertAt - 1 > at.sectionLine && m_lines[insertAt - 1].trimmed().isEmpty())
            --insertAt;
        m_lines.insert(insertAt, key + u'=' + value);
        m_endsWithNewline = m_endsWithNewline || insertAt == m_lines.size() - 1;
    } else {
        m_lines.append(u'[' + section + u']');
        m_lines.append(key + u'=' + value);
        m_endsWithNewline = true;
    }
    save();
}

void IniFile::WriteInteger(const QString &section, const QString &key, int value)
{
    WriteString(section, key, QString::number(value));
}

void IniFile::WriteBool(const QString &section, const QString &key, bool value)
{
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

bool IniFile::SectionExists(const QString &section) const { return locate(section, QString()).sectionLine >= 0; }

bool IniFile::ValueExists(const QString &section, const QString &key) const
{
    return locate(section, key.isNull() ? QStringLiteral("") : key).keyLine >= 0;
}

QStringList IniFile::ReadSections() const
{
    QStringList names;
    for (const QString &line : m_lines) {
        const std::optional<QString> name = sectionName(line);
        if (name && !names.contains(*name, Qt::CaseInsensitive))
            names.append(*name);
    }
    return names;
}

QStringList IniFile::ReadSection(const QString &section) const
{
    QStringList keys;
    const Located at = locate(section, QString());
    for (int i = at.sectionLine + 1; at.sectionLine >= 0 && i < at.sectionEnd; ++i) {
        const std::optional<QString> k = keyName(m_lines[i]);
        if (k && !keys.contains(*k, Qt::CaseInsensitive))
            keys.append(*k);
    }
    return keys;
}

void IniFile::DeleteKey(const QString &section, const QString &key)
{
    odswiezPrzedZapisem();
    const Located at = locate(section, key);
    if (at.keyLine < 0)
        return;
    m_lines.removeAt(at.keyLine);
    save();
}

void IniFile::EraseSection(const QString &section)
{
    odswiezPrzedZapisem();
    const Located at = locate(section, QString());
    if (at.sectionLine < 0)
        return;
    m_lines.remove(at.sectionLine, at.sectionEnd - at.sectionLine);
    save();
}

void IniFile::odswiezPrzedZapisem()
{
    if (m_wsad == 0)
        reload();
}

void IniFile::RozpocznijWsad()
{
    if (m_wsad++ == 0) {
        reload();
        m_wsadZmieniony = false;
    }
}

void IniFile::ZakonczWsad()
{
    if (m_wsad == 0 || --m_wsad > 0 || !m_wsadZmieniony)
        return;
    m_wsadZmieniony = false;
    save();
}

void IniFile::save()
{
    if (m_wsad > 0) {
        m_wsadZmieniony = true;
        return;
    }
    QString text = m_lines.join(m_lineEnd);
    if (m_endsWithNewline && !m_lines.isEmpty())
        text += m_lineEnd;

    QByteArray bytes;
    if (m_encoding == Encoding::Windows1250) {
        bool lossless = true;
        bytes = toWindows1250(text, &lossless);
        if (!lossless) {
            m_encoding = Encoding::Utf8;
            bytes = text.toUtf8();
        }
    } else {
        bytes = text.toUtf8();
        if (m_encoding == Encoding::Utf8Bom)
            bytes.prepend(kUtf8Bom);
    }

    if (m_path.isEmpty())
        throw IniError(writeFailure(m_path));
    QFile file(m_path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size() || !file.flush())
        throw IniError(writeFailure(m_path));
}

} // namespace katarix::app
