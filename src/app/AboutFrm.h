#pragma once

#include <QDialog>
#include <QStringList>
#include <QTimer>

#include <memory>

namespace Ui {
class TAboutFrm;
}

namespace katarix::app {

// Text lines that scroll upwards in a loop while the timer runs.
class TScrollingText : public QWidget {
    Q_OBJECT
public:
    explicit TScrollingText(QWidget *parent = nullptr);
    void setLines(const QStringList &lines);
    const QStringList &lines() const { return m_lines; }
    void start();
    void stop();
    bool running() const { return m_timer.isActive(); }
    int offset() const { return m_offset; }
    void step(); // one pixel up, wrapping around after the last line

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int textHeight() const;

    QStringList m_lines;
    QTimer m_timer;
    int m_offset = 0;
};

// The About box: frameless, centred, closed by Esc or a click anywhere on it. The layout is the
// Designer form AboutFrm.ui.
class TAboutFrm : public QDialog {
    Q_OBJECT
public:
    explicit TAboutFrm(QWidget *parent = nullptr);
    ~TAboutFrm() override;

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::unique_ptr<Ui::TAboutFrm> ui;
};

// The About box of the run; created at start-up after the extract module.
extern TAboutFrm *AboutFrm;

} // namespace katarix::app
