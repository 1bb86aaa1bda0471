#pragma once

#include "x2/X2CssParser.h"
#include "x2/X2Element.h"
#include "x2/X2StyleSheet.h"
#include "x2/X2TransformBase.h"

#include <QList>
#include <QString>

// A parsed page, fragment or XML reply: the tree under a root node and the CSS rules of the
// page's first style element.
class CX2Validator
{
public:
    CX2Validator();
    virtual ~CX2Validator() = default;
    CX2Validator(const CX2Validator&) = delete;
    CX2Validator& operator=(const CX2Validator&) = delete;

    CX2Element& GetRoot() { return m_root; }
    const CX2Element& GetRoot() const { return m_root; }
    X2StyleSheetList& GetStyleSheets() { return m_rules; }
    const X2StyleSheetList& GetStyleSheets() const { return m_rules; }

    // Adds to the tree and rules already held; false when the parser fails.
    bool Parse(const QString& text, const CX2TransformBase& transform);
    bool ParseHtml(const QString& text);
    // Appends the tree as HTML to the output, which is not cleared first.
    bool WriteHtml(QString& output) const;

    // Every node of the subtree of start (the root when null) with that name, pre-order.
    void FindElementsByName(QList<CX2Element*>& result, const QString& name, CX2Element* start = nullptr);

private:
    CX2Element m_root{CX2Element::Root, QStringLiteral("<root>")};
    X2StyleSheetList m_rules;
};
