#pragma once

#include <QSize>

class QFont;
class QFontMetrics;
class QString;

namespace katarix::widgets {

// Column widths and window sizes are designed in pixels for Tahoma at 11 px. With Tahoma they
// stand; with another font they grow by how much wider its letters are than Tahoma's (never
// below 1). The program sets the scale from its font at start-up; until then it is 1.
void ustawSkaleProjektu(const QFont &font);
double skalaProjektu();
// The scale for a font: 1 for Tahoma, else the width of the 52 Latin letters in it against
// their width in Tahoma at 11 px, at least 1.
double skalaCzcionki(const QFont &font);

// A designed size in pixels at the program's scale.
int projektowe(int piksele);
QSize projektowe(const QSize &rozmiar);

// The margin a column header keeps around its text.
constexpr int MarginesNaglowka = 8;
// A designed column's width at the program's scale, and never narrower than its header text
// with the margin (plus dodatek, the room of a sort indicator), so that no header is cut.
int szerokoscKolumny(const QFontMetrics &czcionkaNaglowka, const QString &tytul, int projektowana, int dodatek = 0);

// The width a window needs to show its whole caption in a window manager's title bar: the
// caption in a bold, somewhat larger face, with room for the icon and three buttons.
int szerokoscTytulu(const QString &tytul);

} // namespace katarix::widgets
