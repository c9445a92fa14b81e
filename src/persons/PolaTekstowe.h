#pragma once

class QLineEdit;
class QString;

namespace katarix::persons {

// The digits of a masked edit (literals and empty places dropped).
QString CyfryMaski(const QLineEdit *edit);
// Typed letters become capitals as they are typed.
void WymusWielkieLitery(QLineEdit *edit);

} // namespace katarix::persons
