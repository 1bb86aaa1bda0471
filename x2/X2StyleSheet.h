#pragma once

#include "x2/X2CssDeclaration.h"
#include "x2/X2CssSelectorPart.h"

#include <QString>
#include <vector>

// One CSS rule: a single selector, its simple parts and an ordered list of declarations with at
// most one declaration per property.
class CX2StyleSheet
{
public:
    // A rule holds at most this many declarations; further new properties are not stored.
    static constexpr int MaxDeclarations = 1000;

    explicit CX2StyleSheet(const QString& selector = QString());
    virtual ~CX2StyleSheet() = default;

    QString GetSelector() const { return m_selector; }

    // A rule inside an @media or other at-rule block holds only when that block applies.
    bool IsInsideAtRule() const { return m_insideAtRule; }
    void SetInsideAtRule(bool inside) { m_insideAtRule = inside; }

    int GetDeclarationCount() const { return int(m_declarations.size()); }
    CX2CssDeclaration GetDeclaration(int index) const { return m_declarations.at(size_t(index)); }
    bool GetPropertyValue(int id, QString& value) const;

    // Properties outside the table are kept under their name with id 0.
    void SetPropertyByName(const QString& name, const QString& value);
    void StoreProperty(int id, const QString& value);
    void SetPropertyValue(int id, const QString& value) { StoreProperty(id, value); }
    void SetDeclaration(const CX2CssDeclaration& declaration);
    void RemoveProperty(int id);

    // "name:value;" for each declaration, without blanks; with quote set, double quotes become
    // single ones so that the text fits into a double-quoted attribute.
    QString FormatDeclarations(bool quote) const;

    void AddSelectorPart(const QString& element, const QString& className, const QString& id);
    int GetSelectorPartCount() const { return int(m_parts.size()); }
    QString GetSelectorElement(int index) const { return m_parts.at(size_t(index)).element; }
    QString GetSelectorClass(int index) const { return m_parts.at(size_t(index)).className; }
    QString GetSelectorId(int index) const { return m_parts.at(size_t(index)).id; }

    // ids x 65536 + classes x 256 + elements, each count capped at 255.
    int GetSpecificity() const;

private:
    QString m_selector;
    std::vector<CX2CssSelectorPart> m_parts;
    std::vector<CX2CssDeclaration> m_declarations;
    bool m_insideAtRule{false};
};
