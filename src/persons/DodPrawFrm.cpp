#include "persons/DodPrawFrm.h"

#include "jet/NumberText.h"
#include "jet/Query.h"
#include "persons/AdresGrp.h"
#include "persons/PolaTekstowe.h"
#include "register/sql/OsobyQueries.h"
#include "widgets/LookupCombo.h"

#include "ui_DodPrawFrm.h"

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
                   QStringLiteral("Nie określono żadnego atrybutu.\nCzy chcesz wybrać wszystkie osoby prawne?")),
      ui(std::make_unique<Ui::DodPrawFrm>())
{
    ui->setupUi(this);
    setObjectName(QStringLiteral("DodPrawFrm"));
    NazwyQry = zapytanie("NazwyQry", sql::NazwyQry);
    const QFont staly = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    ui->RegonMsk->setFont(staly);
    ui->NipMsk->setFont(staly);

    // The name: an edit whose list locates entries as the user types and keeps the key of the
    // entry chosen.
    const QString wzorzec = QStringLiteral("% zastępuje dowolny ciąg znaków");
    ui->NazwaLke->setInsertPolicy(QComboBox::NoInsert);
    ui->NazwaLke->setToolTip(wzorzec);
    ui->NazwaLke->view()->setMinimumWidth(350);
    auto *podpowiedzi = new QCompleter(ui->NazwaLke->model(), ui->NazwaLke);
    podpowiedzi->setCaseSensitivity(Qt::CaseInsensitive);
    podpowiedzi->setCompletionMode(QCompleter::PopupCompletion);
    podpowiedzi->setFilterMode(Qt::MatchStartsWith);
    ui->NazwaLke->setCompleter(podpowiedzi);
    WymusWielkieLitery(ui->NazwaLke->lineEdit());
    WymusWielkieLitery(ui->SkrotEdt);
    WymusWielkieLitery(ui->RejGospEdt);
    // Only an entry chosen from a list selects its key: the open list (mouse, or arrows and Enter)
    // and the completer's list, each telling its own row, so that of two equal names the chosen
    // one counts. Typed text stays a pattern: on Enter and on leaving the field the combo box
    // would otherwise choose the first entry with that text.
    connect(ui->NazwaLke, &QComboBox::activated, this, [this](int indeks) { wybierzNazwe(indeks); });
    connect(podpowiedzi, qOverload<const QModelIndex &>(&QCompleter::activated), this,
            [this, podpowiedzi](const QModelIndex &indeks) {
                const auto *lista = qobject_cast<const QAbstractProxyModel *>(podpowiedzi->completionModel());
                wybierzNazwe(lista ? lista->mapToSource(indeks).row() : -1);
            });
    disconnect(ui->NazwaLke->lineEdit(), &QLineEdit::returnPressed, ui->NazwaLke, nullptr);
    disconnect(ui->NazwaLke->lineEdit(), &QLineEdit::editingFinished, ui->NazwaLke, nullptr);
    ui->NazwaLke->view()->installEventFilter(this);
    connect(ui->NazwaLke, &QComboBox::editTextChanged, this, [this](const QString &tekst) { nazwaWpisana(tekst); });

    // Any change of a criterion counts, typed or clicked.
    for (QLineEdit *edit :
         {ui->SkrotEdt, ui->RegonMsk, ui->NipMsk, ui->RejGospEdt, ui->AdresGrp->kod(), ui->AdresGrp->numer(), ui->AdresGrp->numer2()}) {
        connect(edit, &QLineEdit::textChanged, this, [this] { NazwaLkeChange(); });
        edit->installEventFilter(this);
    }
    connect(ui->AdresGrp->ulica(), &QComboBox::currentIndexChanged, this, [this] { NazwaLkeChange(); });
    ui->AdresGrp->ulica()->installEventFilter(this);
    connect(ui->AndRB, &QRadioButton::toggled, this, [this] { NazwaLkeChange(); });
    ui->AndRB->installEventFilter(this);
    ui->OrRb->installEventFilter(this);
    polaczWspolne(ui->AdresGrp, ui->AndRB, ui->DodajBtn, ui->ZamknijBtn, ui->CzyscBtn, QStringLiteral("KATARIX.TDodPrawFrm"));
    ui->NazwaLke->setFocus();
}

TDodPrawFrm::~TDodPrawFrm() = default;

void TDodPrawFrm::FormShow()
{
    Zmieniono = true;
    otworzPonownie(NazwyQry);
    {
        // The list is refilled; the field keeps its text and its chosen entry.
        const QSignalBlocker blocker(ui->NazwaLke);
        const QString tekst = ui->NazwaLke->currentText();
        ui->NazwaLke->clear();
        const int nazwa = NazwyQry->fieldIndex(QStringLiteral("NAZWA"));
        const int klucz = NazwyQry->fieldIndex(QStringLiteral("OSPRAW_ID"));
        for (int row = 0; row < NazwyQry->recordCount(); ++row)
            ui->NazwaLke->addItem(jet::Dataset::valueToText(NazwyQry->valueAt(row, nazwa)),
                              jet::sqlNumber(jet::Dataset::valueToFloat(NazwyQry->valueAt(row, klucz))));
        ui->NazwaLke->setCurrentIndex(-1);
        ui->NazwaLke->setEditText(tekst);
    }
    TDodOsobyFrm::FormShow();
}

void TDodPrawFrm::wybierzNazwe(int indeks)
{
    if (indeks < 0)
        return;
    m_wybranaNazwa = ui->NazwaLke->itemText(indeks).toUpper(); // the field shows capitals
    m_kluczNazwy = ui->NazwaLke->itemData(indeks).toString();
    if (ui->NazwaLke->currentText() != m_wybranaNazwa)
        ui->NazwaLke->setEditText(m_wybranaNazwa);
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
    if (event->type() == QEvent::MouseButtonPress || (watched == ui->NazwaLke->view() && event->type() == QEvent::Hide))
        NazwaLkeChange();
    return TDodOsobyFrm::eventFilter(watched, event);
}

void TDodPrawFrm::CzyscBtnClick()
{
    ui->NazwaLke->setCurrentIndex(-1);
    ui->NazwaLke->setEditText(QString());
    ui->RegonMsk->clear();
    ui->NipMsk->clear();
    TDodOsobyFrm::CzyscBtnClick();
}

QString TDodPrawFrm::Warunki() const
{
    namespace w = sql::warunki;
    Kryteria k(iloczyn());
    if (!m_kluczNazwy.isEmpty())
        k.klucz(w::Id, m_kluczNazwy);
    else
        k.tekst(w::NazwaPrefix, ui->NazwaLke->currentText(), w::TekstSuffix);
    k.tekst(w::SkrotPrefix, ui->SkrotEdt->text(), w::TekstSuffix);
    k.tekst(w::RegonPrefix, CyfryMaski(ui->RegonMsk), w::TekstSuffix);
    k.tekst(w::NipPrefix, CyfryMaski(ui->NipMsk), w::TekstSuffix);
    dodajAdres(k);
    return k.warunek();
}

} // namespace katarix::persons
