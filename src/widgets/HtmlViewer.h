#pragma once

#include <QString>
#include <QTextBrowser>

namespace katarix::widgets {

// A read-only HTML page viewer on Qt's rich text: tables with cell colours, header cells, bold
// text and line breaks. Text can be selected; the page wraps to the width and scrolls
// vertically only; no images, links or history.
//
// Qt's rich text ignores a few things such pages rely on, so a page is rewritten before it is
// laid out (przygotujStrone): the alignment and width of <col> elements are copied to the
// cells of their column, "nowrap" becomes the equivalent style, and the common named entities
// are accepted without their closing semicolon ("&nbsp").
class THTMLViewer : public QTextBrowser {
    Q_OBJECT
public:
    explicit THTMLViewer(QWidget *parent = nullptr);

    // Shows the page; the reference name (an anchor to scroll to) may be empty.
    void LoadFromString(const QString &text, const QString &reference = QString());
    // The page as last given to LoadFromString.
    const QString &tekst() const { return m_tekst; }

    static QString przygotujStrone(const QString &html);

protected:
    QVariant loadResource(int type, const QUrl &name) override;

private:
    QString m_tekst;
};

} // namespace katarix::widgets
