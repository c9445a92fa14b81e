#include "widgets/ColorPanel.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace katarix::widgets {

QColor colorFromWindows(int value)
{
    const auto v = static_cast<quint32>(value);
    return QColor(v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF);
}

int colorToWindows(const QColor &color)
{
    return color.red() | (color.green() << 8) | (color.blue() << 16);
}

ColorPanel::ColorPanel(const QString &caption, QWidget *parent) : QFrame(parent), m_caption(caption)
{
    setFrameShape(QFrame::NoFrame);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    setAutoFillBackground(false);
}

void ColorPanel::setCaption(const QString &caption)
{
    m_caption = caption;
    updateGeometry();
    update();
}

void ColorPanel::setColor(const QColor &color)
{
    m_color = color;
    update();
}

QSize ColorPanel::sizeHint() const
{
    const QFontMetrics metrics(font());
    return {metrics.horizontalAdvance(m_caption) + 24, metrics.height() + 14};
}

void ColorPanel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_color);
    // Caption in black or white, whichever reads better on the colour.
    painter.setPen(m_color.lightness() < 110 ? Qt::white : Qt::black);
    painter.drawText(rect(), Qt::AlignCenter, m_caption);
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(1, 1, -2, -2));
    }
}

void ColorPanel::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton;
    QFrame::mousePressEvent(event);
}

void ColorPanel::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    QFrame::mouseReleaseEvent(event);
    if (click)
        emit clicked();
}

void ColorPanel::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Space || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        emit clicked();
        return;
    }
    QFrame::keyPressEvent(event);
}

} // namespace katarix::widgets
