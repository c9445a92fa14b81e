#pragma once

#include "app/MainFrm.h"
#include "app/support/RecordingInteraction.h"
#include "common/SeparatorGuard.h"
#include "persons/KarOsFrm.h"
#include "registergen/RegisterBuilder.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace katarix::test {

// Persons of the fixture register.
namespace osoby {
// Natural persons: KOWALSKI JAN MARIA (PIOTR,-) in Kraków, ul. Długa 5/2, postal code 30-001;
// KOWALSKI ŁUKASZ (-,-) at Krótka 5'A (30-950, PESEL "9"); NOWAK JAN in Wieliczka, Rynek 7
// (31-100, PESEL "10"); a row with OSFIZ_ID 0 named KOWALSKI JAN that no search may return.
constexpr double Kowalski = 101, Lukasz = 102, Nowak = 103;
// Legal persons: PRZEDSIĘBIORSTWO BUDOWLANE 'ZGODA' (REGON 123456785, at Długa 5/2),
// PRZEDSIĘBIORSTWO HANDLOWE (abbreviation ABC, no REGON, in Wieliczka); rows outside the legal
// range with the abbreviation ABC: 299999999 and a marriage 500000000.
constexpr double Zgoda = 300000001, Handlowe = 300000002;
} // namespace osoby

void rejestrOsob(registergen::RegisterBuilder &b);

// Types text into a widget key by key, Polish letters included.
void pisz(QWidget *widget, const QString &text);

// The program's forms made as at start-up, with the person file registered, on the fixture
// register; freed and unregistered again at the end.
struct ProgramOsob {
    ProgramOsob();
    ~ProgramOsob();
};

// A main window on the fixture register in a temporary program folder, and a person file on it.
class OsobyTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // The mslink values of the rows in list order.
    static std::vector<double> wiersze(const persons::TKarOsFrm *frm);
    static std::vector<double> zaznaczone(const persons::TKarOsFrm *frm);

    SeparatorGuard comma{QLatin1Char(',')};
    QTemporaryDir root;
    RecordingInteraction recording;
    app::TMainFrm *main = nullptr;
    persons::TKarOsFrm *frm = nullptr;
};

} // namespace katarix::test
