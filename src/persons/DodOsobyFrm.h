#pragma once

#include "app/LayoutStore.h"

#include <QDialog>
#include <QString>
#include <QStringList>

class QAbstractButton;
class QComboBox;
class QRadioButton;

namespace katarix::jet {
class Database;
class Query;
} // namespace katarix::jet

namespace katarix::persons {

class TAdresGrp;
class TKarOsFrm;

// The criteria of a search joined by " AND " or " OR " in the order they are added. Typed text
// is quoted for its place between apostrophes, so it can neither break nor change the query.
class Kryteria {
public:
    explicit Kryteria(bool iloczyn) : m_separator(iloczyn ? QStringLiteral(" AND ") : QStringLiteral(" OR ")) {}
    // fragment + key, when a key is chosen.
    void klucz(const char *fragment, const QString &klucz);
    // prefix + quoted text + suffix, when the text is not empty.
    void tekst(const char *prefix, const QString &tekst, const char *suffix);
    QString warunek() const { return m_czesci.join(m_separator); }

private:
    QString m_separator;
    QStringList m_czesci;
};

// The address fragments of one search's SQL.
struct FragmentyAdresu {
    const char *miejscowosc, *kodPrefix, *kodSuffix, *ulica, *numerPrefix, *numer2Prefix, *tekstSuffix;
};

// What the two person searches share: the address criteria and the street list that follows the
// place, the AND/OR choice, the change flag, and the search that hands the persons found to the
// person file.
class TDodOsobyFrm : public QDialog {
    Q_OBJECT
public:
    ~TDodOsobyFrm() override;

    // Criteria changed since the last search that found persons.
    bool Zmieniono = false;

    // The search query for the criteria as they stand.
    QString SqlSelekcji() const;
    // The criteria joined by the chosen separator; empty when none is filled.
    virtual QString Warunki() const = 0;

    // Event handlers.
    virtual void FormShow();
    void MiejscowoscLcbxChange();
    void DodajBtnClick();
    virtual void CzyscBtnClick();

    jet::Query *MiejscowoscQry, *UlicaQry, *WynikQry;

protected:
    // stala: the fixed part of the search; pytanie: the question asked when no criterion is set.
    TDodOsobyFrm(TKarOsFrm *kartoteka, jet::Database *baza, const char *stala, const char *ulicaSql,
                 const char *miejscowoscSql, const FragmentyAdresu &fragmenty, QString pytanie);
    // Binds the shared controls of the form (after setupUi) and restores the position from section.
    void polaczWspolne(TAdresGrp *adres, QRadioButton *andRb, QAbstractButton *dodaj, QAbstractButton *zamknij,
                       QAbstractButton *czysc, const QString &sekcja);
    void dodajAdres(Kryteria &kryteria) const;
    bool iloczyn() const;
    jet::Query *zapytanie(const char *nazwa, const char *sql);
    void otworzPonownie(jet::Query *qry);
    void showEvent(QShowEvent *event) override;
    // Sets Zmieniono; bound to every criterion control's change.
    void oznaczZmiane() { Zmieniono = true; }

    TKarOsFrm *m_kartoteka;
    jet::Database *m_baza;

private:
    TAdresGrp *m_adres = nullptr;
    QRadioButton *m_andRb = nullptr;
    QString m_stala;
    FragmentyAdresu m_fragmenty;
    QString m_pytanie;
    app::LayoutStore m_uklad;
};

} // namespace katarix::persons
