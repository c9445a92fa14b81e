#pragma once

#include "widgets/Zaznaczenie.h"

#include <QHash>
#include <QList>
#include <QTreeWidget>
#include <QTreeWidgetItem>

#include <functional>
#include <optional>

class QAction;
class QMenu;

namespace katarix::widgets {

// A row of a working list: found again by its key, ordered by the list's comparison. Rows live
// in a ListaRobocza only.
class WierszListy : public QTreeWidgetItem {
public:
    virtual double klucz() const = 0;
    bool operator<(const QTreeWidgetItem &other) const override;
};

// A working list: report-style rows that a window gathers by searches and thins out. Grid lines
// between the cells; whole rows selected, any number of them, the selection as visible without
// the focus as with it; the selection menu ListViewPmn (also on Ctrl+A, Ctrl+U and Ctrl+T, which
// the list takes before any shortcut); sorting once per request with the window's comparison,
// shown by the header's indicator, rows added later appended unsorted. Changes in bulk (Zmiana) are not painted row by row, and a
// search batch (Wsad) finds the earlier rows by key in a hash, appends the new rows at its end in
// one call and selects the rows it was handed as ranges, so a batch of thousands of rows costs
// little more than its rows.
class ListaRobocza : public QTreeWidget {
    Q_OBJECT
public:
    struct Kolumna {
        QString tytul;
        int szerokosc; // designed, in pixels for Tahoma at 11 px
        Qt::Alignment wyrownanie = Qt::AlignLeft; // of the header and of every cell
    };
    // Comparison of two rows on a column in ascending order: negative, zero or positive.
    using Porownanie = std::function<int(const QTreeWidgetItem &a, const QTreeWidgetItem &b, int kolumna)>;

    explicit ListaRobocza(QWidget *parent = nullptr);

    void ustawKolumny(const QList<Kolumna> &kolumny);
    void ustawPorownanie(Porownanie porownanie) { m_porownanie = std::move(porownanie); }

    // The selection menu and its items ZaznaczWszystkoMi, OdznaczWszystkoMi and
    // OdwrocZaznaczenieMi, whose data are their tags 1, 2 and 3. The owner binds them.
    QMenu *menu() const { return m_menu; }
    QAction *pozycjaMenu(Zaznaczenie zaznaczenie) const;
    // The choice a menu item's tag stands for; nullopt for any other number.
    static std::optional<Zaznaczenie> zaznaczenieZeZnacznika(int tag);

    int iloscWierszy() const { return topLevelItemCount(); }
    WierszListy *wiersz(int indeks) const { return static_cast<WierszListy *>(topLevelItem(indeks)); }
    // Numbers of the selected rows in list order.
    QList<int> numeryZaznaczonych() const;
    int iloscZaznaczonych() const;
    template <class W>
    QList<W *> zaznaczone() const
    {
        QList<W *> out;
        for (int indeks : numeryZaznaczonych())
            out << static_cast<W *>(wiersz(indeks));
        return out;
    }

    void zaznacz(Zaznaczenie zaznaczenie);
    // Adds the rows given by number (any order) to the selection, as ranges of neighbours.
    void zaznaczWiersze(QList<int> wiersze);
    // Removes the selected rows, as ranges of neighbours.
    void usunZaznaczone();

    // A change in bulk: painting is suspended while one lasts (they nest) and resumed however it
    // ends. The owner ignores the selection's signals while wTrakcieZmiany().
    class Zmiana {
    public:
        explicit Zmiana(ListaRobocza &lista);
        ~Zmiana();
        Zmiana(const Zmiana &) = delete;
        Zmiana &operator=(const Zmiana &) = delete;

    private:
        ListaRobocza &m_lista;
    };
    bool wTrakcieZmiany() const { return m_zmiany > 0; }

    // A search batch, a change in bulk that clears the selection first. znajdz gives the number
    // of the first of rows 0..n-1 with the key (in a batch from a hash of those rows, built once
    // per n), -1 when there is none; przyjmij takes a row found (its number) or a new one (-1):
    // outside a batch a new row is appended and the row selected at once, in a batch new rows are
    // appended and every row taken selected when it ends. zakonczWsad returns the last row taken.
    void rozpocznijWsad();
    int znajdz(double klucz, int n);
    void przyjmij(WierszListy *wiersz, int indeks);
    WierszListy *zakonczWsad();
    bool wsad() const { return m_wsad; }
    // A batch for the length of a scope.
    class Wsad {
    public:
        explicit Wsad(ListaRobocza &lista) : m_lista(lista) { m_lista.rozpocznijWsad(); }
        ~Wsad() { m_lista.zakonczWsad(); }
        Wsad(const Wsad &) = delete;
        Wsad &operator=(const Wsad &) = delete;

    private:
        ListaRobocza &m_lista;
    };

    // Sorting: a request for the column sorted last turns the direction round, any other column
    // sorts ascending.
    int kolumnaSortowania() const { return m_kolumnaSortowania; }
    bool rosnaco() const { return m_rosnaco; }
    void ustawSortowanie(int kolumna, bool rosnaco);
    void sortujWedlug(int kolumna);

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    friend class WierszListy;
    QAction *pozycjaDlaKlawisza(const QKeyEvent *event) const;
    void rozpocznijZmiane();
    void zakonczZmiane();

    QMenu *m_menu;
    QList<QAction *> m_pozycje; // in the order of Zaznaczenie
    QList<Qt::Alignment> m_wyrownania;
    Porownanie m_porownanie;
    int m_kolumnaSortowania = -1;
    bool m_rosnaco = true;
    int m_zmiany = 0;

    bool m_wsad = false;
    int m_wsadPoczatek = 0;               // rows before the batch
    QList<QTreeWidgetItem *> m_wsadNowe;  // appended when it ends
    QList<int> m_wsadZaznaczone;          // numbers of the rows taken
    WierszListy *m_wsadOstatni = nullptr;
    QHash<double, int> m_wsadIndeks;      // the first row of each key among rows 0..n-1
    int m_wsadN = -1;
};

} // namespace katarix::widgets
