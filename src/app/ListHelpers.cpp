#include "app/ListHelpers.h"

#include "app/AppError.h"
#include "app/Interaction.h"
#include "jet/ControlsDisabled.h"
#include "jet/Dataset.h"
#include "jet/DatasetModel.h"
#include "jet/JetFunctions.h"
#include "widgets/DataGrid.h"

#include <QComboBox>
#include <QListWidget>
#include <exception>
#include <iterator>

namespace katarix::app {

namespace {

void pokazBlad(const std::exception &error, const QString &caption)
{
    app::interaction().messageBox(nullptr, app::komunikatWyjatku(error), caption, app::mb::Ok | app::mb::IconError);
}

// Position of a new caption in a sorted combo (after equal captions).
int pozycjaWPosortowanej(const QComboBox *combo, const QString &text)
{
    int lo = 0;
    int hi = combo->count();
    while (lo < hi) {
        const int mid = (lo + hi) / 2;
        if (jet::compareJetText(combo->itemText(mid), text) <= 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

void dodajPozycje(QComboBox *combo, const QString &text, int id)
{
    if (combo->property("sorted").toBool())
        combo->insertItem(pozycjaWPosortowanej(combo, text), text, id);
    else
        combo->addItem(text, id);
}

int idPozycji(const QVariant &value)
{
    return int(jet::Dataset::valueToInteger(value));
}

} // namespace

void UstawSortowanie(QComboBox *combo, bool sorted)
{
    combo->setProperty("sorted", sorted);
}

int WypelnijComboBox(QComboBox *combo, jet::Dataset &qry, const QString &poleTekstu, bool zaznaczPierwszy,
                     const QString &pierwszaPozycja, const QString &poleId)
{
    int count = 0;
    const QSignalBlocker blocker(combo);
    try {
        combo->clear();
        if (!pierwszaPozycja.isEmpty()) {
            dodajPozycje(combo, pierwszaPozycja, IdWszystkie);
            ++count;
        }
        const int textField = qry.fieldIndex(poleTekstu);
        const int idField = qry.fieldIndex(poleId);
        qry.first();
        while (!qry.eof()) {
            // value(name) reports an unknown field with the engine's message.
            const QString text = textField >= 0 ? qry.asString(poleTekstu) : qry.value(poleTekstu).toString();
            const int id = idField >= 0 ? idPozycji(qry.value(idField)) : idPozycji(qry.value(poleId));
            dodajPozycje(combo, text, id);
            ++count;
            qry.next();
        }
        if (zaznaczPierwszy && combo->count() > 0)
            combo->setCurrentIndex(0);
    } catch (const std::exception &error) {
        pokazBlad(error, QStringLiteral("Błąd podczas wypełniania ComboBox'a"));
    }
    return count;
}

int IdZComboBox(const QComboBox *combo)
{
    const int index = combo->currentIndex();
    return index < 0 ? -1 : combo->itemData(index).toInt();
}

int IndeksIdWComboBox(const QComboBox *combo, int id)
{
    for (int i = 0; i < combo->count(); ++i)
        if (combo->itemData(i).toInt() == id)
            return i;
    return -1;
}

int WypelnijCheckListBox(QListWidget *clb, jet::Dataset &qry, const QString &poleTekstu, bool zaznaczWszystkie,
                         const QString &poleId)
{
    int count = 0;
    try {
        clb->clear();
        qry.first();
        while (!qry.eof()) {
            auto *item = new QListWidgetItem(qry.asString(poleTekstu));
            item->setData(Qt::UserRole, idPozycji(qry.value(poleId)));
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
            item->setCheckState(Qt::Unchecked);
            clb->addItem(item);
            ++count;
            qry.next();
        }
        qry.close();
        if (zaznaczWszystkie)
            ZaznaczCheckListBox(clb, widgets::Zaznaczenie::Wszystko);
    } catch (const std::exception &error) {
        pokazBlad(error, QStringLiteral("Błąd podczas wypełniania CheckListBox'a"));
    }
    return count;
}

QString ListaIdZaznaczonych(const QListWidget *clb, bool stan)
{
    QStringList ids;
    for (int i = 0; i < clb->count(); ++i)
        if ((clb->item(i)->checkState() == Qt::Checked) == stan)
            ids << QString::number(clb->item(i)->data(Qt::UserRole).toInt());
    return ids.join(QLatin1Char(','));
}

int TekstyZaznaczonych(const QListWidget *clb, QString &tekst, bool stan)
{
    int count = 0;
    try {
        for (int i = 0; i < clb->count(); ++i) {
            if ((clb->item(i)->checkState() == Qt::Checked) == stan) {
                tekst += clb->item(i)->text() + QStringLiteral(", ");
                ++count;
            }
        }
        tekst.chop(2);
    } catch (const std::exception &error) {
        pokazBlad(error, QStringLiteral("Błąd podczas czytania z CheckListBox'a"));
    }
    return count;
}

void ZaznaczCheckListBox(QListWidget *clb, widgets::Zaznaczenie zaznaczenie)
{
    for (int i = 0; i < clb->count(); ++i) {
        QListWidgetItem *item = clb->item(i);
        const bool checked = item->checkState() == Qt::Checked;
        const bool wanted = zaznaczenie == widgets::Zaznaczenie::Odwrotnie ? !checked
                                                                           : zaznaczenie == widgets::Zaznaczenie::Wszystko;
        item->setCheckState(wanted ? Qt::Checked : Qt::Unchecked);
    }
}

void ZaznaczCheckListBox(QListWidget *clb, int tryb)
{
    const widgets::Zaznaczenie tryby[] = {widgets::Zaznaczenie::Nic, widgets::Zaznaczenie::Wszystko,
                                          widgets::Zaznaczenie::Odwrotnie};
    if (tryb >= 0 && tryb < int(std::size(tryby)))
        ZaznaczCheckListBox(clb, tryby[tryb]);
}

QString ListaZaznaczonychDBGrid(DataGrid *grid, const QString &pole, QString &tekst)
{
    tekst.clear();
    jet::Dataset *dataset = grid->dataset();
    const QList<int> rows = grid->selectedRows();
    if (rows.isEmpty() || !dataset)
        return tekst;
    try {
        const jet::ControlsDisabled wylaczone(*dataset);
        for (int row : rows) {
            dataset->setRecNo(row + 1);
            tekst += dataset->asString(pole) + QLatin1Char(',');
        }
        tekst.chop(1);
    } catch (const std::exception &error) {
        tekst.clear();
        pokazBlad(error, QStringLiteral("Błąd podczas odczytywania listy DBGrid'a"));
    }
    return tekst;
}

} // namespace katarix::app
