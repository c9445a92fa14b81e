#include "app/AboutFrm.h"

#include "app/WersjaProgramu.h"

#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>

namespace katarix::app {

TAboutFrm *AboutFrm = nullptr;

TScrollingText::TScrollingText(QWidget *parent)
    : QWidget(parent)
{
    m_timer.setInterval(40);
    connect(&m_timer, &QTimer::timeout, this, &TScrollingText::step);
    setAutoFillBackground(false);
}

void TScrollingText::setLines(const QStringList &lines)
{
    m_lines = lines;
    m_offset = 0;
    update();
}

void TScrollingText::start()
{
    // Start with the text at the top edge, readable at once.
    m_offset = height();
    m_timer.start();
}

void TScrollingText::stop()
{
    m_timer.stop();
}

int TScrollingText::textHeight() const
{
    return int(m_lines.size()) * fontMetrics().lineSpacing();
}

void TScrollingText::step()
{
    // The text enters at the bottom edge and leaves at the top, then starts again.
    const int cycle = height() + textHeight();
    m_offset = cycle > 0 ? (m_offset + 1) % cycle : 0;
    update();
}

void TScrollingText::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    const int lineHeight = fontMetrics().lineSpacing();
    int y = height() - m_offset;
    for (const QString &line : m_lines) {
        painter.drawText(QRect(0, y, width(), lineHeight), Qt::AlignHCenter | Qt::AlignVCenter, line);
        y += lineHeight;
    }
}

TAboutFrm::TAboutFrm(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("AboutFrm"));
    setWindowTitle(QStringLiteral("O programie..."));
    setModal(true);

    // Black frame around a teal panel.
    setStyleSheet(QStringLiteral("#AboutFrm { background: black; }"
                                 "#AboutPnl { background: #008080; }"
                                 "#ScrollPnl { background: #008080; border: 2px groove #c0c0c0; }"));
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(2, 2, 2, 2);
    auto *panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("AboutPnl"));
    outer->addWidget(panel);

    auto *layout = new QVBoxLayout(panel);
    layout->setContentsMargins(14, 12, 14, 14);
    layout->setSpacing(10);
    auto *header = new QHBoxLayout;
    ProgramIcon = new QLabel(panel);
    ProgramIcon->setPixmap(QIcon(QStringLiteral(":/icons/katarix.svg")).pixmap(32, 32));
    ProgramIcon->setFixedSize(32, 32);
    ProductName = new QLabel(QStringLiteral("Katarix"), panel);
    QFont nameFont = ProductName->font();
    nameFont.setPixelSize(32);
    nameFont.setBold(true);
    ProductName->setFont(nameFont);
    QPalette namePalette = ProductName->palette();
    namePalette.setColor(QPalette::WindowText, QColor(0xc0, 0xc0, 0xc0));
    ProductName->setPalette(namePalette);
    header->addWidget(ProgramIcon, 0, Qt::AlignVCenter);
    header->addSpacing(10);
    header->addWidget(ProductName, 1, Qt::AlignVCenter);
    layout->addLayout(header);

    auto *scrollFrame = new QFrame(panel);
    scrollFrame->setObjectName(QStringLiteral("ScrollPnl"));
    auto *scrollLayout = new QVBoxLayout(scrollFrame);
    scrollLayout->setContentsMargins(4, 4, 4, 4);
    ScrollText = new TScrollingText(scrollFrame);
    QPalette textPalette = ScrollText->palette();
    textPalette.setColor(QPalette::WindowText, Qt::white);
    ScrollText->setPalette(textPalette);
    QFont textFont = ScrollText->font();
    textFont.setPixelSize(13);
    textFont.setBold(true);
    ScrollText->setFont(textFont);
    ScrollText->setMinimumSize(280, 120);
    ScrollText->setLines({QString(), QStringLiteral("Katarix"), QString(),
                          QStringLiteral("Przeglądarka danych ewidencji"), QStringLiteral("gruntów budynków i lokali"),
                          QString(), QStringLiteral("Wersja ") + WersjaProgramu(), QString()});
    scrollLayout->addWidget(ScrollText);
    layout->addWidget(scrollFrame, 1);

    for (QWidget *child : findChildren<QWidget *>())
        child->installEventFilter(this);
    adjustSize();
}

void TAboutFrm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect place = frameGeometry();
        place.moveCenter(screen->geometry().center());
        move(place.topLeft());
    }
    ScrollText->start();
}

void TAboutFrm::hideEvent(QHideEvent *event)
{
    ScrollText->stop();
    QDialog::hideEvent(event);
}

void TAboutFrm::keyPressEvent(QKeyEvent *event)
{
    // Esc closes on release, not on press.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TAboutFrm::keyReleaseEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        accept();
        return;
    }
    QDialog::keyReleaseEvent(event);
}

void TAboutFrm::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        accept();
        return;
    }
    QDialog::mouseReleaseEvent(event);
}

bool TAboutFrm::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        accept();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace katarix::app
