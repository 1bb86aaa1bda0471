#pragma once

#include <QPointer>
#include <QString>
#include <QVariant>

class QWebEnginePage;

// The document a browser control has loaded, read through its engine. Every read runs a small
// script in a world of its own, apart from the page's scripts, and waits for the answer in a
// nested event loop for at most the time-out: a page that hangs its renderer cannot hold the
// program. A read fails when the page went away, the answer did not come in time or was too long.
class CHtmlDocument
{
public:
    static constexpr int DefaultTimeout = 10000;

    explicit CHtmlDocument(QWebEnginePage* page, int timeoutMs = DefaultTimeout);

    // The MIME type the document was served as, such as "text/html".
    bool GetContentType(QString& type) const;
    // The markup inside the document's first "html" element.
    bool GetHtmlInnerHtml(QString& markup, qsizetype maxLength) const;
    // The markup inside the document's body.
    bool GetBodyInnerHtml(QString& markup, qsizetype maxLength) const;
    // The whole document as the engine writes it out.
    bool GetSource(QString& markup, qsizetype maxLength) const;

private:
    bool Evaluate(const QString& script, QVariant& result) const;
    bool ReadText(const QString& expression, QString& text, qsizetype maxLength) const;

    QPointer<QWebEnginePage> m_page;
    int m_timeoutMs;
};
