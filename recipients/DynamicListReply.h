#pragma once

#include <QString>

class CX2Validator;
namespace ndb
{
class CNdbUserList;
}

// The subscribers of a hosted mailing list, as the site's mailing-list service hands them out.

// The query address: the service address with the administrator's name and password and the
// list's id, each percent-encoded as UTF-8.
QString BuildDynamicListQuery(const QString& serviceUrl, const QString& user, const QString& password,
                              const QString& listId);

// Appends one recipient per "user" element with an address: enabled only when subscribe is
// "true", HTML mail unless html is "false". False, nothing appended, unless the reply's root
// reports the status "ok".
bool ReadDynamicListReply(CX2Validator& reply, ndb::CNdbUserList& users);
