#pragma once

#include "ndb/NdbFieldBase.h"

#include <QByteArray>

namespace ndb
{
enum RESOURCEFIELDS
{
    ResourceId = 1,   // GUID text
    ResourcePath = 2, // "img/" or "files/" and the file name: where the page and web view find it
    ResourceFileName = 3,
    ResourceMimeType = 100,
    ResourceWidth = 101, // images only
    ResourceHeight = 102,
    ResourceSize = 103,
    ResourceSource = 104, // path or address the file was taken from
};

// One file that a newsletter embeds or attaches, with its bytes.
class CNdbResource : public CNdbFieldBase<RESOURCEFIELDS>
{
    KV_PERSISTENT_CLASS()
    // Gets a new identifier.
    CNdbResource();
    // Without an identifier: reading replaces every field with the archived ones.
    explicit CNdbResource(CPSReading) : CNdbFieldBase(NdbKindResource) {}
    // Same identifier, fields and bytes.
    CNdbResource(const CNdbResource&) = default;
    CNdbResource& operator=(const CNdbResource&) = delete;

    // The field record, then the payload as int32 length and bytes.
    void Serialize(CPSArchive& archive) override;
    bool IsValidFieldValue(int id, const CNdbFieldValue& value) const override;
    // The file name, field 3.
    QString GetName() const override;

    const QByteArray& GetPayload() const { return m_payload; }
    void SetPayload(const QByteArray& payload) { m_payload = payload; }

private:
    QByteArray m_payload;
};
} // namespace ndb
