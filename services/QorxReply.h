#pragma once

#include "services/QorxResultCode.h"

#include <QString>

#include <map>

class CX2Validator;

// Reads the framework's parsed XML replies. Elements are found by exact name in document order,
// the first match winning; "status" must be exactly "ok".
namespace QorxReply
{
// An empty system name stands for the framework itself. Id and version are set once the reply
// element says "ok", also when the database is missing (9) or its tables are (10).
QorxResultCode ReadStatus(CX2Validator& reply, const QString& systemName, QString& packageId,
                          int& packageVersion);
// The "serviceurl" of the first package of that name.
QorxResultCode ReadInstalledPackages(CX2Validator& reply, const QString& packageName, QString& serviceScript);
QorxResultCode ReadInit(CX2Validator& reply, const QString& systemName);
// The element package_type_command with status "ok".
QorxResultCode ReadServiceReply(CX2Validator& reply, const QString& elementName);
// Sets items[id] = value for every item element with a non-empty id, later ones winning.
void CollectItems(CX2Validator& reply, const QString& item, const QString& idAttribute,
                  const QString& valueAttribute, std::map<QString, QString>& items);
} // namespace QorxReply
