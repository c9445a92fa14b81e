#pragma once

#include "app/LayoutStore.h"

#include <QIcon>
#include <QString>
#include <QWidget>
#include <functional>

class QPlainTextEdit;
class QStatusBar;
class QToolButton;
class QFrame;

namespace katarix::jet {
class Database;
class Query;
} // namespace katarix::jet

namespace katarix::widgets {
class DataGrid;
}

namespace katarix::browsers {

// Common frame of the tool windows that follow a register grid: a sizeable tool window owned by
// the register window, created hidden, keeping its position and size in the section
// "<base>/<owner name>"; without a stored position it first appears at app::umiescNarzedzie's
// place beside the owner. Its close box hides it and then runs the owner's close handler.
class TToolWindow : public QWidget {
    Q_OBJECT
public:
    TToolWindow(QWidget *owner, const QString &baseSection, const QString &ownerName);

    std::function<void()> OnClose;

protected:
    // A tool window that keeps its layout by its own means (pozycjaZapisana tells whether it has).
    explicit TToolWindow(QWidget *owner);
    virtual bool pozycjaZapisana() const;
    void showEvent(QShowEvent *event) override;
    void initStorage(); // after the components exist
    void closeEvent(QCloseEvent *event) override;

    QString m_section;
    app::LayoutStore Uklad;
    bool m_pokazane = false;
};

// Buildings standing on a parcel (land register and building register alike).
class TTWbudFrm : public TToolWindow {
    Q_OBJECT
public:
    TTWbudFrm(QWidget *owner, const QString &ownerName, jet::Database *database = nullptr);

    void PokazBudynki(bool widoczne, double dzialkaId);
    void PrzejscieBtnClick();
    void BudQryAfterOpen();

    QFrame *BtnPnl;
    QToolButton *PrzejscieBtn;
    QStatusBar *StatBar;
    widgets::DataGrid *BudGrd;
    jet::Query *BudQry;

private:
    void utworzPrzejscie();
    void utworzSiatke();
    void rozmiescPanele();
};

// Premises in a building.
class TTWlokFrm : public TToolWindow {
    Q_OBJECT
public:
    TTWlokFrm(QWidget *owner, const QString &ownerName, jet::Database *database = nullptr);

    void PokazLokale(bool widoczne, double budynekId);
    void LokQryAfterScroll();

    QStatusBar *StatBar;
    widgets::DataGrid *LokalGrd;
    jet::Query *LokQry;
};

// The comment of the current row of the owner's focused list.
class TTWkomentFrm : public TToolWindow {
    Q_OBJECT
public:
    TTWkomentFrm(QWidget *owner, const QString &ownerName);

    void PokazKoment(bool widoczne, const QString &tekst);

    QPlainTextEdit *Memo;
};

// A small picture drawn for buttons and markers (no image files needed).
QIcon ikonaZnaku(const QString &glyph, const QColor &color);

} // namespace katarix::browsers
