#include "ndb/NdbSender.h"

#include "ndb/SenderFieldTable.h"

namespace ndb
{
bool CNdbSender::IsValidFieldValue(int id, const CNdbFieldValue& value) const
{
    return value.GetType() == SenderFieldTag(id);
}
} // namespace ndb
