#pragma once

namespace ndb
{
class CNdbUser;
}

// The recipient of every Test Send, one for all newsletters, kept in the user's settings
// ("TestUser") as an archive of its own type.
namespace TestRecipient
{
// True when a readable test recipient was stored; the record is left as it was otherwise.
bool Load(ndb::CNdbUser& user);
bool Save(ndb::CNdbUser& user);
} // namespace TestRecipient
