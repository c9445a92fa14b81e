#include "RtfTemplate.h"

#include "RtfError.h"
#include "RtfText.h"

#include <QSet>

namespace katarix::rtf {

namespace {

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Destinations whose text is not document text: markers are never looked for in them.
bool isHiddenDestination(const QByteArray &word)
{
    static const QSet<QByteArray> words = {
        "fonttbl", "colortbl", "stylesheet", "info", "pict", "listtable", "listoverridetable",
        "rsidtbl", "generator", "xmlnstbl", "themedata", "colorschememapping", "latentstyles",
        "datastore", "object", "filetbl", "revtbl", "pgdsctbl", "mmathPr", "fldinst", "listtext",
        "pntext", "pntxta", "pntxtb", "pn", "nonshppict", "shppict", "shprslt", "bkmkstart",
        "bkmkend", "userprops", "docvar", "template", "operator", "author", "title"};
    return words.contains(word);
}

QString quoted(const QString &text)
{
    return QStringLiteral("„") + text + QStringLiteral("”");
}

QString malformed(const QString &detail)
{
    return QStringLiteral("Nieprawidłowy szablon raportu: ") + detail;
}

} // namespace

RtfTemplate::RtfTemplate(QByteArray source)
    : m_source(std::move(source))
{
    if (!m_source.startsWith("{\\rtf"))
        throw RtfError(malformed(QStringLiteral("plik nie jest dokumentem RTF.")));
    tokenize();
    findBody();
    findMarkers();
    buildSections();
}

int RtfTemplate::depthBefore(int token) const
{
    if (token >= int(m_tokens.size()))
        return 0;
    return m_tokens[size_t(token)].depth;
}

void RtfTemplate::tokenize()
{
    struct State {
        bool skipped = false;
        bool inTable = false;
        int uc = 1;
    };
    std::vector<State> stack;
    const char *s = m_source.constData();
    const int n = int(m_source.size());
    bool groupStart = false;
    int pendingFallback = 0;
    int i = 0;
    while (i < n) {
        RtfToken token;
        token.begin = i;
        token.depth = int(stack.size());
        const char c = s[i];
        if (c == '{') {
            token.kind = RtfToken::Open;
            stack.push_back(stack.empty() ? State{} : stack.back());
            groupStart = true;
            pendingFallback = 0;
            ++i;
        } else if (c == '}') {
            token.kind = RtfToken::Close;
            stack.pop_back();
            groupStart = false;
            pendingFallback = 0;
            ++i;
        } else if (c == '\r' || c == '\n') {
            token.kind = RtfToken::Space;
            ++i;
        } else if (c == '\\' && i + 1 < n) {
            token.kind = RtfToken::Control;
            const char d = s[i + 1];
            if (isLetter(d)) {
                int j = i + 1;
                while (j < n && isLetter(s[j]))
                    ++j;
                token.word = QByteArray(s + i + 1, j - i - 1);
                if (j < n && (isDigit(s[j]) || (s[j] == '-' && j + 1 < n && isDigit(s[j + 1])))) {
                    const int p = j;
                    ++j;
                    while (j < n && isDigit(s[j]))
                        ++j;
                    token.param = QByteArray(s + p, j - p).toInt();
                    token.hasParam = true;
                }
                if (j < n && s[j] == ' ')
                    ++j;
                if (token.word == "bin" && token.hasParam && token.param > 0)
                    j = std::min(n, j + token.param);
                i = j;
            } else if (d == '\'') {
                token.word = "'";
                token.param = QByteArray(s + i + 2, std::min(2, n - i - 2)).toInt(nullptr, 16);
                token.hasParam = true;
                i = std::min(n, i + 4);
            } else if (d == '\r' || d == '\n') {
                token.word = "par";
                i += 2;
            } else {
                token.word = QByteArray(1, d);
                i += 2;
            }
        } else {
            token.kind = RtfToken::Text;
            ++i;
        }
        token.end = i;

        if (stack.empty()) {
            m_rootClose = int(m_tokens.size());
            m_tokens.push_back(token);
            break;
        }
        State &state = stack.back();
        if (token.kind == RtfToken::Control) {
            if (groupStart && (token.word == "*" || isHiddenDestination(token.word)))
                state.skipped = true;
            groupStart = false;
            if (!state.skipped) {
                const QByteArray &w = token.word;
                if (pendingFallback > 0 && w == "'") {
                    token.fallback = true;
                    --pendingFallback;
                } else if (w == "pard") {
                    state.inTable = false;
                } else if (w == "intbl") {
                    state.inTable = true;
                } else if (w == "itap") {
                    state.inTable = token.param > 0;
                } else if (w == "uc") {
                    state.uc = std::max(0, token.param);
                } else if (w == "u" && token.hasParam) {
                    token.ch = QChar(char16_t(token.param < 0 ? token.param + 0x10000 : token.param));
                    pendingFallback = state.uc;
                } else if (w == "'") {
                    token.ch = charFromCodePage(static_cast<unsigned char>(token.param), 1250);
                } else if (w == "par" || w == "sect" || w == "cell" || w == "row" || w == "nestcell" ||
                           w == "nestrow") {
                    token.isBreak = true;
                    token.ch = QLatin1Char('\n');
                } else if (w == "line") {
                    token.ch = QLatin1Char('\n');
                } else if (w == "tab") {
                    token.ch = QLatin1Char('\t');
                } else if (w == "\\" || w == "{" || w == "}") {
                    token.ch = QLatin1Char(w.at(0));
                } else if (w == "endash") {
                    token.ch = QChar(0x2013);
                } else if (w == "emdash") {
                    token.ch = QChar(0x2014);
                } else if (w == "lquote" || w == "rquote") {
                    token.ch = QLatin1Char('\'');
                } else if (w == "ldblquote" || w == "rdblquote") {
                    token.ch = QLatin1Char('"');
                } else if (w == "~") {
                    token.ch = QChar(0xA0);
                } else if (w == "_") {
                    token.ch = QLatin1Char('-');
                }
            }
        } else if (token.kind == RtfToken::Text) {
            groupStart = false;
            if (state.skipped) {
                RtfToken &last = m_tokens.back();
                if (last.kind == RtfToken::Text && last.skipped && last.end == token.begin) {
                    last.end = token.end;
                    continue;
                }
            } else if (pendingFallback > 0) {
                token.fallback = true;
                --pendingFallback;
            } else {
                token.ch = charFromCodePage(static_cast<unsigned char>(c), 1250);
            }
        }
        token.skipped = state.skipped && token.kind != RtfToken::Open;
        token.inTable = state.inTable;
        if (token.kind == RtfToken::Close || token.kind == RtfToken::Open)
            token.skipped = false;
        m_tokens.push_back(token);
    }
    if (!stack.empty() || m_rootClose == 0)
        throw RtfError(malformed(QStringLiteral("niezamknięte grupy „{”, plik jest niekompletny.")));
    // Only line ends (and the NUL some writers add) may follow the document's group.
    for (int j = m_tokens[size_t(m_rootClose)].end; j < n; ++j) {
        if (s[j] != '\r' && s[j] != '\n' && s[j] != ' ' && s[j] != '\0') {
            throw RtfError(malformed(QStringLiteral("nawias zamykający „}” (bajt %1) kończy dokument przed "
                                                    "jego końcem.")
                                         .arg(m_tokens[size_t(m_rootClose)].begin)));
        }
    }
    m_deleted.assign(m_tokens.size(), false);
    m_valueMarkerAt.assign(m_tokens.size(), -1);
}

void RtfTemplate::findBody()
{
    int firstText = m_rootClose;
    for (int t = 0; t < m_rootClose; ++t) {
        const RtfToken &token = m_tokens[size_t(t)];
        if (!token.skipped && (!token.ch.isNull() || token.isBreak)) {
            firstText = t;
            break;
        }
    }
    // The body begins after the header's groups and its document-wide control words.
    static const QSet<QByteArray> headerWords = {"rtf", "ansi", "mac", "pc", "pca", "ansicpg", "deff",
                                                 "adeff", "deflang", "deflangfe", "adeflang", "uc"};
    m_bodyStart = 1;
    for (int t = 0; t < firstText; ++t) {
        const RtfToken &token = m_tokens[size_t(t)];
        if ((token.kind == RtfToken::Close && token.depth == 2) ||
            (token.kind == RtfToken::Control && token.depth == 1 && headerWords.contains(token.word)))
            m_bodyStart = t + 1;
    }
    for (int t = 0; t < m_rootClose; ++t) {
        const RtfToken &token = m_tokens[size_t(t)];
        if (token.skipped || token.fallback || token.ch.isNull())
            continue;
        m_plain += token.ch;
        m_plainToken.push_back(t);
    }
}

void RtfTemplate::findMarkers()
{
    qsizetype pos = 0;
    while (true) {
        const qsizetype a = m_plain.indexOf(QLatin1String("[["), pos);
        if (a < 0)
            break;
        const qsizetype b = m_plain.indexOf(QLatin1String("]]"), a + 2);
        qsizetype lineEnd = m_plain.indexOf(QLatin1Char('\n'), a + 2);
        if (lineEnd < 0)
            lineEnd = m_plain.size();
        const qsizetype nested = m_plain.indexOf(QLatin1String("[["), a + 2);
        if (b < 0 || b > lineEnd || (nested >= 0 && nested < b)) {
            const QString start = m_plain.mid(a, std::min<qsizetype>(lineEnd - a, 40));
            throw RtfError(malformed(QStringLiteral("znacznik %1 nie jest zamknięty znakami „]]” "
                                                    "w tym samym akapicie.")
                                         .arg(quoted(start))));
        }
        RtfMarker marker;
        marker.text = m_plain.mid(a + 2, b - a - 2).trimmed();
        marker.firstToken = m_plainToken[size_t(a)];
        marker.lastToken = m_plainToken[size_t(b + 1)];
        const QString &text = marker.text;
        const QString shown = quoted(markerText(marker));
        auto nameAfter = [&](int prefix) {
            const QString name = text.mid(prefix).trimmed();
            if (name.isEmpty())
                throw RtfError(malformed(QStringLiteral("znacznik %1 nie podaje nazwy.").arg(shown)));
            return name;
        };
        if (text.isEmpty()) {
            throw RtfError(malformed(QStringLiteral("pusty znacznik „[[]]”.")));
        } else if (text.startsWith(QLatin1Char('#'))) {
            marker.kind = RtfMarker::BandStart;
            marker.name = nameAfter(1);
        } else if (text.startsWith(QLatin1String("?!"))) {
            marker.kind = RtfMarker::ConditionStart;
            marker.negate = true;
            marker.name = nameAfter(2);
        } else if (text.startsWith(QLatin1Char('?'))) {
            marker.kind = RtfMarker::ConditionStart;
            marker.name = nameAfter(1);
        } else if (text.startsWith(QLatin1Char('/'))) {
            marker.kind = RtfMarker::End;
            marker.name = nameAfter(1);
        } else if (const qsizetype dot = text.indexOf(QLatin1Char('.')); dot >= 0) {
            marker.kind = RtfMarker::Field;
            marker.name = text.left(dot).trimmed();
            marker.field = text.mid(dot + 1).trimmed();
            if (marker.name.isEmpty() || marker.field.isEmpty())
                throw RtfError(malformed(QStringLiteral("znacznik %1 powinien mieć postać "
                                                        "[[zbiór.POLE]].")
                                             .arg(shown)));
        } else {
            marker.kind = RtfMarker::Variable;
            marker.name = text;
        }
        const int index = int(m_markers.size());
        for (int t = marker.firstToken; t <= marker.lastToken; ++t) {
            const RtfToken &token = m_tokens[size_t(t)];
            if (!token.skipped && (!token.ch.isNull() || token.fallback))
                m_deleted[size_t(t)] = true;
        }
        if (marker.kind == RtfMarker::Field || marker.kind == RtfMarker::Variable)
            m_valueMarkerAt[size_t(marker.firstToken)] = index;
        m_markers.push_back(marker);
        pos = b + 2;
    }
}

void RtfTemplate::buildSections()
{
    RtfSection document;
    document.kind = RtfSection::Document;
    document.begin = 0;
    document.end = int(m_tokens.size());
    m_sections.push_back(document);

    std::vector<int> open{0};
    for (int m = 0; m < int(m_markers.size()); ++m) {
        const RtfMarker &marker = m_markers[size_t(m)];
        if (marker.kind == RtfMarker::BandStart || marker.kind == RtfMarker::ConditionStart) {
            RtfSection section;
            section.kind = marker.kind == RtfMarker::BandStart ? RtfSection::Band : RtfSection::Condition;
            section.name = marker.name;
            section.negate = marker.negate;
            section.startMarker = m;
            m_sections[size_t(open.back())].children.push_back(int(m_sections.size()));
            open.push_back(int(m_sections.size()));
            m_sections.push_back(section);
        } else if (marker.kind == RtfMarker::End) {
            if (open.size() == 1)
                throw RtfError(malformed(QStringLiteral("znacznik %1 niczego nie zamyka.")
                                             .arg(quoted(markerText(marker)))));
            RtfSection &section = m_sections[size_t(open.back())];
            if (section.name != marker.name) {
                throw RtfError(malformed(
                    QStringLiteral("znacznik %1 nie pasuje do otwartego %2.")
                        .arg(quoted(markerText(marker)),
                             quoted(markerText(m_markers[size_t(section.startMarker)])))));
            }
            section.endMarker = m;
            placeSection(section);
            open.pop_back();
        }
    }
    if (open.size() > 1) {
        const RtfMarker &start = m_markers[size_t(m_sections[size_t(open.back())].startMarker)];
        throw RtfError(malformed(QStringLiteral("brak znacznika %1 zamykającego %2.")
                                     .arg(quoted(QStringLiteral("[[/") + start.name + QStringLiteral("]]")),
                                          quoted(markerText(start)))));
    }
    checkSections(0);
}

// A section whose start and end markers share a paragraph covers just the text between
// them (markers included); otherwise it covers whole paragraphs, or whole table rows where
// a marker stands in a table.
void RtfTemplate::placeSection(RtfSection &section)
{
    const RtfMarker &start = m_markers[size_t(section.startMarker)];
    const RtfMarker &end = m_markers[size_t(section.endMarker)];
    bool inline_ = true;
    for (int t = start.lastToken + 1; t < end.firstToken; ++t) {
        const RtfToken &token = m_tokens[size_t(t)];
        if (token.isBreak && !token.skipped) {
            inline_ = false;
            break;
        }
    }
    if (inline_) {
        section.begin = start.firstToken;
        section.end = end.lastToken + 1;
        return;
    }
    const RtfToken &startToken = m_tokens[size_t(start.firstToken)];
    const RtfToken &endToken = m_tokens[size_t(end.lastToken)];
    section.begin = startToken.inTable ? rowStart(start.firstToken) : paragraphStart(start.firstToken);
    section.end = endToken.inTable ? rowEnd(end.lastToken) : paragraphEnd(end.lastToken);
    section.end = extendOverClosing(section.begin, section.end);
    // A paragraph that holds nothing but section markers leaves no empty line behind.
    if (!startToken.inTable)
        dropMarkerParagraph(paragraphStart(start.firstToken), paragraphEnd(start.lastToken) - 1);
    if (!endToken.inTable)
        dropMarkerParagraph(paragraphStart(end.firstToken), paragraphEnd(end.lastToken) - 1);
}

void RtfTemplate::dropMarkerParagraph(int begin, int breakToken)
{
    if (breakToken < begin || breakToken >= m_rootClose || m_tokens[size_t(breakToken)].word != "par")
        return;
    for (int t = begin; t < breakToken; ++t) {
        const RtfToken &token = m_tokens[size_t(t)];
        if (m_valueMarkerAt[size_t(t)] >= 0)
            return;
        if (token.skipped || m_deleted[size_t(t)] || (token.ch.isNull() && !token.fallback))
            continue;
        if (!token.ch.isSpace())
            return;
    }
    m_deleted[size_t(breakToken)] = true;
}

void RtfTemplate::checkSections(int index)
{
    const RtfSection &parent = m_sections[size_t(index)];
    auto describe = [&](const RtfSection &section) {
        return quoted(markerText(m_markers[size_t(section.startMarker)]));
    };
    const RtfSection *previous = nullptr;
    for (int child : parent.children) {
        const RtfSection &section = m_sections[size_t(child)];
        if (section.begin < parent.begin || section.end > parent.end) {
            throw RtfError(malformed(
                QStringLiteral("obszar %1 wychodzi poza akapit lub wiersz tabeli obszaru %2; "
                               "zewnętrzny obszar musi obejmować całe akapity lub wiersze wewnętrznego.")
                    .arg(describe(section), describe(parent))));
        }
        if (previous && previous->end > section.begin) {
            throw RtfError(malformed(QStringLiteral("obszary %1 i %2 zajmują ten sam akapit lub wiersz "
                                                    "tabeli.")
                                         .arg(describe(*previous), describe(section))));
        }
        // A value marker inside the repeated paragraphs or rows but outside the section's
        // markers would be filled in the wrong place; markers of enclosing sections print
        // nothing and may share a paragraph with it.
        for (int m = section.startMarker - 1; m >= 0 && m_markers[size_t(m)].lastToken >= section.begin; --m)
            misplaced(m, section, true);
        for (int m = section.endMarker + 1;
             m < int(m_markers.size()) && m_markers[size_t(m)].firstToken < section.end; ++m)
            misplaced(m, section, false);
        previous = &section;
        checkSections(child);
    }
}

void RtfTemplate::misplaced(int marker, const RtfSection &section, bool before) const
{
    const RtfMarker &m = m_markers[size_t(marker)];
    if (m.kind != RtfMarker::Field && m.kind != RtfMarker::Variable)
        return;
    const QString where = before ? QStringLiteral("przed jego początkiem; przenieś go do innego akapitu "
                                                  "lub za znacznik początku.")
                                 : QStringLiteral("za jego końcem; przenieś go do innego akapitu lub "
                                                  "przed znacznik końca.");
    throw RtfError(malformed(QStringLiteral("znacznik %1 stoi w akapicie lub wierszu tabeli obszaru %2, ")
                                 .arg(quoted(markerText(m)),
                                      quoted(markerText(m_markers[size_t(section.startMarker)]))) +
                             where));
}

int RtfTemplate::skipClosing(int token, int limit) const
{
    while (token < limit && (m_tokens[size_t(token)].kind == RtfToken::Close ||
                             m_tokens[size_t(token)].kind == RtfToken::Space))
        ++token;
    return token;
}

int RtfTemplate::extendOverClosing(int begin, int end) const
{
    while (end < m_rootClose && depthBefore(end) > depthBefore(begin) &&
           (m_tokens[size_t(end)].kind == RtfToken::Close || m_tokens[size_t(end)].kind == RtfToken::Space))
        ++end;
    return end;
}

int RtfTemplate::paragraphStart(int token) const
{
    for (int t = token - 1; t >= m_bodyStart; --t) {
        const RtfToken &candidate = m_tokens[size_t(t)];
        if (candidate.isBreak && !candidate.skipped)
            return skipClosing(t + 1, token);
    }
    return m_bodyStart;
}

int RtfTemplate::paragraphEnd(int token) const
{
    for (int t = token + 1; t < m_rootClose; ++t) {
        const RtfToken &candidate = m_tokens[size_t(t)];
        if (candidate.isBreak && !candidate.skipped)
            return t + 1;
    }
    return m_rootClose;
}

// A row starts at its \trowd; the row before ends with \row, and a paragraph outside any
// table ends with \par without \intbl.
int RtfTemplate::rowStart(int token) const
{
    int after = m_bodyStart;
    for (int t = token - 1; t >= m_bodyStart; --t) {
        const RtfToken &candidate = m_tokens[size_t(t)];
        if (!candidate.isBreak || candidate.skipped)
            continue;
        if (candidate.word == "row" || candidate.word == "sect" ||
            (candidate.word == "par" && !candidate.inTable)) {
            after = t + 1;
            break;
        }
    }
    for (int t = after; t < token; ++t) {
        const RtfToken &candidate = m_tokens[size_t(t)];
        if (candidate.kind == RtfToken::Control && candidate.word == "trowd" && !candidate.skipped)
            return t;
    }
    return skipClosing(after, token);
}

int RtfTemplate::rowEnd(int token) const
{
    for (int t = token + 1; t < m_rootClose; ++t) {
        const RtfToken &candidate = m_tokens[size_t(t)];
        if (candidate.isBreak && !candidate.skipped && candidate.word == "row")
            return t + 1;
    }
    throw RtfError(malformed(QStringLiteral("wiersz tabeli nie ma końca (brak \\row).")));
}

QStringList RtfTemplate::datasetNames() const
{
    QStringList names;
    for (const RtfMarker &marker : m_markers) {
        if ((marker.kind == RtfMarker::Field || marker.kind == RtfMarker::BandStart) &&
            !names.contains(marker.name))
            names.append(marker.name);
    }
    return names;
}

} // namespace katarix::rtf
