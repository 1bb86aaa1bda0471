#pragma once

#include "base/ArchiveValues.h"
#include "ndb/NdbBase.h"
#include "ndb/NdbFieldMap.h"

namespace ndb
{
// A record whose data is a map of numbered, typed fields. F is the field enumeration of the
// record class; it only tells instantiations apart, the ids themselves are plain ints.
//
// Every store goes through the class's type check, IsValidFieldValue, which answers from the id
// and the value's type code alone. Loading bypasses it: a file keeps its fields as written, so a
// field of a type the class would refuse (written by another version) survives a load and a save.
//
// A record class typically looks like this:
//
//     enum FOOFIELDS { FooName = 110, FooCreated = 150 };
//
//     class CNdbFoo : public CNdbFieldBase<FOOFIELDS>
//     {
//         KV_PERSISTENT_CLASS()
//         CNdbFoo() : CNdbFieldBase(NdbKindFoo) {}
//         // CNdbFieldBase::Serialize first, then the class's own members (children, embedded
//         // records), testing archive.GetVersion() for members added in later file versions.
//         void Serialize(CPSArchive& archive) override;
//         bool IsValidFieldValue(int id, const CNdbFieldValue& value) const override;
//     };
//
//     KV_REGISTER_PERSISTENT_CLASS(ndb::CNdbFoo, 1, "CNdbFoo")   // in ndb/NdbClassRegistry.cpp
//
// Getters hand out copies; an absent field reads as false, empty text, 0 or the caller's default.
template <class F> class CNdbFieldBase : public CNdbBase
{
public:
    using FieldMap = CNdbFieldMap;

    // Whether a value of value's type may be stored under id.
    virtual bool IsValidFieldValue(int id, const CNdbFieldValue& value) const = 0;

    // The kind, the field count, then id and value of each field in ascending id order. Reading
    // replaces the whole map, a repeated id keeping its later value, and keeps the record's own
    // kind whatever kind the file names.
    void Serialize(CPSArchive& archive) override;

    // Copies the stored value into out; false, out untouched, when the id is absent.
    bool GetField(int id, CNdbFieldValue& out) const;
    // The text of a text field; empty for an absent field or another type.
    QString GetString(int id) const;
    // The payload as an int whatever the type (int, code and enumeration alike).
    qint32 GetInt(int id, qint32 defaultValue = 0) const;
    // The low byte of the payload.
    bool GetBool(int id, bool defaultValue) const;

    // Stores a copy when the type check accepts it; otherwise false and nothing changes.
    bool SetField(int id, const CNdbFieldValue& value);
    void RemoveField(int id);
    // The stored value, inserted as int 0 when absent; valid until a field is added or removed.
    // Bypasses the type check: for the loader and for stores that need none.
    CNdbFieldValue& FieldRef(int id) { return m_fields[id]; }

    // Id 110, the name field of several record classes.
    bool TryGetName(CNdbFieldValue& out) const { return GetField(NameField, out); }
    bool SetNameValue(const CNdbFieldValue& value) { return SetField(NameField, value); }

    // Every field, in ascending id order.
    const FieldMap& GetFields() const { return m_fields; }

protected:
    static constexpr int NameField = 110;

    explicit CNdbFieldBase(int kind) : CNdbBase(kind) {}
    CNdbFieldBase(const CNdbFieldBase&) = default;
    CNdbFieldBase& operator=(const CNdbFieldBase& other)
    {
        m_kind = other.m_kind;
        if (this != &other)
            m_fields = other.m_fields;
        return *this;
    }

private:
    FieldMap m_fields;
};

template <class F> void CNdbFieldBase<F>::Serialize(CPSArchive& archive)
{
    const int kind = m_kind;
    CNdbBase::Serialize(archive);
    if (archive.IsReading())
    {
        // Code tells records apart by kind and casts by it: a file does not get to change it.
        m_kind = kind;
        m_fields.clear();
        // Each field takes at least its id and its type code.
        const int count = ArchiveDetail::ReadCount(archive, 8);
        m_fields.reserve(static_cast<size_t>(std::min(count, ArchiveDetail::ReserveLimit)));
        for (int i = 0; i < count; ++i)
        {
            qint32 id = 0;
            ArchiveReadInt(archive, id);
            // Reading replaces the whole value, so a repeated id keeps the later one.
            FieldRef(id).Serialize(archive);
        }
        return;
    }
    ArchiveWriteInt(archive, static_cast<qint32>(m_fields.size()));
    for (auto& [id, value] : m_fields)
    {
        ArchiveWriteInt(archive, id);
        value.Serialize(archive);
    }
}

template <class F> bool CNdbFieldBase<F>::GetField(int id, CNdbFieldValue& out) const
{
    const auto found = m_fields.find(id);
    if (found == m_fields.end())
        return false;
    out = found->second;
    return true;
}

template <class F> QString CNdbFieldBase<F>::GetString(int id) const
{
    const auto found = m_fields.find(id);
    return found == m_fields.end() ? QString() : found->second.GetString();
}

template <class F> qint32 CNdbFieldBase<F>::GetInt(int id, qint32 defaultValue) const
{
    const auto found = m_fields.find(id);
    return found == m_fields.end() ? defaultValue : found->second.GetInt();
}

template <class F> bool CNdbFieldBase<F>::GetBool(int id, bool defaultValue) const
{
    const auto found = m_fields.find(id);
    return found == m_fields.end() ? defaultValue : found->second.GetBool();
}

template <class F> bool CNdbFieldBase<F>::SetField(int id, const CNdbFieldValue& value)
{
    if (!IsValidFieldValue(id, value))
        return false;
    m_fields.insert_or_assign(id, value);
    return true;
}

template <class F> void CNdbFieldBase<F>::RemoveField(int id)
{
    m_fields.erase(id);
}
} // namespace ndb
