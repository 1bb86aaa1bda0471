// Reads arbitrary bytes as vCard data and turns its contact cards into recipients.
#include "ndb/NdbUserList.h"
#include "recipients/KVImportOutlook.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QList<VCard> cards;
    if (!ReadVCards(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)), cards))
        return 0;
    ndb::CNdbUserList users;
    ReadOutlookContacts(cards, users);
    qsizetype contacts = 0;
    for (const VCard& card : cards)
        contacts += card.IsContact() ? 1 : 0;
    if (users.GetCount() != contacts)
        std::abort();
    return 0;
}
