#include "parcels/WarunekSelekcji.h"

#include "app/AppError.h"
#include "register/sql/DodDlkQueries.h"
#include "register/SqlHelpers.h"

#include <QRegularExpression>
#include <QStringList>

namespace katarix::parcels {

namespace w = reg::sql::doddlk::warunki;

namespace {

// Conditions joined by " AND ", each added only when its value is filled.
class Warunki {
public:
    void dodaj(const QString &fragment) { m_czesci << fragment; }
    void dodaj(const char *prefix, const QString &value, const char *suffix = "")
    {
        if (!value.isEmpty())
            m_czesci << QString::fromUtf8(prefix) + value + QString::fromUtf8(suffix);
    }
    void wzorzec(const char *prefix, const QString &typed, bool wielkie)
    {
        if (!typed.isEmpty())
            dodaj(prefix, reg::CytujApostrofy(wielkie ? typed.toUpper() : typed), w::LikeSuffix);
    }
    bool pusty() const { return m_czesci.isEmpty(); }
    QString tekst() const { return m_czesci.join(QString::fromUtf8(w::Separator)); }

private:
    QStringList m_czesci;
};

QString cyfry(const QString &typed)
{
    for (const QChar c : typed)
        if (!c.isDigit() || c.unicode() > 0x7f)
            throw app::AppError(QStringLiteral("Numer działki może zawierać tylko cyfry: '%1'.").arg(typed));
    return typed;
}

QString powierzchnia(const QString &typed)
{
    return typed.isEmpty() ? QString() : PowierzchniaSql(typed);
}

QString warunekAdresu(const KryteriaDzialek &k)
{
    Warunki adres;
    if (!k.ulica.isEmpty())
        adres.dodaj(w::Ulica, k.ulica);
    else
        adres.dodaj(w::MiejscPrefix, k.miejscowosc, w::MiejscSuffix);
    adres.wzorzec(w::NumerPrefix, k.numer, true);
    return adres.tekst();
}

QString warunekKlasouzytku(const KryteriaDzialek &k)
{
    Warunki klasouz;
    klasouz.dodaj(w::Klasa, k.klasa);
    klasouz.dodaj(w::Uzytek, k.uzytek);
    klasouz.dodaj(w::KlauzPowOd, powierzchnia(k.powKlauzOd));
    klasouz.dodaj(w::KlauzPowDo, powierzchnia(k.powKlauzDo));
    return klasouz.tekst();
}

} // namespace

QString WarunekHistorii(StanHistorii stan)
{
    namespace sql = reg::sql::doddlk;
    switch (stan) {
    case StanHistorii::Aktualne: return QString::fromUtf8(sql::HistoriaAktualne);
    case StanHistorii::Archiwalne: return QString::fromUtf8(sql::HistoriaArchiwalne);
    case StanHistorii::Wszystkie: break;
    }
    return QString::fromUtf8(sql::HistoriaWszystkie);
}

QString PowierzchniaSql(const QString &hektary)
{
    // Digits with either separator, whatever the regional one is; SQL takes a full stop. The
    // number reader would also take "inf", "nan", exponents and blanks, which no area is.
    static const QRegularExpression liczba(QStringLiteral("^([0-9]+([.,][0-9]*)?|[.,][0-9]+)$"));
    QString text = hektary;
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = liczba.match(hektary).hasMatch();
    const double value = ok ? text.toDouble(&ok) : 0.0;
    if (!ok)
        throw app::AppError(QStringLiteral("'%1' nie jest poprawną wartością zmiennoprzecinkową").arg(hektary));
    return QString::number(value * 10000, 'g', 15);
}

QString WarunekSelekcji(const KryteriaDzialek &k)
{
    Warunki war;
    if (!k.obreb.isEmpty())
        war.dodaj(w::Obreb, k.obreb);
    else
        war.dodaj(w::GminaPrefix, k.gmina, w::GminaSuffix);
    war.dodaj(w::Jr, k.jr);
    war.dodaj(w::Arkusz, k.arkusz);
    war.dodaj(w::Licznik, cyfry(k.licznik));
    war.dodaj(w::Mianownik, cyfry(k.mianownik));
    war.wzorzec(w::NrAddPrefix, k.nrAdd, false);
    war.dodaj(w::PowOd, powierzchnia(k.powOd));
    war.dodaj(w::PowDo, powierzchnia(k.powDo));
    war.dodaj(w::Kw, k.kw);
    war.wzorzec(w::AwPrefix, k.aw, true);
    war.wzorzec(w::PolozeniePrefix, k.polozenie, true);
    if (k.bezAdresu)
        war.dodaj(QString::fromUtf8(w::BezAdresu));
    else
        war.dodaj(w::AdresPrefix, warunekAdresu(k), w::AdresSuffix);
    war.dodaj(w::KlasouzPrefix, warunekKlasouzytku(k), w::KlasouzSuffix);
    return war.tekst();
}

} // namespace katarix::parcels
