#pragma once

#include <QElapsedTimer>
#include <QString>
#include <exception>
#include <memory>

class QWidget;

namespace katarix::app {

class ProgressDialog;

// A report stopped by "Anuluj" of its progress dialog: no document, no message.
class RaportPrzerwany : public std::exception {
public:
    const char *what() const noexcept override { return "Raport przerwany przez użytkownika."; }
};

// The progress of one report: the dialog "Tworzenie raportu..." through the interaction seam,
// which shows it once the report has run for a second. krok() tells what is done; the dialog
// hears of the first step of each stage (each opis) and then of one step every OdstepMs, and
// after each krok() throws RaportPrzerwany once "Anuluj" has been pressed. The dialog closes
// with the object.
class PostepRaportu {
public:
    explicit PostepRaportu(QWidget *parent = nullptr);
    ~PostepRaportu();
    PostepRaportu(const PostepRaportu &) = delete;
    PostepRaportu &operator=(const PostepRaportu &) = delete;

    // opis: the line under "Tworzenie raportu..." (UTF-8) with %1 for zrobione and %2 for
    // wszystkie, filled only when the dialog hears of it; wszystkie 0 when the total is unknown.
    void krok(const char *opis, qint64 zrobione, qint64 wszystkie = 0);

    static constexpr int OdstepMs = 100;

private:
    std::unique_ptr<ProgressDialog> m_dialog;
    QElapsedTimer m_odPokazania;
    const char *m_opis = nullptr; // the stage last shown
};

} // namespace katarix::app
