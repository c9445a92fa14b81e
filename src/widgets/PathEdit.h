#pragma once

#include <QString>
#include <QWidget>

#include <functional>
#include <optional>

class QLineEdit;
class QToolButton;

namespace katarix::widgets {

// An edit with a button that opens a picker. The picker is supplied by the owner (the program
// routes it through its dialog seam, so this layer opens no dialog itself): it gets the current
// text and returns the chosen path, or nullopt when the person cancelled.
class PathEdit : public QWidget {
    Q_OBJECT
public:
    using Picker = std::function<std::optional<QString>(const QString &current)>;

    explicit PathEdit(QWidget *parent = nullptr);

    QString text() const;
    void setText(const QString &text);
    void setPicker(Picker picker) { m_picker = std::move(picker); }

    QLineEdit *lineEdit() const { return m_edit; }
    QToolButton *button() const { return m_button; }

public slots:
    // What the button does: runs the picker and takes a chosen path into the edit.
    void pick();

signals:
    void textChanged(const QString &text);
    void picked(const QString &path);

private:
    QLineEdit *m_edit;
    QToolButton *m_button;
    Picker m_picker;
};

// File name edit: an edit and a button that picks a file.
class FileNameEdit : public PathEdit {
    Q_OBJECT
public:
    explicit FileNameEdit(QWidget *parent = nullptr);
    QString fileName() const { return text(); }
    void setFileName(const QString &fileName) { setText(fileName); }
};

// Directory edit: an edit and a button that picks a folder.
class DirectoryEdit : public PathEdit {
    Q_OBJECT
public:
    explicit DirectoryEdit(QWidget *parent = nullptr);
};

} // namespace katarix::widgets
