#include "persons/AdresGrp.h"

#include "widgets/LookupCombo.h"

#include <QAbstractItemView>

namespace katarix::persons {

TAdresGrp::TAdresGrp(QWidget *parent) : QGroupBox(parent)
{
    setupUi(this);
    MiejscowoscLcbx->view()->setMinimumWidth(200);
    UlicaLcbx->view()->setMinimumWidth(250);
    for (widgets::LookupCombo *lista : {MiejscowoscLcbx, UlicaLcbx}) {
        lista->setEmpty(QStringLiteral("wszystkie"), QString());
        lista->refill();
    }
}

} // namespace katarix::persons
