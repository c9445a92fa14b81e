#pragma once

class QComboBox;

namespace katarix::widgets {

// The list of a combo box drops down at most `wiersze` rows and scrolls the rest. A style that
// shows a read-only combo box's list as a menu (Fusion does) makes it as tall as the screen
// allows whatever the limit says; the list is then shown as a plain list instead.
void ograniczListe(QComboBox *combo, int wiersze);

} // namespace katarix::widgets
