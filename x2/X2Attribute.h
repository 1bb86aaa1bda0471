#pragma once

#include <QString>
#include <memory>

// A name and value pair of an element. Values may hold a key:value; list (editor metadata in
// the name attribute, declarations in style), read and written by the declaration operations.
class CX2Attribute
{
public:
    CX2Attribute() = default;
    CX2Attribute(const QString& name, const QString& value) : m_name(name), m_value(value) {}

    std::unique_ptr<CX2Attribute> Clone() const { return std::make_unique<CX2Attribute>(m_name, m_value); }

    QString GetName() const { return m_name; }
    QString GetValue() const { return m_value; }
    void SetName(const QString& name) { m_name = name; }
    void SetValue(const QString& value) { m_value = value; }

    // The key compares trimmed and without regard to case; the value is everything after the
    // first ":" of its piece, untrimmed.
    bool FindDeclarationValue(const QString& key, QString& value) const;
    QString GetDeclarationValue(const QString& key) const;
    // Replaces the key's value in place (an empty value removes the piece) or puts a new key
    // first; every other piece is kept whole.
    void SetDeclarationValue(const QString& key, const QString& value);

private:
    QString m_name;
    QString m_value;
};
