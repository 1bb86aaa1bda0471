#include "platform/ui/HtmlDocument.h"

#include <QEventLoop>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineScript>

#include <functional>
#include <memory>

namespace
{
// What a script's answer and the waiting loop share; the answer may come after the wait gave up.
struct PendingAnswer
{
    bool done{false};
    QVariant value;
    QEventLoop* loop{nullptr};
};

template <class Start> bool WaitForAnswer(int timeoutMs, QVariant& result, Start start)
{
    auto pending = std::make_shared<PendingAnswer>();
    QEventLoop loop;
    pending->loop = &loop;
    start(
        [pending](const QVariant& value)
        {
            pending->value = value;
            pending->done = true;
            if (pending->loop)
                pending->loop->quit();
        });
    if (!pending->done)
    {
        QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
        loop.exec();
    }
    pending->loop = nullptr;
    result = pending->value;
    return pending->done;
}
} // namespace

CHtmlDocument::CHtmlDocument(QWebEnginePage* page, int timeoutMs) : m_page(page), m_timeoutMs(timeoutMs) {}

bool CHtmlDocument::Evaluate(const QString& script, QVariant& result) const
{
    if (!m_page)
        return false;
    QPointer<QWebEnginePage> page = m_page;
    return WaitForAnswer(m_timeoutMs, result,
                         [&](const std::function<void(const QVariant&)>& answer)
                         { page->runJavaScript(script, QWebEngineScript::ApplicationWorld, answer); });
}

bool CHtmlDocument::ReadText(const QString& expression, QString& text, qsizetype maxLength) const
{
    // The length is checked in the page, so an over-long document is never copied across.
    const QString script = QStringLiteral("(function () { var t = %1; "
                                          "return (typeof t === 'string' && t.length <= %2) ? t : null; })()")
                               .arg(expression)
                               .arg(maxLength);
    QVariant result;
    if (!Evaluate(script, result) || result.typeId() != QMetaType::QString)
        return false;
    text = result.toString();
    return true;
}

bool CHtmlDocument::GetContentType(QString& type) const
{
    return ReadText(QStringLiteral("document.contentType"), type, 256);
}

bool CHtmlDocument::GetHtmlInnerHtml(QString& markup, qsizetype maxLength) const
{
    return ReadText(QStringLiteral("(function () { var e = document.getElementsByTagName('html')[0]; "
                                   "return e ? e.innerHTML : null; })()"),
                    markup, maxLength);
}

bool CHtmlDocument::GetBodyInnerHtml(QString& markup, qsizetype maxLength) const
{
    return ReadText(QStringLiteral("(document.body ? document.body.innerHTML : null)"), markup, maxLength);
}

bool CHtmlDocument::GetSource(QString& markup, qsizetype maxLength) const
{
    if (!m_page)
        return false;
    QPointer<QWebEnginePage> page = m_page;
    QVariant result;
    if (!WaitForAnswer(m_timeoutMs, result,
                       [&](const std::function<void(const QVariant&)>& answer)
                       { page->toHtml([answer](const QString& html) { answer(html); }); }))
        return false;
    const QString html = result.toString();
    if (html.isEmpty() || html.size() > maxLength)
        return false;
    markup = html;
    return true;
}
