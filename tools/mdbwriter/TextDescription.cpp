#include "TextDescription.h"

#include <cerrno>
#include <cstdio>
#include <cmath>
#include <cstdlib>
#include <map>
#include <stdexcept>
#include <string>

namespace katarix::mdbwriter {
namespace {

[[noreturn]] void fail(std::size_t line, const std::string &message)
{
    throw std::runtime_error("Wiersz " + std::to_string(line) + ": " + message);
}

std::string lower(std::string s)
{
    for (char &c : s)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    return s;
}

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string trim(const std::string &s)
{
    std::size_t b = 0, e = s.size();
    while (b < e && isSpace(s[b]))
        ++b;
    while (e > b && isSpace(s[e - 1]))
        --e;
    return s.substr(b, e - b);
}

// Reads a quoted string starting at s[i] == '"'; leaves i after the closing quote.
std::string quoted(const std::string &s, std::size_t &i, std::size_t line)
{
    std::string out;
    for (++i; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '"') {
            ++i;
            return out;
        }
        if (c != '\\') {
            out += c;
            continue;
        }
        if (++i >= s.size())
            break;
        switch (s[i]) {
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case '"': out += '"'; break;
        case '\\': out += '\\'; break;
        default: fail(line, std::string("nieznana sekwencja \\") + s[i] + " w tekście.");
        }
    }
    fail(line, "brak cudzysłowu zamykającego tekst.");
}

// Splits "NAME rest" where NAME may be quoted.
std::pair<std::string, std::string> nameAndRest(const std::string &s, std::size_t line)
{
    const std::string t = trim(s);
    if (t.empty())
        fail(line, "brak nazwy.");
    std::size_t i = 0;
    std::string name;
    if (t[0] == '"') {
        name = quoted(t, i, line);
    } else {
        while (i < t.size() && !isSpace(t[i]))
            ++i;
        name = t.substr(0, i);
    }
    return {name, trim(t.substr(i))};
}

ColumnType parseType(const std::string &word, std::size_t line)
{
    static const std::map<std::string, ColumnType> types{
        {"boolean", ColumnType::Boolean}, {"byte", ColumnType::Byte},         {"integer", ColumnType::Integer},
        {"long", ColumnType::Long},       {"currency", ColumnType::Currency}, {"single", ColumnType::Single},
        {"double", ColumnType::Double},   {"datetime", ColumnType::DateTime}, {"text", ColumnType::Text},
        {"memo", ColumnType::Memo},       {"decimal", ColumnType::Decimal},   {"guid", ColumnType::Guid},
        {"hyperlink", ColumnType::Hyperlink}};
    const auto it = types.find(lower(word));
    if (it == types.end())
        fail(line, "nieznany typ kolumny „" + word +
                       "” (dozwolone: Boolean, Byte, Integer, Long, Currency, Single, Double, DateTime, Text, Memo, "
                       "Decimal, GUID, Hyperlink).");
    return it->second;
}

long long daysFromCivil(long long y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = unsigned(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

// #YYYY-MM-DD[ HH:MM[:SS]]# as OLE Automation days.
double parseDate(const std::string &token, std::size_t line)
{
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
    char tail = 0;
    const std::string body = token.substr(1, token.size() - 2);
    const int n = std::sscanf(body.c_str(), "%d-%d-%d %d:%d:%d%c", &y, &mo, &d, &h, &mi, &s, &tail);
    const bool shapeOk = n == 3 || n == 5 || n == 6;
    static const int monthDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    if (!shapeOk || y < 100 || y > 9999 || mo < 1 || mo > 12 || d < 1 || d > monthDays[mo - 1] ||
        (mo == 2 && d == 29 && !leap) || h > 23 || mi > 59 || s > 59 || h < 0 || mi < 0 || s < 0)
        fail(line, "niepoprawna data " + token + " (oczekiwano #RRRR-MM-DD# lub #RRRR-MM-DD GG:MM:SS#).");
    const double days = double(daysFromCivil(y, unsigned(mo), unsigned(d)) + 25569);
    const double time = (h * 3600 + mi * 60 + s) / 86400.0;
    // Before 1899-12-30 the time of day counts away from zero, as Access stores it.
    return days >= 0 ? days + time : days - time;
}

Value parseValue(const std::string &field, const Column &column, std::size_t line)
{
    if (field.empty())
        fail(line, "pusta wartość w kolumnie „" + column.name + "”; użyj NULL albo \"\".");
    if (field == "NULL" || field == "null")
        return Value{};
    if (field.front() == '#' && field.back() == '#' && field.size() > 2)
        return parseDate(field, line);
    const std::string low = lower(field);
    auto bad = [&](const char *expected) -> Value {
        fail(line, "„" + field + "” w kolumnie „" + column.name + "” nie jest " + expected + ".");
    };
    switch (column.type) {
    case ColumnType::Boolean:
        if (low == "true" || low == "1" || low == "prawda")
            return true;
        if (low == "false" || low == "0" || low == "fałsz")
            return false;
        return bad("wartością logiczną (true/false)");
    case ColumnType::Byte:
    case ColumnType::Integer:
    case ColumnType::Long: {
        errno = 0;
        char *end = nullptr;
        const long long v = std::strtoll(field.c_str(), &end, 10);
        if (errno || *end)
            return bad("liczbą całkowitą");
        return std::int64_t(v);
    }
    case ColumnType::Currency:
    case ColumnType::Single:
    case ColumnType::Double:
    case ColumnType::DateTime: {
        errno = 0;
        char *end = nullptr;
        const double v = std::strtod(field.c_str(), &end);
        if (errno == ERANGE && std::fabs(v) > 1.0)
            return bad("liczbą z zakresu typu Double");
        if (*end || !std::isfinite(v) || field.find(',') != std::string::npos)
            return bad("liczbą (z kropką dziesiętną)");
        return v;
    }
    case ColumnType::Decimal:
        // Exact decimal text; the writer checks it against the column.
        return field;
    default:
        return field;
    }
}

std::vector<Value> parseRow(const std::string &text, const Table &table, std::size_t line)
{
    std::vector<Value> row;
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (true) {
        while (i < n && isSpace(text[i]))
            ++i;
        if (row.size() >= table.columns.size())
            fail(line, "więcej wartości niż kolumn w tabeli „" + table.name + "” (" +
                           std::to_string(table.columns.size()) + ").");
        const Column &column = table.columns[row.size()];
        if (i < n && text[i] == '"') {
            row.push_back(quoted(text, i, line));
            while (i < n && isSpace(text[i]))
                ++i;
            if (i < n && text[i] != ';')
                fail(line, "po tekście w cudzysłowie oczekiwano ';'.");
        } else {
            const std::size_t start = i;
            while (i < n && text[i] != ';')
                ++i;
            row.push_back(parseValue(trim(text.substr(start, i - start)), column, line));
        }
        if (i >= n)
            break;
        ++i; // ';'
    }
    if (row.size() != table.columns.size())
        fail(line, std::to_string(row.size()) + " wartości, a tabela „" + table.name + "” ma " +
                       std::to_string(table.columns.size()) + " kolumn.");
    return row;
}

} // namespace

Content parseTextDescription(std::istream &in)
{
    Content content;
    std::string raw;
    std::size_t line = 0;
    while (std::getline(in, raw)) {
        ++line;
        const std::string text = trim(raw);
        if (text.empty() || text[0] == '#')
            continue;
        std::size_t sp = 0;
        while (sp < text.size() && !isSpace(text[sp]))
            ++sp;
        const std::string keyword = lower(text.substr(0, sp));
        const std::string rest = sp < text.size() ? text.substr(sp + 1) : std::string();
        if (keyword == "table") {
            auto [name, tail] = nameAndRest(rest, line);
            if (!tail.empty())
                fail(line, "po nazwie tabeli nieoczekiwane „" + tail + "”.");
            content.tables.push_back(Table{name, {}, {}});
        } else if (keyword == "column") {
            if (content.tables.empty())
                fail(line, "kolumna przed pierwszą tabelą.");
            Table &table = content.tables.back();
            if (!table.rows.empty())
                fail(line, "kolumna po wierszach tabeli „" + table.name + "”.");
            auto [name, tail] = nameAndRest(rest, line);
            if (tail.empty())
                fail(line, "brak typu kolumny „" + name + "”.");
            auto [typeWord, sizeWord] = nameAndRest(tail, line);
            Column column{name, parseType(typeWord, line), 255, 18, 0};
            if (column.type == ColumnType::Decimal && !sizeWord.empty()) {
                int precision = 0, scale = 0;
                char tail = 0;
                if (std::sscanf(sizeWord.c_str(), "%d,%d%c", &precision, &scale, &tail) != 2)
                    fail(line, "kolumna Decimal przyjmuje precyzję i skalę w postaci 18,2.");
                column.precision = precision;
                column.scale = scale;
            } else if (!sizeWord.empty()) {
                char *end = nullptr;
                const long size = std::strtol(sizeWord.c_str(), &end, 10);
                if (column.type != ColumnType::Text || *end || size < 1 || size > 255)
                    fail(line, "rozmiar „" + sizeWord + "” jest dozwolony tylko dla kolumny Text (1–255).");
                column.textSize = int(size);
            }
            table.columns.push_back(column);
        } else if (keyword == "row") {
            if (content.tables.empty() || content.tables.back().columns.empty())
                fail(line, "wiersz danych przed opisem kolumn.");
            Table &table = content.tables.back();
            table.rows.push_back(parseRow(rest, table, line));
        } else {
            fail(line, "nieznane słowo „" + text.substr(0, sp) + "” (oczekiwano table, column albo row).");
        }
    }
    return content;
}

} // namespace katarix::mdbwriter
