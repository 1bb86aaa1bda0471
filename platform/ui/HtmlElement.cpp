#include "platform/ui/HtmlElement.h"

#include "platform/ui/HtmlDocument.h"

CHtmlElement::CHtmlElement(QWebEnginePage* page, qint64 ref, int timeoutMs)
    : m_page(page), m_ref(ref), m_timeoutMs(timeoutMs)
{
}

bool CHtmlElement::Call(const QString& function, const QVariantList& args, QVariant& result) const
{
    return CHtmlDocument(m_page, m_timeoutMs).Call(function, QVariantList{m_ref} + args, result);
}

namespace
{
bool IsText(const QVariant& value)
{
    return value.typeId() == QMetaType::QString;
}

bool IsTrue(const QVariant& value)
{
    return value.typeId() == QMetaType::Bool && value.toBool();
}

} // namespace

std::optional<CHtmlElement> CHtmlElement::FromAnswer(QWebEnginePage* page, const QVariant& ref, int timeoutMs)
{
    bool ok = false;
    const qint64 number = ref.toLongLong(&ok);
    if (!ok || ref.isNull() || number <= 0)
        return std::nullopt;
    return CHtmlElement(page, number, timeoutMs);
}

bool CHtmlElement::IsSameElement(const CHtmlElement& other) const
{
    return m_page && m_page == other.m_page && m_ref == other.m_ref;
}

QString CHtmlElement::GetTagName() const
{
    QVariant result;
    return Call(QStringLiteral("tagName"), {}, result) && IsText(result) ? result.toString() : QString();
}

bool CHtmlElement::GetAttribute(const QString& name, QString& value) const
{
    QVariant result;
    if (!Call(QStringLiteral("getAttr"), {name}, result) || !IsText(result))
        return false;
    value = result.toString();
    return true;
}

bool CHtmlElement::SetAttribute(const QString& name, const QString& value)
{
    QVariant result;
    return Call(QStringLiteral("setAttr"), {name, value}, result) && IsTrue(result);
}

bool CHtmlElement::RemoveAttribute(const QString& name)
{
    QVariant result;
    return Call(QStringLiteral("removeAttr"), {name}, result) && IsTrue(result);
}

QString CHtmlElement::GetId() const
{
    QString id;
    GetAttribute(QStringLiteral("id"), id);
    return id;
}

QString CHtmlElement::GetClassName() const
{
    QString name;
    GetAttribute(QStringLiteral("class"), name);
    return name;
}

bool CHtmlElement::SetClassName(const QString& className)
{
    return SetAttribute(QStringLiteral("class"), className);
}

bool CHtmlElement::GetInnerHtml(QString& html) const
{
    QVariant result;
    if (!Call(QStringLiteral("innerHtml"), {}, result) || !IsText(result))
        return false;
    html = result.toString();
    return true;
}

bool CHtmlElement::SetInnerHtml(const QString& html)
{
    QVariant result;
    return Call(QStringLiteral("setInnerHtml"), {html}, result) && IsTrue(result);
}

bool CHtmlElement::GetOuterHtml(QString& html) const
{
    QVariant result;
    if (!Call(QStringLiteral("outerHtml"), {}, result) || !IsText(result))
        return false;
    html = result.toString();
    return true;
}

bool CHtmlElement::GetInnerText(QString& text) const
{
    QVariant result;
    if (!Call(QStringLiteral("innerText"), {}, result) || !IsText(result))
        return false;
    text = result.toString();
    return true;
}

QString CHtmlElement::GetStyleProperty(const QString& name) const
{
    QVariant result;
    return Call(QStringLiteral("getStyle"), {name}, result) && IsText(result) ? result.toString() : QString();
}

bool CHtmlElement::SetStyleProperty(const QString& name, const QString& value)
{
    QVariant result;
    return Call(QStringLiteral("setStyle"), {name, value}, result) && IsTrue(result);
}

QString CHtmlElement::GetCurrentStyleProperty(const QString& name) const
{
    QVariant result;
    return Call(QStringLiteral("currentStyle"), {name}, result) && IsText(result) ? result.toString()
                                                                                  : QString();
}

std::optional<CHtmlElement> CHtmlElement::GetParentElement() const
{
    QVariant result;
    if (!Call(QStringLiteral("parent"), {}, result))
        return std::nullopt;
    return FromAnswer(m_page, result, m_timeoutMs);
}

std::vector<CHtmlElement> CHtmlElement::GetChildElements() const
{
    std::vector<CHtmlElement> children;
    QVariant result;
    if (!Call(QStringLiteral("children"), {}, result))
        return children;
    for (const QVariant& ref : result.toList())
        if (auto child = FromAnswer(m_page, ref, m_timeoutMs))
            children.push_back(*child);
    return children;
}

bool CHtmlElement::RemoveKeepingContent()
{
    QVariant result;
    return Call(QStringLiteral("unwrap"), {}, result) && IsTrue(result);
}

bool CHtmlElement::Remove()
{
    QVariant result;
    return Call(QStringLiteral("remove"), {}, result) && IsTrue(result);
}

bool CHtmlElement::InsertAdjacentHtml(const QString& where, const QString& html)
{
    QVariant result;
    return Call(QStringLiteral("insertAdjacent"), {where, html}, result) && IsTrue(result);
}
