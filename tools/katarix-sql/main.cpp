// katarix-sql [--password P | --password-stdin] [--param NAME=VALUE | --param-text NAME=VALUE]... FILE.mdb "SQL"
//
// Opens a register (through the loader and its cache), runs one Jet SQL statement and prints
// the result as CSV: a header line of column names, then one line per row. Values are turned
// into text by the engine's rules (numbers in their shortest form with the decimal separator
// of the regional settings taken from the environment; NULL as an empty field). Without a
// password option, a protected file read from a terminal asks for its password there.
#include "jet/Database.h"
#include "jet/Dataset.h"
#include "jet/ErrorText.h"
#include "jet/JetError.h"
#include "jet/JetFunctions.h"
#include "jet/Query.h"
#include "jet/RegisterLoader.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include <csignal>
#include <cstdio>
#include <optional>
#include <string>
#include <termios.h>
#include <unistd.h>

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

// NAME=VALUE with an optional ':' before the name.
Parameter splitParameter(const QString &assignment)
{
    const qsizetype eq = assignment.indexOf(QLatin1Char('='));
    if (eq <= 0)
        throw JetError(QStringLiteral("Nieprawidłowy parametr \"%1\" (oczekiwano NAZWA=WARTOŚĆ).").arg(assignment));
    Parameter p;
    p.name = assignment.left(eq);
    if (p.name.startsWith(QLatin1Char(':')))
        p.name.remove(0, 1);
    p.value = assignment.mid(eq + 1);
    return p;
}

// --param: a value is a number when it reads as one, with the regional separator or with a point.
Parameter parseParameter(const QString &assignment)
{
    Parameter p = splitParameter(assignment);
    const QString text = p.value.toString();
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
    }
    return p;
}

// One line of standard input without its line end; nullopt at the end of input.
std::optional<QString> readLine()
{
    std::string line;
    int c;
    while ((c = std::fgetc(stdin)) != EOF && c != '\n')
        line += char(c);
    if (c == EOF && line.empty())
        return std::nullopt;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return QString::fromLocal8Bit(line.data(), qsizetype(line.size()));
}

// The terminal's settings while the password is typed without echo, restored also on Ctrl+C.
termios savedTerminal;

void restoreTerminal(int signal)
{
    ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &savedTerminal);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

// "Hasło: " on the terminal, the answer read without echo. Echo goes off (and anything typed
// before is discarded) before the prompt shows, so nothing typed after it is lost or shown.
QString askPassword()
{
    const bool noEcho = ::tcgetattr(STDIN_FILENO, &savedTerminal) == 0;
    if (noEcho) {
        termios quiet = savedTerminal;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        quiet.c_lflag |= ECHONL;
        for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGTSTP})
            std::signal(signal, restoreTerminal);
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    }
    write(stderr, QStringLiteral("Hasło: "));
    std::fflush(stderr);
    const std::optional<QString> password = readLine();
    if (noEcho) {
        ::tcsetattr(STDIN_FILENO, TCSANOW, &savedTerminal);
        for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGTSTP})
            std::signal(signal, SIG_DFL);
    }
    return password.value_or(QString());
}

const char *const kUsage = "Użycie: katarix-sql [OPCJE] PLIK.mdb \"SQL\"\n";

const char *const kHelp =
    "Wykonuje polecenie Jet SQL (Access) na rejestrze PLIK.mdb i wypisuje wynik jako CSV.\n"
    "\n"
    "Opcje:\n"
    "  --password HASŁO            hasło bazy danych (widać je na liście procesów)\n"
    "  --password-stdin            czyta hasło z pierwszego wiersza standardowego wejścia\n"
    "  --param NAZWA=WARTOŚĆ       wartość parametru :NAZWA; wartość, która czyta się jako liczba,\n"
    "                              jest liczbą\n"
    "  --param-text NAZWA=WARTOŚĆ  wartość parametru :NAZWA zawsze jako tekst\n"
    "                              (np. PESEL zaczynający się od 0)\n"
    "  -h, --help                  wyświetla ten opis\n"
    "\n"
    "Bez opcji hasła program pyta o hasło chronionego pliku na terminalu (\"Hasło: \", bez echa).\n"
    "Liczby mają separator dziesiętny ustawień regionalnych (np. LC_ALL=pl_PL.UTF-8).\n";

int usage()
{
    write(stderr, QString::fromUtf8(kUsage));
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    useSystemDecimalSeparator();
    const QStringList args = app.arguments();

    OpenOptions options;
    std::optional<QString> password;
    bool passwordFromStdin = false;
    QList<std::pair<QString, bool>> paramTexts; // assignment, always text
    QStringList positional;
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString &arg = args[i];
        // "--name VALUE" or "--name=VALUE" for the options with a value.
        auto value = [&](const char *name) -> std::optional<QString> {
            const QString option = QString::fromLatin1(name);
            if (arg == option && i + 1 < args.size())
                return args[++i];
            if (arg.startsWith(option + QLatin1Char('=')))
                return arg.mid(option.size() + 1);
            return std::nullopt;
        };
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            write(stdout, QString::fromUtf8(kUsage) + QString::fromUtf8(kHelp));
            return 0;
        }
        if (arg == QLatin1String("--password-stdin")) {
            passwordFromStdin = true;
        } else if (const std::optional<QString> text = value("--password")) {
            password = *text;
        } else if (const std::optional<QString> text = value("--param")) {
            paramTexts.append({*text, false});
        } else if (const std::optional<QString> text = value("--param-text")) {
            paramTexts.append({*text, true});
        } else if (arg == QLatin1String("--password") || arg == QLatin1String("--param")
                   || arg == QLatin1String("--param-text")) {
            return usage(); // an option without its value
        } else {
            positional << arg;
        }
    }
    if (positional.size() != 2 || (password && passwordFromStdin))
        return usage();

    try {
        std::vector<Parameter> parameters;
        for (const auto &[text, asText] : paramTexts)
            parameters.push_back(asText ? splitParameter(text) : parseParameter(text));

        if (passwordFromStdin)
            options.password = readLine().value_or(QString());
        else if (password)
            options.password = *password;
        else if (::isatty(STDIN_FILENO) && registerHasPassword(positional[0]))
            options.password = askPassword();

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
