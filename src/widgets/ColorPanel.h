#pragma once

#include <QColor>
#include <QFrame>
#include <QString>

namespace katarix::widgets {

// Windows colour values keep red in the low byte and blue in the high byte (0x00BBGGRR).
QColor colorFromWindows(int value);
int colorToWindows(const QColor &color);

// A flat panel showing a caption centred on its colour; a click on it emits clicked() (the owner
// decides what a click does, typically running a colour dialog). Hand cursor, no bevel.
class ColorPanel : public QFrame {
    Q_OBJECT
public:
    explicit ColorPanel(const QString &caption = QString(), QWidget *parent = nullptr);
    // For Designer forms: the caption comes from the form.
    explicit ColorPanel(QWidget *parent) : ColorPanel(QString(), parent) {}

    QString caption() const { return m_caption; }
    void setCaption(const QString &caption);
    QColor color() const { return m_color; }
    void setColor(const QColor &color);
    // The colour as a Windows colour value, the form the configuration file keeps.
    int colorValue() const { return colorToWindows(m_color); }
    void setColorValue(int value) { setColor(colorFromWindows(value)); }

    QSize sizeHint() const override;

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QString m_caption;
    QColor m_color = Qt::white;
    bool m_pressed = false;
};

} // namespace katarix::widgets
