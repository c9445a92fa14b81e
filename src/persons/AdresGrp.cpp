#include "persons/AdresGrp.h"

#include "widgets/LookupCombo.h"

#include "ui_AdresGrp.h"

#include <QAbstractItemView>

namespace katarix::persons {

TAdresGrp::TAdresGrp(QWidget *parent) : QGroupBox(parent), ui(std::make_unique<Ui::AdresGrp>())
{
    ui->setupUi(this);
    ui->MiejscowoscLcbx->view()->setMinimumWidth(200);
    ui->UlicaLcbx->view()->setMinimumWidth(250);
    for (widgets::LookupCombo *lista : {ui->MiejscowoscLcbx, ui->UlicaLcbx}) {
        lista->setEmpty(QStringLiteral("wszystkie"), QString());
        lista->refill();
    }
}

TAdresGrp::~TAdresGrp() = default;

widgets::LookupCombo *TAdresGrp::miejscowosc() const { return ui->MiejscowoscLcbx; }
widgets::LookupCombo *TAdresGrp::ulica() const { return ui->UlicaLcbx; }
QLineEdit *TAdresGrp::kod() const { return ui->KodMsk; }
QLineEdit *TAdresGrp::numer() const { return ui->NumerEdt; }
QLineEdit *TAdresGrp::numer2() const { return ui->Numer2Edt; }

} // namespace katarix::persons
