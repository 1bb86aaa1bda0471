#include "x2/X2HtmlParser.h"

#include "x2/X2TextHelpers.h"

namespace
{
bool IsWhiteSpace(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\r') ||
           c == QLatin1Char('\n');
}

bool IsAsciiLetter(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z');
}

bool IsAttributeNameChar(QChar c)
{
    const char16_t u = c.unicode();
    return IsAsciiLetter(c) || (u >= u'0' && u <= u'9') || u == u'_' || u == u'-' || u == u'!' || u == u'?' ||
           u == u':' || u == u'[' || u == u']';
}

bool EndsName(QChar c)
{
    return IsWhiteSpace(c) || c == QLatin1Char('/') || c == QLatin1Char('>');
}

// What an unmatched "<" becomes in a text node, so that the page written back stays markup
// that reads as the same text.
const QString EscapedLessThan = QStringLiteral("&lt;");
} // namespace

CX2HtmlParser::CX2HtmlParser(CX2Element* root)
{
    m_stack.push_back(root);
}

bool CX2HtmlParser::IsVoidElement(const QString& name)
{
    static const QStringList voids = {QStringLiteral("img"),  QStringLiteral("br"),   QStringLiteral("area"),
                                      QStringLiteral("hr"),   QStringLiteral("meta"), QStringLiteral("link"),
                                      QStringLiteral("input")};
    return voids.contains(name);
}

bool CX2HtmlParser::IsEndTagBarrier(const QString& endTag, const QString& openElement)
{
    const bool td = openElement == QLatin1String("td");
    const bool tr = openElement == QLatin1String("tr");
    const bool table = openElement == QLatin1String("table");
    const bool div = openElement == QLatin1String("div");
    if (endTag == QLatin1String("td"))
        return tr || table || div;
    if (endTag == QLatin1String("tr"))
        return table || div;
    if (endTag == QLatin1String("table"))
        return td || tr || div;
    if (endTag == QLatin1String("div"))
        return td || tr || table;
    return td || tr || table || div;
}

qsizetype CX2HtmlParser::Find(Delimiter& delimiter, qsizetype from) const
{
    if (delimiter.missingFrom >= 0 && from >= delimiter.missingFrom)
        return -1;
    const qsizetype found = m_lower.indexOf(delimiter.text, from);
    if (found < 0)
        delimiter.missingFrom = from;
    return found;
}

qsizetype CX2HtmlParser::NameEnd(qsizetype start) const
{
    qsizetype end = start;
    while (end < m_text.size() && !EndsName(m_text.at(end)))
        ++end;
    return end;
}

void CX2HtmlParser::PushElement(CX2Element* element)
{
    m_openAt[element->GetName()].push_back(m_stack.size());
    m_stack.push_back(element);
}

size_t CX2HtmlParser::TopmostOpen(const QString& name) const
{
    const auto found = m_openAt.constFind(name);
    return found == m_openAt.cend() || found->empty() ? 0 : found->back();
}

void CX2HtmlParser::CloseElement(const QString& name)
{
    // The nearest open element of that name is closed, with everything above it, unless an
    // element that bars this end tag stands above it. The stack indexes per name answer that
    // without walking the stack for every stray end tag.
    const size_t target = TopmostOpen(name);
    if (target == 0)
        return;
    static const QStringList barriers = {QStringLiteral("td"), QStringLiteral("tr"), QStringLiteral("table"),
                                         QStringLiteral("div")};
    for (const QString& barrier : barriers)
    {
        if (IsEndTagBarrier(name, barrier) && TopmostOpen(barrier) > target)
            return;
    }
    while (m_stack.size() > target)
        PopElement();
}

void CX2HtmlParser::PopElement()
{
    m_openAt[m_stack.back()->GetName()].pop_back();
    m_stack.pop_back();
}

CX2Element* CX2HtmlParser::Append(std::unique_ptr<CX2Element> node)
{
    return Current()->AppendChild(std::move(node));
}

void CX2HtmlParser::FlushText()
{
    if (m_pendingText.isEmpty())
        return;
    Append(std::make_unique<CX2Element>(CX2Element::Text, m_transform->Unescape(m_pendingText)));
    m_pendingText.clear();
}

bool CX2HtmlParser::Parse(const QString& text, const CX2TransformBase& transform)
{
    if (text.size() > MaxInputLength)
        return false;
    m_transform = &transform;
    m_text = text;
    m_lower = AsciiLower(text);
    m_position = 0;
    m_pendingText.clear();
    for (;;)
    {
        const qsizetype lt = m_text.indexOf(QLatin1Char('<'), m_position);
        if (lt < 0)
            break;
        m_pendingText += QStringView(m_text).mid(m_position, lt - m_position);
        m_position = lt;
        const bool endTag = lt + 1 < m_text.size() && m_text.at(lt + 1) == QLatin1Char('/');
        const Step step = endTag ? ReadEndTag(lt) : ReadStartTag(lt);
        if (step == Step::Failed)
        {
            FlushText();
            return false;
        }
        if (step == Step::NotMarkup)
        {
            m_pendingText += EscapedLessThan;
            m_position = lt + 1;
        }
    }
    m_pendingText += QStringView(m_text).mid(m_position);
    FlushText();
    return true;
}

CX2HtmlParser::Step CX2HtmlParser::ReadEndTag(qsizetype lt)
{
    const qsizetype start = lt + 2;
    const qsizetype end = NameEnd(start);
    // "</" followed by a blank, "/" or ">" closes nothing and is text, as is an end tag whose
    // ">" never comes.
    if (end == start)
        return Step::NotMarkup;
    const qsizetype gt = Find(m_tagEnd, start);
    if (gt < 0)
        return Step::NotMarkup;
    FlushText();
    CloseElement(m_lower.mid(start, end - start));
    m_position = gt + 1;
    return Step::Done;
}

CX2HtmlParser::Step CX2HtmlParser::ReadStartTag(qsizetype lt)
{
    const qsizetype start = lt + 1;
    // A tag begins with a letter; "!", "?" and "%" begin declarations and blocks. Anything else
    // ("5 <6", "<=", "<-", a "<" at the end) is text.
    const QChar first = start < m_text.size() ? m_text.at(start) : QChar();
    if (!IsAsciiLetter(first) && first != QLatin1Char('!') && first != QLatin1Char('?') &&
        first != QLatin1Char('%'))
        return Step::NotMarkup;
    // Declarations and blocks are told by their first characters. Reading the name to its end
    // first would, for every unclosed one that stays text, read the rest of the text again.
    if (const int kind = SpecialKind(start))
        return ReadSpecial(lt, kind);

    const qsizetype end = NameEnd(start);
    const QString name = m_lower.mid(start, end - start);
    FlushText();
    auto made = std::make_unique<CX2Element>(name);
    CX2Element* element = made.get();
    m_position = end;
    const Step attributes = ReadAttributes(element);
    if (attributes != Step::Done)
    {
        Append(std::move(made));
        return attributes;
    }
    if (IsVoidElement(name))
        element->SetSelfClosing(true);
    const bool raw = name == QLatin1String("style") || name == QLatin1String("script");
    const bool opens = !raw && !element->IsSelfClosing();
    if (opens && int(m_stack.size()) > MaxDepth)
        PopElement();
    Append(std::move(made));
    if (opens)
        PushElement(element);
    // "<script ... />" has no content: what follows it is markup again.
    if (raw && !element->IsSelfClosing())
        return ReadRawText(element);
    return Step::Done;
}

CX2HtmlParser::Step CX2HtmlParser::ReadRawText(CX2Element* element)
{
    const bool style = element->GetName() == QLatin1String("style");
    Delimiter& endTag = style ? m_styleEnd : m_scriptEnd;
    qsizetype close = Find(endTag, m_position);
    qsizetype gt = -1;
    // The end tag may carry blanks before its ">", as in "</script >".
    while (close >= 0)
    {
        gt = close + endTag.text.size();
        while (gt < m_text.size() && IsWhiteSpace(m_text.at(gt)))
            ++gt;
        if (gt < m_text.size() && m_text.at(gt) == QLatin1Char('>'))
            break;
        close = Find(endTag, close + 1);
    }
    const qsizetype stop = close < 0 ? m_text.size() : close;
    auto content = std::make_unique<CX2Element>(CX2Element::Text, m_text.mid(m_position, stop - m_position));
    content->SetSelfClosing(true);
    element->AppendChild(std::move(content));
    if (close < 0)
    {
        m_position = m_text.size();
        return Step::Failed;
    }
    m_position = gt + 1;
    return Step::Done;
}

bool CX2HtmlParser::IsNameAt(qsizetype start, QLatin1StringView name) const
{
    const qsizetype end = start + name.size();
    return QStringView(m_lower).sliced(start).startsWith(name) &&
           (end == m_text.size() || EndsName(m_text.at(end)));
}

int CX2HtmlParser::SpecialKind(qsizetype start) const
{
    if (QStringView(m_lower).sliced(start).startsWith(QLatin1StringView("!--")))
        return CX2Element::Comment;
    if (IsNameAt(start, QLatin1StringView("!doctype")))
        return CX2Element::Doctype;
    if (IsNameAt(start, QLatin1StringView("?xml")))
        return CX2Element::XmlDeclaration;
    if (IsNameAt(start, QLatin1StringView("?php")))
        return CX2Element::PhpBlock;
    if (IsNameAt(start, QLatin1StringView("%")))
        return CX2Element::AspBlock;
    return CX2Element::Empty;
}

CX2HtmlParser::Step CX2HtmlParser::ReadSpecial(qsizetype lt, int kind)
{
    qsizetype contentStart = lt + 1;
    qsizetype contentEnd = 0;
    qsizetype next = 0;
    if (kind == CX2Element::Comment)
    {
        const qsizetype close = Find(m_commentEnd, lt + 1);
        if (close < 0)
            return Step::NotMarkup;
        contentStart = lt + 4;
        contentEnd = std::max(close, contentStart); // "<!-->" is an empty comment
        next = close + 3;
    }
    else if (kind == CX2Element::PhpBlock || kind == CX2Element::AspBlock)
    {
        const qsizetype close = Find(kind == CX2Element::PhpBlock ? m_phpEnd : m_aspEnd, lt + 1);
        if (close < 0)
            return Step::NotMarkup;
        contentEnd = close + 1; // the block keeps the "?" or "%" of its end
        next = close + 2;
    }
    else
    {
        const qsizetype close = Find(m_tagEnd, lt + 1);
        if (close < 0)
            return Step::NotMarkup;
        contentEnd = close;
        next = close + 1;
    }
    FlushText();
    auto node = std::make_unique<CX2Element>(kind, m_text.mid(contentStart, contentEnd - contentStart));
    node->SetSelfClosing(true);
    Append(std::move(node));
    m_position = next;
    return Step::Done;
}

CX2HtmlParser::Step CX2HtmlParser::ReadAttributes(CX2Element* element)
{
    const qsizetype size = m_text.size();
    qsizetype& p = m_position;
    for (;;)
    {
        while (p < size && IsWhiteSpace(m_text.at(p)))
            ++p;
        if (p >= size)
            return Step::Failed;
        const QChar c = m_text.at(p);
        if (c == QLatin1Char('>'))
        {
            ++p;
            return Step::Done;
        }
        if (c == QLatin1Char('/') && p + 1 < size && m_text.at(p + 1) == QLatin1Char('>'))
        {
            element->SetSelfClosing(true);
            p += 2;
            return Step::Done;
        }
        const qsizetype nameStart = p;
        while (p < size && IsAttributeNameChar(m_text.at(p)))
            ++p;
        if (p == nameStart)
            return Step::Failed;
        const QString name = m_lower.mid(nameStart, p - nameStart);
        while (p < size && IsWhiteSpace(m_text.at(p)))
            ++p;
        QString value = name;
        if (p < size && m_text.at(p) == QLatin1Char('='))
        {
            ++p;
            while (p < size && IsWhiteSpace(m_text.at(p)))
                ++p;
            if (p >= size)
                return Step::Failed;
            const QChar quote = m_text.at(p);
            if (quote == QLatin1Char('"') || quote == QLatin1Char('\''))
            {
                const qsizetype close = m_text.indexOf(quote, p + 1);
                if (close < 0)
                    return Step::Failed;
                value = m_text.mid(p + 1, close - p - 1);
                p = close + 1;
            }
            else
            {
                const qsizetype valueStart = p;
                while (p < size && !IsWhiteSpace(m_text.at(p)) && m_text.at(p) != QLatin1Char('>') &&
                       !(m_text.at(p) == QLatin1Char('/') && p + 1 < size &&
                         m_text.at(p + 1) == QLatin1Char('>')))
                    ++p;
                if (p >= size)
                    return Step::Failed;
                value = m_text.mid(valueStart, p - valueStart);
            }
        }
        element->AppendAttribute(
            std::make_unique<CX2Attribute>(m_transform->Unescape(name), m_transform->Unescape(value)));
    }
}
