#pragma once

#include <QByteArray>
#include <QString>

class QWidget;

namespace katarix::jet {
class Dataset;
}

namespace katarix::app {

// One CSV line in Windows-1250 ending in CR LF: every field quoted, quotation marks inside a
// value doubled (RFC 4180), so commas and line breaks stay inside their column. A character the
// code page lacks is written as '?'.
QByteArray WierszCsv(const QStringList &pola);

// Writes the rows of qry to a CSV file chosen in a save dialog (initial folder katalog when not
// empty): a header of the field names, then one line per row; fields whose names begin with '_'
// are left out, values are the engine's plain text (empty for NULL). Returns false without a
// dialog for an empty dataset and false when the dialog is cancelled. A file that cannot be
// created or written throws AppError (nothing is reported as written, a partial file is removed;
// an existing read-only file is refused untouched). The dataset ends on its first row with its
// controls following it again, also after an error.
bool EksportCsv(jet::Dataset &qry, const QString &katalog, QWidget *parent = nullptr);

} // namespace katarix::app
