#pragma once

#include <QByteArray>
#include <QString>

// The host part of a URL for a server name typed by a user or read from a record: its ASCII
// form, an IPv6 address in brackets, or empty when the text is not a host name or address, so
// that a server text such as "user@host" or "host/path" cannot turn into another destination.
QByteArray HostForUrl(const QString& server);
