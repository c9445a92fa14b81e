#pragma once

// What a report benchmark runs in: the register's scratch query, the report component, the
// silent interaction and the settings dialog reading the source tree's templates and writing
// into a temporary output folder (removed at the end). Programs that include it define
// KATARIX_SOURCE_DIR and link katarix_reports.

#include "common/SilentInteraction.h"
#include "app/Interaction.h"
#include "app/UstawieniaFrm.h"
#include "jet/Database.h"
#include "jet/Query.h"
#include "rtf/RTFReport.h"
#include "widgets/PathEdit.h"

#include <QTemporaryDir>

namespace katarix::bench {

struct SrodowiskoRaportu {
    explicit SrodowiskoRaportu(jet::Database &db)
        : ustawienia(dir.filePath(QStringLiteral("Katarix.ini")), app::KatalogiProgramu::drzewo(dir.path() + QLatin1Char('/')))
    {
        tempQry.setDatabase(&db);
        app::setInteraction(&interaction);
        ustawienia.SzablonyDE->setText(QStringLiteral(KATARIX_SOURCE_DIR "/templates"));
        ustawienia.OutputDE->setText(dir.path());
        app::UstawieniaFrm = &ustawienia;
    }
    ~SrodowiskoRaportu()
    {
        app::UstawieniaFrm = nullptr;
        app::setInteraction(nullptr);
    }
    SrodowiskoRaportu(const SrodowiskoRaportu &) = delete;
    SrodowiskoRaportu &operator=(const SrodowiskoRaportu &) = delete;

    jet::Query tempQry;
    rtf::TRTFReport rtf1;
    SilentInteraction interaction;
    QTemporaryDir dir; // before ustawienia, which keeps its Katarix.ini here
    app::TUstawieniaFrm ustawienia;
};

} // namespace katarix::bench
