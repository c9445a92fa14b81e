#pragma once

#include "app/MainFrm.h"
#include "app/support/RecordingInteraction.h"
#include "app/support/TestApplication.h"
#include "common/SeparatorGuard.h"
#include "registergen/RegisterBuilder.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace katarix::test {

// A main window over a register stated row by row in `builder`, with the recording interaction
// and the Polish decimal separator. load() puts the rows into the main window's connection.
class RegisterWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ensureApplication();
        QDir(root.path()).mkpath(QStringLiteral("Program"));
        main = new app::TMainFrm(nullptr, root.filePath(QStringLiteral("Program")));
        app::MainFrm = main;
    }
    void TearDown() override
    {
        zamknijOkna();
        delete main;
        app::MainFrm = nullptr;
    }
    // Frees the windows a test made before the main window goes.
    virtual void zamknijOkna() {}
    void load() { builder.toDatabase(main->baza()); }

    SeparatorGuard comma{QLatin1Char(',')};
    QTemporaryDir root;
    RecordingInteraction recording;
    registergen::RegisterBuilder builder;
    app::TMainFrm *main = nullptr;
};

} // namespace katarix::test
