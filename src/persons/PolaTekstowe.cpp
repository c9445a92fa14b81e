#include "persons/PolaTekstowe.h"

#include <QLineEdit>
#include <QString>

namespace katarix::persons {

QString CyfryMaski(const QLineEdit *edit)
{
    QString out;
    for (const QChar c : edit->text())
        if (c.isDigit())
            out += c;
    return out;
}

void WymusWielkieLitery(QLineEdit *edit)
{
    QObject::connect(edit, &QLineEdit::textEdited, edit, [edit](const QString &text) {
        const QString upper = text.toUpper();
        if (upper == text)
            return;
        const int cursor = edit->cursorPosition();
        edit->setText(upper);
        edit->setCursorPosition(cursor);
    });
}

} // namespace katarix::persons
