#include "persons/AdresGrp.h"

#include "persons/Lookup.h"

#include <QAbstractItemView>

namespace katarix::persons {

TAdresGrp::TAdresGrp(QWidget *parent) : QGroupBox(parent)
{
    setupUi(this);
    MiejscowoscLcbx->view()->setMinimumWidth(200);
    UlicaLcbx->view()->setMinimumWidth(250);
    CzyscListeLookup(MiejscowoscLcbx);
    CzyscListeLookup(UlicaLcbx);
}

} // namespace katarix::persons
