#include "app/PodrecznikFrm.h"

#include "app/Komunikaty.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPointer>
#include <QScreen>
#include <QStyle>
#include <QTextDocument>
#include <QToolBar>

namespace katarix::app {

namespace podrecznik {

QStringList katalogiKandydujace(const QString &katalogGlowny)
{
    const QDir root(katalogGlowny);
    return {QDir::cleanPath(root.absoluteFilePath(QStringLiteral("Podrecznik"))),
            QDir::cleanPath(root.absoluteFilePath(QStringLiteral("share/katarix/Podrecznik")))};
}

QString katalog(const QString &katalogGlowny)
{
    for (const QString &folder : katalogiKandydujace(katalogGlowny))
        if (QFileInfo(QDir(folder).filePath(QLatin1String(SpisTresci))).isFile())
            return folder;
    return QString();
}

} // namespace podrecznik

void PodrecznikNieznaleziony(const QString &sciezka)
{
    Komunikat(QStringLiteral("Nie znaleziono podręcznika użytkownika:\n%1\n"
                             "Podręcznik instaluje się razem z programem - zgłoś to administratorowi.")
                  .arg(sciezka),
              QString(), mb::IconWarning, false);
}

TPrzegladarkaPodrecznika::TPrzegladarkaPodrecznika(QWidget *parent)
    : QTextBrowser(parent)
{
    setObjectName(QStringLiteral("Tekst"));
    setOpenLinks(true);
}

QVariant TPrzegladarkaPodrecznika::loadResource(int type, const QUrl &name)
{
    if (type != QTextDocument::ImageResource)
        return QTextBrowser::loadResource(type, name);
    QImage image;
    const QUrl url = source().resolved(name);
    if (url.isLocalFile())
        image.load(url.toLocalFile());
    if (image.isNull())
        return QTextBrowser::loadResource(type, name);
    // The page's width: the viewport's once laid out, else what the window is about to give it.
    const int margins = 2 * int(document()->documentMargin()) + 2 * frameWidth() + 24;
    const int available = std::max(viewport()->width(), window()->width()) - margins;
    if (available > 100 && image.width() > available)
        image = image.scaledToWidth(available, Qt::SmoothTransformation);
    return image;
}

void TPrzegladarkaPodrecznika::doSetSource(const QUrl &name, QTextDocument::ResourceType type)
{
    const QUrl url = source().isValid() ? source().resolved(name) : name;
    if (url.isLocalFile() && !QFileInfo(url.toLocalFile()).isFile()) {
        PodrecznikNieznaleziony(QDir::toNativeSeparators(url.toLocalFile()));
        return;
    }
    QTextBrowser::doSetSource(name, type);
}

TPodrecznikFrm::TPodrecznikFrm(QWidget *parent)
    : QMainWindow(parent, Qt::Window)
{
    setObjectName(QStringLiteral("PodrecznikFrm"));
    setWindowTitle(QStringLiteral("Podręcznik użytkownika"));
    setAttribute(Qt::WA_DeleteOnClose, false);

    Tekst = new TPrzegladarkaPodrecznika(this);
    setCentralWidget(Tekst);

    NawigacjaTlb = addToolBar(QStringLiteral("Nawigacja"));
    NawigacjaTlb->setObjectName(QStringLiteral("NawigacjaTlb"));
    NawigacjaTlb->setMovable(false);
    NawigacjaTlb->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    NawigacjaTlb->toggleViewAction()->setVisible(false);
    setContextMenuPolicy(Qt::NoContextMenu);
    SpisTresciAct = NawigacjaTlb->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon),
                                            QStringLiteral("Spis treści"));
    SpisTresciAct->setObjectName(QStringLiteral("SpisTresciAct"));
    WsteczAct = NawigacjaTlb->addAction(style()->standardIcon(QStyle::SP_ArrowBack), QStringLiteral("Wstecz"));
    WsteczAct->setObjectName(QStringLiteral("WsteczAct"));
    WsteczAct->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Left));
    DalejAct = NawigacjaTlb->addAction(style()->standardIcon(QStyle::SP_ArrowForward), QStringLiteral("Dalej"));
    DalejAct->setObjectName(QStringLiteral("DalejAct"));
    DalejAct->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Right));
    WsteczAct->setEnabled(false);
    DalejAct->setEnabled(false);
    connect(SpisTresciAct, &QAction::triggered, this, [this] { Pokaz(m_folder); });
    connect(WsteczAct, &QAction::triggered, Tekst, &QTextBrowser::backward);
    connect(DalejAct, &QAction::triggered, Tekst, &QTextBrowser::forward);
    connect(Tekst, &QTextBrowser::backwardAvailable, WsteczAct, &QAction::setEnabled);
    connect(Tekst, &QTextBrowser::forwardAvailable, DalejAct, &QAction::setEnabled);

    // Beside the main window rather than over all of it: most of the screen's height, a page wide.
    QSize size(960, 720);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableGeometry().size() * 9 / 10);
    resize(size);
}

bool TPodrecznikFrm::Pokaz(const QString &folder, const QString &page)
{
    const QString path =
        QDir(folder).filePath(page.isEmpty() ? QString::fromLatin1(podrecznik::SpisTresci) : page);
    if (!QFileInfo(path).isFile()) {
        PodrecznikNieznaleziony(QDir::toNativeSeparators(path));
        return false;
    }
    m_folder = folder;
    Tekst->setSource(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
    return true;
}

TPodrecznikFrm *PokazPodrecznik(QWidget *owner, const QString &katalogGlowny)
{
    const QString folder = podrecznik::katalog(katalogGlowny);
    if (folder.isEmpty()) {
        QStringList expected;
        for (const QString &candidate : podrecznik::katalogiKandydujace(katalogGlowny))
            expected << QDir::toNativeSeparators(QDir(candidate).filePath(QLatin1String(podrecznik::SpisTresci)));
        PodrecznikNieznaleziony(expected.join(QLatin1Char('\n')));
        return nullptr;
    }
    auto *window = owner ? owner->findChild<TPodrecznikFrm *>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
    if (!window) {
        window = new TPodrecznikFrm(owner);
        if (!window->Pokaz(folder)) {
            delete window;
            return nullptr;
        }
    }
    window->show();
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->raise();
    window->activateWindow();
    return window;
}

} // namespace katarix::app
