#pragma once

#include <QString>

namespace ndb
{
class CNdbSender;
}

// The domain of an address: what follows its last "@"; empty without one.
QString AddressDomain(const QString& address);

// The domain the program names for a sender towards servers and in ids: its HELO domain (field
// 102) when set, otherwise the domain of its From address.
QString SenderDomain(const ndb::CNdbSender& sender);

// The domain a check announces in EHLO for the sender: its SenderDomain, "localhost" when it
// names none, since servers refuse an EHLO without a domain.
QString CheckEhloDomain(const ndb::CNdbSender& sender);
