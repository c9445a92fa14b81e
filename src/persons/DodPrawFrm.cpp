#include "persons/DodPrawFrm.h"

#include "jet/NumberText.h"
#include "jet/Query.h"
#include "persons/PolaTekstowe.h"
#include "register/sql/OsobyQueries.h"

#include <QAbstractItemView>
#include <QAbstractProxyModel>
#include <QCompleter>
#include <QFontDatabase>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSignalBlocker>

namespace katarix::persons {

namespace sql = reg::sql::dodpraw;

TDodPrawFrm::TDodPrawFrm(TKarOsFrm *kartoteka, jet::Database *baza)
    : TDodOsobyFrm(kartoteka, baza, sql::WynikSql, sql::UlicaQry, sql::MiejscowoscQry,
                   FragmentyAdresu{sql::warunki::Miejscowosc, sql::warunki::KodPrefix, sql::warunki::KodSuffix,
                                   sql::warunki::Ulica, sql::warunki::NumerPrefix, sql::warunki::Numer2Prefix,
                                   sql::warunki::TekstSuffix},
                   QStringLiteral("Nie określono żadnego atrybutu.\nCzy chcesz wybrać wszystkie osoby prawne?"))
{
    setupUi(this);
    setObjectName(QStringLiteral("DodPrawFrm"));
    NazwyQry = zapytanie("NazwyQry", sql::NazwyQry);
    const QFont staly = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    RegonMsk->setFont(staly);
    NipMsk->setFont(staly);

    // The name: an edit whose list locates entries as the user types and keeps the key of the
    // entry chosen.
    const QString wzorzec = QStringLiteral("% zastępuje dowolny ciąg znaków");
    NazwaLke->setInsertPolicy(QComboBox::NoInsert);
    NazwaLke->setToolTip(wzorzec);
    NazwaLke->view()->setMinimumWidth(350);
    auto *podpowiedzi = new QCompleter(NazwaLke->model(), NazwaLke);
    podpowiedzi->setCaseSensitivity(Qt::CaseInsensitive);
    podpowiedzi->setCompletionMode(QCompleter::PopupCompletion);
    podpowiedzi->setFilterMode(Qt::MatchStartsWith);
    NazwaLke->setCompleter(podpowiedzi);
    WymusWielkieLitery(NazwaLke->lineEdit());
    WymusWielkieLitery(SkrotEdt);
    WymusWielkieLitery(RejGospEdt);
    // Only an entry chosen from a list selects its key: the open list (mouse, or arrows and Enter)
    // and the completer's list, each telling its own row, so that of two equal names the chosen
    // one counts. Typed text stays a pattern: on Enter and on leaving the field the combo box
    // would otherwise choose the first entry with that text.
    connect(NazwaLke, &QComboBox::activated, this, [this](int indeks) { wybierzNazwe(indeks); });
    connect(podpowiedzi, qOverload<const QModelIndex &>(&QCompleter::activated), this,
            [this, podpowiedzi](const QModelIndex &indeks) {
                const auto *lista = qobject_cast<const QAbstractProxyModel *>(podpowiedzi->completionModel());
                wybierzNazwe(lista ? lista->mapToSource(indeks).row() : -1);
            });
    disconnect(NazwaLke->lineEdit(), &QLineEdit::returnPressed, NazwaLke, nullptr);
    disconnect(NazwaLke->lineEdit(), &QLineEdit::editingFinished, NazwaLke, nullptr);
    NazwaLke->view()->installEventFilter(this);
    connect(NazwaLke, &QComboBox::editTextChanged, this, [this](const QString &tekst) { nazwaWpisana(tekst); });

    // Any change of a criterion counts, typed or clicked.
    for (QLineEdit *edit :
         {SkrotEdt, RegonMsk, NipMsk, RejGospEdt, AdresGrp->KodMsk, AdresGrp->NumerEdt, AdresGrp->Numer2Edt}) {
        connect(edit, &QLineEdit::textChanged, this, [this] { NazwaLkeChange(); });
        edit->installEventFilter(this);
    }
    connect(AdresGrp->UlicaLcbx, &QComboBox::currentIndexChanged, this, [this] { NazwaLkeChange(); });
    AdresGrp->UlicaLcbx->installEventFilter(this);
    connect(AndRB, &QRadioButton::toggled, this, [this] { NazwaLkeChange(); });
    AndRB->installEventFilter(this);
    OrRb->installEventFilter(this);
    polaczWspolne(AdresGrp, AndRB, DodajBtn, ZamknijBtn, CzyscBtn, QStringLiteral("KATARIX.TDodPrawFrm"));
    NazwaLke->setFocus();
}

void TDodPrawFrm::FormShow()
{
    Zmieniono = true;
    otworzPonownie(NazwyQry);
    {
        // The list is refilled; the field keeps its text and its chosen entry.
        const QSignalBlocker blocker(NazwaLke);
        const QString tekst = NazwaLke->currentText();
        NazwaLke->clear();
        const int nazwa = NazwyQry->fieldIndex(QStringLiteral("NAZWA"));
        const int klucz = NazwyQry->fieldIndex(QStringLiteral("OSPRAW_ID"));
        for (int row = 0; row < NazwyQry->recordCount(); ++row)
            NazwaLke->addItem(jet::Dataset::valueToText(NazwyQry->valueAt(row, nazwa)),
                              jet::sqlNumber(jet::Dataset::valueToFloat(NazwyQry->valueAt(row, klucz))));
        NazwaLke->setCurrentIndex(-1);
        NazwaLke->setEditText(tekst);
    }
    TDodOsobyFrm::FormShow();
}

void TDodPrawFrm::wybierzNazwe(int indeks)
{
    if (indeks < 0)
        return;
    m_wybranaNazwa = NazwaLke->itemText(indeks).toUpper(); // the field shows capitals
    m_kluczNazwy = NazwaLke->itemData(indeks).toString();
    if (NazwaLke->currentText() != m_wybranaNazwa)
        NazwaLke->setEditText(m_wybranaNazwa);
    NazwaLkeChange();
}

void TDodPrawFrm::nazwaWpisana(const QString &tekst)
{
    if (tekst != m_wybranaNazwa) {
        m_kluczNazwy.clear();
        m_wybranaNazwa.clear();
    }
    NazwaLkeChange();
}

bool TDodPrawFrm::eventFilter(QObject *watched, QEvent *event)
{
    // A click into a criterion, or the name list closing.
    if (event->type() == QEvent::MouseButtonPress || (watched == NazwaLke->view() && event->type() == QEvent::Hide))
        NazwaLkeChange();
    return TDodOsobyFrm::eventFilter(watched, event);
}

void TDodPrawFrm::CzyscBtnClick()
{
    NazwaLke->setCurrentIndex(-1);
    NazwaLke->setEditText(QString());
    RegonMsk->clear();
    NipMsk->clear();
    TDodOsobyFrm::CzyscBtnClick();
}

QString TDodPrawFrm::Warunki() const
{
    namespace w = sql::warunki;
    Kryteria k(iloczyn());
    if (!m_kluczNazwy.isEmpty())
        k.klucz(w::Id, m_kluczNazwy);
    else
        k.tekst(w::NazwaPrefix, NazwaLke->currentText(), w::TekstSuffix);
    k.tekst(w::SkrotPrefix, SkrotEdt->text(), w::TekstSuffix);
    k.tekst(w::RegonPrefix, CyfryMaski(RegonMsk), w::TekstSuffix);
    k.tekst(w::NipPrefix, CyfryMaski(NipMsk), w::TekstSuffix);
    dodajAdres(k);
    return k.warunek();
}

} // namespace katarix::persons
