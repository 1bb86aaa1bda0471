#pragma once

#include "base/PSFactory.h"

#include <QString>

namespace ndb
{
// The kind code every record carries and archives; a cheap type test for code that holds a
// CNdbBase pointer (a document is a newsletter when its kind is 1, a mailing list when 7).
enum NdbRecordKind
{
    NdbKindBase = 0, // also a send-log entry
    NdbKindNewsletter = 1,
    NdbKindLayout = 2,
    NdbKindUserList = 3,
    NdbKindUser = 4,
    NdbKindSender = 5,
    NdbKindFolder = 6,
    NdbKindMailGroup = 7,
    NdbKindPalette = 8,
    NdbKindShortcuts = 10,
    NdbKindShortcutLink = 11,
    NdbKindStyle = 12,
    NdbKindResource = 13,
};

// The root of every record of the model.
//
// A record class derives from CNdbFieldBase<ITS_FIELDS> (ndb/NdbFieldBase.h), passes its kind to
// the constructor, declares KV_PERSISTENT_CLASS() and registers itself in
// ndb/NdbClassRegistry.cpp under key 1 and its class name without namespace.
class CNdbBase : public CPSBase
{
    KV_PERSISTENT_CLASS()
    explicit CNdbBase(int kind = NdbKindBase) : m_kind(kind) {}

    // The kind as one int32.
    void Serialize(CPSArchive& archive) override;

    // The name shown to the user; records with a name field override it.
    virtual QString GetName() const;
    // A file path or link target where a record has one.
    virtual QString GetPath() const;

    int GetKind() const { return m_kind; }

    // A new identifier "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" (upper-case hexadecimal) for
    // records, styles and palette colours; empty when the system could not make one.
    static QString CreateGuidString();

protected:
    int m_kind;
};
} // namespace ndb
