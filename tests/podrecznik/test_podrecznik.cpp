// The guide window: the guide is found beside the program (build tree, copied tree) and in the
// installed data folder (its install rule run into a scratch prefix); every page links only to
// pages that exist and shows its pictures; a missing guide or page gives the Polish message.
#include "app/Komunikaty.h"
#include "app/MainFrm.h"
#include "app/PodrecznikFrm.h"
#include "support/Podrecznik.h"
#include "support/QtPrinters.h"
#include "support/RecordingInteraction.h"
#include "support/TestApplication.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <gtest/gtest.h>

using namespace katarix;
using app::TPodrecznikFrm;

namespace {

class PodrecznikTest : public ::testing::Test {
protected:
    void SetUp() override { test::ensureApplication(); }
    test::RecordingInteraction recording;
};

// The guide's files (pages and pictures) relative to its folder.
QStringList plikiPodrecznika(const QString &folder)
{
    QStringList files;
    QDirIterator it(folder, {"*.md", "*.png"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(folder).relativeFilePath(it.next());
    files.sort();
    return files;
}

void zapisz(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
}

void kopiujKatalog(const QString &from, const QString &to)
{
    for (const QString &file : plikiPodrecznika(from)) {
        QDir().mkpath(QFileInfo(to + QLatin1Char('/') + file).absolutePath());
        ASSERT_TRUE(QFile::copy(from + QLatin1Char('/') + file, to + QLatin1Char('/') + file)) << file.toStdString();
    }
}

// Links and pictures of the page shown.
struct Odnosniki {
    QStringList linki, obrazy;
};

Odnosniki odnosniki(const QTextDocument &document)
{
    Odnosniki found;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (format.isImageFormat())
                found.obrazy << format.toImageFormat().name();
            else if (format.isAnchor() && !format.anchorHref().isEmpty() && !found.linki.contains(format.anchorHref()))
                found.linki << format.anchorHref();
        }
    return found;
}

TEST_F(PodrecznikTest, TheGuideIsFoundBesideTheProgramAndInTheInstalledDataFolder)
{
    const QString sources = test::katalogPodrecznikaZrodel();
    const QStringList files = plikiPodrecznika(sources);
    ASSERT_TRUE(files.contains(QStringLiteral("README.md")));

    // The build tree: Katarix/Podrecznik beside Katarix/Program, the same files as the sources.
    const QString buildRoot = QDir::cleanPath(QStringLiteral(KATARIX_PROGRAM_DIR "/..")) + QLatin1Char('/');
    const QString built = app::podrecznik::katalog(buildRoot);
    EXPECT_EQ(built, buildRoot + QStringLiteral("Podrecznik"));
    for (const QString &file : files) {
        QFile source(sources + QLatin1Char('/') + file), copy(built + QLatin1Char('/') + file);
        ASSERT_TRUE(source.open(QIODevice::ReadOnly));
        ASSERT_TRUE(copy.open(QIODevice::ReadOnly)) << "not in the build tree: " << file.toStdString();
        EXPECT_EQ(copy.readAll(), source.readAll()) << "stale in the build tree: " << file.toStdString();
    }

    // A copied tree, anywhere.
    QTemporaryDir copy;
    ASSERT_TRUE(QDir().mkpath(copy.filePath("Katarix/Program")));
    kopiujKatalog(built, copy.filePath("Katarix/Podrecznik"));
    EXPECT_EQ(app::podrecznik::katalog(copy.filePath("Katarix/")), copy.filePath("Katarix/Podrecznik"));

    // The install rule into a prefix: <prefix>/bin/katarix finds <prefix>/share/katarix/Podrecznik.
    QTemporaryDir prefix;
    QProcess install;
    install.start(QStringLiteral(KATARIX_CMAKE_COMMAND),
                  {QStringLiteral("-DCMAKE_INSTALL_PREFIX=") + prefix.path(), QStringLiteral("-P"),
                   QStringLiteral(KATARIX_DOCS_INSTALL_SCRIPT)});
    ASSERT_TRUE(install.waitForFinished(60000));
    ASSERT_EQ(install.exitCode(), 0) << install.readAllStandardError().toStdString();
    const QString installed = app::podrecznik::katalog(prefix.path() + QStringLiteral("/bin/.."));
    EXPECT_EQ(QDir::cleanPath(installed), prefix.path() + QStringLiteral("/share/katarix/Podrecznik"));
    EXPECT_EQ(plikiPodrecznika(installed), files);

    // A folder without the table of contents is no guide.
    QTemporaryDir empty;
    ASSERT_TRUE(QDir().mkpath(empty.filePath("Podrecznik")));
    zapisz(empty.filePath("Podrecznik/01-uruchomienie.md"), "# 1.\n");
    EXPECT_EQ(app::podrecznik::katalog(empty.path() + QLatin1Char('/')), QString());
}

TEST_F(PodrecznikTest, EveryPageIsReachedFromTheContentsLinksToPagesThatExistAndShowsItsPictures)
{
    const QString folder = test::katalogPodrecznikaZrodel();
    TPodrecznikFrm window;
    ASSERT_TRUE(window.Pokaz(folder));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Podręcznik użytkownika"));
    EXPECT_TRUE(window.Tekst->toPlainText().startsWith(QStringLiteral("Katarix – podręcznik użytkownika")));

    QSet<QString> pages, linked, pictures;
    for (const QString &file : plikiPodrecznika(folder)) {
        if (file.endsWith(QLatin1String(".md")))
            pages.insert(file);
        else
            pictures.insert(file);
    }
    QSet<QString> shown;
    for (const QString &page : pages) {
        SCOPED_TRACE(page.toStdString());
        ASSERT_TRUE(window.Pokaz(folder, page));
        EXPECT_FALSE(window.Tekst->toPlainText().trimmed().isEmpty());
        const Odnosniki found = odnosniki(*window.Tekst->document());
        for (const QString &link : found.linki) {
            EXPECT_FALSE(link.contains(QLatin1String("://"))) << "a link out of the guide: " << link.toStdString();
            EXPECT_TRUE(QFileInfo::exists(folder + QLatin1Char('/') + link)) << "link to " << link.toStdString();
            linked.insert(link);
        }
        for (const QString &picture : found.obrazy) {
            const QImage image =
                window.Tekst->loadResource(QTextDocument::ImageResource, QUrl(picture)).value<QImage>();
            EXPECT_FALSE(image.isNull()) << "picture " << picture.toStdString();
            shown.insert(picture);
        }
    }
    // The contents reach every page; every picture of the folder is shown somewhere.
    const auto sorted = [](const QSet<QString> &set) {
        QStringList list(set.begin(), set.end());
        list.sort();
        return list;
    };
    linked.insert(QStringLiteral("README.md"));
    EXPECT_EQ(sorted(linked), sorted(pages));
    EXPECT_EQ(sorted(shown), sorted(pictures));

    // The project's README shows one of the pictures near its top.
    QFile readme(QStringLiteral(KATARIX_SOURCE_DIR "/README.md"));
    ASSERT_TRUE(readme.open(QIODevice::ReadOnly));
    const QString top = QString::fromUtf8(readme.readAll()).left(1500);
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("!\\[[^\\]]*\\]\\(docs/podrecznik/(obrazy/[^)]+\\.png)\\)")).match(top);
    ASSERT_TRUE(match.hasMatch());
    EXPECT_TRUE(pictures.contains(match.captured(1)));
}

TEST_F(PodrecznikTest, PicturesWiderThanThePageAreScaledToItsWidth)
{
    QTemporaryDir folder;
    QImage wide(3000, 400, QImage::Format_RGB32), small(300, 200, QImage::Format_RGB32);
    wide.fill(Qt::blue);
    small.fill(Qt::green);
    ASSERT_TRUE(QDir().mkpath(folder.filePath("obrazy")));
    ASSERT_TRUE(wide.save(folder.filePath("obrazy/szeroki.png")));
    ASSERT_TRUE(small.save(folder.filePath("obrazy/maly.png")));
    zapisz(folder.filePath("README.md"), "# Spis\n\n![a](obrazy/szeroki.png)\n\n![b](obrazy/maly.png)\n");

    TPodrecznikFrm window;
    ASSERT_TRUE(window.Pokaz(folder.path()));
    const QImage scaled =
        window.Tekst->loadResource(QTextDocument::ImageResource, QUrl("obrazy/szeroki.png")).value<QImage>();
    ASSERT_FALSE(scaled.isNull());
    EXPECT_LT(scaled.width(), window.width());
    EXPECT_NEAR(double(scaled.height()) / scaled.width(), 400.0 / 3000.0, 0.01);
    EXPECT_EQ(window.Tekst->loadResource(QTextDocument::ImageResource, QUrl("obrazy/maly.png")).value<QImage>().size(),
              QSize(300, 200));
}

TEST_F(PodrecznikTest, AMissingGuideOrPageGivesThePolishMessageAndNoBlankWindow)
{
    QWidget owner;
    QTemporaryDir root;
    ASSERT_TRUE(QDir().mkpath(root.filePath("Program")));
    EXPECT_EQ(app::PokazPodrecznik(&owner, root.path() + QLatin1Char('/')), nullptr);
    ASSERT_EQ(recording.messages.size(), 1u);
    const QString text = recording.messages[0].text;
    EXPECT_TRUE(text.startsWith(QStringLiteral("Nie znaleziono podręcznika użytkownika:\n"))) << text.toStdString();
    EXPECT_TRUE(text.contains(root.filePath("Podrecznik/README.md")));
    EXPECT_TRUE(text.contains(root.filePath("share/katarix/Podrecznik/README.md")));
    EXPECT_TRUE(text.endsWith(QStringLiteral("Podręcznik instaluje się razem z programem - zgłoś to administratorowi.")));
    EXPECT_EQ(recording.messages[0].caption, app::TytulAplikacji());
    EXPECT_EQ(recording.messages[0].flags, app::mb::IconWarning);
    EXPECT_EQ(owner.findChild<TPodrecznikFrm *>(), nullptr);

    // A page linked but missing: the message names it and the page shown stays.
    recording.messages.clear();
    zapisz(root.filePath("Podrecznik/README.md"), "# Spis treści\n\n[Brakujący rozdział](brak.md)\n");
    TPodrecznikFrm *window = app::PokazPodrecznik(&owner, root.path() + QLatin1Char('/'));
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(recording.messages.empty());
    const QUrl contents = window->Tekst->source();
    window->Tekst->setSource(QUrl(QStringLiteral("brak.md")));
    ASSERT_EQ(recording.messages.size(), 1u);
    EXPECT_TRUE(recording.messages[0].text.contains(root.filePath("Podrecznik/brak.md")));
    EXPECT_EQ(window->Tekst->source(), contents);
    EXPECT_TRUE(window->Tekst->toPlainText().startsWith(QStringLiteral("Spis treści")));

    // F1 again brings the same window forward.
    EXPECT_EQ(app::PokazPodrecznik(&owner, root.path() + QLatin1Char('/')), window);
    EXPECT_TRUE(window->isVisible());
}

} // namespace
