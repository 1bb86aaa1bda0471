#pragma once

#include "x2/X2Element.h"
#include "x2/X2TransformBase.h"

#include <QHash>
#include <QString>
#include <vector>

// A single forward scan of HTML or XML text into a tree, with a stack of open elements. Below
// the nesting limit there are no implied end tags; an end tag closes the nearest open element
// of its name unless a table cell, row, table or div stands in the way. Entities are left to
// the transform.
class CX2HtmlParser
{
public:
    // Longest text parsed; a longer one fails without adding anything.
    static constexpr qsizetype MaxInputLength = 32 * 1024 * 1024;
    // Deepest nesting of open elements. An element that would open beyond it takes the place of
    // the deepest open one, as if that had been closed: the tree stays shallow enough for every
    // recursive pass, and no content is lost.
    static constexpr int MaxDepth = 1000;

    explicit CX2HtmlParser(CX2Element* root);
    virtual ~CX2HtmlParser() = default;

    // Appends the parsed nodes under the root. A "<" that opens no tag is kept as text, and so is
    // one that opens a comment or block without its end. False for a tag cut off by the end of
    // the text, a character that cannot stand in a tag, a style or script without its end tag
    // and an over-long text; the nodes made so far stay in the tree.
    bool Parse(const QString& text, const CX2TransformBase& transform);

    static bool IsVoidElement(const QString& name);
    static bool IsEndTagBarrier(const QString& endTag, const QString& openElement);

private:
    enum class Step
    {
        Done,      // the markup was read and the position moved past it
        NotMarkup, // the "<" stays in the text
        Failed,
    };

    // Finds a delimiter, remembering where it is known to be missing, so that many unclosed
    // comments cannot make the scan quadratic.
    struct Delimiter
    {
        QString text;
        qsizetype missingFrom{-1};
    };

    Step ReadEndTag(qsizetype lt);
    Step ReadStartTag(qsizetype lt);
    // The raw content of a style or script element, up to its end tag.
    Step ReadRawText(CX2Element* element);
    // The kind of the declaration or block whose name begins at start; Empty for an element.
    int SpecialKind(qsizetype start) const;
    // Whether the name beginning at start is exactly the given lower-case one.
    bool IsNameAt(qsizetype start, QLatin1StringView name) const;
    Step ReadSpecial(qsizetype lt, int kind);
    Step ReadAttributes(CX2Element* element);
    qsizetype Find(Delimiter& delimiter, qsizetype from) const;
    // A tag name runs to a blank, "/", ">" or the end of the text.
    qsizetype NameEnd(qsizetype start) const;
    CX2Element* Current() const { return m_stack.back(); }
    void PushElement(CX2Element* element);
    void PopElement();
    void CloseElement(const QString& name);
    // Stack index of the nearest open element of that name; 0 (the root) when none is open.
    size_t TopmostOpen(const QString& name) const;
    CX2Element* Append(std::unique_ptr<CX2Element> node);
    void FlushText();

    std::vector<CX2Element*> m_stack;
    QHash<QString, std::vector<size_t>> m_openAt;
    const CX2TransformBase* m_transform{nullptr};
    QString m_text;
    QString m_lower;
    qsizetype m_position{0};
    QString m_pendingText;
    Delimiter m_commentEnd{QStringLiteral("-->")};
    Delimiter m_tagEnd{QStringLiteral(">")};
    Delimiter m_phpEnd{QStringLiteral("?>")};
    Delimiter m_aspEnd{QStringLiteral("%>")};
    Delimiter m_styleEnd{QStringLiteral("</style")};
    Delimiter m_scriptEnd{QStringLiteral("</script")};
};
