#include "app/AboutFrm.h"

#include "app/WersjaProgramu.h"

#include "ui_AboutFrm.h"

#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QScreen>

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
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), ui(std::make_unique<Ui::TAboutFrm>())
{
    ui->setupUi(this);
    // What the form cannot say: the icon, the type in pixels, the colours of the texts.
    ui->ProgramIcon->setPixmap(QIcon(QStringLiteral(":/icons/katarix.svg")).pixmap(32, 32));
    QFont nameFont = ui->ProductName->font();
    nameFont.setPixelSize(32);
    nameFont.setBold(true);
    ui->ProductName->setFont(nameFont);
    QPalette namePalette = ui->ProductName->palette();
    namePalette.setColor(QPalette::WindowText, QColor(0xc0, 0xc0, 0xc0));
    ui->ProductName->setPalette(namePalette);
    QPalette textPalette = ui->ScrollText->palette();
    textPalette.setColor(QPalette::WindowText, Qt::white);
    ui->ScrollText->setPalette(textPalette);
    QFont textFont = ui->ScrollText->font();
    textFont.setPixelSize(13);
    textFont.setBold(true);
    ui->ScrollText->setFont(textFont);
    ui->ScrollText->setLines({QString(), QStringLiteral("Katarix"), QString(),
                              QStringLiteral("Przeglądarka danych ewidencji"), QStringLiteral("gruntów budynków i lokali"),
                              QString(), QStringLiteral("Wersja ") + WersjaProgramu(), QString()});

    for (QWidget *child : findChildren<QWidget *>())
        child->installEventFilter(this);
    adjustSize();
}

TAboutFrm::~TAboutFrm() = default;

void TAboutFrm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect place = frameGeometry();
        place.moveCenter(screen->geometry().center());
        move(place.topLeft());
    }
    ui->ScrollText->start();
}

void TAboutFrm::hideEvent(QHideEvent *event)
{
    ui->ScrollText->stop();
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
