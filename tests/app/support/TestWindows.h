#pragma once

#include "app/RejestrOkien.h"

#include <QTemporaryDir>
#include <QWidget>
#include <memory>
#include <vector>

namespace katarix::test {

// A stand-in for the program's windows: counts instances, records PokazJr.
class TestWindow : public QWidget, public app::OknoRejestru {
public:
    explicit TestWindow(const QString &title);
    ~TestWindow() override;
    void PokazJr(double idJr) override;

    std::vector<double> shownUnits;
    bool throwInPokazJr = false;
    static int created;
    static int alive;
};

// Registers TestWindow factories for all five windows while it lives.
struct TestWindowFactories {
    TestWindowFactories();
    ~TestWindowFactories();
};

// A program folder "Program" with "Bazy" beside it, in a temporary root.
struct ProgramFolder {
    QTemporaryDir root;
    QString program;
    QString bazy;
    ProgramFolder();
    QString ini() const;
    void writeIni(const QByteArray &content) const;
    QByteArray readIni() const;
};

} // namespace katarix::test
