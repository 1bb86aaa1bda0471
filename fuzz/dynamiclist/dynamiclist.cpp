// Parses arbitrary bytes as the mailing-list service's reply and reads its subscribers. A reply
// that is refused adds nothing; every recipient read has an address.
#include "ndb/NdbUserList.h"
#include "recipients/DynamicListReply.h"
#include "x2/X2TransformIdentity.h"
#include "x2/X2Validator.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CX2Validator reply;
    reply.Parse(QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size)),
                CX2TransformIdentity());
    ndb::CNdbUserList users;
    const bool read = ReadDynamicListReply(reply, users);
    if (!read && users.GetCount() != 0)
        std::abort();
    for (const auto& user : users.GetUsers())
    {
        if (user->GetString(ndb::UserEmail).isEmpty())
            std::abort();
    }
    return 0;
}
