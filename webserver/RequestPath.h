#pragma once

#include <QString>

// The host and the normalised, decoded path (with "?" and the decoded query, if any) that a
// request's Host header and request target name. False when the two make no valid address.
bool SplitRequestPath(const QString& hostHeader, const QString& target, QString& host, QString& path);

// The same through a full URL parse, whatever the texts hold. SplitRequestPath gives its answer
// for every text and takes a shortcut only where both agree.
bool SplitRequestPathByUrl(const QString& hostHeader, const QString& target, QString& host, QString& path);
