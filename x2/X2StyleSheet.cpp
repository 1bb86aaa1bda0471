#include "x2/X2StyleSheet.h"

#include "x2/CssProperties.h"

#include <algorithm>

CX2StyleSheet::CX2StyleSheet(const QString& selector) : m_selector(selector) {}

bool CX2StyleSheet::GetPropertyValue(int id, QString& value) const
{
    if (id == 0)
        return false;
    for (const CX2CssDeclaration& declaration : m_declarations)
    {
        if (declaration.id == id)
        {
            value = declaration.value;
            return true;
        }
    }
    return false;
}

void CX2StyleSheet::SetPropertyByName(const QString& name, const QString& value)
{
    SetDeclaration({CssPropertyIdFromName(name), value, name});
}

void CX2StyleSheet::StoreProperty(int id, const QString& value)
{
    if (id == 0)
        return; // without a name there is nothing to write it back under
    SetDeclaration({id, value, CssPropertyNameFromId(id)});
}

void CX2StyleSheet::SetDeclaration(const CX2CssDeclaration& declaration)
{
    if (declaration.id == 0 && declaration.name.isEmpty())
        return;
    const auto same = [&declaration](const CX2CssDeclaration& existing)
    {
        if (declaration.id != 0)
            return existing.id == declaration.id;
        return existing.id == 0 && existing.name == declaration.name;
    };
    const auto found = std::find_if(m_declarations.begin(), m_declarations.end(), same);
    if (found != m_declarations.end())
    {
        found->value = declaration.value;
        return;
    }
    if (m_declarations.size() >= size_t(MaxDeclarations))
        return;
    CX2CssDeclaration stored = declaration;
    if (stored.id != 0)
        stored.name = CssPropertyNameFromId(stored.id);
    m_declarations.push_back(stored);
}

void CX2StyleSheet::RemoveProperty(int id)
{
    if (id == 0)
        return;
    std::erase_if(m_declarations,
                  [id](const CX2CssDeclaration& declaration) { return declaration.id == id; });
}

QString CX2StyleSheet::FormatDeclarations(bool quote) const
{
    QString text;
    for (const CX2CssDeclaration& declaration : m_declarations)
    {
        QString piece = declaration.id != 0 ? CssPropertyNameFromId(declaration.id) : declaration.name;
        piece += QLatin1Char(':') + declaration.value + QLatin1Char(';');
        if (quote)
            piece.replace(QLatin1Char('"'), QLatin1Char('\''));
        text += piece;
    }
    return text;
}

void CX2StyleSheet::AddSelectorPart(const QString& element, const QString& className, const QString& id)
{
    m_parts.push_back({element, className, id});
}

int CX2StyleSheet::GetSpecificity() const
{
    int ids = 0;
    int classes = 0;
    int elements = 0;
    for (const CX2CssSelectorPart& part : m_parts)
    {
        ids += part.id.isEmpty() ? 0 : 1;
        classes += part.className.isEmpty() ? 0 : 1;
        elements += part.element.isEmpty() ? 0 : 1;
    }
    return std::min(ids, 255) * 65536 + std::min(classes, 255) * 256 + std::min(elements, 255);
}
