#include "widgets/ListaRozwijana.h"

#include <QComboBox>

namespace katarix::widgets {

void ograniczListe(QComboBox *combo, int wiersze)
{
    combo->setMaxVisibleItems(wiersze);
    combo->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
}

} // namespace katarix::widgets
