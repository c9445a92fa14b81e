#pragma once

// Helpers of the report component tests: small templates, in-memory datasets, recording
// request handlers, and reading a produced document back as text.

#include "jet/MemTable.h"
#include "rtf/RTFReport.h"
#include "rtf/RtfTemplate.h"

#include <QHash>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>
#include <ostream>
#include <vector>

// Readable QString and QStringList in test failures.
inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QStringList &list, std::ostream *os)
{
    *os << '{' << list.join(QStringLiteral(", ")).toStdString() << '}';
}

namespace katarix::rtf::test {

// A one-font document as LibreOffice writes it (no code page, ANSI font); body is RTF.
inline QByteArray document(const QByteArray &body)
{
    return "{\\rtf1\\ansi\\deff0\\adeflang1025\n{\\fonttbl{\\f0\\froman\\fprq2\\fcharset0 Times New Roman;}"
           "{\\f1\\fswiss\\fprq2 Arial;}}\n{\\*\\generator test}\n\\pard\\plain " +
           body + "\\par }";
}

// A table row of the given cells, LibreOffice style: \trowd, cells ending in \cell, \row.
inline QByteArray row(const QList<QByteArray> &cells)
{
    QByteArray out = "\\trowd\\trql";
    for (int i = 0; i < cells.size(); ++i)
        out += "\\cellx" + QByteArray::number(3000 * (i + 1));
    for (const QByteArray &cell : cells)
        out += "\\pard\\plain \\intbl\\ql{\\loch " + cell + "}\\cell";
    return out + "\\row\\pard ";
}

// The text of a produced document: '\n' per paragraph end, cell and row end.
inline QString textOf(const QByteArray &rtf)
{
    return RtfTemplate(rtf).plainText();
}

// Balanced braces and nothing after the outermost group.
inline bool balanced(const QByteArray &rtf)
{
    int depth = 0;
    for (qsizetype i = 0; i < rtf.size(); ++i) {
        const char c = rtf.at(i);
        if (c == '\\') {
            ++i;
            continue;
        }
        if (depth == 0 && c != '{' && c != '\r' && c != '\n')
            return false;
        if (c == '{')
            ++depth;
        else if (c == '}' && --depth < 0)
            return false;
    }
    return depth == 0;
}

inline std::unique_ptr<jet::MemTable> table(const QStringList &fields, const QList<QVariantList> &rows)
{
    auto data = std::make_unique<jet::MemTable>();
    for (const QString &field : fields)
        data->addField(field, jet::FieldType::Text);
    data->open();
    for (const QVariantList &values : rows)
        data->append(values);
    data->first();
    return data;
}

// Request handlers that answer from a dictionary and record every request.
struct Handlers {
    QHash<QString, jet::Dataset *> datasets;
    QHash<QString, std::function<QVariant()>> values;
    QStringList datasetRequests;
    QStringList valueRequests;

    void install(TRTFReport &report)
    {
        report.OnDataSetRequest = [this](const QString &name, jet::Dataset *&dataset) {
            datasetRequests.append(name);
            if (datasets.contains(name))
                dataset = datasets.value(name);
        };
        report.OnValueRequest = [this](const QString &name) -> QVariant {
            valueRequests.append(name);
            const auto value = values.constFind(name);
            return value == values.constEnd() ? QVariant(QString()) : (*value)();
        };
    }
};

} // namespace katarix::rtf::test
