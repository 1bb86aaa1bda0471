#include "platform/ui/HtmlDocument.h"

#include "platform/ui/NestedWait.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QWebEnginePage>
#include <QWebEngineScript>

#include <functional>
#include <memory>

namespace
{
// What a script's answer and the wait share; the answer may come after the wait gave up.
struct PendingAnswer
{
    bool done{false};
    QVariant value;
    CNestedWait* wait{nullptr};
};

template <class Start> bool WaitForAnswer(int timeoutMs, QVariant& result, Start start)
{
    auto pending = std::make_shared<PendingAnswer>();
    CNestedWait wait;
    pending->wait = &wait;
    start(
        [pending](const QVariant& value)
        {
            pending->value = value;
            pending->done = true;
            if (pending->wait)
                pending->wait->Quit();
        });
    if (!pending->done)
        wait.Run(timeoutMs);
    pending->wait = nullptr;
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

bool CHtmlDocument::GetUrl(QString& url) const
{
    return ReadText(QStringLiteral("document.URL"), url, 64 * 1024);
}

bool CHtmlDocument::GetReadyState(QString& state) const
{
    return ReadText(QStringLiteral("document.readyState"), state, 64);
}

bool CHtmlDocument::GetHtmlInnerHtml(QString& markup, qsizetype maxLength) const
{
    return ReadText(QStringLiteral("(function () { var e = document.getElementsByTagName('html')[0]; "
                                   "return e ? e.innerHTML : null; })()"),
                    markup, maxLength);
}

bool CHtmlDocument::GetBodyInnerHtml(QString& markup, qsizetype maxLength) const
{
    return ReadText(QStringLiteral("(typeof kvEditing === 'object' ? kvEditing.bodyMarkup() "
                                   ": (document.body ? document.body.innerHTML : null))"),
                    markup, maxLength);
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

bool CHtmlDocument::Call(const QString& function, const QVariantList& args, QVariant& result) const
{
    // The arguments travel as JSON, so no text of a document or a user is ever read as script.
    const QString json =
        QString::fromUtf8(QJsonDocument(QJsonArray::fromVariantList(args)).toJson(QJsonDocument::Compact));
    const QString script =
        QStringLiteral("(function () { if (typeof kvEditing !== 'object') return undefined; "
                       "var r = kvEditing.call('%1', %2); return r === undefined ? null : r; })()")
            .arg(function, json);
    QVariant answer;
    if (!Evaluate(script, answer) || !answer.isValid())
        return false;
    result = answer;
    return true;
}

std::optional<CHtmlElement> CHtmlDocument::ElementOf(const QVariant& ref) const
{
    return CHtmlElement::FromAnswer(m_page, ref, m_timeoutMs);
}

std::vector<CHtmlElement> CHtmlDocument::ElementsOf(const QVariant& refs) const
{
    std::vector<CHtmlElement> elements;
    for (const QVariant& ref : refs.toList())
        if (auto element = ElementOf(ref))
            elements.push_back(*element);
    return elements;
}

std::optional<CHtmlElement> CHtmlDocument::GetBody() const
{
    QVariant result;
    return Call(QStringLiteral("body"), {}, result) ? ElementOf(result) : std::nullopt;
}

std::vector<CHtmlElement> CHtmlDocument::GetElementsByTagName(const QString& tagName) const
{
    QVariant result;
    return Call(QStringLiteral("byTag"), {tagName}, result) ? ElementsOf(result)
                                                            : std::vector<CHtmlElement>();
}

std::optional<CHtmlElement> CHtmlDocument::GetElementById(const QString& id) const
{
    QVariant result;
    return Call(QStringLiteral("byId"), {id}, result) ? ElementOf(result) : std::nullopt;
}

std::optional<CHtmlElement> CHtmlDocument::ElementFromPoint(int x, int y) const
{
    QVariant result;
    return Call(QStringLiteral("fromPoint"), {x, y}, result) ? ElementOf(result) : std::nullopt;
}

QString CHtmlDocument::GetSelectionType() const
{
    QVariant result;
    return Call(QStringLiteral("selectionType"), {}, result) ? result.toString() : QString();
}

std::optional<CHtmlElement> CHtmlDocument::GetSelectionParentElement() const
{
    QVariant result;
    return Call(QStringLiteral("selectionParent"), {}, result) ? ElementOf(result) : std::nullopt;
}

std::optional<CHtmlElement> CHtmlDocument::GetSelectedObject() const
{
    QVariant result;
    return Call(QStringLiteral("selectedObject"), {}, result) ? ElementOf(result) : std::nullopt;
}

std::vector<CHtmlElement> CHtmlDocument::GetSelectedElements(const QString& tagName) const
{
    QVariant result;
    return Call(QStringLiteral("selectedElements"), {tagName}, result) ? ElementsOf(result)
                                                                       : std::vector<CHtmlElement>();
}

bool CHtmlDocument::SelectObject(const CHtmlElement& element) const
{
    QVariant result;
    return Call(QStringLiteral("selectObject"), {element.GetRef()}, result) && result.toBool();
}

QStringList CHtmlDocument::GetUndoTitles() const
{
    QVariant result;
    return Call(QStringLiteral("undoTitles"), {}, result) ? result.toStringList() : QStringList();
}

QStringList CHtmlDocument::GetRedoTitles() const
{
    QVariant result;
    return Call(QStringLiteral("redoTitles"), {}, result) ? result.toStringList() : QStringList();
}

bool CHtmlDocument::BeginUndoUnit(const QString& title) const
{
    QVariant result;
    return Call(QStringLiteral("beginUnit"), {title}, result) && result.toBool();
}

bool CHtmlDocument::EndUndoUnit() const
{
    QVariant result;
    return Call(QStringLiteral("endUnit"), {}, result) && result.toBool();
}
