#include "widgets/SkalaProjektu.h"

#include <QFont>
#include <QFontInfo>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QString>

#include <algorithm>
#include <cmath>

namespace katarix::widgets {

namespace {

const QString Litery = QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ");
// The 52 letters in Tahoma at 11 px.
constexpr double SzerokoscLiterTahomy = 313.0;
constexpr double WielkoscTahomy = 11.0;

double &skala()
{
    static double value = 1.0;
    return value;
}

} // namespace

double skalaCzcionki(const QFont &font)
{
    const QFontInfo info(font);
    if (info.family().compare(QLatin1String("Tahoma"), Qt::CaseInsensitive) == 0)
        return 1.0;
    const int piksele = info.pixelSize() > 0 ? info.pixelSize() : int(WielkoscTahomy);
    const double wzorzec = SzerokoscLiterTahomy * piksele / WielkoscTahomy;
    return std::max(1.0, QFontMetricsF(font).horizontalAdvance(Litery) / wzorzec);
}

void ustawSkaleProjektu(const QFont &font)
{
    skala() = skalaCzcionki(font);
}

double skalaProjektu()
{
    return skala();
}

int projektowe(int piksele)
{
    return int(std::lround(piksele * skala()));
}

QSize projektowe(const QSize &rozmiar)
{
    return QSize(projektowe(rozmiar.width()), projektowe(rozmiar.height()));
}

int szerokoscKolumny(const QFontMetrics &czcionkaNaglowka, const QString &tytul, int projektowana, int dodatek)
{
    return std::max(projektowe(projektowana), czcionkaNaglowka.horizontalAdvance(tytul) + MarginesNaglowka + dodatek);
}

int szerokoscTytulu(const QString &tytul)
{
    // Title bars often use a bold face a size above the program's; the buttons take about a
    // line's height each.
    QFont font = QGuiApplication::font();
    font.setBold(true);
    const QFontMetrics metrics(font);
    return int(std::ceil(metrics.horizontalAdvance(tytul) * 1.25)) + 4 * (metrics.height() + 8);
}

} // namespace katarix::widgets
