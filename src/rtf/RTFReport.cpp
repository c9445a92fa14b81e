#include "RTFReport.h"

#include "RtfError.h"
#include "RtfTemplate.h"
#include "RtfText.h"
#include "jet/Dataset.h"
#include "jet/PrivateFile.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <cstring>
#include <unordered_map>

namespace katarix::rtf {

namespace {

QString quoted(const QString &text)
{
    return QStringLiteral("„") + text + QStringLiteral("”");
}

QString writeError(const QString &path, const QString &reason)
{
    return QStringLiteral("Nie udało się zapisać dokumentu %1:\n%2").arg(quoted(path), reason);
}

// The document as it is filled, passed to its device in pieces of a fixed size: the document
// is never held whole.
class RtfOutput {
public:
    RtfOutput(QIODevice &device, const QString &path) : m_device(device), m_path(path) { m_buffer.reserve(kPiece); }

    RtfOutput &operator+=(const QByteArray &bytes)
    {
        append(bytes.constData(), bytes.size());
        return *this;
    }
    RtfOutput &operator+=(const char *text)
    {
        append(text, qsizetype(std::strlen(text)));
        return *this;
    }
    RtfOutput &operator+=(char c)
    {
        m_buffer.append(c);
        if (m_buffer.size() >= kPiece)
            flush();
        return *this;
    }
    void append(const char *data, qsizetype size)
    {
        m_buffer.append(data, size);
        if (m_buffer.size() >= kPiece)
            flush();
    }
    void flush()
    {
        if (m_buffer.isEmpty())
            return;
        if (m_device.write(m_buffer) != m_buffer.size())
            throw RtfError(writeError(m_path, m_device.errorString()));
        m_buffer.clear();
    }

private:
    static constexpr qsizetype kPiece = 64 * 1024;
    QIODevice &m_device;
    QString m_path;
    QByteArray m_buffer;
};

} // namespace

// One filling of a template: walks the section tree in document order, writing tokens,
// repeating bands per dataset row and asking for variables as it reaches them.
class RtfFiller {
public:
    RtfFiller(TRTFReport &report, const RtfTemplate &tpl, RtfOutput &out)
        : m_report(report), m_tpl(tpl), m_tokens(tpl.tokens()), m_out(out)
    {
        m_fallbackCodePage = codePageForCharset(report.Charset);
        if (m_fallbackCodePage == 0)
            m_fallbackCodePage = 1252;
        planHeader();
    }

    void run()
    {
        for (const QString &name : m_tpl.datasetNames())
            m_report.dataset(name);
        renderSection(0);
        m_out.flush();
    }

private:
    // \ansicpg, \deflang and the font character sets of the document header.
    void planHeader()
    {
        const int body = m_tpl.bodyStart();
        int ansi = -1;
        int rtf = -1;
        bool hasCodePage = false;
        bool hasLang = false;
        for (int t = 0; t < body; ++t) {
            const RtfToken &token = m_tokens[size_t(t)];
            if (token.kind != RtfToken::Control || token.depth != 1)
                continue;
            if (token.word == "rtf" && rtf < 0) {
                rtf = t;
            } else if (token.word == "ansi") {
                ansi = t;
            } else if (token.word == "ansicpg") {
                hasCodePage = true;
                if (m_report.ANSICodePage > 0)
                    m_replace[t] = "\\ansicpg" + QByteArray::number(m_report.ANSICodePage) + ' ';
            } else if (token.word == "deflang") {
                hasLang = true;
                if (m_report.LangID > 0)
                    m_replace[t] = "\\deflang" + QByteArray::number(m_report.LangID) + ' ';
            }
        }
        const int anchor = ansi >= 0 ? ansi : rtf;
        if (anchor >= 0) {
            QByteArray added;
            if (!hasCodePage) {
                const int codePage =
                    m_report.ANSICodePage > 0 ? m_report.ANSICodePage : codePageForCharset(m_report.Charset);
                if (codePage > 0)
                    added += "\\ansicpg" + QByteArray::number(codePage);
            }
            if (!hasLang && m_report.LangID > 0)
                added += "\\deflang" + QByteArray::number(m_report.LangID);
            if (!added.isEmpty())
                m_insertAfter[anchor] += added + ' ';
        }

        // Fonts of the ANSI character set, and fonts that name none, get Charset.
        const QByteArray charset = "\\fcharset" + QByteArray::number(m_report.Charset) + ' ';
        for (int t = 0; t + 1 < body; ++t) {
            if (m_tokens[size_t(t)].kind != RtfToken::Open || m_tokens[size_t(t)].depth != 1 ||
                m_tokens[size_t(t + 1)].word != "fonttbl")
                continue;
            int font = -1;
            bool hasCharset = false;
            for (int u = t + 2; u < body && m_tokens[size_t(u)].depth > 1; ++u) {
                const RtfToken &token = m_tokens[size_t(u)];
                if (token.kind == RtfToken::Control && token.word == "f" && token.hasParam) {
                    font = u;
                    hasCharset = false;
                } else if (token.kind == RtfToken::Control && token.word == "fcharset" && font >= 0) {
                    hasCharset = true;
                    if (token.param == 0)
                        m_replace[u] = charset;
                } else if (token.kind == RtfToken::Text && font >= 0 &&
                           m_tpl.source().mid(token.begin, token.end - token.begin).contains(';')) {
                    if (!hasCharset)
                        m_insertAfter[font] += charset;
                    font = -1;
                }
            }
            break;
        }
    }

    void renderSection(int index)
    {
        const RtfSection &section = m_tpl.sections()[size_t(index)];
        const int net = m_tpl.depthBefore(section.end) - m_tpl.depthBefore(section.begin);
        switch (section.kind) {
        case RtfSection::Document:
            renderRange(section);
            break;
        case RtfSection::Condition: {
            const bool shown = TRTFReport::IsTrue(request(section.name)) != section.negate;
            if (shown)
                renderRange(section);
            else
                balance(net, false);
            break;
        }
        case RtfSection::Band: {
            jet::Dataset *data = m_report.dataset(section.name);
            data->first();
            int rows = 0;
            int lastRow = -1;
            while (!data->eof()) {
                if (rows > 0)
                    balance(net, true);
                lastRow = data->recNo();
                renderRange(section);
                ++rows;
                ++m_rowsPrinted;
                if (m_report.OnProgress)
                    m_report.OnProgress(m_rowsPrinted);
                data->next();
                if (!data->eof() && data->recNo() <= lastRow) {
                    throw RtfError(QStringLiteral("Zbiór danych %1 wrócił do wcześniejszego wiersza w "
                                                  "trakcie wypełniania obszaru %2 szablonu.")
                                       .arg(quoted(section.name),
                                            quoted(RtfTemplate::markerText(
                                                m_tpl.markers()[size_t(section.startMarker)]))));
                }
                if (m_report.ProcessMessages && QCoreApplication::instance())
                    QCoreApplication::processEvents();
            }
            if (rows == 0)
                balance(net, false);
            break;
        }
        }
    }

    // Keeps braces balanced when a section that opens or closes groups of its surroundings
    // is repeated (again: before the second and later copies) or left out.
    void balance(int net, bool again)
    {
        if (net == 0)
            return;
        const bool open = again ? net < 0 : net > 0;
        m_out += QByteArray(std::abs(net), open ? '{' : '}');
    }

    void renderRange(const RtfSection &section)
    {
        int at = section.begin;
        for (int child : section.children) {
            const RtfSection &inner = m_tpl.sections()[size_t(child)];
            copyTokens(at, inner.begin);
            renderSection(child);
            at = inner.end;
        }
        copyTokens(at, section.end);
    }

    // Tokens that are copied as they stand follow each other in the source: each run of them is
    // written at once. Replacements and insertions concern the header only.
    void copyTokens(int begin, int end)
    {
        const QByteArray &source = m_tpl.source();
        const int header = m_tpl.bodyStart();
        int runBegin = -1; // source offset of the run being gathered
        int runEnd = -1;
        auto flush = [&] {
            if (runBegin >= 0)
                m_out.append(source.constData() + runBegin, runEnd - runBegin);
            runBegin = -1;
        };
        for (int t = begin; t < end; ++t) {
            const int marker = m_tpl.valueMarkerAt(t);
            if (marker >= 0) {
                flush();
                writeValue(m_tpl.markers()[size_t(marker)]);
            }
            if (m_tpl.isDeleted(t)) {
                flush();
                continue;
            }
            const RtfToken &token = m_tokens[size_t(t)];
            if (t < header) {
                flush();
                const auto replaced = m_replace.find(t);
                if (replaced != m_replace.end())
                    m_out += replaced->second;
                else
                    m_out.append(source.constData() + token.begin, token.end - token.begin);
                const auto inserted = m_insertAfter.find(t);
                if (inserted != m_insertAfter.end())
                    m_out += inserted->second;
                continue;
            }
            if (runBegin < 0 || token.begin != runEnd) {
                flush();
                runBegin = token.begin;
            }
            runEnd = token.end;
        }
        flush();
    }

    void writeValue(const RtfMarker &marker)
    {
        QString text;
        if (marker.kind == RtfMarker::Variable) {
            text = jet::Dataset::valueToText(request(marker.name));
        } else {
            jet::Dataset *data = m_report.dataset(marker.name);
            if (!data->isEmpty()) {
                const int field = data->fieldIndex(marker.field);
                if (field < 0) {
                    throw RtfError(QStringLiteral("Zbiór danych %1 nie ma pola %2, którego używa "
                                                  "znacznik %3 szablonu.")
                                       .arg(quoted(marker.name), quoted(marker.field),
                                            quoted(RtfTemplate::markerText(marker))));
                }
                text = jet::Dataset::valueToText(data->value(field));
            }
        }
        if (text.isEmpty())
            return;
        m_out += "{\\uc1";
        if (m_report.LangID > 0)
            m_out += "\\lang" + QByteArray::number(m_report.LangID);
        m_out += ' ';
        m_out += escapeRtfText(text, m_fallbackCodePage);
        m_out += '}';
    }

    QVariant request(const QString &name)
    {
        if (!m_report.OnValueRequest)
            return {};
        return m_report.OnValueRequest(name);
    }

    TRTFReport &m_report;
    const RtfTemplate &m_tpl;
    const std::vector<RtfToken> &m_tokens;
    int m_fallbackCodePage = 1250;
    std::unordered_map<int, QByteArray> m_replace;
    std::unordered_map<int, QByteArray> m_insertAfter;
    RtfOutput &m_out;
    qint64 m_rowsPrinted = 0;
};

TRTFReport::TRTFReport() = default;

TRTFReport::~TRTFReport()
{
    ClearTables();
}

void TRTFReport::ClearTables()
{
    if (FreeDatasets) {
        QList<jet::Dataset *> owned;
        for (const QPointer<jet::Dataset> &data : std::as_const(m_datasets)) {
            if (data && !owned.contains(data.data()))
                owned.append(data.data());
        }
        qDeleteAll(owned);
    }
    m_datasets.clear();
}

bool TRTFReport::LoadTemplate(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return false;
    return LoadTemplateData(data);
}

bool TRTFReport::LoadTemplateData(const QByteArray &data)
{
    m_template.reset();
    m_templateError.clear();
    if (!data.startsWith("{\\rtf"))
        return false;
    try {
        m_template = std::make_unique<RtfTemplate>(data);
    } catch (const RtfError &error) {
        m_templateError = error.message(); // reported when the template is filled
    }
    return true;
}

const RtfTemplate &TRTFReport::loadedTemplate() const
{
    if (!m_templateError.isEmpty())
        throw RtfError(m_templateError);
    if (!m_template)
        throw RtfError(QStringLiteral("Nie załadowano szablonu raportu."));
    return *m_template;
}

QByteArray TRTFReport::Execute()
{
    const RtfTemplate &tpl = loadedTemplate();
    QByteArray document;
    QBuffer buffer(&document);
    buffer.open(QIODevice::WriteOnly);
    RtfOutput out(buffer, QString());
    RtfFiller(*this, tpl, out).run();
    return document;
}

void TRTFReport::ExecuteAndSave(const QString &path)
{
    const RtfTemplate &tpl = loadedTemplate();
    QFile file(path);
    QString reason;
    if (!jet::openPrivate(file, QIODevice::WriteOnly | QIODevice::Truncate, &reason))
        throw RtfError(writeError(path, reason));
    try {
        RtfOutput out(file, path);
        RtfFiller(*this, tpl, out).run();
        if (!file.flush())
            throw RtfError(writeError(path, file.errorString()));
        file.close();
        if (file.error() != QFileDevice::NoError)
            throw RtfError(writeError(path, file.errorString()));
    } catch (...) {
        // A failed or stopped filling (an error, "Anuluj", no memory) leaves no partial document.
        jet::removeUnfinished(file, path);
        throw;
    }
}

jet::Dataset *TRTFReport::dataset(const QString &name)
{
    const auto known = m_datasets.constFind(name);
    if (known != m_datasets.constEnd() && !known->isNull())
        return known->data();
    jet::Dataset *data = nullptr;
    if (OnDataSetRequest)
        OnDataSetRequest(name, data);
    if (!data) {
        throw RtfError(QStringLiteral("Szablon raportu używa zbioru danych %1, którego program nie "
                                      "udostępnia w tym raporcie.")
                           .arg(quoted(name)));
    }
    m_datasets.insert(name, data);
    return data;
}

bool TRTFReport::IsTrue(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return false;
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool();
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return value.toLongLong() != 0;
    case QMetaType::Double:
    case QMetaType::Float:
        return value.toDouble() != 0.0;
    default: {
        const QString text = value.toString().trimmed();
        return !text.isEmpty() && text != QLatin1String("0") &&
               text.compare(QLatin1String("false"), Qt::CaseInsensitive) != 0;
    }
    }
}

} // namespace katarix::rtf
