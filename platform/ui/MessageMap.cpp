#include "platform/ui/MessageMap.h"

namespace
{
bool Matches(const MessageMapEntry& entry, UINT id)
{
    if (entry.lastId != 0)
        return id >= entry.id && id <= entry.lastId;
    return entry.id == id;
}
} // namespace

const MessageMapEntry* MessageMap::Find(UINT message, UINT code, UINT id) const
{
    for (const MessageMap* map = this; map; map = map->base)
    {
        for (const MessageMapEntry& entry : map->entries)
        {
            if (entry.message != message)
                continue;
            if (message == WM_COMMAND && (entry.code != code || !Matches(entry, id)))
                continue;
            if ((message == OCM_COMMAND || message == WM_NOTIFY) && entry.code != code)
                continue;
            return &entry;
        }
    }
    return nullptr;
}
