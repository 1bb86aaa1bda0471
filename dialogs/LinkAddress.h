#pragma once

#include <QString>

// The addresses a link of a newsletter may carry. A newsletter goes to many readers' mail
// programs, so a link may only open a web page, a file server or a mail message, or point into
// the newsletter itself; any other scheme (script, data and file addresses) is refused.

// The scheme of an address in lower case ("https"), read the way browsers read it: tabs and line
// breaks anywhere and control characters and blanks in front do not count. Empty for an address
// without a scheme (relative, "#bookmark").
QString LinkScheme(const QString& address);
// Whether a link may carry the address: no scheme, or http, https, ftp or mailto.
bool IsAllowedLinkAddress(const QString& address);
