#include "platform/ui/MessageMap.h"

const MessageMapEntry* MessageMap::Find(UINT message, UINT code, UINT id) const
{
    for (const MessageMap* map = this; map; map = map->base)
    {
        for (const MessageMapEntry& entry : map->entries)
        {
            if (entry.message != message)
                continue;
            if (message == WM_COMMAND && (entry.id != id || entry.code != code))
                continue;
            if ((message == OCM_COMMAND || message == WM_NOTIFY) && entry.code != code)
                continue;
            return &entry;
        }
    }
    return nullptr;
}
