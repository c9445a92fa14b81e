#include "browsers/ZmianyFrm.h"

#include "app/Sesja.h"
#include "jet/Query.h"
#include "register/sql/ZmianyQueries.h"
#include "register/SqlTemplates.h"
#include "widgets/HtmlViewer.h"
#include "widgets/SkalaProjektu.h"

#include <QVBoxLayout>

namespace katarix::browsers {

namespace sql = reg::sql::zmiany;

namespace {

const char *const Pola[] = {"ZT_NRZM", "ZT_USR", "ZT_DATA", "ZT_RWZ", "ZT_DOK", "ZT_OPIS"};

QString komorka(const QString &value)
{
    return QStringLiteral("<td> ") + value + QStringLiteral(" </td>");
}

// Removes the separator after the last row.
QString bezOstatniegoBr(QString text)
{
    if (!text.isEmpty())
        text.chop(4);
    return text;
}

void otworzDlaSprawy(jet::Query *query, double sprawaId)
{
    query->close();
    query->setParameter(QStringLiteral("SPRAWA_ID"), sprawaId, jet::FieldType::Float);
    query->open();
}

} // namespace

QString tekstHtml(QString text)
{
    text.replace(QLatin1Char('&'), QLatin1String("&amp;"));
    text.replace(QLatin1Char('<'), QLatin1String("&lt;"));
    text.replace(QLatin1Char('>'), QLatin1String("&gt;"));
    return text;
}

TTWzmianyFrm::TTWzmianyFrm(QWidget *owner, jet::Database *database)
    : TToolWindow(owner), FrmStrg(this, QStringLiteral("KATARIX.ZmianyFrm")), MainSh(reg::holderFor(sql::MainSh))
{
    setObjectName(QStringLiteral("ZmianyFrm"));
    setWindowTitle(QStringLiteral("Zmiany"));
    resize(widgets::projektowe(QSize(481, 230)));

    auto query = [this, database](const char *name, const char *text, const char *parameter) {
        auto *q = new jet::Query(this);
        q->setObjectName(QString::fromLatin1(name));
        q->setDatabase(app::bazaProgramu(database));
        q->setSql(QString::fromUtf8(text));
        q->setParameter(QString::fromLatin1(parameter), -1.0, jet::FieldType::Float);
        return q;
    };
    ZmianaQry = query("ZmianaQry", sql::ZmianaQry, "ZMIANA_ID");
    NrZmnQry = query("NrZmnQry", sql::NrZmnQry, "SPRAWA_ID");
    DokQry = query("DokQry", sql::DokQry, "SPRAWA_ID");

    Html = new widgets::THTMLViewer(this);
    Html->setObjectName(QStringLiteral("Html"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Html);

    FrmStrg.setIniFileName(app::plikIni());
}

TTWzmianyFrm::~TTWzmianyFrm()
{
    if (m_ukladWczytany)
        FrmStrg.saveOrReport();
}

bool TTWzmianyFrm::pozycjaZapisana() const
{
    return FrmStrg.hasStoredPlacement();
}

void TTWzmianyFrm::showEvent(QShowEvent *event)
{
    if (!m_ukladWczytany) {
        m_ukladWczytany = true;
        FrmStrg.restore();
    }
    TToolWindow::showEvent(event);
}

void TTWzmianyFrm::PokazZmiane(bool widoczne, double zmianaId)
{
    ZmianaQry->close();
    if (!widoczne) {
        Wyczysc();
        return;
    }
    if (!isVisible())
        show();
    ZmianaQry->setParameter(QStringLiteral("ZMIANA_ID"), zmianaId, jet::FieldType::Float);
    ZmianaQry->open();
    const bool wiersz = !ZmianaQry->isEmpty();
    auto tekst = [this, wiersz](const char *field) {
        return wiersz ? tekstHtml(ZmianaQry->asString(QString::fromLatin1(field))) : QString();
    };
    const double sprawaId = wiersz ? ZmianaQry->asFloat(QStringLiteral("sprawa_id")) : 0.0;
    MainSh.setMacro(QStringLiteral("ZT_NRZM"), komorka(NumerySprawy(sprawaId)));
    MainSh.setMacro(QStringLiteral("ZT_USR"), komorka(tekst("usrname")));
    MainSh.setMacro(QStringLiteral("ZT_DATA"), komorka(tekst("datad_txt")));
    MainSh.setMacro(QStringLiteral("ZT_RWZ"), komorka(tekst("rodzzm")));
    MainSh.setMacro(QStringLiteral("ZT_DOK"), komorka(DokumentySprawy(sprawaId)));
    MainSh.setMacro(QStringLiteral("ZT_OPIS"), komorka(tekst("opis")));
    pokazStrone();
    ZmianaQry->close();
}

void TTWzmianyFrm::Wyczysc()
{
    ZmianaQry->close();
    for (const char *pole : Pola)
        MainSh.setMacro(QString::fromLatin1(pole), QStringLiteral("<td> &nbsp </td>"));
    pokazStrone();
}

void TTWzmianyFrm::pokazStrone()
{
    QString strona = MainSh.expandedText();
    if (strona == m_strona && !m_strona.isEmpty())
        return;
    m_strona = std::move(strona);
    Html->LoadFromString(m_strona, QString());
}

QString TTWzmianyFrm::NumerySprawy(double sprawaId)
{
    if (sprawaId < 1)
        return {};
    otworzDlaSprawy(NrZmnQry, sprawaId);
    QString text;
    for (NrZmnQry->first(); !NrZmnQry->eof(); NrZmnQry->next())
        text += QLatin1Char(' ') + tekstHtml(NrZmnQry->asString(QStringLiteral("numer"))) + QStringLiteral("<br>");
    NrZmnQry->close();
    return bezOstatniegoBr(text);
}

QString TTWzmianyFrm::DokumentySprawy(double sprawaId)
{
    if (sprawaId < 1)
        return {};
    otworzDlaSprawy(DokQry, sprawaId); // one parameter for its three places
    QString text;
    for (DokQry->first(); !DokQry->eof(); DokQry->next()) {
        text += tekstHtml(DokQry->asString(QStringLiteral("rodzdok"))) + QLatin1Char(' ')
                + tekstHtml(DokQry->asString(QStringLiteral("sygnatura")));
        const QString data = tekstHtml(DokQry->asString(QStringLiteral("data_dok")));
        if (DokQry->asInteger(QStringLiteral("typ")) == 1) {
            text += QStringLiteral(" z dnia ") + data;
            const QString wydal = DokQry->asString(QStringLiteral("wydal"));
            if (!wydal.isEmpty())
                text += QStringLiteral(" wydany przez ") + tekstHtml(wydal);
        } else {
            text += QStringLiteral(" złożony dnia ") + data;
        }
        text += QStringLiteral("<br>");
    }
    DokQry->close();
    return bezOstatniegoBr(text);
}

} // namespace katarix::browsers
