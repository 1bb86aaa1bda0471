#pragma once

#include "x2/X2Attribute.h"
#include "x2/X2TransformBase.h"

#include <QString>
#include <memory>
#include <vector>

// A node of a document tree. The parent owns its children and attributes; a node has no parent
// pointer. Names compare exactly: the parser stores element and attribute names lower case.
class CX2Element
{
public:
    enum Kind
    {
        Empty = 0, // left out of the written page with its whole subtree
        Root = 1,
        Element = 2,
        Text = 3,
        Script = 5,
        Comment = 6,
        Doctype = 7,
        XmlDeclaration = 8,
        AspBlock = 9,
        PhpBlock = 10,
    };

    explicit CX2Element(const QString& name);
    CX2Element(int kind, const QString& text);
    ~CX2Element();
    CX2Element(const CX2Element&) = delete;
    CX2Element& operator=(const CX2Element&) = delete;

    int GetKind() const { return m_kind; }
    void SetKind(int kind) { m_kind = kind; }
    QString GetName() const { return m_name; }
    void SetName(const QString& name) { m_name = name; }
    QString GetText() const { return m_text; }
    void SetText(const QString& text) { m_text = text; }
    bool IsSelfClosing() const { return m_selfClosing; }
    void SetSelfClosing(bool selfClosing) { m_selfClosing = selfClosing; }

    // Appends the node and its subtree as markup, with nothing between nodes.
    bool Write(QString& output, const CX2TransformBase& transform) const;
    // One line per node, children indented by two more blanks; for inspection.
    void DumpTree(QString& output, bool withAttributes, const QString& indent) const;

    int GetChildCount() const { return int(m_children.size()); }
    CX2Element* GetChild(int index) const { return m_children.at(size_t(index)).get(); }
    int IndexOfChild(const CX2Element* node) const;
    // Depth-first pre-order, this node first.
    CX2Element* FindElementByName(const QString& name);
    // The node of this subtree whose child list holds the given node.
    CX2Element* FindParent(const CX2Element* node);
    void AppendInnerText(QString& output) const;

    CX2Element* AppendChild(std::unique_ptr<CX2Element> node);
    // A node refused because the existing child is not in the list is deleted.
    bool InsertChildBefore(std::unique_ptr<CX2Element> node, const CX2Element* existing);
    bool InsertChildAfter(std::unique_ptr<CX2Element> node, const CX2Element* existing);
    // Null when the node is not a child; otherwise the caller owns it.
    std::unique_ptr<CX2Element> DetachChild(const CX2Element* node);
    bool RemoveChild(const CX2Element* node);
    // Puts the child's children in its place and deletes the emptied child.
    bool UnwrapChild(const CX2Element* node);
    void RemoveAllChildren();

    int GetAttributeCount() const { return int(m_attributes.size()); }
    CX2Attribute* GetAttribute(int index) const { return m_attributes.at(size_t(index)).get(); }
    CX2Attribute* FindAttribute(const QString& name) const;
    QString GetAttributeValue(const QString& name) const;
    // Sets the first attribute of that name, appending one when there is none.
    CX2Attribute* SetAttribute(const QString& name, const QString& value);
    // Appends an attribute even when one of the same name exists, as the parser does.
    CX2Attribute* AppendAttribute(std::unique_ptr<CX2Attribute> attribute);
    int IndexOfAttribute(const CX2Attribute* attribute) const;
    std::unique_ptr<CX2Attribute> DetachAttribute(const CX2Attribute* attribute);
    bool RemoveAttribute(const CX2Attribute* attribute);
    bool DeleteAttributeAt(int index);
    void RemoveAllAttributes();

private:
    int m_kind{Element};
    QString m_name;
    QString m_text;
    std::vector<std::unique_ptr<CX2Attribute>> m_attributes;
    std::vector<std::unique_ptr<CX2Element>> m_children;
    bool m_selfClosing{false};
};

// True for an element (not a text or special node) of that name.
bool IsTagNamed(const CX2Element* node, const QString& name);
