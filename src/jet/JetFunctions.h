#pragma once

#include "NumberText.h"

#include <QString>
#include <QStringView>

struct sqlite3;

namespace katarix::jet {

// Installs the Jet user functions and the JET collation on a connection.
void registerJetExtensions(sqlite3 *db);

// Jet text order: case-insensitive, Polish alphabet (a < ą < b ... l < ł ... z < ź < ż).
int compareJetText(QStringView a, QStringView b);

} // namespace katarix::jet
