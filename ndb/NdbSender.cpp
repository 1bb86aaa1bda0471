#include "ndb/NdbSender.h"

#include "ndb/SenderFieldTable.h"

#include <algorithm>

namespace ndb
{
bool CNdbSender::IsValidFieldValue(int id, const CNdbFieldValue& value) const
{
    return value.GetType() == SenderFieldTag(id);
}

bool CNdbSender::HoldsPassword() const
{
    const SENDERFIELDS passwords[] = {SenderRelayPassword, SenderPop3Password, SenderFtpPassword,
                                      SenderDatabasePassword};
    return std::any_of(std::begin(passwords), std::end(passwords),
                       [this](SENDERFIELDS id) { return !GetString(id).isEmpty(); });
}
} // namespace ndb
