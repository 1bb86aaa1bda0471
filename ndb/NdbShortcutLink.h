#pragma once

#include "ndb/NdbFieldBase.h"

namespace ndb
{
enum SHORTCUTLINKFIELDS
{
    ShortcutLinkName = 110,
    ShortcutLinkTarget = 120, // full path of the document file
    ShortcutLinkType = 130,   // the target's record kind: 1 newsletter, 7 mailing list
};

// A link to a document file in the navigation pane.
class CNdbShortcutLink : public CNdbFieldBase<SHORTCUTLINKFIELDS>
{
    KV_PERSISTENT_CLASS()
    // Empty texts and type 0 are not stored.
    explicit CNdbShortcutLink(const QString& name = {}, const QString& target = {}, int type = 0);
    CNdbShortcutLink(const CNdbShortcutLink&) = default;
    CNdbShortcutLink& operator=(const CNdbShortcutLink&) = delete;

    bool IsValidFieldValue(int id, const CNdbFieldValue& value) const override;
    QString GetName() const override;
    // The target.
    QString GetPath() const override;
};
} // namespace ndb
