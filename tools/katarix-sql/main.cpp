// katarix-sql [--password P] [--param NAME=VALUE]... FILE.mdb "SQL"
//
// Opens a register (through the loader and its cache), runs one Jet SQL statement and prints
// the result as CSV: a header line of column names, then one line per row. Values are turned
// into text by the engine's rules (numbers in their shortest form with the decimal separator
// of the regional settings taken from the environment; NULL as an empty field).
#include "jet/Database.h"
#include "jet/Dataset.h"
#include "jet/ErrorText.h"
#include "jet/JetError.h"
#include "jet/JetFunctions.h"
#include "jet/Query.h"
#include "jet/RegisterLoader.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include <cstdio>

using namespace katarix::jet;

namespace {

void write(FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
}

QString csvField(const QString &value)
{
    if (!value.contains(QLatin1Char(',')) && !value.contains(QLatin1Char('"')) && !value.contains(QLatin1Char('\r'))
        && !value.contains(QLatin1Char('\n')))
        return value;
    QString quoted = value;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

struct Parameter {
    QString name;
    QVariant value;
    FieldType type = FieldType::Text;
};

// A value is a number when it reads as one, with the regional separator or with a point.
Parameter parseParameter(const QString &assignment)
{
    const qsizetype eq = assignment.indexOf(QLatin1Char('='));
    if (eq <= 0)
        throw JetError(QStringLiteral("Nieprawidłowy parametr \"%1\" (oczekiwano NAZWA=WARTOŚĆ).").arg(assignment));
    Parameter p;
    p.name = assignment.left(eq);
    if (p.name.startsWith(QLatin1Char(':')))
        p.name.remove(0, 1);
    const QString text = assignment.mid(eq + 1);
    static const QRegularExpression integer(QStringLiteral("^[+-]?[0-9]+$"));
    bool ok = false;
    if (integer.match(text).hasMatch()) {
        const qlonglong whole = text.toLongLong(&ok);
        if (ok) {
            p.value = whole;
            p.type = FieldType::Integer;
            return p;
        }
    }
    double number = textToNumber(text, &ok);
    if (!ok && !text.trimmed().isEmpty())
        number = text.trimmed().toDouble(&ok);
    if (ok) {
        p.value = number;
        p.type = FieldType::Float;
    } else {
        p.value = text;
        p.type = FieldType::Text;
    }
    return p;
}

int usage()
{
    write(stderr, QStringLiteral("Użycie: katarix-sql [--password HASŁO] [--param NAZWA=WARTOŚĆ]... PLIK.mdb \"SQL\"\n"));
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    useSystemDecimalSeparator();
    const QStringList args = app.arguments();

    OpenOptions options;
    QList<QString> paramTexts;
    QStringList positional;
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString &arg = args[i];
        if (arg == QLatin1String("--password") || arg == QLatin1String("--param")) {
            if (i + 1 >= args.size())
                return usage();
            (arg == QLatin1String("--password") ? options.password : paramTexts.emplace_back()) = args[++i];
        } else if (arg.startsWith(QLatin1String("--password="))) {
            options.password = arg.mid(11);
        } else if (arg.startsWith(QLatin1String("--param="))) {
            paramTexts << arg.mid(8);
        } else {
            positional << arg;
        }
    }
    if (positional.size() != 2)
        return usage();

    try {
        std::vector<Parameter> parameters;
        for (const QString &text : paramTexts)
            parameters.push_back(parseParameter(text));

        Database db;
        openRegister(db, positional[0], options);
        Query query;
        query.setDatabase(&db);
        query.setSql(positional[1]);
        for (const Parameter &p : parameters)
            query.setParameter(p.name, p.value, p.type);
        query.open();

        QString out;
        QStringList header;
        for (int f = 0; f < query.fieldCount(); ++f)
            header << csvField(query.fieldName(f));
        out += header.join(QLatin1Char(',')) + QLatin1Char('\n');
        write(stdout, out);
        for (int r = 0; r < query.recordCount(); ++r) {
            QString line;
            for (int f = 0; f < query.fieldCount(); ++f) {
                if (f)
                    line += QLatin1Char(',');
                line += csvField(Dataset::valueToText(query.valueAt(r, f)));
            }
            line += QLatin1Char('\n');
            write(stdout, line);
        }
        std::fflush(stdout);
        return 0;
    } catch (const std::exception &error) {
        write(stderr, errorText(error) + QLatin1Char('\n'));
        return 1;
    }
}
