#pragma once

// What a report benchmark runs in: the register's scratch query, the report component, the
// silent interaction and the program's settings reading the source tree's templates and writing
// into a temporary output folder (removed at the end). Programs that include it define
// KATARIX_SOURCE_DIR and link katarix_reports.

#include "common/SilentInteraction.h"
#include "app/Interaction.h"
#include "app/Ustawienia.h"
#include "jet/Database.h"
#include "jet/Query.h"
#include "rtf/RTFReport.h"

#include <QTemporaryDir>

namespace katarix::bench {

struct SrodowiskoRaportu {
    explicit SrodowiskoRaportu(jet::Database &db)
    {
        tempQry.setDatabase(&db);
        app::setInteraction(&interaction);
        app::ustawieniaProgramu().katalogSzablonow = QStringLiteral(KATARIX_SOURCE_DIR "/templates");
        app::ustawieniaProgramu().katalogWynikowy = dir.path();
    }
    ~SrodowiskoRaportu()
    {
        app::ustawieniaProgramu() = app::Ustawienia();
        app::setInteraction(nullptr);
    }
    SrodowiskoRaportu(const SrodowiskoRaportu &) = delete;
    SrodowiskoRaportu &operator=(const SrodowiskoRaportu &) = delete;

    jet::Query tempQry;
    rtf::TRTFReport rtf1;
    SilentInteraction interaction;
    QTemporaryDir dir;
};

} // namespace katarix::bench
