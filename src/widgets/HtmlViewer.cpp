#include "widgets/HtmlViewer.h"

#include <QRegularExpression>
#include <QTextDocument>

#include <vector>

namespace katarix::widgets {

namespace {

// Attributes of a start tag (the text after its name): lower-case names, values unquoted.
QList<std::pair<QString, QString>> atrybuty(const QString &text)
{
    static const QRegularExpression atrybut(
        QStringLiteral(R"(([A-Za-z_:][-A-Za-z0-9_:.]*)(?:\s*=\s*("[^"]*"|'[^']*'|[^\s"'>]+))?)"));
    QList<std::pair<QString, QString>> out;
    for (auto it = atrybut.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        QString value = m.captured(2);
        if (value.size() >= 2 && (value.front() == QLatin1Char('"') || value.front() == QLatin1Char('\'')))
            value = value.mid(1, value.size() - 2);
        out.append({m.captured(1).toLower(), value});
    }
    return out;
}

const QString *wartosc(const QList<std::pair<QString, QString>> &attributes, QLatin1StringView name)
{
    for (const auto &[key, value] : attributes)
        if (key == name)
            return &value;
    return nullptr;
}

int rozpietosc(const QList<std::pair<QString, QString>> &attributes, QLatin1StringView name)
{
    const QString *value = wartosc(attributes, name);
    const int span = value ? value->trimmed().toInt() : 1;
    return std::clamp(span, 1, 1000);
}

// What a <col> or <colgroup> gives the cells of its column.
struct Kolumna {
    QString align, valign, width;
};

Kolumna kolumna(const QList<std::pair<QString, QString>> &attributes, const Kolumna &grupa)
{
    Kolumna k = grupa;
    if (const QString *v = wartosc(attributes, QLatin1StringView("align")))
        k.align = *v;
    if (const QString *v = wartosc(attributes, QLatin1StringView("valign")))
        k.valign = *v;
    if (const QString *v = wartosc(attributes, QLatin1StringView("width")))
        k.width = *v;
    return k;
}

struct Tabela {
    QList<Kolumna> kolumny;
    int kolumna = 0; // column of the next cell in the current row
    bool wGrupie = false;
    bool grupaMaKolumny = false;
    Kolumna grupa;
    int rozpietoscGrupy = 1;

    // A group without <col> elements stands for its span of columns.
    void zamknijGrupe()
    {
        if (!grupaMaKolumny)
            for (int i = 0; i < rozpietoscGrupy; ++i)
                kolumny.append(grupa);
        wGrupie = false;
    }
};

// A start tag of a cell, given what its column says where the cell says nothing.
QString komorka(const QString &name, const QString &attributeText, Tabela &tabela)
{
    const auto attributes = atrybuty(attributeText);
    QString extra;
    if (tabela.kolumna < tabela.kolumny.size()) {
        const Kolumna &k = tabela.kolumny.at(tabela.kolumna);
        const std::pair<QLatin1StringView, const QString *> inherited[] = {
            {QLatin1StringView("align"), &k.align}, {QLatin1StringView("valign"), &k.valign}, {QLatin1StringView("width"), &k.width}};
        for (const auto &[key, value] : inherited)
            if (!value->isEmpty() && !wartosc(attributes, key))
                extra += QLatin1Char(' ') + key + QStringLiteral("=\"") + *value + QLatin1Char('"');
    }
    if (wartosc(attributes, QLatin1StringView("nowrap")) && !wartosc(attributes, QLatin1StringView("style")))
        extra += QStringLiteral(" style=\"white-space: nowrap\"");
    tabela.kolumna += rozpietosc(attributes, QLatin1StringView("colspan"));
    return QLatin1Char('<') + name + attributeText + extra + QLatin1Char('>');
}

} // namespace

THTMLViewer::THTMLViewer(QWidget *parent) : QTextBrowser(parent)
{
    setOpenLinks(false);
    setOpenExternalLinks(false);
    setUndoRedoEnabled(false);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setLineWrapMode(QTextEdit::WidgetWidth);
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSize(8);
    setFont(font);
    document()->setDefaultFont(font);
    document()->setDocumentMargin(2);
    document()->setDefaultStyleSheet(QStringLiteral("pre, tt, code { font-family: 'Courier New'; }"));
    // The window colour behind the page.
    QPalette palette = this->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    setPalette(palette);
}

void THTMLViewer::LoadFromString(const QString &text, const QString &reference)
{
    m_tekst = text;
    setHtml(przygotujStrone(text));
    if (!reference.isEmpty())
        scrollToAnchor(reference);
}

// Nothing is loaded from outside the page: no images, no style sheets.
QVariant THTMLViewer::loadResource(int type, const QUrl &name)
{
    Q_UNUSED(type);
    Q_UNUSED(name);
    return {};
}

QString THTMLViewer::przygotujStrone(const QString &html)
{
    static const QRegularExpression encja(QStringLiteral("&(nbsp|amp|lt|gt|quot)(?![A-Za-z0-9;])"),
                                          QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression znacznik(QStringLiteral("<(/?)([A-Za-z][A-Za-z0-9]*)([^>]*)>"));
    QString strona = html;
    strona.replace(encja, QStringLiteral("&\\1;"));

    QString wynik;
    wynik.reserve(strona.size() + 256);
    std::vector<Tabela> tabele;
    qsizetype poz = 0;
    for (auto it = znacznik.globalMatch(strona); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        wynik += QStringView(strona).mid(poz, m.capturedStart() - poz);
        poz = m.capturedEnd();
        const bool koniec = !m.captured(1).isEmpty();
        const QString nazwa = m.captured(2).toLower();
        Tabela *tabela = tabele.empty() ? nullptr : &tabele.back();

        if (nazwa == QLatin1String("table")) {
            if (koniec && !tabele.empty())
                tabele.pop_back();
            else if (!koniec)
                tabele.emplace_back();
            wynik += m.captured(0);
            continue;
        }
        if (!tabela) {
            wynik += m.captured(0);
            continue;
        }
        // A column group ends at its end tag or at the first tag that is no column.
        if (tabela->wGrupie && nazwa != QLatin1String("col")) {
            tabela->zamknijGrupe();
            if (nazwa == QLatin1String("colgroup") && koniec)
                continue;
        }
        if (nazwa == QLatin1String("colgroup")) {
            if (!koniec) {
                const auto attributes = atrybuty(m.captured(3));
                tabela->wGrupie = true;
                tabela->grupaMaKolumny = false;
                tabela->grupa = kolumna(attributes, {});
                tabela->rozpietoscGrupy = rozpietosc(attributes, QLatin1StringView("span"));
            }
            continue;
        }
        if (nazwa == QLatin1String("col")) {
            if (!koniec) {
                const auto attributes = atrybuty(m.captured(3));
                const Kolumna k = kolumna(attributes, tabela->wGrupie ? tabela->grupa : Kolumna{});
                for (int i = rozpietosc(attributes, QLatin1StringView("span")); i > 0; --i)
                    tabela->kolumny.append(k);
                tabela->grupaMaKolumny = true;
            }
            continue;
        }
        if (nazwa == QLatin1String("tr") && !koniec)
            tabela->kolumna = 0;
        if ((nazwa == QLatin1String("td") || nazwa == QLatin1String("th")) && !koniec) {
            wynik += komorka(m.captured(2), m.captured(3), *tabela);
            continue;
        }
        wynik += m.captured(0);
    }
    wynik += QStringView(strona).mid(poz);
    return wynik;
}

} // namespace katarix::widgets
