#include "x2/X2Validator.h"

#include "x2/X2HtmlParser.h"
#include "x2/X2TransformIdentity.h"

CX2Validator::CX2Validator() = default;

bool CX2Validator::Parse(const QString& text, const CX2TransformBase& transform)
{
    CX2HtmlParser parser(&m_root);
    if (!parser.Parse(text, transform))
        return false;
    const CX2Element* style = m_root.FindElementByName(QStringLiteral("style"));
    if (style && style->GetChildCount() > 0 && style->GetChild(0)->GetKind() == CX2Element::Text)
        CX2CssParser().ParseStyleSheet(style->GetChild(0)->GetText(), m_rules);
    return true;
}

bool CX2Validator::ParseHtml(const QString& text)
{
    return Parse(text, CX2TransformIdentity());
}

bool CX2Validator::WriteHtml(QString& output) const
{
    m_root.Write(output, CX2TransformIdentity());
    return true;
}

void CX2Validator::FindElementsByName(QList<CX2Element*>& result, const QString& name, CX2Element* start)
{
    CX2Element* node = start ? start : &m_root;
    if (node->GetName() == name)
        result.append(node);
    for (int i = 0; i < node->GetChildCount(); ++i)
        FindElementsByName(result, name, node->GetChild(i));
}
