#include "x2/X2Element.h"

#include <algorithm>

namespace
{
template <typename T> int IndexIn(const std::vector<std::unique_ptr<T>>& list, const T* item)
{
    const auto found = std::find_if(list.begin(), list.end(),
                                    [item](const std::unique_ptr<T>& entry) { return entry.get() == item; });
    return found == list.end() ? -1 : int(found - list.begin());
}
template <typename T> std::unique_ptr<T> DetachFrom(std::vector<std::unique_ptr<T>>& list, const T* item)
{
    const int index = IndexIn(list, item);
    if (index < 0)
        return nullptr;
    std::unique_ptr<T> detached = std::move(list[size_t(index)]);
    list.erase(list.begin() + index);
    return detached;
}
} // namespace

CX2Element::CX2Element(const QString& name) : m_name(name) {}

CX2Element::CX2Element(int kind, const QString& text) : m_kind(kind), m_text(text) {}

CX2Element::~CX2Element()
{
    // Deleting level by level keeps a deep tree from exhausting the stack.
    std::vector<std::unique_ptr<CX2Element>> pending = std::move(m_children);
    while (!pending.empty())
    {
        std::unique_ptr<CX2Element> node = std::move(pending.back());
        pending.pop_back();
        for (std::unique_ptr<CX2Element>& child : node->m_children)
            pending.push_back(std::move(child));
        node->m_children.clear();
    }
}

bool CX2Element::Write(QString& output, const CX2TransformBase& transform) const
{
    switch (m_kind)
    {
    case Empty:
        return true;
    case Root:
    case Element:
    {
        const bool tagged = !m_name.isEmpty();
        if (tagged)
        {
            output += QLatin1Char('<') + m_name;
            for (const std::unique_ptr<CX2Attribute>& attribute : m_attributes)
            {
                // A double quote left in the value would end the attribute early and break the
                // element, whatever the transform did to the rest.
                QString value = transform.Escape(attribute->GetValue());
                value.replace(QLatin1Char('"'), QLatin1String("&quot;"));
                output += QLatin1Char(' ') + transform.Escape(attribute->GetName()) + QLatin1String("=\"") +
                          value + QLatin1Char('"');
            }
            if (m_selfClosing)
            {
                output += QLatin1String(" />");
                return true;
            }
            output += QLatin1Char('>');
        }
        for (const std::unique_ptr<CX2Element>& child : m_children)
        {
            if (!child->Write(output, transform))
                return false;
        }
        if (tagged)
            output += QLatin1String("</") + m_name + QLatin1Char('>');
        return true;
    }
    case Script:
        output += QLatin1String("<script") + m_text + QLatin1Char('>');
        return true;
    case Comment:
        output += QLatin1String("<!--") + m_text + QLatin1String("-->");
        return true;
    case Doctype:
    case XmlDeclaration:
    case AspBlock:
    case PhpBlock:
        output += QLatin1Char('<') + m_text + QLatin1Char('>');
        return true;
    default:
        output += transform.Escape(m_text);
        return true;
    }
}

void CX2Element::DumpTree(QString& output, bool withAttributes, const QString& indent) const
{
    output += indent + QLatin1Char('<') + m_name;
    if (withAttributes)
    {
        for (const std::unique_ptr<CX2Attribute>& attribute : m_attributes)
            output += QLatin1Char(' ') + attribute->GetName() + QLatin1String("=\"") + attribute->GetValue() +
                      QLatin1Char('"');
    }
    output += QLatin1String(">\n");
    const QString inner = indent + QLatin1String("  ");
    for (const std::unique_ptr<CX2Element>& child : m_children)
        child->DumpTree(output, withAttributes, inner);
}

int CX2Element::IndexOfChild(const CX2Element* node) const
{
    return IndexIn(m_children, node);
}

CX2Element* CX2Element::FindElementByName(const QString& name)
{
    if (m_name == name)
        return this;
    for (const std::unique_ptr<CX2Element>& child : m_children)
    {
        if (CX2Element* found = child->FindElementByName(name))
            return found;
    }
    return nullptr;
}

CX2Element* CX2Element::FindParent(const CX2Element* node)
{
    for (const std::unique_ptr<CX2Element>& child : m_children)
    {
        if (child.get() == node)
            return this;
        if (CX2Element* found = child->FindParent(node))
            return found;
    }
    return nullptr;
}

void CX2Element::AppendInnerText(QString& output) const
{
    if (m_kind == Text)
        output += m_text;
    for (const std::unique_ptr<CX2Element>& child : m_children)
        child->AppendInnerText(output);
}

CX2Element* CX2Element::AppendChild(std::unique_ptr<CX2Element> node)
{
    m_children.push_back(std::move(node));
    return m_children.back().get();
}

bool CX2Element::InsertChildBefore(std::unique_ptr<CX2Element> node, const CX2Element* existing)
{
    const int index = IndexOfChild(existing);
    if (index < 0)
        return false;
    m_children.insert(m_children.begin() + index, std::move(node));
    return true;
}

bool CX2Element::InsertChildAfter(std::unique_ptr<CX2Element> node, const CX2Element* existing)
{
    const int index = IndexOfChild(existing);
    if (index < 0)
        return false;
    m_children.insert(m_children.begin() + index + 1, std::move(node));
    return true;
}

std::unique_ptr<CX2Element> CX2Element::DetachChild(const CX2Element* node)
{
    return DetachFrom(m_children, node);
}

bool CX2Element::RemoveChild(const CX2Element* node)
{
    return DetachChild(node) != nullptr;
}

bool CX2Element::UnwrapChild(const CX2Element* node)
{
    const int index = IndexOfChild(node);
    if (index < 0)
        return false;
    std::unique_ptr<CX2Element> wrapper = std::move(m_children[size_t(index)]);
    m_children.erase(m_children.begin() + index);
    m_children.insert(m_children.begin() + index, std::make_move_iterator(wrapper->m_children.begin()),
                      std::make_move_iterator(wrapper->m_children.end()));
    wrapper->m_children.clear();
    return true;
}

void CX2Element::RemoveAllChildren()
{
    m_children.clear();
}

CX2Attribute* CX2Element::FindAttribute(const QString& name) const
{
    for (const std::unique_ptr<CX2Attribute>& attribute : m_attributes)
    {
        if (attribute->GetName() == name)
            return attribute.get();
    }
    return nullptr;
}

QString CX2Element::GetAttributeValue(const QString& name) const
{
    const CX2Attribute* attribute = FindAttribute(name);
    return attribute ? attribute->GetValue() : QString();
}

CX2Attribute* CX2Element::SetAttribute(const QString& name, const QString& value)
{
    CX2Attribute* attribute = FindAttribute(name);
    if (!attribute)
        attribute = AppendAttribute(std::make_unique<CX2Attribute>(name, QString()));
    attribute->SetValue(value);
    return attribute;
}

CX2Attribute* CX2Element::AppendAttribute(std::unique_ptr<CX2Attribute> attribute)
{
    m_attributes.push_back(std::move(attribute));
    return m_attributes.back().get();
}

int CX2Element::IndexOfAttribute(const CX2Attribute* attribute) const
{
    return IndexIn(m_attributes, attribute);
}

std::unique_ptr<CX2Attribute> CX2Element::DetachAttribute(const CX2Attribute* attribute)
{
    return DetachFrom(m_attributes, attribute);
}

bool CX2Element::RemoveAttribute(const CX2Attribute* attribute)
{
    return DetachAttribute(attribute) != nullptr;
}

bool CX2Element::DeleteAttributeAt(int index)
{
    if (index < 0 || index >= GetAttributeCount())
        return false;
    m_attributes.erase(m_attributes.begin() + index);
    return true;
}

void CX2Element::RemoveAllAttributes()
{
    m_attributes.clear();
}

bool IsTagNamed(const CX2Element* node, const QString& name)
{
    return node && node->GetKind() == CX2Element::Element && node->GetName() == name;
}
