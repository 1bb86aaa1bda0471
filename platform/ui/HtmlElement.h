#pragma once

#include <QPointer>
#include <QString>
#include <QVariant>
#include <QWebEnginePage>

#include <optional>
#include <vector>

// One element of a browser control's live document, as the editing library hands it out: a
// number the library keeps for the element as long as the document lives, also while the element
// is out of the document (an undo may bring it back). Every read and change is one call into the
// library; it fails when the document went away.
class CHtmlElement
{
public:
    CHtmlElement(QWebEnginePage* page, qint64 ref, int timeoutMs);
    // The element of a number the library answered with; none for no element.
    static std::optional<CHtmlElement> FromAnswer(QWebEnginePage* page, const QVariant& ref, int timeoutMs);

    qint64 GetRef() const { return m_ref; }
    QWebEnginePage* GetPage() const { return m_page; }
    bool IsSameElement(const CHtmlElement& other) const;

    // The tag name in lower case, e.g. "p"; empty when the element cannot be read.
    QString GetTagName() const;
    // False when the attribute is absent or cannot be read.
    bool GetAttribute(const QString& name, QString& value) const;
    bool SetAttribute(const QString& name, const QString& value);
    bool RemoveAttribute(const QString& name);
    QString GetId() const;
    QString GetClassName() const;
    bool SetClassName(const QString& className);
    bool GetInnerHtml(QString& html) const;
    bool SetInnerHtml(const QString& html);
    bool GetOuterHtml(QString& html) const;
    bool GetInnerText(QString& text) const;
    // A property of the inline style by its CSS name ("font-size"); empty when not set.
    QString GetStyleProperty(const QString& name) const;
    // An empty value removes the property.
    bool SetStyleProperty(const QString& name, const QString& value);
    // A property of the style the element is drawn with.
    QString GetCurrentStyleProperty(const QString& name) const;
    std::optional<CHtmlElement> GetParentElement() const;
    std::vector<CHtmlElement> GetChildElements() const;
    // Takes the element out and leaves its content where it was.
    bool RemoveKeepingContent();
    // Takes the element out with its content.
    bool Remove();
    // Inserts parsed HTML "beforebegin", "afterbegin", "beforeend" or "afterend".
    bool InsertAdjacentHtml(const QString& where, const QString& html);

private:
    bool Call(const QString& function, const QVariantList& args, QVariant& result) const;

    QPointer<QWebEnginePage> m_page;
    qint64 m_ref;
    int m_timeoutMs;
};
