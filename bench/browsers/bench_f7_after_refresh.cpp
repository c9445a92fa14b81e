// From F7 to the land register window painted, through the program's own start-up
// (PrzygotujProgram, the main window, its background load of the remembered register):
//   after refresh  the register's copy was missing and was loaded in the background until the
//                  status panel read "Baza gotowa"; then F7
//   copy current   F7 with the copy already in the cache (the checksum is read, nothing loaded)
//   no copy        F7 with the copy missing and no background load: F7 waits for the whole load
// Also prints the peak memory of this process (the program: the loader runs apart).
//
//   bench_f7_after_refresh [--register FILE.mdb] [--runs N]
//
// The register defaults to bench/register-100k.mdb beside the program (katarix-gen, 100,000
// parcels, seed 1; generated when missing).

#include "common/Aplikacja.h"
#include "common/Czasy.h"
#include "common/SilentInteraction.h"
#include "app/MainFrm.h"
#include "app/main/Start.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <sys/resource.h>

using namespace katarix;

namespace {

struct PaintSeen : QObject {
    bool painted = false;
    bool eventFilter(QObject *, QEvent *event) override
    {
        painted = painted || event->type() == QEvent::Paint;
        return false;
    }
};

// Milliseconds from F7 to the first paint of the land register window.
double f7ToPainted()
{
    app::TMainFrm *frm = app::MainFrm;
    PaintSeen seen;
    QElapsedTimer timer;
    timer.start();
    frm->RejGruntTBtn->trigger();
    QWidget *window = frm->okno(app::OknoProgramu::RejestrGruntow);
    if (!window)
        return -1;
    window->installEventFilter(&seen);
    while (!seen.painted && timer.elapsed() < 600000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    window->removeEventFilter(&seen);
    return ms;
}

void closeRegister()
{
    app::MainFrm->ZamknijBaze();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

bool waitForReady()
{
    QElapsedTimer timer;
    timer.start();
    while (app::MainFrm->StatPanele[1]->text() != QLatin1String("Baza gotowa")) {
        if (timer.elapsed() > 600000)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    QTemporaryDir scratch;
    // The cache of this run only.
    qputenv("XDG_CACHE_HOME", QFile::encodeName(scratch.filePath(QStringLiteral("cache"))));
    bench::Aplikacja application(argc, argv);
    const QString mdb = bench::argument(application.args, QStringLiteral("--register"),
                                        QStringLiteral(KATARIX_BENCH_DIR "/register-100k.mdb"));
    const int runs = bench::argument(application.args, QStringLiteral("--runs"), QStringLiteral("5")).toInt();
    if (!QFileInfo::exists(mdb)) {
        std::fprintf(stderr, "generating %s\n", qPrintable(mdb));
        if (QProcess::execute(QStringLiteral(KATARIX_PROGRAM_DIR "/katarix-gen"),
                              {QStringLiteral("--parcels"), QStringLiteral("100000"), QStringLiteral("--seed"),
                               QStringLiteral("1"), mdb})
            != 0)
            return 1;
    }
    bench::SilentInteraction interaction;
    app::PrzygotujProgram();
    app::TMainFrm *frm = app::MainFrm;
    frm->OpcjeOtwarcia.loaderPath = QStringLiteral(KATARIX_PROGRAM_DIR "/katarix-loader");
    frm->SciezkaBazy = mdb;
    frm->resize(1100, 700);
    frm->show();
    const QString cache = scratch.filePath(QStringLiteral("cache/Katarix"));

    std::vector<double> afterRefresh, current, noCopy;
    for (int run = 0; run < runs; ++run) {
        QDir(cache).removeRecursively();
        frm->OdswiezKopieWTle();
        if (!waitForReady()) {
            std::fprintf(stderr, "the background load did not finish\n");
            return 1;
        }
        afterRefresh.push_back(f7ToPainted());
        closeRegister();
        current.push_back(f7ToPainted());
        closeRegister();
    }
    // The copy missing and nothing loading: F7 waits for the whole load.
    for (int run = 0; run < runs; ++run) {
        QDir(cache).removeRecursively();
        noCopy.push_back(f7ToPainted());
        closeRegister();
    }
    bench::wypiszCzasy(afterRefresh, "F7 to the land register painted after a background refresh", "runs");
    bench::wypiszCzasy(current, "F7 to the land register painted, copy current", "runs");
    bench::wypiszCzasy(noCopy, "F7 to the land register painted, copy missing (whole load)", "runs");
    rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    std::printf("peak memory of the program: %ld MB\n", usage.ru_maxrss / 1024);
    std::printf("messages: %d\n", interaction.messages);
    app::ZwolnijFormularze();
    return 0;
}
